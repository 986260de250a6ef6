// The article cut against the least work any cut must do: one walk over the
// article by the lead-byte rule, copying it out piece by piece.
#include <benchmark/benchmark.h>

#include <string>

#include "text/text.h"

namespace {

// About 1 MB of Chinese text with ASCII words, digits and line breaks mixed in.
const std::string& mixed_article() {
    static const std::string article = [] {
        const std::string chinese = "\xD6\xD0\xCE\xC4\xD4\xAD\xB4\xB4\xB6\xC8\xBC\xEC\xB2\xE2";
        std::string out;
        for (int i = 0; out.size() < 1'000'000; ++i) {
            out += chinese;
            out += (i % 3 == 0) ? " SEO 2026 " : "";
            out += (i % 11 == 0) ? "\r\n \r\n" : "";
        }
        return out;
    }();
    return article;
}

void BM_CutIntoSegments(benchmark::State& state) {
    const quenvar::Text article(mixed_article());
    for (auto _ : state) {
        quenvar::Bytes cut = quenvar::cut_into_segments(article, 72);
        benchmark::DoNotOptimize(cut);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(mixed_article().size()));
}
BENCHMARK(BM_CutIntoSegments)->Unit(benchmark::kMillisecond);

void BM_WalkAndCopyPieces(benchmark::State& state) {
    const std::string& article = mixed_article();
    for (auto _ : state) {
        std::string out;
        out.reserve(article.size());
        size_t piece_start = 0, pos = 0, limit = 71;
        while (pos < article.size()) {
            while (pos < article.size() && pos < limit) {
                pos += static_cast<unsigned char>(article[pos]) >= 0x80 ? 2 : 1;
            }
            out.append(article, piece_start, pos - piece_start);
            piece_start = pos;
            limit += 72;
        }
        benchmark::DoNotOptimize(out);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(article.size()));
}
BENCHMARK(BM_WalkAndCopyPieces)->Unit(benchmark::kMillisecond);

}  // namespace
