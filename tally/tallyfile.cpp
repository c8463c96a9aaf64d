#include "tallyfile.h"

#include "elzrw1exception.h"
#include "tlzrw1.h"

#include <QFile>
#include <QTemporaryDir>

namespace morlu {

namespace {

/// A private folder for the grid text; throws when none can be made.
QString workFile(const QTemporaryDir& dir)
{
    if (!dir.isValid())
        throw ELzrw1Exception(QStringLiteral("Lzrw1 (de)compression : Failed to open output file : ") +
                              dir.errorString());
    return dir.filePath(QStringLiteral("temp.txt"));
}

} // namespace

TallyGrid TallyFile::load(const QString& path)
{
    const QTemporaryDir dir;
    const QString text = workFile(dir);
    Tlzrw1 coder;
    coder.setCompressMode(TCompressMode::Fast);
    coder.setMaxSize(kMaxTextSize);
    coder.setInputFile(path);
    coder.setOutputFile(text);
    coder.Decompress();
    QFile file(text);
    if (!file.open(QIODevice::ReadOnly))
        throw ELzrw1Exception(QStringLiteral("Lzrw1 (de)compression : Failed to open input file : ") + text);
    return TallyGrid::fromText(file.readAll());
}

qint64 TallyFile::save(const TallyGrid& grid, const QString& path)
{
    const QTemporaryDir dir;
    const QString text = workFile(dir);
    QFile file(text);
    const QByteArray bytes = grid.toText();
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush())
        throw ELzrw1Exception(QStringLiteral("Lzrw1 : Error writing to output file : ") + text);
    file.close();
    Tlzrw1 coder;
    coder.setCompressMode(TCompressMode::Fast);
    coder.setInputFile(text);
    coder.setOutputFile(path);
    return coder.Compress();
}

} // namespace morlu
