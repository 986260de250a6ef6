// Counting a probe in a 1.5 MB result page, against a plain literal count.
#include <benchmark/benchmark.h>

#include "bench/result_page.h"
#include "check/check.h"

namespace {

// 12 characters, as the check cuts them with the default setting.
constexpr std::string_view probe_utf8 = "写作时先列出提纲再用自己的";

const quenvar::Text& page() {
    static const quenvar::Text text =
        quenvar::utf8_to_txt(quenvar::bench::make_result_page(1'500'000, probe_utf8, 40));
    return text;
}

void BM_FindAllChineseProbe(benchmark::State& state) {
    quenvar::SearchPattern pattern;
    pattern.compile(quenvar::utf8_to_txt(probe_utf8));
    for (auto _ : state) {
        auto matches = pattern.find_all(page());
        benchmark::DoNotOptimize(matches);
    }
    state.counters["matches"] = static_cast<double>(pattern.find_all(page()).size());
}
BENCHMARK(BM_FindAllChineseProbe)->Unit(benchmark::kMillisecond);

void BM_StringViewFindCount(benchmark::State& state) {
    const quenvar::Text probe = quenvar::utf8_to_txt(probe_utf8);
    const std::string_view text = page().view(), literal = probe.view();
    size_t count = 0;
    for (auto _ : state) {
        count = 0;
        for (size_t at = text.find(literal); at != std::string_view::npos;
             at = text.find(literal, at + literal.size())) {
            ++count;
        }
        benchmark::DoNotOptimize(count);
    }
    state.counters["matches"] = static_cast<double>(count);
}
BENCHMARK(BM_StringViewFindCount)->Unit(benchmark::kMillisecond);

// A probe whose full-width parentheses became pattern syntax goes through the
// regex engine instead of the plain search.
void BM_FindAllProbeWithSyntax(benchmark::State& state) {
    quenvar::SearchPattern pattern;
    pattern.compile(quenvar::utf8_to_txt("写作时(先列出)提纲再用自己"));
    for (auto _ : state) {
        auto matches = pattern.find_all(page());
        benchmark::DoNotOptimize(matches);
    }
    state.counters["matches"] = static_cast<double>(pattern.find_all(page()).size());
}
BENCHMARK(BM_FindAllProbeWithSyntax)->Unit(benchmark::kMillisecond);

}  // namespace
