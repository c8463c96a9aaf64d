#include "sessionmessages.h"

#include "messagetesting.h"

#include <gtest/gtest.h>

using namespace morlu;

TEST(SessionMessages, WireFormOfEveryLayout)
{
    expectWire(SendLoginInfo{3}, "CMD_sendlogininfo+3");
    expectWire(Full{}, "CMD_full+");
    expectWire(WrongVersion{}, "CMD_wrongversion+");
    expectWire(LoginInfo{2, "1.0.5", "Ann"}, "CMD_logininfo+2+1.0.5+Ann");
    expectWire(NewPlayerInfo{5, "Bob"}, "CMD_newplayerinfo+5+Bob");
    expectWire(ExistingPlayers{1, "You"}, "CMD_existingplayers+1+You");
    expectWire(ExistingPlayers{2, ""}, "CMD_existingplayers+2+");
    expectWire(PlayerDisconnected{3, "Cy"}, "CMD_playerdisconnected+3+Cy");
    expectWire(HaveWrongVersion{"Dee"}, "CMD_havewrongversion+Dee");
    expectWire(KickHim{1, 6}, "CMD_kickhim+1+6+");
    expectWire(JustWatch{2, kWatchStart}, "CMD_justwatch+2+1");
    expectWire(JustWatching{4, kWatchStop}, "CMD_justwatching+4+2");
    expectWire(ChatRequest{2, "hello|clBlack"}, "CMD_chat+2+hello|clBlack");
    expectWire(ActionRequest{3, "says: gg|$00FF8000"}, "CMD_action+3+says: gg|$00FF8000");
    expectWire(PlayASoundRequest{1, "wave7+"}, "CMD_playasound+1+wave7+");
    expectWire(ChatRelay{2, "Ann chats: hello", "clBlack", true}, "CMD_chat+2+Ann chats: hello|clBlack");
    expectWire(ActionRelay{3, "Bob waves", "clBlue", true}, "CMD_action+3+Bob waves|clBlue");
    expectWire(ChatRelay{2, "Ann chats: no colour", "", false}, "CMD_chat+2+Ann chats: no colour");
    expectWire(PlayASound{4, "wave20"}, "CMD_playasound+4+wave20+");
    expectWire(BotSpeed{1, 1500}, "CMD_botspeed+1+1500+");
    expectWire(BotLevel{2, kBotLevelExpert}, "CMD_botlevel+2+expert+");
    expectWire(BotLevel{4, kBotLevelClassic}, "CMD_botlevel+4+classic+");
    expectWire(SeatKeyRequest{3}, "CMD_seatkey+3+");
    expectWire(SeatKey{3, "0123456789abcdef0123456789abcdef"}, "CMD_seatkey+3+0123456789abcdef0123456789abcdef+");
    expectWire(Rejoin{2, "0123456789abcdef0123456789abcdef"}, "CMD_rejoin+2+0123456789abcdef0123456789abcdef+");
    expectWire(Removed{}, "CMD_removed+");
    expectWire(HostClosing{}, "CMD_hostclosing+");
    expectWire(PlayerRemoved{3}, "CMD_playerremoved+3+");
    expectWire(HandOver{}, "CMD_handover+");
    expectWire(DLayout{3, {0, 12, 0, 27}, {5, 6, 6, 7}}, "CMD_dlayout+3+0+12+0+27+5+6+6+7+");
}

// The name is the last field and is read as the whole rest, "+" and all.
TEST(SessionMessages, NameHoldingPlusArrivesWhole)
{
    expectWire(NewPlayerInfo{2, "A+B+"}, "CMD_newplayerinfo+2+A+B+");
    expectWire(ExistingPlayers{3, "+x+"}, "CMD_existingplayers+3++x+");
    expectWire(PlayerDisconnected{6, "C++"}, "CMD_playerdisconnected+6+C++");
    expectWire(HaveWrongVersion{"a+b"}, "CMD_havewrongversion+a+b");
    expectWire(LoginInfo{1, "1.0.5", "You+Me"}, "CMD_logininfo+1+1.0.5+You+Me");
}

TEST(SessionMessages, TablesBuildRequestsFromTheirParts)
{
    std::string buffer;
    EXPECT_EQ(writeChatRequest(buffer, 2, "hi there", "clBlack"), "CMD_chat+2+hi there|clBlack\xFF");
    EXPECT_EQ(writeActionRequest(buffer, 3, "says: Nice play!", "$00123456"),
              "CMD_action+3+says: Nice play!|$00123456\xFF");
    EXPECT_EQ(PlayASound::write(buffer, 2, 7), "CMD_playasound+2+wave7+\xFF");
    EXPECT_EQ((NewPlayerInfo{1, "Ev\xFFil"}.write(buffer)), "CMD_newplayerinfo+1+Evil\xFF");
    EXPECT_EQ(writeChatRequest(buffer, 1,
                               "a\xFF"
                               "CMD_kickhim+1+2+",
                               "clRed"),
              "CMD_chat+1+aCMD_kickhim+1+2+|clRed\xFF")
        << "a chat text can never smuggle a second line";
}

// The host reads the slot and relays the rest with the name of that slot inserted; tables read it.
TEST(SessionMessages, ChatAndActionRelays)
{
    struct Row {
        const char* request;
        const char* name;
        const char* relayed;
        int slot;
        const char* text;
        const char* colour;
        bool hasColour;
    };
    const Row chats[] = {
        {"2+hello|clBlack", "Ann", "CMD_chat+2+Ann chats: hello|clBlack", 2, "Ann chats: hello", "clBlack", true},
        {"2+a|b|clRed", "Ann", "CMD_chat+2+Ann chats: a|b|clRed", 2, "Ann chats: a|b", "clRed", true},
        {"7+x+y|$000000FF", "P|ipe", "CMD_chat+7+P|ipe chats: x+y|$000000FF", 7, "P|ipe chats: x+y", "$000000FF", true},
        {"1+no colour", "You", "CMD_chat+1+You chats: no colour", 1, "You chats: no colour", "", false},
        {"1+", "You", "CMD_chat+1+You chats: ", 1, "You chats: ", "", false},
    };
    for (const Row& row : chats) {
        const ChatRequest request = ChatRequest::read(row.request);
        std::string buffer;
        const std::string_view line = ChatRelay::relay(buffer, request.slot, row.name, request.rest);
        EXPECT_EQ(line, std::string(row.relayed) + "\xFF");
        expectRead(splitCommand(row.relayed).rest, ChatRelay{row.slot, row.text, row.colour, row.hasColour});
    }
    const ActionRequest action = ActionRequest::read("3+says: gg|clBlue");
    std::string buffer;
    EXPECT_EQ(ActionRelay::relay(buffer, action.slot, "Bob", action.rest), "CMD_action+3+Bob says: gg|clBlue\xFF");
    expectRead("3+Bob says: gg|clBlue", ActionRelay{3, "Bob says: gg", "clBlue", true});
}

TEST(SessionMessages, ReadingRows)
{
    expectRead("1+1500+", BotSpeed{1, 1500});
    expectRead("3+expert+", BotLevel{3, "expert"});
    expectRead("3+expert", BotLevel{3, ""});
    expectRead("3+Expert+more+", BotLevel{3, "Expert"});
    expectRead("2+wave3+", PlayASound{2, "wave3"});
    expectRead("2+wave3+extra", PlayASound{2, "wave3"});
    expectRead("4+1", JustWatch{4, "1"});
    expectRead("4+", JustWatch{4, ""});
    EXPECT_TRUE(JustWatch::read("2+1").watching());
    EXPECT_FALSE(JustWatch::read("2+2").watching());
    EXPECT_FALSE(JustWatching::read("2+1x").watching());
    expectRead("3+1.0.4+", LoginInfo{3, "1.0.4", ""});
    expectRead("3+1.0.5", LoginInfo{3, "", "1.0.5"});
    expectRead("1+2+3+", KickHim{1, 2});
    expectRead("anything", Full{});
    expectRead("2+abc", Rejoin{2, ""});
    expectRead("2+", SeatKey{2, ""});
}

// A key is exactly what the host hands out; anything else can never match a live key.
TEST(SessionMessages, SeatKeyShape)
{
    const struct {
        std::string_view key;
        bool valid;
    } rows[] = {
        {"0123456789abcdef0123456789abcdef", true},
        {"ffffffffffffffffffffffffffffffff", true},
        {"0123456789ABCDEF0123456789abcdef", false},
        {"0123456789abcdef0123456789abcde", false},
        {"0123456789abcdef0123456789abcdef0", false},
        {"0123456789abcdeg0123456789abcdef", false},
        {"", false},
    };
    for (const auto& row : rows)
        EXPECT_EQ(isSeatKey(row.key), row.valid) << row.key;
}

TEST(SessionMessages, MalformedRows)
{
    expectFieldError<BotSpeed>("1+1500", "");
    expectFieldError<BotSpeed>("one+1500+", "one");
    expectFieldError<BotSpeed>("1+fast+", "fast");
    expectFieldError<BotLevel>("expert+2+", "expert");
    expectFieldError<BotLevel>("2", "");
    expectFieldError<SendLoginInfo>("", "");
    expectFieldError<SendLoginInfo>("2+", "2+");
    expectFieldError<KickHim>("1+3", "");
    expectFieldError<KickHim>("1+ 3+", " 3");
    expectFieldError<LoginInfo>("Ann+1.0.5+Ann", "Ann");
    expectFieldError<NewPlayerInfo>("Bob", "");
    expectFieldError<JustWatch>("x+1", "x");
    expectFieldError<ChatRequest>("+hi|clRed", "");
    expectFieldError<ChatRelay>("Ann chats: hi|clRed", "");
    expectFieldError<PlayASound>("$1+wave1+", "$1");
    expectFieldError<SeatKeyRequest>("3", "");
    expectFieldError<Rejoin>("x+0123456789abcdef0123456789abcdef+", "x");
}
