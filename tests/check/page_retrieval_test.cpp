#include <gtest/gtest.h>

#include "check/check.h"
#include "tests/support/hex.h"
#include "tests/support/http_test_server.h"

namespace quenvar {
namespace {

using namespace std::chrono_literals;
using testing::hex;
using testing::http_response;
using testing::HttpTestReply;
using testing::HttpTestRequest;
using testing::HttpTestServer;
using testing::to_hex;

using PageRetrieval = ::testing::Test;

HttpTestServer::Handler always(std::string reply) {
    return [reply](const HttpTestRequest&) { return HttpTestReply(reply); };
}

TEST(BuildSearchUrl, HalfWidthSegmentBetweenTheFixedPieces) {
    struct Case {
        std::string segment;
        std::string url;
    };
    const Case cases[] = {
        {"", "http://www.baidu.com/s?wd=&rn=20&lm=0"},
        {hex("A3 C1 A3 C2 A3 C3 A3 B1 A3 B2 A3 B3"), "http://www.baidu.com/s?wd=ABC123&rn=20&lm=0"},
        {hex("D6 D0") + " a\r\nb",
         "http://www.baidu.com/s?wd=" + hex("D6 D0") + " a\r\nb&rn=20&lm=0"},
        {"a&b=c%d+e" + hex("A3 A3"), "http://www.baidu.com/s?wd=a&b=c%d+e#&rn=20&lm=0"},  // ＃ to #
    };
    for (const Case& c : cases) {
        EXPECT_EQ(build_search_url(Text(c.segment)).str(), c.url) << to_hex(c.segment);
    }
    EXPECT_EQ(build_search_url(Text("x"), "127.0.0.1:8080").str(),
              "http://127.0.0.1:8080/s?wd=x&rn=20&lm=0");
}

TEST(EscapeRequestTarget, EscapesOnlyWhatARequestLineCannotCarry) {
    EXPECT_EQ(escape_request_target("/s?wd=a b\r\n\t" + hex("D6 D0 7F")),
              "/s?wd=a%20b%0D%0A%09%D6%D0%7F");
    EXPECT_EQ(escape_request_target("/s?wd=&=%+~\\|^{}[]`\"'<>"), "/s?wd=&=%+~\\|^{}[]`\"'<>");
    EXPECT_EQ(escape_request_target("/s?wd=a#b&rn=20"), "/s?wd=a");
}

TEST(ReadChunkSize, FromTheAnnouncedLength) {
    struct Case {
        std::string content_length;
        int32_t chunk;
    };
    const Case cases[] = {
        {"", 10240},
        {"500", 501},
        {"200000", 102400},
        {"102399", 102400},
        {"0", 10240},
        {"-5", 10240},
        {" 12abc", 13},
        {"abc", 10240},
        {std::string(32, '1'), 10240},
        {std::string(31, '1'), 102400},
    };
    for (const Case& c : cases)
        EXPECT_EQ(read_chunk_size(c.content_length), c.chunk) << c.content_length;
}

TEST_F(PageRetrieval, SendsTheRequestAsAnOldBrowserDidAndNothingAfterTheHash) {
    HttpTestServer server(always(http_response(200, "ok")));
    const std::string segment = hex("D6 D0 CE C4") + " a\r\nb&c=d%e+f" + hex("A3 A3") + "tail";
    const Text url = build_search_url(Text(segment), server.host());

    EXPECT_EQ(http_get(url).str(), "ok");
    ASSERT_EQ(server.request_count(), 1u);
    const HttpTestRequest request = server.requests()[0];
    EXPECT_EQ(request.method, "GET");
    EXPECT_EQ(request.version, "HTTP/1.0");
    EXPECT_EQ(request.header("User-Agent"), "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)");
    std::vector<std::string> names;
    for (const auto& header : request.headers) names.push_back(header.first);
    EXPECT_EQ(names, (std::vector<std::string>{"Host", "User-Agent", "Accept"}));
    EXPECT_EQ(request.header("Accept"), "*/*");
    // Only blanks, line breaks and high bytes are escaped; the GBK bytes arrive intact.
    EXPECT_EQ(request.target, "/s?wd=%D6%D0%CE%C4%20a%0D%0Ab&c=d%e+f");
    EXPECT_EQ(request.decoded_target(), "/s?wd=" + hex("D6 D0 CE C4") + " a\r\nb&c=d%e+f");
}

TEST_F(PageRetrieval, ReadsTheWholeBodyHoweverItIsFramed) {
    const std::string big(200000, 'x');
    struct Case {
        const char* name;
        std::string reply;
        std::string body;
    };
    const Case cases[] = {
        {"with Content-Length", http_response(200, "hello"), "hello"},
        {"until the connection closes", http_response(200, big, "", false), big},
        {"larger than a read chunk", http_response(200, big), big},
        {"chunked",
         "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nhello\r\n6\r\n "
         "world\r\n0\r\n\r\n",
         "hello world"},
        {"a 404 body", http_response(404, "not here"), "not here"},
        {"a 500 body", http_response(500, "broken"), "broken"},
    };
    for (const Case& c : cases) {
        HttpTestServer server(always(c.reply));
        EXPECT_EQ(http_get(Text(server.url("/s?wd=a"))).str(), c.body) << c.name;
    }
}

TEST_F(PageRetrieval, FollowsRedirectsAndKeepsCookiesInMemory) {
    HttpTestServer server([](const HttpTestRequest& request) -> HttpTestReply {
        if (request.target == "/jar/start") {
            return http_response(302, "",
                                 "Location: /jar/next?x=1\r\nSet-Cookie: seen=yes; Path=/jar\r\n");
        }
        if (request.target == "/jar/next?x=1") {
            return http_response(200, "arrived, cookie " + request.header("Cookie"));
        }
        return http_response(404, "");
    });
    EXPECT_EQ(http_get(Text(server.url("/jar/start"))).str(), "arrived, cookie seen=yes");

    HttpOptions options;
    options.follow_redirect = [](std::string_view url) {
        return url.find("next") == std::string_view::npos;
    };
    const HttpResponse declined = http_request(Text(server.url("/jar/start")), options);
    EXPECT_EQ(declined.status, 302);
    EXPECT_EQ(declined.declined_redirect, server.url("/jar/next?x=1"));
    EXPECT_EQ(server.request_count(), 3u);  // the declined redirect was not requested
}

TEST_F(PageRetrieval, FailuresGiveNoBody) {
    EXPECT_TRUE(http_get(Text()).empty());
    EXPECT_TRUE(http_get(Text("ftp://127.0.0.1/s")).empty());
    EXPECT_TRUE(http_get(Text("http:///s")).empty());
    EXPECT_TRUE(http_get(Text("http://" + std::string(257, 'h') + "/s")).empty());
    EXPECT_TRUE(http_get(Text("http://127.0.0.1/" + std::string(2048, 'p'))).empty());

    const HttpResponse refused =
        http_request(Text("http://127.0.0.1:" + std::to_string(testing::unused_port()) + "/s"));
    EXPECT_EQ(refused.outcome, HttpOutcome::failed);
    EXPECT_TRUE(refused.body.empty());
}

TEST_F(PageRetrieval, GivesUpOnAStalledServerOrAnOversizedBody) {
    HttpOptions options;
    options.stall_timeout = 300ms;

    HttpTestReply silent;
    silent.hang = true;
    HttpTestReply stops_midway("HTTP/1.0 200 OK\r\nContent-Length: 100\r\n\r\nfirst part");
    stops_midway.hang = true;
    for (const HttpTestReply& reply : {silent, stops_midway}) {
        HttpTestServer server([reply](const HttpTestRequest&) { return reply; });
        const HttpResponse response = http_request(Text(server.url("/s")), options);
        EXPECT_EQ(response.outcome, HttpOutcome::timed_out);
        EXPECT_TRUE(response.body.empty());
    }

    // Slow is not stalled: bytes that keep coming reset the clock.
    HttpTestReply slow("HTTP/1.0 200 OK\r\n\r\n");
    for (int i = 0; i < 4; ++i) slow.pieces.push_back({150ms, "part "});
    HttpTestServer slow_server([slow](const HttpTestRequest&) { return slow; });
    EXPECT_EQ(http_request(Text(slow_server.url("/s")), options).body.str(),
              "part part part part ");

    options.max_body_bytes = 1000;
    HttpTestServer big(always(http_response(200, std::string(5000, 'x'))));
    const HttpResponse too_large = http_request(Text(big.url("/s")), options);
    EXPECT_EQ(too_large.outcome, HttpOutcome::too_large);
    EXPECT_TRUE(too_large.body.empty());
}

TEST_F(PageRetrieval, ABodyCutShortStandsAsFarAsItCame) {
    HttpTestServer server(always("HTTP/1.0 200 OK\r\nContent-Length: 100\r\n\r\nfirst part"));
    EXPECT_EQ(http_get(Text(server.url("/s"))).str(), "first part");
    EXPECT_EQ(fetch_search_result(Text(server.url("/s"))).status, PageStatus::no_response);
}

TEST(TranscodeBytes, ConvertsAllOrNothing) {
    struct Case {
        const char* name;
        std::string utf8;
        std::string gb18030;
    };
    std::string long_input, long_output;
    for (int i = 0; i < 1000; ++i) long_input += hex("C3 80"), long_output += hex("81 30 86 38");
    const Case cases[] = {
        {"Chinese", hex("E4 B8 AD E6 96 87"), hex("D6 D0 CE C4")},
        {"longer than its input", hex("C3 80"), hex("81 30 86 38")},
        {"grows many times", long_input, long_output},
        {"ASCII", "<html>", "<html>"},
        {"an invalid byte", hex("E4 B8 AD FF"), ""},
        {"an invalid byte at the start", hex("FF") + "abc", ""},
        {"cut off at the end", "abc" + hex("E4 B8"), ""},
        {"empty", "", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(to_hex(transcode_bytes(Bytes(c.utf8), Text("UTF-8"), Text("GB18030")).view()),
                  to_hex(c.gb18030))
            << c.name;
    }
    EXPECT_TRUE(transcode_bytes(Bytes(std::string_view("abc")), Text("UTF-8"), Text("NO-SUCH-SET"))
                    .empty());
}

TEST(Verification, RedirectsAndPagesOfTheHumanCheck) {
    EXPECT_TRUE(is_verification_url("http://wappass.baidu.com/static/captcha/tuxing.html?x=1"));
    EXPECT_TRUE(is_verification_url("https://WAPPASS.baidu.com:443/"));
    EXPECT_TRUE(is_verification_url("http://127.0.0.1:8080/static/Captcha/x"));
    EXPECT_FALSE(is_verification_url("http://www.baidu.com/s?wd=captcha"));
    EXPECT_FALSE(is_verification_url("http://wappass.baidu.com.example.org/"));

    const std::string title = "百度安全验证";
    EXPECT_TRUE(is_verification_page(utf8_to_txt("<html><TITLE lang=zh>" + title + "</TITLE>")));
    EXPECT_FALSE(is_verification_page(utf8_to_txt("<title>x</title><p>" + title + "</p>")));
    EXPECT_FALSE(is_verification_page(Text("<html>no title</html>")));
}

TEST(ResultPageText, RemovesTheTagsAsTwoReplacementsWould) {
    const std::string zh = hex("E4 B8 AD");  // 中 in UTF-8
    const std::string pages[] = {
        "a<em>b</em>c",
        "</<em>em>",
        "<<em>/em>",
        "</e<em>m>",
        "</em<em>>",
        "</<em><em>em>",
        "<em><em>",
        "<e<em>m>",
        "time<em>x</em>",
        "<EM>b</EM>",
        "</em></em>",
        "<</em><em>/em>",
        zh + "<em>" + zh + "</em>" + zh,
        "<em",
        "",
        std::string("a\0<em>b", 7),
    };
    for (const std::string& page : pages) {
        const Text converted =
            bin_to_txt(transcode_bytes(Bytes(page), Text("UTF-8"), Text("GB18030")));
        const Text two_passes =
            txt_replace(txt_replace(converted, Text("<em>"), Text()), Text("</em>"), Text());
        EXPECT_EQ(result_page_text(Bytes(page)), two_passes) << page;
    }
}

TEST_F(PageRetrieval, ThePageAsTheCheckCountsInIt) {
    struct Case {
        const char* name;
        std::string reply;
        PageStatus status;
        std::string text;
    };
    const Case cases[] = {
        {"tags removed", http_response(200, "a<em>b</em>c"), PageStatus::ok, "abc"},
        {"case-sensitive removal", http_response(200, "<EM>b</EM>"), PageStatus::ok, "<EM>b</EM>"},
        {"converted to GB18030",
         http_response(200, hex("E4 B8 AD") + "<em>" + hex("E6 96 87") + "</em>"), PageStatus::ok,
         hex("D6 D0 CE C4")},
        {"not UTF-8", http_response(200, hex("D6 D0")), PageStatus::not_utf8, ""},
        {"empty body", http_response(200, ""), PageStatus::empty_body, ""},
        {"HTTP error", http_response(403, "forbidden"), PageStatus::http_error, ""},
    };
    for (const Case& c : cases) {
        HttpTestServer server(always(c.reply));
        const SearchPage page = fetch_search_result(Text(server.url("/s")));
        EXPECT_EQ(page.status, c.status) << c.name;
        EXPECT_EQ(to_hex(page.text.view()), to_hex(c.text)) << c.name;
        if (c.status == PageStatus::ok) {
            EXPECT_EQ(fetch_search_page(Text(server.url("/s"))), page.text) << c.name;
        }
    }
    // A page that cannot be fetched is "" for the plain way in.
    EXPECT_EQ(fetch_search_page(
                  Text("http://127.0.0.1:" + std::to_string(testing::unused_port()) + "/s")),
              Text());
}

}  // namespace
}  // namespace quenvar
