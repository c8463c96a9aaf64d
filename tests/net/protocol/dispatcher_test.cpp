#include "dispatcher.h"

#include "commands.h"
#include "fieldreader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace morlu;

TEST(SplitCommand, WordIsTheTextBeforeTheFirstPlus)
{
    struct Row {
        const char* line;
        const char* word;
        const char* rest;
    };
    const Row rows[] = {
        {"CMD_placecard+3+22+5+t+", "CMD_placecard", "3+22+5+t+"},
        {"CMD_full+", "CMD_full", ""},
        {"CMD_newplayerinfo+2+A+B", "CMD_newplayerinfo", "2+A+B"},
        {"+rest", "", "rest"},
        {"CMD_full", "", ""},
        {"", "", ""},
    };
    for (const Row& row : rows) {
        const CommandLine command = splitCommand(row.line);
        EXPECT_EQ(command.word, row.word) << row.line;
        EXPECT_EQ(command.rest, row.rest) << row.line;
    }
}

TEST(Dispatcher, MatchesWordsExactlyAndDropsTheRest)
{
    std::vector<std::string> calls;
    Dispatcher<> dispatcher;
    dispatcher.add(CMD_playcard, [&](std::string_view rest) { calls.push_back("playcard:" + std::string(rest)); });
    dispatcher.add(CMD_full, [&](std::string_view rest) { calls.push_back("full:" + std::string(rest)); });

    struct Row {
        const char* line;
        bool handled;
    };
    const Row rows[] = {
        {"CMD_playcard+1+5+", true},   {"CMD_full+", true},
        {"cmd_playcard+1+5+", false},  {"CMD_PlayCard+1+5+", false},
        {"CMD_play+1+5+", false},      {"CMD_playcards+1+5+", false},
        {" CMD_playcard+1+5+", false}, {"CMD_playcard", false},
        {"+CMD_playcard+", false},     {"", false},
        {"CMD_unknown+1+", false},
    };
    for (const Row& row : rows)
        EXPECT_EQ(dispatcher.dispatch(row.line), row.handled) << row.line;
    EXPECT_EQ(calls, (std::vector<std::string>{"playcard:1+5+", "full:"}));
    EXPECT_TRUE(dispatcher.knows(CMD_full));
    EXPECT_FALSE(dispatcher.knows("CMD_Full"));
}

TEST(Dispatcher, PassesTheConnectionAlong)
{
    Dispatcher<int> dispatcher;
    int seenConnection = 0;
    std::string seenRest;
    dispatcher.add(CMD_chat, [&](std::string_view rest, int connection) {
        seenRest = rest;
        seenConnection = connection;
    });
    EXPECT_TRUE(dispatcher.dispatch("CMD_chat+4+a+b|clRed", 7));
    EXPECT_EQ(seenConnection, 7);
    EXPECT_EQ(seenRest, "4+a+b|clRed");
}

TEST(Dispatcher, FieldErrorsReachTheCaller)
{
    Dispatcher<> dispatcher;
    bool before = false;
    dispatcher.add(CMD_botspeed, [&](std::string_view rest) {
        FieldReader reader(rest);
        before = reader.intField() == 1;
        reader.intField();
    });
    try {
        dispatcher.dispatch("CMD_botspeed+1+1500");
        ADD_FAILURE() << "no error";
    } catch (const FieldError& error) {
        EXPECT_STREQ(error.what(), "'' is not a valid integer value");
    }
    EXPECT_TRUE(before) << "what the handler did before the error stays done";
}

TEST(Dispatcher, LaterRegistrationReplacesTheHandler)
{
    Dispatcher<> dispatcher;
    int which = 0;
    dispatcher.add(CMD_starthand, [&](std::string_view) { which = 1; });
    dispatcher.add(CMD_starthand, [&](std::string_view) { which = 2; });
    dispatcher.dispatch("CMD_starthand+");
    EXPECT_EQ(which, 2);
}
