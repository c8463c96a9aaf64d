#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <cstdint>
#include <memory>

namespace morlu {

/**
 * One block of the LZRW1/KH method, in memory: up to 32768 bytes in, one compressed block out, and back.
 *
 * A block starts with a flag byte: 128 means the rest is the data unchanged (used whenever compressing
 * would not make the block smaller), 64 means compressed items follow, governed by 16-bit control words
 * (high byte first, most significant bit first, one bit per item). A 0 bit is a literal byte; a 1 bit
 * is either a 2-byte copy item (12-bit offset back into the block's output, 4-bit length - 3) or, when
 * the offset is 0, a 4-byte run item (0, length - 16 in 12 bits, the byte). Every block stands alone:
 * offsets never reach into an earlier block, and the hash table is cleared for each block.
 *
 * The codec owns the 4096-entry hash table of the compressor; decoding needs no state. The same input
 * always gives the same block, byte for byte, whatever was compressed before.
 */
class Lzrw1Codec {
public:
    /// Most data bytes in one block.
    static constexpr int kBlockSize = 32768;
    /// Size of a work buffer: a block plus 16 spare bytes that the compressor and decoder may touch.
    static constexpr int kBufferSize = kBlockSize + 16;
    static constexpr std::uint8_t kFlagStored = 128;
    static constexpr std::uint8_t kFlagCompressed = 64;

    /// Allocates the hash table; throws ELzrw1KHCompressor when there is no memory for it.
    Lzrw1Codec();
    ~Lzrw1Codec();
    Lzrw1Codec(const Lzrw1Codec&) = delete;
    Lzrw1Codec& operator=(const Lzrw1Codec&) = delete;

    /**
     * Compresses n bytes (0 to kBlockSize) at src into dst, which must hold kBufferSize bytes, and
     * returns the length of the block written (1 to n + 1). Zero bytes give the single byte 128.
     */
    int compressBlock(const std::uint8_t* src, int n, std::uint8_t* dst);

    /// compressBlock() over byte arrays; data must not be longer than kBlockSize.
    QByteArray compressBlock(QByteArrayView data);

    /**
     * Decodes the block of len bytes at src into dst, which must hold kBufferSize bytes, and returns the
     * number of bytes decoded (0 to kBlockSize). A block of 0 or 1 bytes decodes to nothing. Any flag
     * other than 64 or 128, an offset before the start of the output, an item past the block's end, a
     * missing control word or more than kBlockSize bytes of output throws ELzrw1Exception with
     * corruptBlockText(); nothing is read or written out of bounds.
     */
    static int decompressBlock(const std::uint8_t* src, int len, std::uint8_t* dst);

    /// decompressBlock() over byte arrays; a block longer than kBufferSize is refused as corrupt.
    static QByteArray decompressBlock(QByteArrayView block);

    /// "Lzrw1 (decompression LZRW1/KH) : corrupt compressed block !"
    static QString corruptBlockText();

    /// Throws ELzrw1Exception with corruptBlockText().
    [[noreturn]] static void throwCorrupt();

private:
    std::unique_ptr<std::uint16_t[]> m_hash;
};

} // namespace morlu
