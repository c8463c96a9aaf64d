#include "lzrw1codec.h"

#include "elzrw1exception.h"
#include "printers.h"
#include "testdata.h"

#include <gtest/gtest.h>

using morlu::ELzrw1Exception;
using morlu::Lzrw1Codec;
using morlu::test::bytes;
using morlu::test::makeData;
using morlu::test::Pattern;

namespace {

struct GoldenRow {
    const char* name;
    QByteArray input;
    QByteArray block;
};

// Worked out by hand from the compressor's steps (out starts at 3, control bits most significant first).
const GoldenRow kGolden[] = {
    // Nothing to compress: out = 3 > 0, so the stored form, flag 128 alone.
    {"empty", QByteArray(), bytes({128})},
    // 40 x 'A': the run test finds r = 40 >= 16 at p = 0: item 0, (40-16)>>8 = 0, 24, 'A'; one item with
    // control bit 1, shifted left by 15: 0x8000. out = 7 <= 40.
    {"forty equal bytes", QByteArray(40, 'A'), bytes({64, 0x80, 0x00, 0, 0, 24, 'A'})},
    // 16 x 'a': the shortest run, length field 0.
    {"sixteen equal bytes", QByteArray(16, 'a'), bytes({64, 0x80, 0x00, 0, 0, 0, 'a'})},
    // 15 x 'a': r = 15 is no run. p = 0: hash slot empty, literal 'a'. p = 1: r = 14, the slot holds 0,
    // offset 1, bytes match up to the end: m = min(14, 18) = 14, so the overlapping copy item
    // 1 * 16 + (14 - 3) = 0x001B. Bits 0,1 << 14 = 0x4000; out = 6 <= 15.
    {"fifteen equal bytes", QByteArray(15, 'a'), bytes({64, 0x40, 0x00, 'a', 0x00, 0x1B})},
    // "abcdefgh" three times: the eight 3-byte hashes differ (2749, 306, 1515, 3168, 281, 1934, 775,
    // 1412), so p = 0..7 are literals. At p = 8 the slot of "abc" holds 0: offset 8, and the bytes match
    // to the end of the block, m = 16: item 8 * 16 + 13 = 0x008D. Nine items, bits 0x01 << 7 = 0x0080.
    {"literals then a copy", QByteArray("abcdefghabcdefghabcdefgh"),
     bytes({64, 0x00, 0x80, 'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h', 0x00, 0x8D})},
    // "ab", 20 x 'Z', "ab": literals 'a', 'b'; a run of 20 at p = 2 (0, 0, 4, 'Z'); at p = 22 and 23 no
    // three bytes are left, so literals. Bits 0,0,1,0,0 << 11 = 0x2000; out = 11.
    {"literals, a run, literals", QByteArray("ab") + QByteArray(20, 'Z') + QByteArray("ab"),
     bytes({64, 0x20, 0x00, 'a', 'b', 0, 0, 4, 'Z', 'a', 'b'})},
    // "abcdefghijklmnopqrst" twice: 20 literals with 20 different hashes. The 17th item needs a new group:
    // control word 0x0000 goes to bytes 1-2, the next one is reserved at out = 19. Items 17-20 are the
    // literals q r s t; at p = 20 "abc" is found at 0: offset 20, m = 18 (the most): 20 * 16 + 15 =
    // 0x014F; p = 38 leaves 's', 't' as literals. Second group bits 0,0,0,0,1,0,0 << 9 = 0x0800.
    {"control word after sixteen items", QByteArray("abcdefghijklmnopqrstabcdefghijklmnopqrst"),
     QByteArray("\x40\x00\x00"
                "abcdefghijklmnop"
                "\x08\x00"
                "qrst\x01\x4Fst",
                29)},
    // "abcd" once more after itself: the copy item at p = 4 makes out = 9 > 8, so the block is stored.
    {"too short to shrink", QByteArray("abcdabcd"),
     QByteArray("\x80"
                "abcdabcd",
                9)},
};

class Lzrw1Golden : public ::testing::TestWithParam<GoldenRow> {};

TEST_P(Lzrw1Golden, CompressesToTheExpectedBytesAndBack)
{
    Lzrw1Codec codec;
    const GoldenRow& row = GetParam();
    EXPECT_EQ(codec.compressBlock(row.input), row.block);
    EXPECT_EQ(Lzrw1Codec::decompressBlock(row.block), row.input);
}

INSTANTIATE_TEST_SUITE_P(Blocks, Lzrw1Golden, ::testing::ValuesIn(kGolden),
                         [](const ::testing::TestParamInfo<GoldenRow>& info) {
                             std::string name = info.param.name;
                             for (char& c : name)
                                 c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             return name;
                         });

TEST(Lzrw1Codec, RandomBytesAreStoredUnchanged)
{
    Lzrw1Codec codec;
    for (int size : {1, 2, 3, 100, 32768}) {
        const QByteArray data = makeData(Pattern::Random, size, 7);
        const QByteArray block = codec.compressBlock(data);
        ASSERT_EQ(block.size(), size + 1) << size;
        EXPECT_EQ(quint8(block[0]), 128);
        EXPECT_EQ(block.mid(1), data);
    }
}

TEST(Lzrw1Codec, RunsAreCutAt4095Bytes)
{
    Lzrw1Codec codec;
    // 4095 + 16: two run items, the first of the greatest length (4095 - 16 = 0x0FEF).
    EXPECT_EQ(codec.compressBlock(QByteArray(4111, 'x')), bytes({64, 0xC0, 0x00, 0, 0x0F, 0xEF, 'x', 0, 0, 0, 'x'}));
    // A whole block of zeros: eight runs of 4095 leave 8 bytes, too few for a run: a literal 0, then at
    // the next byte an overlapping copy of the remaining 7 (offset 1: 0x0014). Bits 11111111 01 << 6.
    const QByteArray zeros(32768, '\0');
    const QByteArray block = codec.compressBlock(zeros);
    EXPECT_EQ(block.size(), 3 + 8 * 4 + 1 + 2);
    EXPECT_EQ(block.left(7), bytes({64, 0xFF, 0x40, 0, 0x0F, 0xEF, 0}));
    EXPECT_EQ(block.right(3), bytes({0, 0x00, 0x14}));
    EXPECT_EQ(Lzrw1Codec::decompressBlock(block), zeros);
}

TEST(Lzrw1Codec, SameInputGivesTheSameBlockWhateverCameBefore)
{
    Lzrw1Codec codec;
    const QByteArray text = makeData(Pattern::Mixed, 20000, 3);
    const QByteArray first = codec.compressBlock(text);
    codec.compressBlock(makeData(Pattern::Random, 32768, 9));
    EXPECT_EQ(codec.compressBlock(text), first);
    EXPECT_EQ(Lzrw1Codec().compressBlock(text), first);
}

struct RoundTripRow {
    Pattern pattern;
    int size;
};

class Lzrw1BlockRoundTrip : public ::testing::TestWithParam<RoundTripRow> {};

TEST_P(Lzrw1BlockRoundTrip, DecodesToTheInput)
{
    Lzrw1Codec codec;
    for (std::uint32_t seed = 1; seed <= 5; ++seed) {
        const QByteArray data = makeData(GetParam().pattern, GetParam().size, seed);
        const QByteArray block = codec.compressBlock(data);
        ASSERT_LE(block.size(), data.size() + 1);
        ASSERT_EQ(Lzrw1Codec::decompressBlock(block), data) << "seed " << seed;
    }
}

std::vector<RoundTripRow> roundTripRows()
{
    std::vector<RoundTripRow> rows;
    for (Pattern pattern : {Pattern::Text, Pattern::Runs, Pattern::Random, Pattern::Mixed, Pattern::Zeros})
        for (int size : {0, 1, 2, 3, 4, 15, 16, 17, 18, 19, 4095, 4096, 4097, 32767, 32768})
            rows.push_back({pattern, size});
    return rows;
}

INSTANTIATE_TEST_SUITE_P(Sizes, Lzrw1BlockRoundTrip, ::testing::ValuesIn(roundTripRows()),
                         [](const ::testing::TestParamInfo<RoundTripRow>& info) {
                             return std::string(morlu::test::patternName(info.param.pattern)) + "_" +
                                    std::to_string(info.param.size);
                         });

TEST(Lzrw1Codec, CopiesReachBack4095BytesAndNoFurther)
{
    Lzrw1Codec codec;
    // A random stretch repeated at distances around the greatest offset must still decode exactly.
    for (int distance : {4094, 4095, 4096, 4097}) {
        QByteArray data = makeData(Pattern::Random, distance, 11);
        data += data.left(600);
        ASSERT_EQ(Lzrw1Codec::decompressBlock(codec.compressBlock(data)), data) << distance;
    }
}

// Eight run items, the first seven of 4096 bytes, then lastRun bytes; control word as given (0xFF00:
// a ninth item would be a literal, 0xFF80: a copy or a run).
QByteArray runsBlock(int control = 0xFF00, int lastRun = 4096)
{
    QByteArray block = bytes({64, control >> 8, control & 0xFF});
    for (int i = 0; i < 7; ++i)
        block += bytes({0, 0x0F, 0xF0, 'r'});
    return block + bytes({0, (lastRun - 16) >> 8, (lastRun - 16) & 0xFF, 'r'});
}

struct CorruptRow {
    const char* name;
    QByteArray block;
};

const CorruptRow kCorrupt[] = {
    {"unknown flag", bytes({65, 0, 0, 'a'})},
    {"first control word cut", bytes({64, 0x80})},
    {"copy before the start", bytes({64, 0x80, 0x00, 0x00, 0x10})},
    {"copy further back than written", bytes({64, 0x40, 0x00, 'a', 0x00, 0x20})},
    {"copy item cut", bytes({64, 0x80, 0x00, 0x01})},
    {"run item cut", bytes({64, 0x80, 0x00, 0x00, 0x00, 0x10})},
    {"literal past a full block", runsBlock() + bytes({'x'})},
    {"run past a full block", runsBlock(0xFF80) + bytes({0, 0, 0, 'x'})},
    // 7 * 4096 + 4090 = 32762 bytes, then offset 1, 5 + 3 bytes: 32770.
    {"copy past a full block", runsBlock(0xFF80, 4090) + bytes({0x00, 0x15})},
    {"control word missing after sixteen items", bytes({64, 0, 0}) + QByteArray(16, 'a') + bytes({0x00})},
    {"stored block too long", bytes({128}) + QByteArray(32769, 's')},
    {"block longer than a buffer", bytes({64, 0, 0}) + QByteArray(32784, 'a')},
};

class Lzrw1Corrupt : public ::testing::TestWithParam<CorruptRow> {};

TEST_P(Lzrw1Corrupt, IsRefusedAsCorrupt)
{
    try {
        Lzrw1Codec::decompressBlock(GetParam().block);
        FAIL() << "decoded without an error";
    } catch (const ELzrw1Exception& error) {
        EXPECT_EQ(error.message(), "Lzrw1 (decompression LZRW1/KH) : corrupt compressed block !");
    }
}

INSTANTIATE_TEST_SUITE_P(Blocks, Lzrw1Corrupt, ::testing::ValuesIn(kCorrupt),
                         [](const ::testing::TestParamInfo<CorruptRow>& info) {
                             std::string name = info.param.name;
                             for (char& c : name)
                                 c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             return name;
                         });

TEST(Lzrw1Codec, AcceptsBlocksAtTheBounds)
{
    EXPECT_EQ(Lzrw1Codec::decompressBlock(QByteArray()), QByteArray());
    EXPECT_EQ(Lzrw1Codec::decompressBlock(bytes({64})), QByteArray());
    EXPECT_EQ(Lzrw1Codec::decompressBlock(bytes({64, 0, 0})), QByteArray());
    EXPECT_EQ(Lzrw1Codec::decompressBlock(runsBlock()), QByteArray(32768, 'r'));
    const QByteArray stored(32768, 's');
    EXPECT_EQ(Lzrw1Codec::decompressBlock(bytes({128}) + stored), stored);
    // A control word with no items after it ends the block.
    EXPECT_EQ(Lzrw1Codec::decompressBlock(bytes({64, 0, 0}) + QByteArray(16, 'a') + bytes({0, 0})),
              QByteArray(16, 'a'));
    // A copy that ends exactly at 32768 bytes: 32762 + 6.
    EXPECT_EQ(Lzrw1Codec::decompressBlock(runsBlock(0xFF80, 4090) + bytes({0x00, 0x13})), QByteArray(32768, 'r'));
}

} // namespace
