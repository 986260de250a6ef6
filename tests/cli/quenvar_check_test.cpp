// quenvar-check run as a child process against a search service on 127.0.0.1.
#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "check/check.h"
#include "tests/support/child_process.h"
#include "tests/support/http_test_server.h"

namespace quenvar {
namespace {

using testing::http_response;
using testing::HttpTestReply;
using testing::HttpTestRequest;
using testing::HttpTestServer;
using testing::run_child;

// Two segments of 36 characters; the second is found eight times on the web.
const std::string first_segment =
    "原创内容是网站长期发展的基础搜索引擎更愿意收录有独立观点的文章写作时先动";
const std::string second_segment =
    "列出提纲再用自己的语言组织材料可以明显提高文章的原创度很多编辑会把一段话";
// A line break and 35 characters: 72 bytes once the break is "\r\n" as in the window.
const std::string second_piece = "\n" + second_segment.substr(0, 105);
const std::string article = first_segment + second_piece;

std::string write_file(const std::string& name, const std::string& bytes) {
    const std::string path = std::string(::testing::TempDir()) + name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

// Pages with each segment's twelve opening characters: eight times for the
// second segment; a verification redirect for any segment with `blocked` in it.
HttpTestServer::Handler search_service(const std::string& blocked = "\x01") {
    return [blocked](const HttpTestRequest& request) -> HttpTestReply {
        const std::string segment = txt_to_utf8(Text(request.query_value("wd")));
        if (segment.find(blocked) != std::string::npos) {
            return http_response(302, "", "Location: /static/captcha/tuxing.html\r\n");
        }
        const std::string probe = txt_to_utf8(segment_probe(utf8_to_txt(segment), 12, 36));
        std::string page = "<html><body>";
        const int times = segment.find("列出提纲") != std::string::npos ? 8 : 1;
        for (int i = 0; i < times; ++i) page += "<p><em>" + probe + "</em></p>";
        return http_response(200, page + "</body></html>");
    };
}

class QuenvarCheck : public ::testing::Test {
protected:
    testing::ChildResult run(const HttpTestServer& server, std::vector<std::string> args,
                             const std::string& input = "") {
        args.insert(args.begin(), {"--search-host", server.host(), "--timeout", "5"});
        return run_child(QUENVAR_CHECK, args, input);
    }
};

TEST_F(QuenvarCheck, ReportsEveryFormatWithTheWindowsResults) {
    HttpTestServer server(search_service());
    const std::string path = write_file("article.txt", article);

    const testing::ChildResult json = run(server, {"--format", "json", path});
    ASSERT_EQ(json.status, 0) << json.err;
    const nlohmann::json result = nlohmann::json::parse(json.out);
    ASSERT_EQ(result["files"].size(), 1u);
    const nlohmann::json& file = result["files"][0];
    EXPECT_EQ(file["file"], path);
    EXPECT_EQ(file["characters"], "72");  // "\\r\\n" counts one
    EXPECT_EQ(file["percentage"], "50%");
    EXPECT_EQ(file["verdict"], "别灰心额，还需努力");
    ASSERT_EQ(file["segments"].size(), 2u);
    EXPECT_EQ(file["segments"][0]["text"], first_segment);
    EXPECT_EQ(file["segments"][0]["highlights"], 0);
    EXPECT_EQ(file["segments"][1]["highlights"], 2);
    EXPECT_EQ(file["segments"][1]["status"], "checked");
    EXPECT_EQ(file["segments"][1]["row"], 2);
    EXPECT_EQ(file["segments"][1]["link"].get<std::string>().rfind(
                  "http://" + server.host() + "/s?wd=", 0),
              0u);

    const testing::ChildResult tsv = run(server, {"--format", "tsv", path});
    ASSERT_EQ(tsv.status, 0) << tsv.err;
    std::istringstream lines(tsv.out);
    std::vector<std::vector<std::string>> rows;
    for (std::string line; std::getline(lines, line);) {
        std::vector<std::string> fields;
        std::istringstream cells(line);
        for (std::string cell; std::getline(cells, cell, '\t');) fields.push_back(cell);
        rows.push_back(fields);
    }
    ASSERT_EQ(rows.size(), 3u);
    for (const auto& row : rows) EXPECT_EQ(row.size(), 5u);
    EXPECT_EQ(rows[0][2], first_segment);
    EXPECT_EQ(rows[1][3], "2");
    EXPECT_EQ(rows[2],
              (std::vector<std::string>{path, "total", "72", "50%", "别灰心额，还需努力"}));

    const testing::ChildResult table = run(server, {path});
    ASSERT_EQ(table.status, 0) << table.err;
    EXPECT_NE(table.out.find("== " + path), std::string::npos);
    EXPECT_NE(table.out.find("2  \\r\\n" + second_segment.substr(0, 105) + "  2  http://"),
              std::string::npos)
        << table.out;
    EXPECT_NE(table.out.find("字数 72  原创度 50%  别灰心额，还需努力"), std::string::npos);
}

TEST_F(QuenvarCheck, ReadsUtf8AndGb18030FilesAndStandardInput) {
    HttpTestServer server(search_service());
    const std::string utf8_file = write_file("utf8.txt", "\xEF\xBB\xBF" + article);
    const std::string gbk_file = write_file("gbk.txt", utf8_to_txt(article).str());
    const testing::ChildResult json =
        run(server, {"--format", "json", utf8_file, gbk_file, "-"}, article);
    ASSERT_EQ(json.status, 0) << json.err;
    const nlohmann::json files = nlohmann::json::parse(json.out)["files"];
    ASSERT_EQ(files.size(), 3u);
    for (const nlohmann::json& file : files) {
        EXPECT_EQ(file["segments"], files[0]["segments"]) << file["file"];
        EXPECT_EQ(file["percentage"], "50%") << file["file"];
    }
    EXPECT_EQ(files[2]["file"], "-");
    EXPECT_EQ(server.request_count(), 6u);  // one request at a time, two per file
}

TEST_F(QuenvarCheck, NamesTheFilesItCannotReadAndChecksTheOthers) {
    HttpTestServer server(search_service());
    const std::string good = write_file("good.txt", article);
    const std::string binary = write_file("binary.txt", "\x80\x80\xFF\xFE\x81");
    const std::string missing = std::string(::testing::TempDir()) + "no-such-file.txt";
    const testing::ChildResult result = run(server, {"--format", "json", missing, binary, good});
    EXPECT_EQ(result.status, 2);
    EXPECT_NE(result.err.find(missing), std::string::npos) << result.err;
    EXPECT_NE(result.err.find(binary + " is neither UTF-8 nor GB18030 text"), std::string::npos)
        << result.err;
    const nlohmann::json files = nlohmann::json::parse(result.out)["files"];
    ASSERT_EQ(files.size(), 3u);
    EXPECT_TRUE(files[0].contains("error"));
    EXPECT_TRUE(files[1].contains("error"));
    EXPECT_EQ(files[2]["percentage"], "50%");
}

TEST_F(QuenvarCheck, StopsSearchingWhenTheServiceAsksForVerification) {
    HttpTestServer server(search_service("列出提纲"));
    const std::string path = write_file("long.txt", article + first_segment + first_segment);
    const testing::ChildResult result = run(server, {"--format", "json", path, path});
    EXPECT_EQ(result.status, 3);
    EXPECT_NE(result.err.find("verification"), std::string::npos);
    const nlohmann::json files = nlohmann::json::parse(result.out)["files"];
    ASSERT_EQ(files.size(), 2u);
    const nlohmann::json& first = files[0]["segments"];
    ASSERT_EQ(first.size(), 4u);
    EXPECT_EQ(first[0]["status"], "checked");
    EXPECT_EQ(first[1]["status"], "failed");
    EXPECT_EQ(first[2]["status"], "not_checked");
    EXPECT_EQ(first[3]["status"], "not_checked");
    EXPECT_EQ(files[0]["percentage"], "100%");  // of the one segment checked
    for (const nlohmann::json& segment : files[1]["segments"])
        EXPECT_EQ(segment["status"], "not_checked");
    EXPECT_EQ(server.request_count(), 2u);
}

TEST_F(QuenvarCheck, UsageErrors) {
    HttpTestServer server(search_service());
    const std::string path = write_file("usage.txt", article);
    const std::vector<std::vector<std::string>> wrong = {
        {},
        {"--format", "xml", path},
        {"--segment-length", "abc", path},
        {"--timeout", "-1", path},
        {"--colour", path},
        {path, "--probe-length"},
    };
    for (const std::vector<std::string>& args : wrong) {
        const testing::ChildResult result = run_child(QUENVAR_CHECK, args);
        EXPECT_EQ(result.status, 2) << (args.empty() ? "" : args[0]);
        EXPECT_NE(result.err.find("usage: quenvar-check"), std::string::npos);
    }
    // The settings take the window's bounds: 50 characters become 38.
    const testing::ChildResult bounded =
        run(server, {"--format", "json", "--segment-length", "50", path});
    ASSERT_EQ(bounded.status, 0) << bounded.err;
    const nlohmann::json segments = nlohmann::json::parse(bounded.out)["files"][0]["segments"];
    EXPECT_EQ(utf8_to_txt(segments[0]["text"].get<std::string>()).view().size(), 76u);
}

}  // namespace
}  // namespace quenvar
