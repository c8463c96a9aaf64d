// Feeds arbitrary bytes to the LZRW1/KH decoder, as one block and as a whole compressed file, and checks
// that compressing the same bytes reads back unchanged.

#include "elzrw1exception.h"
#include "lzrw1codec.h"
#include "tlzrw1.h"

#include <QByteArray>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

using morlu::ELzrw1Exception;
using morlu::Lzrw1Codec;
using morlu::Tlzrw1;

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static Lzrw1Codec codec;
    const QByteArrayView input(reinterpret_cast<const char*>(data), qsizetype(size));

    // The bytes as one block: either refused as corrupt or decoded to at most a block, and decoding the
    // same bytes again gives the same result.
    if (size <= std::size_t(Lzrw1Codec::kBufferSize)) {
        std::vector<std::uint8_t> block(data, data + size);
        std::vector<std::uint8_t> out(Lzrw1Codec::kBufferSize);
        try {
            const int n = Lzrw1Codec::decompressBlock(block.data(), int(block.size()), out.data());
            check(n >= 0 && n <= Lzrw1Codec::kBlockSize);
            check(Lzrw1Codec::decompressBlock(input) == QByteArrayView(out.data(), n));
            // Whatever decodes also round-trips through the compressor.
            const QByteArray again = codec.compressBlock(QByteArrayView(out.data(), n));
            check(Lzrw1Codec::decompressBlock(again) == QByteArrayView(out.data(), n));
        } catch (const ELzrw1Exception& error) {
            check(error.message() == Lzrw1Codec::corruptBlockText());
        }
    }

    // The bytes as a whole compressed file.
    try {
        const QByteArray expanded = Tlzrw1::decompressData(input);
        check(Tlzrw1::compressData(expanded).size() <= 8 + expanded.size() + 3 * (expanded.size() / 32768 + 1));
    } catch (const ELzrw1Exception&) {
    }

    // The bytes as data: a block and a file made from them read back unchanged.
    const QByteArrayView head = input.first(qMin<qsizetype>(input.size(), Lzrw1Codec::kBlockSize));
    const QByteArray block = codec.compressBlock(head);
    check(block.size() <= head.size() + 1);
    check(Lzrw1Codec::decompressBlock(block) == head);
    check(Tlzrw1::decompressData(Tlzrw1::compressData(input)) == input);
    return 0;
}
