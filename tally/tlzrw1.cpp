#include "tlzrw1.h"

#include "elzrw1exception.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QtEndian>

#include <functional>
#include <memory>
#include <new>

namespace morlu {

namespace {

/** The two work buffers of one operation: the data read and the data to write, each with room to spare. */
class IoBuffers {
public:
    IoBuffers() : m_in(new (std::nothrow) std::uint8_t[kSize]), m_out(new (std::nothrow) std::uint8_t[kSize])
    {
        if (!m_in || !m_out)
            throw ELzrw1Exception(QStringLiteral("Lzrw1 (de)compression : Failed to get memory for I/O buffers !"));
    }
    std::uint8_t* in() { return m_in.get(); }
    std::uint8_t* out() { return m_out.get(); }

    // A compressed block is written right after its 2-byte length, so the output buffer has room for both.
    static constexpr int kSize = Lzrw1Codec::kBufferSize + 2;

private:
    std::unique_ptr<std::uint8_t[]> m_in;
    std::unique_ptr<std::uint8_t[]> m_out;
};

/**
 * Where Compress() and Decompress() write. A regular file (or a name not yet taken) is written through
 * a temporary file that replaces it only on commit(), so a failed operation leaves no partial file and
 * keeps an older one. Anything else that exists (a device, a pipe) is written directly and never removed.
 */
class OutputTarget {
public:
    explicit OutputTarget(const QString& fileName)
    {
        const QFileInfo info(fileName);
        if (info.exists() && !info.isFile()) {
            m_file = std::make_unique<QFile>(fileName);
            m_device = m_file.get();
        } else {
            m_saveFile = std::make_unique<QSaveFile>(fileName);
            m_device = m_saveFile.get();
        }
    }

    bool open() { return m_device->open(QIODevice::WriteOnly | QIODevice::Unbuffered); }
    QIODevice& device() { return *m_device; }

    bool commit()
    {
        if (m_saveFile)
            return m_saveFile->commit();
        m_file->close();
        return m_file->error() == QFileDevice::NoError;
    }

    /// Closes the output and removes what was written (the temporary file), keeping any older file.
    void discard()
    {
        if (m_saveFile) {
            m_saveFile->cancelWriting();
            m_saveFile.reset();
        } else {
            m_file->close();
        }
    }

private:
    std::unique_ptr<QSaveFile> m_saveFile;
    std::unique_ptr<QFile> m_file;
    QIODevice* m_device = nullptr;
};

// Runs @p code from a read-only device over @p input to a device that collects the result.
QByteArray inMemory(QByteArrayView input, const std::function<void(QIODevice&, QIODevice&)>& code)
{
    QByteArray source = QByteArray::fromRawData(input.data(), input.size());
    QBuffer in(&source);
    in.open(QIODevice::ReadOnly);
    QByteArray result;
    QBuffer out(&result);
    out.open(QIODevice::WriteOnly);
    code(in, out);
    return result;
}

QString memoryName()
{
    return QStringLiteral("(memory)");
}

[[noreturn]] void throwOpenInput(const QString& name)
{
    throw ELzrw1Exception(QStringLiteral("Lzrw1 (de)compression : Failed to open input file : ") + name);
}

[[noreturn]] void throwOpenOutput(const QString& name)
{
    throw ELzrw1Exception(QStringLiteral("Lzrw1 (de)compression : Failed to open output file : ") + name);
}

[[noreturn]] void throwWrite(const QString& name)
{
    throw ELzrw1Exception(QStringLiteral("Lzrw1 : Error writing to output file : ") + name);
}

[[noreturn]] void throwRead(const QString& name)
{
    throw ELzrw1Exception(QStringLiteral("Lzrw1 : Error reading from input file : ") + name);
}

[[noreturn]] void throwSizeMismatch()
{
    throw ELzrw1Exception(
        QStringLiteral("Lzrw1 (decompression LZRW1/KH) : Original and compressed sizes do not match !"));
}

/// Reads until n bytes are in or the input ends; -1 when a read fails.
qint64 readFully(QIODevice& in, void* data, qint64 n)
{
    char* p = static_cast<char*>(data);
    qint64 done = 0;
    while (done < n) {
        const qint64 got = in.read(p + done, n - done);
        if (got < 0)
            return -1;
        if (got == 0)
            break;
        done += got;
    }
    return done;
}

/// Reads exactly n bytes while decompressing; anything less (a truncated file) is the read error.
void readExactly(QIODevice& in, void* data, qint64 n, const QString& inName)
{
    if (readFully(in, data, n) != n)
        throwRead(inName);
}

void writeAll(QIODevice& out, const void* data, qint64 n, const QString& outName)
{
    if (n > 0 && out.write(static_cast<const char*>(data), n) != n)
        throwWrite(outName);
}

/// Opens both files, runs work(in, out) and puts the output in place; on failure nothing of it remains.
template <typename Work> qint64 runOnFiles(const QString& inName, const QString& outName, Work work)
{
    QFile input(inName);
    if (!input.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        throwOpenInput(inName);
    OutputTarget output(outName);
    if (!output.open())
        throwOpenOutput(outName);
    try {
        const qint64 result = work(input, output.device());
        input.close();
        if (!output.commit())
            throwWrite(outName);
        return result;
    } catch (...) {
        output.discard();
        throw;
    }
}

} // namespace

qint64 Tlzrw1::Compress()
{
    // Modes Good and Auto write LZRW1/KH as well: no other method is written by this program.
    const QFileInfo info(m_inputFile);
    if (m_inputFile.isEmpty() || !info.isFile() || info.size() > kMaxStoredSize)
        throw ELzrw1Exception(QStringLiteral("Lzrw1 compression : Failed to obtain the size of : ") + m_inputFile);
    const qint64 size = info.size();
    return runOnFiles(m_inputFile, m_outputFile, [&](QIODevice& in, QIODevice& out) {
        return compressStream(in, size, out, m_inputFile, m_outputFile);
    });
}

qint64 Tlzrw1::Decompress()
{
    const QFileInfo info(m_inputFile);
    if (info.exists() && !info.isFile())
        throw ELzrw1Exception(QStringLiteral("Lzrw1 (de)compression : Failed to open input file : ") + m_inputFile +
                              QStringLiteral(" (not a regular file)"));
    return runOnFiles(m_inputFile, m_outputFile, [&](QIODevice& in, QIODevice& out) {
        return decompressStream(in, out, m_inputFile, m_outputFile);
    });
}

qint64 Tlzrw1::compressStream(QIODevice& in, qint64 size, QIODevice& out, const QString& inName, const QString& outName)
{
    IoBuffers buffers;
    std::uint8_t header[kHeaderSize];
    qToLittleEndian<quint32>(kIdentifierFast, header);
    qToLittleEndian<quint32>(quint32(size), header + 4);
    writeAll(out, header, kHeaderSize, outName);

    qint64 written = kHeaderSize;
    qint64 readTotal = 0;
    for (;;) {
        const qint64 got = readFully(in, buffers.in(), Lzrw1Codec::kBlockSize);
        if (got < 0)
            throw ELzrw1Exception(QStringLiteral("Lzrw1 : Error reading from input file : ") + inName +
                                  QStringLiteral(" (LZRW1/KH)"));
        readTotal += got;
        const int length = m_codec.compressBlock(buffers.in(), int(got), buffers.out() + 2);
        qToLittleEndian<quint16>(quint16(length), buffers.out());
        writeAll(out, buffers.out(), length + 2, outName);
        written += length + 2;
        if (got < Lzrw1Codec::kBlockSize)
            break;
    }

    // The input changed its length since its size was taken: store the size of what was compressed, so
    // that the file reads back, where the output allows it.
    if (readTotal != size && !out.isSequential()) {
        qToLittleEndian<quint32>(quint32(readTotal), header + 4);
        if (!out.seek(4))
            throwWrite(outName);
        writeAll(out, header + 4, 4, outName);
        if (!out.seek(written))
            throwWrite(outName);
    }
    return written;
}

qint64 Tlzrw1::decompressStream(QIODevice& in, QIODevice& out, const QString& inName, const QString& outName)
{
    IoBuffers buffers;
    std::uint8_t word[4];
    readExactly(in, word, 4, inName);
    const quint32 identifier = qFromLittleEndian<quint32>(word);
    if (identifier == kIdentifierGood)
        throw ELzrw1Exception(
            inName + QStringLiteral(" : Lzrw1 decompression : this file uses a method that is not supported !"));
    if (identifier != kIdentifierFast)
        throw ELzrw1Exception(inName + QStringLiteral(" : Lzrw1 decompression : this file has no valid header !"));
    readExactly(in, word, 4, inName);
    const qint64 size = qFromLittleEndian<quint32>(word);
    if (size > m_maxSize)
        throw ELzrw1Exception(inName +
                              QStringLiteral(" : Lzrw1 decompression : the stored size %1 is larger than %2 bytes !")
                                  .arg(size)
                                  .arg(m_maxSize));

    qint64 written = 0;
    for (;;) {
        readExactly(in, word, 2, inName);
        const int length = qFromLittleEndian<quint16>(word);
        if (length > Lzrw1Codec::kBufferSize)
            Lzrw1Codec::throwCorrupt();
        readExactly(in, buffers.in(), length, inName);
        const int n = Lzrw1Codec::decompressBlock(buffers.in(), length, buffers.out());
        // The written count only grows: once past the stored size the sizes can no longer match.
        if (written + n > size)
            throwSizeMismatch();
        writeAll(out, buffers.out(), n, outName);
        written += n;
        if (n < Lzrw1Codec::kBlockSize)
            break;
    }
    if (written != size)
        throwSizeMismatch();
    return written;
}

QByteArray Tlzrw1::compressData(QByteArrayView data)
{
    return inMemory(data, [&](QIODevice& in, QIODevice& out) {
        Tlzrw1().compressStream(in, data.size(), out, memoryName(), memoryName());
    });
}

QByteArray Tlzrw1::decompressData(QByteArrayView file)
{
    return inMemory(
        file, [](QIODevice& in, QIODevice& out) { Tlzrw1().decompressStream(in, out, memoryName(), memoryName()); });
}

} // namespace morlu
