#include "resourcecatalog.h"

#include "printers.h"

#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QSet>
#include <QtEndian>

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>

namespace {

/// What a WAVE file's header says, read chunk by chunk.
struct Wave {
    bool riff = false;
    int format = 0;
    int channels = 0;
    int rate = 0;
    int bits = 0;
    QByteArray samples;
};

Wave readWave(const QByteArray& bytes)
{
    Wave wave;
    if (bytes.size() < 12 || bytes.left(4) != "RIFF" || bytes.mid(8, 4) != "WAVE")
        return wave;
    wave.riff = true;
    qsizetype at = 12;
    while (at + 8 <= bytes.size()) {
        const QByteArray id = bytes.mid(at, 4);
        const quint32 length = qFromLittleEndian<quint32>(bytes.constData() + at + 4);
        const qsizetype body = at + 8;
        if (length > static_cast<quint32>(bytes.size() - body))
            break;
        if (id == "fmt " && length >= 16) {
            wave.format = qFromLittleEndian<quint16>(bytes.constData() + body);
            wave.channels = qFromLittleEndian<quint16>(bytes.constData() + body + 2);
            wave.rate = static_cast<int>(qFromLittleEndian<quint32>(bytes.constData() + body + 4));
            wave.bits = qFromLittleEndian<quint16>(bytes.constData() + body + 14);
        } else if (id == "data") {
            wave.samples = bytes.mid(body, length);
        }
        at = body + length + (length & 1);
    }
    return wave;
}

TEST(ResourceCatalog, EveryPictureDecodesAsJpegAtItsSize)
{
    const std::map<QString, QSize> sizes{
        {"board.jpg", {768, 537}},         {"tile.jpg", {64, 64}},
        {"instructions1.jpg", {445, 175}}, {"instructions2.jpg", {263, 103}},
        {"instructions3.jpg", {384, 134}}, {"instructions4.jpg", {315, 133}},
    };
    ASSERT_EQ(ResourceCatalog::artFiles().size(), static_cast<qsizetype>(sizes.size()));
    for (const QString& file : ResourceCatalog::artFiles()) {
        SCOPED_TRACE(file.toStdString());
        ASSERT_EQ(sizes.count(file), 1u);
        QImageReader reader(ResourceCatalog::artPath(file), "jpeg");
        EXPECT_EQ(reader.format(), QByteArray("jpeg"));
        const QImage image = reader.read();
        ASSERT_FALSE(image.isNull()) << reader.errorString().toStdString();
        EXPECT_EQ(image.size(), sizes.at(file));
        // A real picture, not a flat placeholder.
        QSet<QRgb> colours;
        for (int y = 0; y < image.height(); y += 3)
            for (int x = 0; x < image.width(); x += 3)
                colours.insert(image.pixel(x, y));
        EXPECT_GT(colours.size(), 50);
    }
}

TEST(ResourceCatalog, EverySoundIsAShortAudibleMonoPcmWave)
{
    const QStringList names = ResourceCatalog::gameSoundNames() + ResourceCatalog::chatterSoundNames();
    ASSERT_EQ(names.size(), 31);
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        QFile file(ResourceCatalog::soundPath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const Wave wave = readWave(file.readAll());
        ASSERT_TRUE(wave.riff);
        EXPECT_EQ(wave.format, 1); // PCM
        EXPECT_EQ(wave.channels, 1);
        EXPECT_EQ(wave.rate, 22050);
        ASSERT_EQ(wave.bits, 16);
        const qsizetype count = wave.samples.size() / 2;
        EXPECT_GT(count, 22050 / 50);    // longer than 20 ms
        EXPECT_LE(count, 22050 * 3 / 2); // at most 1.5 s
        int peak = 0;
        for (qsizetype i = 0; i < count; ++i)
            peak = std::max(peak, std::abs(int(qFromLittleEndian<qint16>(wave.samples.constData() + 2 * i))));
        EXPECT_GT(peak, 16000); // normalised, not silent
        EXPECT_LT(peak, 32767); // and not clipped
    }
}

TEST(ResourceCatalog, SoundNamesAndPaths)
{
    EXPECT_EQ(ResourceCatalog::gameSoundNames(),
              QStringList({"entered", "placecard", "error", "lostmoney", "gotmoney", "choosecontract", "clickcontract",
                           "turn", "turnnew", "startround", "winner"}));
    EXPECT_EQ(ResourceCatalog::chatterSoundNames().first(), QString("wave1"));
    EXPECT_EQ(ResourceCatalog::chatterSoundNames().last(), QString("wave20"));
    EXPECT_EQ(ResourceCatalog::soundPath("PlaceCard"), QString(":/sounds/placecard.wav"));
    EXPECT_EQ(ResourceCatalog::soundPath("WAVE7"), QString(":/sounds/wave7.wav"));
    EXPECT_EQ(ResourceCatalog::artPath("board.jpg"), QString(":/art/board.jpg"));
    EXPECT_FALSE(QFile::exists(ResourceCatalog::soundPath("nosuchsound")));
}

} // namespace
