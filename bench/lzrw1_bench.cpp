// Throughput of the tally's LZRW1/KH block coder against zlib level 1 on the same 1 MB input.

#include "lzrw1codec.h"

#include <QByteArray>

#include <benchmark/benchmark.h>
#include <zlib.h>

#include <cstdint>
#include <vector>

using morlu::Lzrw1Codec;

namespace {

/// 1 MB in stretches of text, runs of equal bytes and random bytes (about 45%, 20% and 35%).
const QByteArray& mixedInput()
{
    static const QByteArray data = [] {
        static const char* const words[] = {
            "Klot ",  "has taken the trick. ", "is the director ", "MORLU ",     "WATERLOO ", "0\r\n",
            "12\r\n", "Your Wins: ",           "Number of Games ", "Session\r\n"};
        std::uint32_t state = 12345;
        const auto next = [&state] {
            state = state * 1664525u + 1013904223u;
            return state >> 8;
        };
        QByteArray out;
        const int size = 1 << 20;
        while (out.size() < size) {
            const std::uint32_t kind = next() % 20;
            if (kind < 9) {
                for (int i = 0; i < 60; ++i)
                    out += words[next() % 10];
            } else if (kind < 13) {
                out += QByteArray(int(8 + next() % 600), char(next()));
            } else {
                for (int i = 0; i < 1200; ++i)
                    out += char(next());
            }
        }
        out.truncate(size);
        return out;
    }();
    return data;
}

/// The input cut into blocks and compressed, as a file would hold them.
std::vector<QByteArray> compressedBlocks()
{
    Lzrw1Codec codec;
    std::vector<QByteArray> blocks;
    const QByteArray& data = mixedInput();
    for (qsizetype pos = 0; pos < data.size(); pos += Lzrw1Codec::kBlockSize)
        blocks.push_back(codec.compressBlock(
            QByteArrayView(data).sliced(pos, qMin<qsizetype>(Lzrw1Codec::kBlockSize, data.size() - pos))));
    return blocks;
}

void BM_Lzrw1Compress(benchmark::State& state)
{
    const QByteArray& data = mixedInput();
    Lzrw1Codec codec;
    std::vector<std::uint8_t> out(Lzrw1Codec::kBufferSize);
    const auto* src = reinterpret_cast<const std::uint8_t*>(data.constData());
    std::int64_t packed = 0;
    for (auto _ : state) {
        packed = 0;
        for (qsizetype pos = 0; pos < data.size(); pos += Lzrw1Codec::kBlockSize) {
            const int n = int(qMin<qsizetype>(Lzrw1Codec::kBlockSize, data.size() - pos));
            packed += codec.compressBlock(src + pos, n, out.data()) + 2;
        }
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(state.iterations() * data.size());
    state.counters["ratio"] = double(packed) / double(data.size());
}
BENCHMARK(BM_Lzrw1Compress)->Unit(benchmark::kMillisecond);

void BM_Lzrw1Expand(benchmark::State& state)
{
    const std::vector<QByteArray> blocks = compressedBlocks();
    std::vector<std::uint8_t> out(Lzrw1Codec::kBufferSize);
    for (auto _ : state) {
        for (const QByteArray& block : blocks)
            Lzrw1Codec::decompressBlock(reinterpret_cast<const std::uint8_t*>(block.constData()), int(block.size()),
                                        out.data());
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(state.iterations() * mixedInput().size());
}
BENCHMARK(BM_Lzrw1Expand)->Unit(benchmark::kMillisecond);

void BM_ZlibDeflateLevel1(benchmark::State& state)
{
    const QByteArray& data = mixedInput();
    std::vector<Bytef> out(compressBound(uLong(data.size())));
    uLongf packed = 0;
    for (auto _ : state) {
        packed = uLongf(out.size());
        if (compress2(out.data(), &packed, reinterpret_cast<const Bytef*>(data.constData()), uLong(data.size()), 1) !=
            Z_OK)
            state.SkipWithError("deflate failed");
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(state.iterations() * data.size());
    state.counters["ratio"] = double(packed) / double(data.size());
}
BENCHMARK(BM_ZlibDeflateLevel1)->Unit(benchmark::kMillisecond);

void BM_ZlibInflate(benchmark::State& state)
{
    const QByteArray& data = mixedInput();
    std::vector<Bytef> packed(compressBound(uLong(data.size())));
    uLongf packedSize = uLongf(packed.size());
    compress2(packed.data(), &packedSize, reinterpret_cast<const Bytef*>(data.constData()), uLong(data.size()), 1);
    std::vector<Bytef> out(std::size_t(data.size()));
    for (auto _ : state) {
        uLongf size = uLongf(out.size());
        if (uncompress(out.data(), &size, packed.data(), packedSize) != Z_OK)
            state.SkipWithError("inflate failed");
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(state.iterations() * data.size());
}
BENCHMARK(BM_ZlibInflate)->Unit(benchmark::kMillisecond);

} // namespace
