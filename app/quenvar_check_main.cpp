// quenvar-check: the originality check for batches and scripts, with the same
// check code as the window, one request at a time.
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <optional>
#include <sstream>
#include <string>
#include <variant>
#include <vector>

#include "app/batch_window.h"
#include "check/check.h"

namespace {

using quenvar::Text;

constexpr const char* usage =
    "usage: quenvar-check [options] FILE...\n"
    "Checks how much of each article (UTF-8 or GB18030 text; - for standard input)\n"
    "can already be found on the web.\n"
    "\n"
    "  --segment-length N    characters per segment (default 36, at most 38)\n"
    "  --probe-length N      characters of each segment searched for (default 12, at least 12)\n"
    "  --format FORMAT       table (default), tsv or json\n"
    "  --search-host HOST    the search service's host, HOST[:PORT] (default www.baidu.com)\n"
    "  --timeout SECONDS     give up connecting, or waiting for a byte, after this long (default "
    "60)\n"
    "\n"
    "Exit status: 0 when every segment was checked, 3 when some could not be,\n"
    "2 for usage errors and files that cannot be read.\n";

enum class Format { table, tsv, json };

struct Options {
    std::string segment_length = "36";
    std::string probe_length = "12";
    Format format = Format::table;
    quenvar::CheckOptions check;
    std::vector<std::string> files;
};

bool is_integer(const std::string& s) {
    size_t i = s.size() > 1 && s[0] == '-' ? 1 : 0;
    if (i == s.size()) return false;
    for (; i < s.size(); ++i) {
        if (s[i] < '0' || s[i] > '9') return false;
    }
    return s.size() <= 10;
}

// The options, or what is wrong with them.
std::variant<Options, std::string> parse_arguments(int argc, char** argv) {
    Options options;
    bool only_files = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (only_files || arg == "-" || arg.rfind("--", 0) != 0) {
            options.files.push_back(arg);
            continue;
        }
        if (arg == "--") {
            only_files = true;
            continue;
        }
        if (i + 1 >= argc) return "option " + arg + " needs a value";
        const std::string value = argv[++i];
        if (arg == "--segment-length" || arg == "--probe-length") {
            if (!is_integer(value)) return arg + " takes a whole number, not '" + value + "'";
            (arg == "--segment-length" ? options.segment_length : options.probe_length) = value;
        } else if (arg == "--format") {
            if (value == "table") {
                options.format = Format::table;
            } else if (value == "tsv") {
                options.format = Format::tsv;
            } else if (value == "json") {
                options.format = Format::json;
            } else {
                return "--format takes table, tsv or json, not '" + value + "'";
            }
        } else if (arg == "--search-host") {
            if (value.empty() || value.find_first_of("/?# ") != std::string::npos) {
                return "--search-host takes HOST or HOST:PORT, not '" + value + "'";
            }
            options.check.search_host = value;
        } else if (arg == "--timeout") {
            char* end = nullptr;
            const double seconds = std::strtod(value.c_str(), &end);
            if (end == value.c_str() || *end != '\0' || !(seconds > 0) || seconds > 86400) {
                return "--timeout takes a number of seconds, not '" + value + "'";
            }
            const std::chrono::milliseconds timeout{static_cast<long long>(seconds * 1000)};
            options.check.http.connect_timeout = timeout;
            options.check.http.stall_timeout = timeout;
        } else {
            return "unknown option " + arg;
        }
    }
    if (options.files.empty()) return "no file to check";
    return options;
}

// The article in a file, in the text model's code page with the line breaks
// the window gives ("\r\n"), or why it cannot be checked.
std::variant<Text, std::string> read_article(const std::string& path) {
    std::string bytes;
    if (path == "-") {
        bytes.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
    } else {
        std::ifstream file(path, std::ios::binary);
        if (!file) return std::string("cannot be opened: ") + std::strerror(errno);
        bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
        if (file.bad()) return std::string("cannot be read");
    }
    if (bytes.find('\0') != std::string::npos) return std::string("is not a text file");
    if (bytes.rfind("\xEF\xBB\xBF", 0) == 0) bytes.erase(0, 3);  // a UTF-8 byte-order mark

    std::string text;
    if (quenvar::Bytes converted; quenvar::utf8_to_gb18030(bytes, converted)) {
        text = std::move(converted).take();
    } else if (!quenvar::transcode_bytes(quenvar::Bytes(bytes), Text("GB18030"), Text("UTF-8"))
                    .empty()) {
        text = std::move(bytes);  // already GB18030 (or GBK)
    } else {
        return std::string("is neither UTF-8 nor GB18030 text");
    }
    std::string article;
    article.reserve(text.size() + text.size() / 16);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) article += '\r';
        article += text[i];
    }
    return Text(std::move(article));
}

struct FileResult {
    std::string name;
    std::string error;  // empty when the file was checked
    quenvar::CheckSummary summary;
    std::vector<std::vector<std::string>> rows;  // number, segment, result, link; UTF-8
    std::string characters, percentage, verdict;
};

std::string utf8(const Text& text) {
    return quenvar::txt_to_utf8(text);
}

// Blanks stay; what would break a line or a column is written as an escape.
std::string escaped(const std::string& text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\n':
                out += "\\n";
                break;
            default:
                out += c;
        }
    }
    return out;
}

void print_table(const FileResult& file) {
    std::cout << "== " << file.name << "\n";
    if (!file.error.empty()) {
        std::cout << "error: " << file.error << "\n\n";
        return;
    }
    for (const auto& row : file.rows) {
        std::cout << row[0] << "  " << escaped(row[1]) << "  " << row[2] << "  " << escaped(row[3])
                  << "\n";
    }
    std::cout << "字数 " << file.characters << "  原创度 " << file.percentage << "  "
              << file.verdict << "\n\n";
}

void print_tsv(const FileResult& file) {
    const std::string name = escaped(file.name);
    if (!file.error.empty()) {
        std::cout << name << "\terror\t" << escaped(file.error) << "\t\t\n";
        return;
    }
    for (const auto& row : file.rows) {
        std::cout << name << "\t" << row[0] << "\t" << escaped(row[1]) << "\t" << row[2] << "\t"
                  << escaped(row[3]) << "\n";
    }
    std::cout << name << "\ttotal\t" << file.characters << "\t" << file.percentage << "\t"
              << file.verdict << "\n";
}

nlohmann::json to_json(const FileResult& file) {
    nlohmann::json out = {{"file", file.name}};
    if (!file.error.empty()) {
        out["error"] = file.error;
        return out;
    }
    const std::string failed = "失败", not_checked = "未检测";
    nlohmann::json segments = nlohmann::json::array();
    for (const auto& row : file.rows) {
        nlohmann::json segment = {{"row", std::stoi(row[0])}, {"text", row[1]}, {"link", row[3]}};
        if (row[2] == failed) {
            segment["status"] = "failed";
            segment["highlights"] = nullptr;
        } else if (row[2] == not_checked) {
            segment["status"] = "not_checked";
            segment["highlights"] = nullptr;
        } else {
            segment["status"] = "checked";
            segment["highlights"] = std::stoi(row[2]);
        }
        segments.push_back(std::move(segment));
    }
    out["characters"] = file.characters;
    out["percentage"] = file.percentage;
    out["verdict"] = file.verdict;
    out["checked"] = file.summary.checked;
    out["original"] = file.summary.original;
    out["failed"] = file.summary.failed;
    out["not_checked"] = file.summary.not_checked;
    out["segments"] = std::move(segments);
    return out;
}

FileResult check_file(const std::string& path, const Options& options, bool verification_asked,
                      const std::string& counter) {
    FileResult result;
    result.name = path;
    std::variant<Text, std::string> article = read_article(path);
    if (std::holds_alternative<std::string>(article)) {
        result.error = std::get<std::string>(article);
        return result;
    }
    quenvar::BatchWindow window(std::move(std::get<Text>(article)), options.segment_length,
                                options.probe_length, isatty(STDERR_FILENO) == 1, counter);
    quenvar::CheckOptions check = options.check;
    check.verification_asked = verification_asked;
    result.summary = quenvar::run_check(window, check);
    if (!result.summary.ran) {
        result.error =
            "is empty: " + utf8(window.messages().empty() ? Text() : window.messages()[0]);
        return result;
    }
    for (const auto& row : window.rows())
        result.rows.push_back({utf8(row[0]), utf8(row[1]), utf8(row[2]), utf8(row[3])});
    result.characters = utf8(window.box(quenvar::Box::character_count));
    result.percentage = utf8(window.label(quenvar::Label::originality_value));
    result.verdict = utf8(window.label(quenvar::Label::originality_verdict));
    return result;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::cout << usage;
        return 0;
    }
    std::variant<Options, std::string> parsed = parse_arguments(argc, argv);
    if (std::holds_alternative<std::string>(parsed)) {
        std::cerr << "quenvar-check: " << std::get<std::string>(parsed) << "\n" << usage;
        return 2;
    }
    const Options& options = std::get<Options>(parsed);

    bool unreadable = false, incomplete = false, verification_asked = false;
    nlohmann::json files = nlohmann::json::array();
    for (size_t i = 0; i < options.files.size(); ++i) {
        const std::string counter =
            "file " + std::to_string(i + 1) + "/" + std::to_string(options.files.size());
        const FileResult result =
            check_file(options.files[i], options, verification_asked, counter);
        if (!result.error.empty()) {
            unreadable = true;
            std::cerr << "quenvar-check: " << result.name << " " << result.error << "\n";
        } else {
            incomplete = incomplete || result.summary.failed > 0 || result.summary.not_checked > 0;
            if (result.summary.verification_asked && !verification_asked) {
                std::cerr << "quenvar-check: the search service asks for verification; "
                             "nothing more is searched: try again later\n";
            }
            verification_asked = verification_asked || result.summary.verification_asked;
        }
        switch (options.format) {
            case Format::table:
                print_table(result);
                break;
            case Format::tsv:
                print_tsv(result);
                break;
            case Format::json:
                files.push_back(to_json(result));
                break;
        }
        std::cout.flush();
    }
    if (options.format == Format::json)
        std::cout << nlohmann::json{{"files", files}}.dump(2) << "\n";
    quenvar::release_separator();
    return unreadable ? 2 : incomplete ? 3 : 0;
}
