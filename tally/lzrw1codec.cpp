#include "lzrw1codec.h"

#include "elzrw1exception.h"

#include <QtEndian>

#include <algorithm>
#include <cstring>
#include <new>

namespace morlu {

namespace {

constexpr int kHashSize = 4096;
constexpr std::uint16_t kEmpty = 0xFFFF;
constexpr int kMaxOffset = 4095;
constexpr int kMinMatch = 3;
constexpr int kMaxMatch = 18;
constexpr int kMinRun = 16;
constexpr int kMaxRun = 4095;

/// Little-endian 32-bit read; the caller knows four bytes are there.
inline std::uint32_t load32(const std::uint8_t* p)
{
    std::uint32_t value;
    std::memcpy(&value, p, sizeof value);
    return qFromLittleEndian(value);
}

inline std::uint32_t threeBytes(const std::uint8_t* p)
{
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16);
}

/// The hash of bytes b0, b1, b2 given as b0 | b1 << 8 | b2 << 16.
inline unsigned hashOf(std::uint32_t bytes)
{
    const std::uint32_t b0 = bytes & 0xFF;
    const std::uint32_t b1 = (bytes >> 8) & 0xFF;
    const std::uint32_t b2 = bytes >> 16;
    const std::uint32_t key = (((b0 << 4) ^ b1) << 4) ^ b2;
    return ((key * 40543u) >> 4) & (kHashSize - 1);
}

} // namespace

Lzrw1Codec::Lzrw1Codec() : m_hash(new (std::nothrow) std::uint16_t[kHashSize])
{
    if (!m_hash)
        throw ELzrw1KHCompressor(QStringLiteral("LZRW1KH : no memory for HASH table"));
}

Lzrw1Codec::~Lzrw1Codec() = default;

int Lzrw1Codec::compressBlock(const std::uint8_t* src, int n, std::uint8_t* dst)
{
    std::uint16_t* const table = m_hash.get();
    std::fill(table, table + kHashSize, kEmpty);

    int out = 3;
    int controlPos = 1;
    unsigned control = 0;
    int items = 0;
    int p = 0;
    // Every iteration writes at most 2 + 4 bytes, starting at out <= n, so dst never passes n + 6.
    while (p < n && out <= n) {
        if (items == 16) {
            dst[controlPos] = std::uint8_t(control >> 8);
            dst[controlPos + 1] = std::uint8_t(control);
            controlPos = out;
            out += 2;
            items = 0;
            control = 0;
        }
        ++items;

        const int left = n - p;
        const std::uint8_t byte = src[p];
        // Run test; a run can only start where the next byte repeats this one.
        if (left > 1 && src[p + 1] == byte) {
            const int runLimit = std::min(left, kMaxRun);
            int run = 2;
            while (run < runLimit && src[p + run] == byte)
                ++run;
            if (run >= kMinRun) {
                const unsigned extra = unsigned(run - kMinRun);
                dst[out] = 0;
                dst[out + 1] = std::uint8_t(extra >> 8);
                dst[out + 2] = std::uint8_t(extra);
                dst[out + 3] = byte;
                out += 4;
                p += run;
                control = (control << 1) | 1u;
                continue;
            }
        }

        // Within two bytes of the end no match of three bytes fits, whatever the hash would find, and
        // positions entered there are never looked up with success again in this block.
        if (left >= kMinMatch) {
            // The three bytes at p, read as one word where a fourth byte is there to be read.
            const bool wide = left > kMinMatch;
            const std::uint32_t here = wide ? load32(src + p) & 0xFFFFFFu : threeBytes(src + p);
            const unsigned h = hashOf(here);
            const int candidate = table[h];
            table[h] = std::uint16_t(p);
            // "An earlier position within reach whose first three bytes are equal" is worked out without
            // a branch on the distance: an empty slot (0xFFFF) is never within reach, and out of reach
            // position 0 is compared instead, which is then ignored. Four bytes from any position
            // before p end within the block (p + 3 <= n); so do four bytes at 0 when left > 3.
            const unsigned inReach = unsigned(p - candidate - 1) < unsigned(kMaxOffset);
            const int at = candidate & -int(inReach);
            const std::uint32_t there = wide ? load32(src + at) & 0xFFFFFFu : threeBytes(src + at);
            if (inReach & unsigned(there == here)) {
                const std::uint8_t* a = src + candidate;
                const std::uint8_t* b = src + p;
                const int matchLimit = std::min(left, kMaxMatch);
                int m = kMinMatch;
                while (m < matchLimit && a[m] == b[m])
                    ++m;
                const unsigned word = unsigned(p - candidate) * 16u + unsigned(m - kMinMatch);
                dst[out] = std::uint8_t(word >> 8);
                dst[out + 1] = std::uint8_t(word);
                out += 2;
                p += m;
                control = (control << 1) | 1u;
                continue;
            }
        }

        dst[out++] = byte;
        ++p;
        control <<= 1;
    }

    control <<= (16 - items);
    dst[controlPos] = std::uint8_t(control >> 8);
    dst[controlPos + 1] = std::uint8_t(control);

    if (out > n) {
        dst[0] = kFlagStored;
        if (n > 0)
            std::memcpy(dst + 1, src, std::size_t(n));
        return n + 1;
    }
    dst[0] = kFlagCompressed;
    return out;
}

QByteArray Lzrw1Codec::compressBlock(QByteArrayView data)
{
    Q_ASSERT(data.size() <= kBlockSize);
    QByteArray block(kBufferSize, Qt::Uninitialized);
    const int length = compressBlock(reinterpret_cast<const std::uint8_t*>(data.data()), int(data.size()),
                                     reinterpret_cast<std::uint8_t*>(block.data()));
    block.truncate(length);
    return block;
}

int Lzrw1Codec::decompressBlock(const std::uint8_t* src, int len, std::uint8_t* dst)
{
    if (len <= 1)
        return 0;
    if (src[0] == kFlagStored) {
        const int n = len - 1;
        if (n > kBlockSize)
            throwCorrupt();
        std::memcpy(dst, src + 1, std::size_t(n));
        return n;
    }
    if (src[0] != kFlagCompressed || len < 3)
        throwCorrupt();

    const std::uint8_t* s = src + 3;
    const std::uint8_t* const end = src + len;
    std::uint8_t* d = dst;
    std::uint8_t* const dstEnd = dst + kBlockSize;
    unsigned control = (unsigned(src[1]) << 8) | src[2];
    int bits = 16;

    while (s < end) {
        if (bits == 0) {
            if (end - s < 2)
                throwCorrupt();
            control = (unsigned(s[0]) << 8) | s[1];
            s += 2;
            bits = 16;
            continue;
        }
        --bits;
        const bool item = control & 0x8000u;
        control <<= 1;

        if (!item) {
            if (d == dstEnd)
                throwCorrupt();
            *d++ = *s++;
            continue;
        }
        if (end - s < 2)
            throwCorrupt();
        const unsigned x = s[0];
        const unsigned y = s[1];
        const unsigned offset = (x << 4) | (y >> 4);
        if (offset != 0) {
            const unsigned length = (y & 15u) + 3u;
            s += 2;
            if (offset > unsigned(d - dst) || length > unsigned(dstEnd - d))
                throwCorrupt();
            const std::uint8_t* from = d - offset;
            if (offset >= 16) {
                // Source and target do not overlap within 16 bytes; the spare bytes after the block
                // take what a short copy writes beyond its end, and the next items overwrite it.
                std::memcpy(d, from, 16);
                if (length > 16)
                    std::memcpy(d + 16, from + 16, 2);
            } else {
                for (unsigned i = 0; i < length; ++i)
                    d[i] = from[i];
            }
            d += length;
        } else {
            if (end - s < 4)
                throwCorrupt();
            const unsigned length = ((y << 8) | s[2]) + 16u;
            const std::uint8_t byte = s[3];
            s += 4;
            if (length > unsigned(dstEnd - d))
                throwCorrupt();
            std::memset(d, byte, length);
            d += length;
        }
    }
    return int(d - dst);
}

QByteArray Lzrw1Codec::decompressBlock(QByteArrayView block)
{
    if (block.size() > kBufferSize)
        throwCorrupt();
    QByteArray data(kBufferSize, Qt::Uninitialized);
    const int n = decompressBlock(reinterpret_cast<const std::uint8_t*>(block.data()), int(block.size()),
                                  reinterpret_cast<std::uint8_t*>(data.data()));
    data.truncate(n);
    return data;
}

QString Lzrw1Codec::corruptBlockText()
{
    return QStringLiteral("Lzrw1 (decompression LZRW1/KH) : corrupt compressed block !");
}

void Lzrw1Codec::throwCorrupt()
{
    throw ELzrw1Exception(corruptBlockText());
}

} // namespace morlu
