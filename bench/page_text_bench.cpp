// What a result page costs after the network: conversion to GB18030 and the
// removal of the highlight tags, against glibc's iconv converting it alone.
#include <benchmark/benchmark.h>
#include <iconv.h>

#include "bench/result_page.h"
#include "check/check.h"

namespace {

const std::string& utf8_page() {
    static const std::string page =
        quenvar::bench::make_result_page(1'500'000, "写作时先列出提纲再用自己的", 40);
    return page;
}

void BM_ResultPageText(benchmark::State& state) {
    const quenvar::Bytes body(utf8_page());
    for (auto _ : state) {
        quenvar::Text text = quenvar::result_page_text(body);
        benchmark::DoNotOptimize(text);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(utf8_page().size()));
}
BENCHMARK(BM_ResultPageText)->Unit(benchmark::kMillisecond);

void BM_IconvAlone(benchmark::State& state) {
    const std::string& page = utf8_page();
    std::string out(page.size() * 2, '\0');
    for (auto _ : state) {
        iconv_t converter = iconv_open("GB18030", "UTF-8");
        char* in = const_cast<char*>(page.data());
        size_t in_left = page.size();
        char* dst = out.data();
        size_t dst_left = out.size();
        iconv(converter, &in, &in_left, &dst, &dst_left);
        iconv_close(converter);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(page.size()));
}
BENCHMARK(BM_IconvAlone)->Unit(benchmark::kMillisecond);

}  // namespace
