#include "artwork.h"
#include "contactsheet.h"
#include "feltpainter.h"
#include "illustrations.h"

#include <QCommandLineParser>
#include <QDir>
#include <QGuiApplication>
#include <QImageWriter>

#include <cstdio>

namespace {

bool save(const QImage& image, const QString& path, const char* format, int quality)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QImageWriter writer(path, format);
    if (quality > 0)
        writer.setQuality(quality);
    if (format == QByteArray("jpeg"))
        writer.setOptimizedWrite(true);
    if (!writer.write(image)) {
        std::fprintf(stderr, "artgen: cannot write %s: %s\n", qPrintable(path), qPrintable(writer.errorString()));
        return false;
    }
    std::printf("artgen: wrote %s\n", qPrintable(path));
    return true;
}

/// The JPEG pictures under <resources>/art and the hicolor PNG icons under <resources>/icons.
bool writeResources(const QString& dir)
{
    constexpr int quality = 88;
    bool ok = save(FeltPainter::board(), dir + "/art/board.jpg", "jpeg", quality);
    ok = save(FeltPainter::tile(), dir + "/art/tile.jpg", "jpeg", quality) && ok;
    for (int n = 1; n <= 4; ++n)
        ok = save(Illustrations::instructions(n), dir + QString("/art/instructions%1.jpg").arg(n), "jpeg", quality) &&
             ok;
    for (int size : {16, 32, 48, 64, 128, 256})
        ok = save(Artwork::appIconImage(size), dir + QString("/icons/hicolor/%1x%1/apps/morlu.png").arg(size), "png",
                  -1) &&
             ok;
    return ok;
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription("Draws Morlu's pictures: the JPEG resources, the icons and a contact sheet.");
    parser.addHelpOption();
    const QCommandLineOption out("out", "Write the JPEG pictures and PNG icons under <dir> (the resources folder).",
                                 "dir");
    const QCommandLineOption sheet("sheet", "Write a contact sheet of all the artwork to <png>.", "png");
    parser.addOption(out);
    parser.addOption(sheet);
    parser.process(app);
    if (!parser.isSet(out) && !parser.isSet(sheet))
        parser.showHelp(1);

    bool ok = true;
    if (parser.isSet(out))
        ok = writeResources(parser.value(out)) && ok;
    if (parser.isSet(sheet))
        ok = save(ContactSheet::render(), parser.value(sheet), "png", -1) && ok;
    return ok ? 0 : 1;
}
