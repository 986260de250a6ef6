// A whole check of a 10,000-character article against a loopback search
// service answering every query with the same 1 MB result page, beside a plain
// libcurl loop that makes the same requests and does nothing else.
#include <benchmark/benchmark.h>
#include <curl/curl.h>

#include "bench/result_page.h"
#include "check/check.h"
#include "tests/support/http_test_server.h"
#include "tests/support/memory_window.h"

namespace {

using quenvar::Text;

const std::string& article_utf8() {
    static const std::string article = [] {
        const std::string paragraph =
            "原创内容是网站长期发展的基础，搜索引擎更愿意收录有独立观点的文章。"
            "写作时先列出提纲，再用自己的语言组织材料，可以明显提高文章的原创度。"
            "很多编辑会把一段话拆成短句，并补充案例和数据，让读者读得更明白。";
        std::string out;
        // 10,000 characters, three bytes each in UTF-8.
        while (out.size() < 30'000) out += paragraph;
        return out.substr(0, 30'000);
    }();
    return article;
}

quenvar::testing::HttpTestServer& search_service() {
    static const std::string reply = quenvar::testing::http_response(
        200, quenvar::bench::make_result_page(1 << 20, "写作时先列出提纲，再用自", 40));
    static quenvar::testing::HttpTestServer* server =
        new quenvar::testing::HttpTestServer([](const quenvar::testing::HttpTestRequest&) {
            return quenvar::testing::HttpTestReply(reply);
        });
    return *server;
}

void BM_WholeCheck(benchmark::State& state) {
    const Text article = quenvar::utf8_to_txt(article_utf8());
    quenvar::CheckOptions options;
    options.search_host = search_service().host();
    int32_t segments = 0;
    for (auto _ : state) {
        quenvar::testing::MemoryWindow window;
        window.boxes[quenvar::Box::article] = article;
        segments = quenvar::run_check(window, options).checked;
    }
    state.counters["segments"] = segments;
}
BENCHMARK(BM_WholeCheck)->Unit(benchmark::kMillisecond)->Iterations(3);

// A plain request still keeps the page it asked for.
size_t keep(char* data, size_t size, size_t count, void* body) {
    static_cast<std::string*>(body)->append(data, size * count);
    return size * count;
}

void BM_PlainRequests(benchmark::State& state) {
    // The same links the check requests, one per segment of 36 characters.
    const Text article = quenvar::utf8_to_txt(article_utf8());
    const quenvar::Bytes cut = quenvar::cut_into_segments(article, 72);
    std::vector<std::string> targets;
    for (const quenvar::Bytes& segment : quenvar::bin_split(cut, quenvar::segment_separator())) {
        targets.push_back(quenvar::escape_request_target(
            quenvar::build_search_url(quenvar::bin_to_txt(segment), search_service().host())
                .view()));
    }
    for (auto _ : state) {
        for (const std::string& target : targets) {
            std::string body;
            CURL* curl = curl_easy_init();
            curl_easy_setopt(curl, CURLOPT_URL, target.c_str());
            curl_easy_setopt(curl, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_0));
            curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &keep);
            curl_easy_setopt(curl, CURLOPT_WRITEDATA, &body);
            curl_easy_perform(curl);
            curl_easy_cleanup(curl);
            benchmark::DoNotOptimize(body.data());
        }
    }
    state.counters["segments"] = static_cast<double>(targets.size());
}
BENCHMARK(BM_PlainRequests)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
