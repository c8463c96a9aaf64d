#pragma once

#include "lzrw1codec.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <cstdint>

class QIODevice;

namespace morlu {

/// Method used when compressing. Only Fast (LZRW1/KH) is written; Good and Auto write Fast too.
enum class TCompressMode { Good, Fast, Auto };

/**
 * The tally's file coder: turns one whole input file into one whole output file, compressing with the
 * LZRW1/KH method or decompressing it. The tally sets the two file names and calls Decompress() once
 * when the program starts and Compress() once when it ends.
 *
 * A compressed file is the method identifier (4 bytes, little-endian: 0x4C5A5257 for LZRW1/KH), the
 * uncompressed size (4 bytes, little-endian), then blocks, each a 2-byte little-endian length and that
 * many bytes of one Lzrw1Codec block. The data is cut into blocks of 32768 bytes; the last block holds
 * the rest, and a block made from 0 bytes ends the file when the size is a multiple of 32768. A reader
 * stops after the first block that decodes to fewer than 32768 bytes.
 *
 * Every failure throws ELzrw1Exception. The output is written to a temporary file beside it and put in
 * place only when the whole operation has succeeded, so a failure never leaves a partial output file,
 * and a file that was there before stays as it was. Devices and pipes are written directly and never
 * removed.
 *
 * Files whose identifier is 0x4C5A4821 (the method of mode Good) are recognised and refused: that method
 * is not supported, and compressing in mode Good or Auto writes LZRW1/KH like mode Fast.
 */
class Tlzrw1 {
public:
    static constexpr std::uint32_t kIdentifierFast = 0x4C5A5257;
    static constexpr std::uint32_t kIdentifierGood = 0x4C5A4821;
    static constexpr int kHeaderSize = 8;
    /// Largest size a compressed file can state (its 4-byte field).
    static constexpr qint64 kMaxStoredSize = 0xFFFFFFFFLL;

    /// Allocates the hash table; throws ELzrw1KHCompressor when there is no memory for it.
    Tlzrw1() = default;

    QString InputFile() const { return m_inputFile; }
    void setInputFile(const QString& fileName) { m_inputFile = fileName; }
    QString OutputFile() const { return m_outputFile; }
    void setOutputFile(const QString& fileName) { m_outputFile = fileName; }
    /// Good until set otherwise; every mode writes LZRW1/KH today, and the tally asks for Fast by name.
    TCompressMode CompressMode() const { return m_compressMode; }
    void setCompressMode(TCompressMode mode) { m_compressMode = mode; }
    /**
     * Largest uncompressed size decompressing accepts (kMaxStoredSize by default): a file that states
     * more is refused from its header, before anything is decoded. The tally sets what a tally can need.
     */
    void setMaxSize(qint64 bytes) { m_maxSize = bytes; }
    qint64 maxSize() const { return m_maxSize; }

    /// Compresses InputFile into OutputFile (replaced if it exists); returns the size of the file written.
    /// InputFile must be a regular file: a device or a pipe has no size to store (and may never end).
    qint64 Compress();
    /// Decompresses InputFile (a regular file) into OutputFile (replaced if it exists); returns the
    /// number of bytes written.
    qint64 Decompress();

    /**
     * The work of Compress() between two open devices: size is the input size stored in the header (the
     * header is corrected afterwards when a seekable output shows the input had another length). The
     * names go into error texts. Returns the number of bytes written to out.
     */
    qint64 compressStream(QIODevice& in, qint64 size, QIODevice& out, const QString& inName, const QString& outName);
    /// The work of Decompress() between two open devices; returns the number of bytes written to out.
    qint64 decompressStream(QIODevice& in, QIODevice& out, const QString& inName, const QString& outName);

    /// A whole compressed file made from data, in memory.
    static QByteArray compressData(QByteArrayView data);
    /// The data held by a whole compressed file in memory; errors name the input "(memory)".
    static QByteArray decompressData(QByteArrayView file);

private:
    QString m_inputFile;
    QString m_outputFile;
    TCompressMode m_compressMode = TCompressMode::Good;
    qint64 m_maxSize = kMaxStoredSize;
    Lzrw1Codec m_codec;
};

} // namespace morlu
