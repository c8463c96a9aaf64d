#include "lzrw1codec.h"

#include "elzrw1exception.h"

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

inline unsigned hashOf(const std::uint8_t* p)
{
    const std::uint32_t key = ((((std::uint32_t(p[0]) << 4) ^ p[1]) << 4) ^ p[2]);
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

        const std::uint8_t byte = src[p];
        const int runLimit = std::min(n - p, kMaxRun);
        int run = 1;
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

        // Within two bytes of the end no match of three bytes fits, whatever the hash would find, and
        // positions entered there are never looked up with success again in this block.
        if (p + kMinMatch <= n) {
            const unsigned h = hashOf(src + p);
            const int candidate = table[h];
            table[h] = std::uint16_t(p);
            if (candidate != kEmpty && p - candidate <= kMaxOffset) {
                const int matchLimit = std::min(n - p, kMaxMatch);
                const std::uint8_t* a = src + candidate;
                const std::uint8_t* b = src + p;
                int m = 0;
                while (m < matchLimit && a[m] == b[m])
                    ++m;
                if (m >= kMinMatch) {
                    const unsigned word = unsigned(p - candidate) * 16u + unsigned(m - kMinMatch);
                    dst[out] = std::uint8_t(word >> 8);
                    dst[out + 1] = std::uint8_t(word);
                    out += 2;
                    p += m;
                    control = (control << 1) | 1u;
                    continue;
                }
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
