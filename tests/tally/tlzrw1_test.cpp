#include "tlzrw1.h"

#include "elzrw1exception.h"
#include "printers.h"
#include "tempdir.h"
#include "testdata.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <gtest/gtest.h>

using morlu::ELzrw1Exception;
using morlu::TCompressMode;
using morlu::Tlzrw1;
using morlu::test::bytes;
using morlu::test::makeData;
using morlu::test::Pattern;
using morlu::test::TempDir;

namespace {

QByteArray readFile(const QString& path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

void writeFile(const QString& path, const QByteArray& data)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    ASSERT_EQ(file.write(data), data.size());
}

/// The message of the ELzrw1Exception that work() throws, or "no error".
template <typename Work> QString errorOf(Work work)
{
    try {
        work();
    } catch (const ELzrw1Exception& error) {
        return error.message();
    }
    return QStringLiteral("no error");
}

QByteArray header(quint32 identifier, quint32 size)
{
    QByteArray data(8, '\0');
    qToLittleEndian<quint32>(identifier, data.data());
    qToLittleEndian<quint32>(size, data.data() + 4);
    return data;
}

class Tlzrw1Files : public ::testing::Test {
protected:
    /// Compresses data through files and returns the compressed file.
    QByteArray compress(const QByteArray& data, TCompressMode mode = TCompressMode::Fast)
    {
        writeFile(in, data);
        Tlzrw1 coder;
        coder.setCompressMode(mode);
        coder.setInputFile(in);
        coder.setOutputFile(packed);
        const qint64 size = coder.Compress();
        const QByteArray file = readFile(packed);
        EXPECT_EQ(size, file.size());
        return file;
    }

    /// Decompresses the given compressed file content into `out`; returns what Decompress() returned.
    qint64 decompress(const QByteArray& file)
    {
        writeFile(packed, file);
        Tlzrw1 coder;
        coder.setInputFile(packed);
        coder.setOutputFile(out);
        return coder.Decompress();
    }

    TempDir dir;
    const QString in = dir.file("plain.txt");
    const QString packed = dir.file("Morlutally.tld");
    const QString out = dir.file("temp.txt");
};

TEST_F(Tlzrw1Files, EmptyInputGivesElevenBytes)
{
    EXPECT_EQ(compress(QByteArray()), header(0x4C5A5257, 0) + bytes({1, 0, 128}));
    EXPECT_EQ(decompress(compress(QByteArray())), 0);
    EXPECT_TRUE(QFileInfo::exists(out));
    EXPECT_EQ(readFile(out), QByteArray());
}

TEST_F(Tlzrw1Files, FortyEqualBytesGiveOneRunItem)
{
    EXPECT_EQ(compress(QByteArray(40, '#')), header(0x4C5A5257, 40) + bytes({7, 0, 64, 0x80, 0x00, 0, 0, 24, '#'}));
}

TEST_F(Tlzrw1Files, ExactBlockSizeEndsWithAnEmptyBlock)
{
    const QByteArray data = makeData(Pattern::Text, 32768);
    const QByteArray file = compress(data);
    const int first = qFromLittleEndian<quint16>(file.constData() + 8);
    EXPECT_EQ(file.size(), 8 + 2 + first + 3);
    EXPECT_EQ(file.right(3), bytes({1, 0, 128}));
    EXPECT_EQ(decompress(file), 32768);
    EXPECT_EQ(readFile(out), data);
}

TEST_F(Tlzrw1Files, RandomBytesAreStoredWithFlag128)
{
    const QByteArray data = makeData(Pattern::Random, 1000, 5);
    EXPECT_EQ(compress(data), header(0x4C5A5257, 1000) + bytes({0xE9, 0x03, 128}) + data);
}

TEST_F(Tlzrw1Files, LongInputIsCutIntoBlocks)
{
    const QByteArray data = makeData(Pattern::Mixed, 100000);
    const QByteArray file = compress(data);
    // 32768 * 3 + 1696: four blocks, each decoding to its share.
    int pos = 8;
    int blocks = 0;
    while (pos < file.size()) {
        pos += 2 + qFromLittleEndian<quint16>(file.constData() + pos);
        ++blocks;
    }
    EXPECT_EQ(pos, file.size());
    EXPECT_EQ(blocks, 4);
    EXPECT_EQ(decompress(file), 100000);
    EXPECT_EQ(readFile(out), data);
}

TEST_F(Tlzrw1Files, EveryModeWritesLzrw1)
{
    const QByteArray data = makeData(Pattern::Text, 5000);
    const QByteArray fast = compress(data, TCompressMode::Fast);
    EXPECT_EQ(compress(data, TCompressMode::Good), fast);
    EXPECT_EQ(compress(data, TCompressMode::Auto), fast);
    EXPECT_EQ(Tlzrw1().CompressMode(), TCompressMode::Good);
}

TEST_F(Tlzrw1Files, RoundTripsThroughFiles)
{
    for (Pattern pattern : {Pattern::Text, Pattern::Runs, Pattern::Random, Pattern::Mixed})
        for (int size : {1, 17, 32767, 32769, 65536, 100000}) {
            const QByteArray data = makeData(pattern, size, quint32(size));
            ASSERT_EQ(decompress(compress(data)), size);
            ASSERT_EQ(readFile(out), data) << morlu::test::patternName(pattern) << " " << size;
        }
}

TEST_F(Tlzrw1Files, ReplacesAnExistingOutput)
{
    writeFile(out, QByteArray(70000, 'o'));
    decompress(compress("short"));
    EXPECT_EQ(readFile(out), "short");
}

TEST_F(Tlzrw1Files, CompressingAFileOntoItselfKeepsItsData)
{
    const QByteArray data = makeData(Pattern::Text, 50000);
    writeFile(in, data);
    Tlzrw1 coder;
    coder.setInputFile(in);
    coder.setOutputFile(in);
    coder.Compress();
    EXPECT_EQ(readFile(in), Tlzrw1::compressData(data));
}

TEST(Tlzrw1Memory, RoundTripsManyInputs)
{
    for (Pattern pattern : {Pattern::Text, Pattern::Runs, Pattern::Random, Pattern::Mixed, Pattern::Zeros})
        for (int size : {0, 1, 2, 3, 15, 16, 17, 32767, 32768, 32769, 65535, 65536, 65537, 100000})
            for (quint32 seed : {1u, 2u}) {
                const QByteArray data = makeData(pattern, size, seed * 977u + quint32(size));
                const QByteArray file = Tlzrw1::compressData(data);
                ASSERT_EQ(Tlzrw1::decompressData(file), data) << morlu::test::patternName(pattern) << " " << size;
            }
}

TEST(Tlzrw1Memory, HeaderIsCorrectedWhenTheInputHadAnotherLength)
{
    QByteArray source = makeData(Pattern::Text, 3000);
    QBuffer in(&source);
    in.open(QIODevice::ReadOnly);
    QByteArray file;
    QBuffer out(&file);
    out.open(QIODevice::WriteOnly);
    Tlzrw1 coder;
    const qint64 written = coder.compressStream(in, 1000, out, "in", "out");
    EXPECT_EQ(written, file.size());
    EXPECT_EQ(qFromLittleEndian<quint32>(file.constData() + 4), 3000u);
    EXPECT_EQ(Tlzrw1::decompressData(file), source);
}

/// A device that accepts limit bytes, then refuses to write.
class FailingDevice : public QIODevice {
public:
    explicit FailingDevice(qint64 limit) : m_limit(limit) { open(QIODevice::WriteOnly); }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char*, qint64 size) override
    {
        if (m_written + size > m_limit)
            return -1;
        m_written += size;
        return size;
    }

private:
    qint64 m_limit;
    qint64 m_written = 0;
};

TEST(Tlzrw1Memory, WriteFailuresAreReported)
{
    const QByteArray data = makeData(Pattern::Mixed, 80000);
    const QByteArray file = Tlzrw1::compressData(data);
    for (qint64 limit : {0, 8, 9, 20000}) {
        QByteArray source = data;
        QBuffer in(&source);
        in.open(QIODevice::ReadOnly);
        FailingDevice out(limit);
        EXPECT_EQ(errorOf([&] { Tlzrw1().compressStream(in, data.size(), out, "in", "sink"); }),
                  "Lzrw1 : Error writing to output file : sink")
            << limit;
        QByteArray packed = file;
        QBuffer packedIn(&packed);
        packedIn.open(QIODevice::ReadOnly);
        FailingDevice expanded(limit);
        EXPECT_EQ(errorOf([&] { Tlzrw1().decompressStream(packedIn, expanded, "in", "sink"); }),
                  "Lzrw1 : Error writing to output file : sink")
            << limit;
    }
}

// Failures: the error texts name the file, and no output file is left behind.
class Tlzrw1Errors : public Tlzrw1Files {
protected:
    QString decompressError(const QByteArray& file)
    {
        return errorOf([&] { decompress(file); });
    }

    const QByteArray good = compress(makeData(Pattern::Mixed, 70000));
};

TEST_F(Tlzrw1Errors, DamagedIdentifierIsRefusedWithTheHeaderError)
{
    QByteArray file = good;
    file[0] = 'X';
    EXPECT_EQ(decompressError(file), packed + " : Lzrw1 decompression : this file has no valid header !");
    EXPECT_FALSE(QFileInfo::exists(out));
}

TEST_F(Tlzrw1Errors, MethodOfModeGoodIsRefused)
{
    const QByteArray file = header(0x4C5A4821, 5) + bytes({1, 2, 3, 4, 5});
    EXPECT_EQ(decompressError(file),
              packed + " : Lzrw1 decompression : this file uses a method that is not supported !");
    EXPECT_FALSE(QFileInfo::exists(out));
}

TEST_F(Tlzrw1Errors, FileCutShortIsRefusedWithTheReadError)
{
    const QString readError = "Lzrw1 : Error reading from input file : " + packed;
    // Inside the identifier, the size, a block length, and the middle of the first and second block.
    for (int length : {0, 3, 6, 9, 500, int(good.size()) - 1}) {
        EXPECT_EQ(decompressError(good.left(length)), readError) << length;
        EXPECT_FALSE(QFileInfo::exists(out)) << length;
    }
}

TEST_F(Tlzrw1Errors, SizeMismatchIsRefused)
{
    const QString sizeError = "Lzrw1 (decompression LZRW1/KH) : Original and compressed sizes do not match !";
    for (int delta : {-70000, -1, 1, 1000000}) {
        QByteArray file = good;
        qToLittleEndian<quint32>(quint32(70000 + delta), file.data() + 4);
        EXPECT_EQ(decompressError(file), sizeError) << delta;
        EXPECT_FALSE(QFileInfo::exists(out)) << delta;
    }
}

TEST_F(Tlzrw1Errors, CorruptBlocksAreRefused)
{
    const QString corrupt = "Lzrw1 (decompression LZRW1/KH) : corrupt compressed block !";
    QByteArray badFlag = good;
    badFlag[10] = char(1);
    EXPECT_EQ(decompressError(badFlag), corrupt);
    EXPECT_FALSE(QFileInfo::exists(out));
    // A block length beyond any block, with enough bytes behind it to read.
    EXPECT_EQ(decompressError(header(0x4C5A5257, 1) + bytes({0xFF, 0xFF}) + QByteArray(70000, 'a')), corrupt);
    // A copy reaching before the start of the block.
    EXPECT_EQ(decompressError(header(0x4C5A5257, 3) + bytes({5, 0, 64, 0x80, 0x00, 0x7F, 0xF0})), corrupt);
    EXPECT_FALSE(QFileInfo::exists(out));
}

TEST_F(Tlzrw1Errors, FailureKeepsAnOlderOutputFile)
{
    writeFile(out, "older");
    QByteArray file = good;
    file[1] = 'X';
    EXPECT_NE(decompressError(file), "no error");
    EXPECT_EQ(readFile(out), "older");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 3); // plain.txt, the .tld, temp.txt
}

TEST_F(Tlzrw1Errors, MissingOrUnopenableFilesAreNamed)
{
    Tlzrw1 coder;
    coder.setInputFile(dir.file("missing.txt"));
    coder.setOutputFile(out);
    EXPECT_EQ(errorOf([&] { coder.Compress(); }),
              "Lzrw1 compression : Failed to obtain the size of : " + dir.file("missing.txt"));
    EXPECT_EQ(errorOf([&] { coder.Decompress(); }),
              "Lzrw1 (de)compression : Failed to open input file : " + dir.file("missing.txt"));
    EXPECT_FALSE(QFileInfo::exists(out));

    const QString nowhere = dir.file("no/such/folder/out.tld");
    coder.setInputFile(in);
    coder.setOutputFile(nowhere);
    EXPECT_EQ(errorOf([&] { coder.Compress(); }), "Lzrw1 (de)compression : Failed to open output file : " + nowhere);
    coder.setInputFile(packed);
    EXPECT_EQ(errorOf([&] { coder.Decompress(); }), "Lzrw1 (de)compression : Failed to open output file : " + nowhere);
    coder.setOutputFile(dir.path());
    EXPECT_EQ(errorOf([&] { coder.Decompress(); }),
              "Lzrw1 (de)compression : Failed to open output file : " + dir.path());
    EXPECT_TRUE(QFileInfo(dir.path()).isDir());
}

TEST_F(Tlzrw1Errors, WriteFailureOnAFullDeviceIsReported)
{
    if (!QFileInfo::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    Tlzrw1 coder;
    coder.setInputFile(in);
    coder.setOutputFile("/dev/full");
    EXPECT_EQ(errorOf([&] { coder.Compress(); }), "Lzrw1 : Error writing to output file : /dev/full");
    coder.setInputFile(packed);
    EXPECT_EQ(errorOf([&] { coder.Decompress(); }), "Lzrw1 : Error writing to output file : /dev/full");
    // The device is written directly and never removed.
    EXPECT_TRUE(QFileInfo::exists("/dev/full"));
    EXPECT_FALSE(QFileInfo("/dev/full").isFile());
}

TEST_F(Tlzrw1Errors, ReadFailureWhileCompressingIsReported)
{
    // Reading this process's memory at address 0 fails with an I/O error on Linux.
    const QString unreadable = "/proc/self/mem";
    if (!QFileInfo::exists(unreadable))
        GTEST_SKIP() << "no " << unreadable.toStdString();
    Tlzrw1 coder;
    coder.setInputFile(unreadable);
    coder.setOutputFile(out);
    EXPECT_EQ(errorOf([&] { coder.Compress(); }),
              "Lzrw1 : Error reading from input file : " + unreadable + " (LZRW1/KH)");
    EXPECT_FALSE(QFileInfo::exists(out));
}

TEST(Tlzrw1Memory, ErrorsInMemoryNameTheMemory)
{
    EXPECT_EQ(errorOf([] { Tlzrw1::decompressData("WRZ"); }), "Lzrw1 : Error reading from input file : (memory)");
    EXPECT_EQ(errorOf([] { Tlzrw1::decompressData("12345678"); }),
              "(memory) : Lzrw1 decompression : this file has no valid header !");
}

} // namespace
