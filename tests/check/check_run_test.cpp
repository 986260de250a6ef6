#include <gtest/gtest.h>

#include <map>

#include "check/check.h"
#include "tests/support/hex.h"
#include "tests/support/http_test_server.h"
#include "tests/support/memory_window.h"

namespace quenvar {
namespace {

using namespace std::chrono_literals;
using testing::hex;
using testing::http_response;
using testing::HttpTestReply;
using testing::HttpTestRequest;
using testing::HttpTestServer;
using testing::MemoryWindow;

Text zh(std::string_view utf8) {
    return utf8_to_txt(utf8);
}

// `count` distinct GB2312 characters, starting at the `first`-th one.
std::string chinese(int first, int count) {
    std::string out;
    for (int i = first; i < first + count; ++i) {
        out.push_back(static_cast<char>(0xB0 + i / 94 % 40));
        out.push_back(static_cast<char>(0xA1 + i % 94));
    }
    return out;
}

// A result page in UTF-8 holding `probe` (GB18030) `times` times, every other
// time split by highlight tags as the search service marks its results.
std::string page_with(const std::string& probe, int times) {
    const std::string p = txt_to_utf8(Text(probe));
    const std::string first_half = p.substr(0, 6), second_half = p.substr(6);  // two characters
    std::string body =
        "<html><head><title>" + txt_to_utf8(zh("百度搜索")) + "</title></head><body>";
    for (int i = 0; i < times; ++i) {
        body += i % 2 == 0 ? "<div class=\"c-abstract\"><em>" + first_half + "</em>" + second_half +
                                 "</div>"
                           : "<div>" + p + "</div>";
    }
    return body + "</body></html>";
}

// The probe of a Chinese-only segment with the default settings: its first
// twelve characters.
std::string probe_of(const std::string& segment) {
    return segment.substr(0, 24);
}

class CheckRun : public ::testing::Test {
protected:
    CheckSummary run(MemoryWindow& window, const HttpTestServer& server) {
        CheckOptions options;
        options.search_host = server.host();
        options.http.stall_timeout = 300ms;
        return run_check(window, options);
    }
};

TEST_F(CheckRun, FillsTheGridAndScoresTheArticle) {
    // Matches per segment: six do not count, the seventh does.
    const std::vector<int> matches = {0, 6, 7, 10, 3};
    std::string article;
    std::map<std::string, int> times;
    for (int i = 0; i < 5; ++i) {
        const std::string segment = chinese(i * 36, 36);
        article += segment;
        times[probe_of(segment)] = matches[i];
    }
    HttpTestServer server([&](const HttpTestRequest& request) -> HttpTestReply {
        const std::string segment = request.query_value("wd");
        return http_response(200, page_with(probe_of(segment), times[probe_of(segment)]));
    });
    MemoryWindow window;
    window.boxes[Box::article] = Text(article);
    window.labels[Label::originality_value] = Text("old");
    window.rows.push_back({{Text("9")}, {Text("an earlier run")}, {}, {}});

    const CheckSummary summary = run(window, server);

    EXPECT_EQ(window.boxes[Box::character_count], Text("180"));
    ASSERT_EQ(window.rows.size(), 6u);
    EXPECT_EQ(window.rows[0][0].text, Text("header 0"));
    const char* highlights[] = {"0", "0", "1", "4", "0"};
    for (int i = 0; i < 5; ++i) {
        const auto& row = window.rows[i + 1];
        const std::string segment = chinese(i * 36, 36);
        EXPECT_EQ(row[0].text, num_to_txt(i + 1));
        EXPECT_EQ(row[1].text, Text(segment));
        EXPECT_EQ(row[2].text, Text(highlights[i])) << "segment " << i;
        EXPECT_EQ(row[3].text, build_search_url(Text(segment), server.host()));
        EXPECT_EQ(row[3].colour, link_colour);
    }
    EXPECT_EQ(window.labels[Label::originality_value], Text("60%"));
    EXPECT_EQ(window.labels[Label::originality_verdict], zh("已经合格，有待提升"));
    EXPECT_EQ(window.start_enabled_history, (std::vector<bool>{false, true}));
    EXPECT_EQ(server.request_count(), 5u);
    // Highlighted counts stand out.
    EXPECT_EQ(window.rows[3][2].colour, (Rgb{255, 0, 0}));
    EXPECT_TRUE(window.rows[3][2].bold);
    EXPECT_FALSE(window.rows[2][2].bold);
    using Stage = CheckProgress::Stage;
    ASSERT_EQ(window.reports.size(), 6u);
    EXPECT_EQ(window.reports[0], (CheckProgress{Stage::checking, 1, 5, 0, 0, 0}));
    EXPECT_EQ(window.reports[4], (CheckProgress{Stage::checking, 5, 5, 2, 0, 0}));
    EXPECT_EQ(window.reports[5], (CheckProgress{Stage::finished, 5, 5, 3, 0, 0}));
    EXPECT_EQ(summary.checked, 5);
    EXPECT_EQ(summary.original, 3);
}

TEST(Verdict, PercentageAndPhrase) {
    struct Case {
        int32_t original, checked;
        const char* percentage;
        const char* phrase;
    };
    const Case cases[] = {
        {5, 5, "100%", "你乃神人，此文原创"},
        {0, 5, "0%", "别灰心额，还需努力"},
        {3, 5, "60%", "已经合格，有待提升"},
        {4, 5, "80%", "百尺竿头，更进一步"},
        {9, 10, "90%", "非常不错，挑战满分"},
        {99, 100, "99%", "你乃神人，此文原创"},
        {98, 100, "98%", "非常不错，挑战满分"},
        {2, 3, "66.67%", "已经合格，有待提升"},
        {1, 3, "33.33%", "别灰心额，还需努力"},
        {1, 7, "14.29%", "别灰心额，还需努力"},
        {119, 200, "59.5%", "别灰心额，还需努力"},
        {29, 100, "29%", "别灰心额，还需努力"},  // 28.999999999999996 truncates to 28
    };
    for (const Case& c : cases) {
        const double percentage = originality_percentage(c.original, c.checked);
        EXPECT_EQ(txt_join(num_to_txt(percentage), "%"), Text(c.percentage))
            << c.original << "/" << c.checked;
        EXPECT_EQ(verdict_phrase(num_to_int(percentage)), zh(c.phrase))
            << c.original << "/" << c.checked;
    }
}

TEST(SegmentProbe, TheOpeningCharactersInHalfWidth) {
    struct Case {
        const char* name;
        std::string segment;
        int32_t probe_length, segment_length;
        std::string probe;
    };
    const std::string c = chinese(0, 40);
    const Case cases[] = {
        {"Chinese", c.substr(0, 72), 12, 36, c.substr(0, 24)},
        {"a leading line break takes one character", "\r\n" + c.substr(0, 70), 12, 36,
         c.substr(0, 22)},
        {"ASCII counts like Chinese", "ab cd" + c.substr(0, 20), 12, 36, "abcd" + c.substr(0, 14)},
        {"the whole segment when the probe is as long",
         c.substr(0, 4) + " \r\n" + hex("A3 C1") + c.substr(4, 4), 20, 20,
         c.substr(0, 4) + "A" + c.substr(4, 4)},
        {"full-width punctuation becomes syntax", c.substr(0, 4) + hex("A3 A8") + c.substr(4, 20),
         12, 36, c.substr(0, 4) + "(" + c.substr(4, 18)},
        {"blanks and line breaks only", "  \r\n" + hex("A1 A1"), 12, 36, ""},
        {"a lone line feed and a tab stay", c.substr(0, 2) + "\n\t" + c.substr(2, 20), 12, 36,
         c.substr(0, 2) + "\n\t" + c.substr(2, 20)},
    };
    for (const Case& k : cases) {
        EXPECT_EQ(testing::to_hex(
                      segment_probe(Text(k.segment), k.probe_length, k.segment_length).view()),
                  testing::to_hex(k.probe))
            << k.name;
    }
}

TEST_F(CheckRun, BoundsTheSettingsAndCutsWithThem) {
    HttpTestServer server(
        [](const HttpTestRequest&) { return HttpTestReply(http_response(200, "<html></html>")); });
    struct Case {
        const char* segment_length;
        const char* probe_length;
        const char* shown_segment_length;
        const char* shown_probe_length;
        std::vector<size_t> piece_bytes;
    };
    const Case cases[] = {
        {"50", "5", "38", "12", {76, 76, 48}},  {"38", "12", "38", "12", {76, 76, 48}},
        {"0", "12", "36", "12", {72, 72, 56}},  {"", "", "36", "12", {72, 72, 56}},
        {"-5", "13", "36", "13", {72, 72, 56}}, {"20", "30", "20", "30", {40, 40, 40, 40, 40}},
    };
    for (const Case& c : cases) {
        MemoryWindow window;
        window.boxes[Box::article] = Text(chinese(0, 100));
        window.boxes[Box::segment_length] = Text(c.segment_length);
        window.boxes[Box::probe_length] = Text(c.probe_length);
        run(window, server);
        EXPECT_EQ(window.boxes[Box::segment_length], Text(c.shown_segment_length))
            << c.segment_length;
        EXPECT_EQ(window.boxes[Box::probe_length], Text(c.shown_probe_length)) << c.probe_length;
        std::vector<size_t> bytes;
        for (size_t r = 1; r < window.rows.size(); ++r)
            bytes.push_back(window.rows[r][1].text.view().size());
        EXPECT_EQ(bytes, c.piece_bytes) << c.segment_length;
    }
}

TEST_F(CheckRun, ProbesAreReadAfreshAndNeverBorrowedFromAnotherSegment) {
    const std::string first = chinese(0, 36);
    // The second segment's probe holds a full-width parenthesis: "(" opens a
    // group that never closes, so that probe is counted as plain text.
    const std::string second = chinese(36, 4) + hex("A3 A8") + chinese(40, 31);
    const std::string second_probe = chinese(36, 4) + "(" + chinese(40, 7);
    // The third's full-width full stop becomes "." and matches any byte.
    const std::string third = chinese(80, 4) + hex("A3 AE") + chinese(84, 31);
    const std::string third_page_probe = chinese(80, 4) + "x" + chinese(84, 7);
    const std::string fourth = chinese(120, 36);
    HttpTestServer server([&](const HttpTestRequest& request) -> HttpTestReply {
        const std::string segment = request.query_value("wd");
        if (segment == first) return http_response(200, page_with(probe_of(first), 0));
        if (segment == txt_halfwidth(Text(second)).str()) {
            // Ten of the first probe, eight of its own.
            return http_response(200, page_with(probe_of(first), 10) + page_with(second_probe, 8));
        }
        if (segment == txt_halfwidth(Text(third)).str())
            return http_response(200, page_with(third_page_probe, 9));
        // The fourth's page: eight of its 12-character probe, but its 20-character
        // probe only once.
        return http_response(
            200, page_with(fourth.substr(0, 24), 7) + page_with(fourth.substr(0, 40), 1));
    });
    MemoryWindow window;
    window.boxes[Box::article] = Text(first + second + third + fourth);
    window.on_add_row = [&](int32_t row) {
        if (row == 4) window.boxes[Box::probe_length] = Text("20");
    };
    run(window, server);
    ASSERT_EQ(window.rows.size(), 5u);
    EXPECT_EQ(window.rows[2][2].text, Text("2"));  // eight literal matches
    EXPECT_EQ(window.rows[3][2].text, Text("3"));
    EXPECT_EQ(window.rows[4][2].text, Text("0"));  // one match of the longer probe
}

TEST_F(CheckRun, AnEmptyArticleOnlyAsksForOne) {
    HttpTestServer server(
        [](const HttpTestRequest&) { return HttpTestReply(http_response(200, "")); });
    MemoryWindow window;
    window.labels[Label::originality_value] = Text("50%");
    window.labels[Label::originality_verdict] = Text("old");
    window.boxes[Box::character_count] = Text("12");
    window.rows.push_back({{Text("1")}, {Text("kept")}, {}, {}});
    const CheckSummary summary = run(window, server);
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(window.messages[0].text, zh("请拷贝待检测文章"));
    EXPECT_EQ(window.messages[0].title, zh("提示"));
    EXPECT_TRUE(window.message_while_disabled);
    EXPECT_EQ(window.labels[Label::originality_value], Text());
    EXPECT_EQ(window.labels[Label::originality_verdict], Text());
    EXPECT_EQ(window.boxes[Box::character_count], Text("12"));
    EXPECT_EQ(window.rows.size(), 2u);
    EXPECT_TRUE(window.start_enabled);
    EXPECT_FALSE(summary.ran);
}

TEST_F(CheckRun, AnArticleOfBlanksRunsAndHasNothingToLookFor) {
    HttpTestServer server(
        [](const HttpTestRequest&) { return HttpTestReply(http_response(200, "<html></html>")); });
    MemoryWindow window;
    window.boxes[Box::article] = Text(std::string(100, ' '));
    run(window, server);
    EXPECT_EQ(window.boxes[Box::character_count], Text("0"));
    ASSERT_EQ(window.rows.size(), 3u);  // 71 + 29 blanks
    EXPECT_EQ(window.rows[1][2].text, Text("0"));
    EXPECT_EQ(window.labels[Label::originality_value], Text("100%"));
    EXPECT_EQ(server.request_count(), 0u);
}

TEST_F(CheckRun, APageThatDidNotComeIsAFailureNeverAnOriginal) {
    const std::vector<std::string> kinds = {
        "results, original", "results, copied", "404", "empty body", "not UTF-8", "stalls",
        "wappass",  // last: after it nothing is searched
    };
    std::string article;
    std::map<std::string, std::string> kind_of;
    for (size_t i = 0; i < kinds.size(); ++i) {
        const std::string segment = chinese(static_cast<int>(i) * 36, 36);
        article += segment;
        kind_of[segment] = kinds[i];
    }
    HttpTestServer server([&](const HttpTestRequest& request) -> HttpTestReply {
        if (request.target.rfind("/static/captcha", 0) == 0)
            return http_response(200, "<html>captcha</html>");
        const std::string segment = request.query_value("wd");
        const std::string& kind = kind_of[segment];
        if (kind == "results, original") return http_response(200, page_with(probe_of(segment), 2));
        if (kind == "results, copied") return http_response(200, page_with(probe_of(segment), 9));
        if (kind == "404") return http_response(404, page_with(probe_of(segment), 0));
        if (kind == "empty body") return http_response(200, "");
        if (kind == "not UTF-8") return http_response(200, segment);  // GBK bytes
        if (kind == "wappass")
            return http_response(
                302, "", "Location: http://wappass.baidu.com/static/captcha/tuxing.html\r\n");
        HttpTestReply stalled("HTTP/1.0 200 OK\r\n\r\n<html>");
        stalled.hang = true;
        return stalled;
    });
    MemoryWindow window;
    window.boxes[Box::article] = Text(article);
    const CheckSummary summary = run(window, server);

    ASSERT_EQ(window.rows.size(), kinds.size() + 1);
    for (size_t i = 0; i < kinds.size(); ++i) {
        const auto& row = window.rows[i + 1];
        if (i == 0) {
            EXPECT_EQ(row[2].text, Text("0"));
        } else if (i == 1) {
            EXPECT_EQ(row[2].text, Text("3"));
        } else {
            EXPECT_EQ(row[2].text, zh("失败")) << kinds[i];
            EXPECT_EQ(row[2].colour, (Rgb{255, 0, 0})) << kinds[i];
        }
        EXPECT_EQ(row[3].colour, link_colour) << kinds[i];
    }
    EXPECT_EQ(window.labels[Label::originality_value], Text("50%"));  // one of the two checked
    EXPECT_EQ(summary.failed, 5);
    EXPECT_EQ(summary.checked, 2);
    for (const HttpTestRequest& request : server.requests()) {
        EXPECT_EQ(request.header("Host").find("wappass"), std::string::npos);
    }
}

TEST_F(CheckRun, TheVerificationPageStopsTheSearches) {
    std::string article;
    for (int i = 0; i < 5; ++i) article += chinese(i * 36, 36);
    const std::string asks_for_verification[] = {
        http_response(302, "", "Location: http://wappass.baidu.com/static/captcha/tuxing.html\r\n"),
        http_response(302, "", "Location: /static/captcha/tuxing.html\r\n"),
        http_response(200, "<html><head><title>百度安全验证</title></head><body></body></html>"),
    };
    for (const std::string& reply : asks_for_verification) {
        HttpTestServer server([&](const HttpTestRequest& request) -> HttpTestReply {
            const std::string segment = request.query_value("wd");
            if (segment == chinese(0, 36))
                return http_response(200, page_with(probe_of(segment), 8));
            return reply;
        });
        MemoryWindow window;
        window.boxes[Box::article] = Text(article);
        const CheckSummary summary = run(window, server);

        EXPECT_EQ(server.request_count(), 2u) << reply;  // none after the service asked
        ASSERT_EQ(window.rows.size(), 6u);
        EXPECT_EQ(window.rows[1][2].text, Text("2"));
        EXPECT_EQ(window.rows[2][2].text, zh("失败"));
        for (int row = 3; row <= 5; ++row) {
            const Text segment(chinese((row - 1) * 36, 36));
            EXPECT_EQ(window.rows[row][1].text, segment);
            EXPECT_EQ(window.rows[row][2].text, zh("未检测"));
            EXPECT_EQ(window.rows[row][3].text, build_search_url(segment, server.host()));
            EXPECT_EQ(window.rows[row][3].colour, link_colour);
        }
        EXPECT_EQ(window.labels[Label::originality_value], Text("0%"));  // of the one checked
        EXPECT_TRUE(summary.verification_asked);
        EXPECT_EQ(summary.not_checked, 3);
        EXPECT_EQ(window.reports.back(),
                  (CheckProgress{CheckProgress::Stage::stopped, 5, 5, 0, 1, 3}));
    }

    // A later check of the same batch searches nothing at all.
    HttpTestServer server(
        [](const HttpTestRequest&) { return HttpTestReply(http_response(200, "")); });
    MemoryWindow next;
    next.boxes[Box::article] = Text(article);
    CheckOptions options;
    options.search_host = server.host();
    options.verification_asked = true;
    const CheckSummary later = run_check(next, options);
    EXPECT_EQ(server.request_count(), 0u);
    EXPECT_EQ(later.not_checked, 5);
    EXPECT_EQ(next.rows[1][2].text, zh("未检测"));
}

TEST_F(CheckRun, NothingCheckedSaysSoInsteadOfAVerdict) {
    MemoryWindow window;
    window.boxes[Box::article] = Text(chinese(0, 80));
    CheckOptions options;
    options.search_host = "127.0.0.1:" + std::to_string(testing::unused_port());
    run_check(window, options);
    ASSERT_EQ(window.rows.size(), 4u);
    EXPECT_EQ(window.rows[3][2].text, zh("失败"));
    EXPECT_EQ(window.labels[Label::originality_value], zh("失败"));
    EXPECT_EQ(window.labels[Label::originality_verdict], zh("无法获取搜索结果，请检查网络"));
    EXPECT_TRUE(window.start_enabled);
}

}  // namespace
}  // namespace quenvar
