// The originality check: fetching a segment's result page and counting its
// probe there.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "check/check_window.h"
#include "text/text.h"

namespace quenvar {

// --- fetching a result page ---------------------------------------------------

inline constexpr std::string_view default_search_host = "www.baidu.com";

// "http://" host "/s?wd=" the half-width segment "&rn=20&lm=0", nothing escaped.
Text build_search_url(const Text& segment, std::string_view host = default_search_host);

struct HttpOptions {
    std::chrono::milliseconds connect_timeout{60'000};
    // Give up when no byte has arrived for this long.
    std::chrono::milliseconds stall_timeout{60'000};
    size_t max_body_bytes = 32u << 20;
    // Asked before each redirect is followed; a redirect it declines ends the
    // request with that redirect response.
    std::function<bool(std::string_view url)> follow_redirect;
};

enum class HttpOutcome {
    complete,   // the whole body arrived (whatever the status)
    cut_short,  // the connection failed part-way; the body is what arrived
    timed_out,
    too_large,  // the body passed HttpOptions::max_body_bytes
    failed,     // no response: bad URL, no connection, too many redirects
};

struct HttpResponse {
    HttpOutcome outcome = HttpOutcome::failed;
    long status = 0;                // of the last response
    std::string declined_redirect;  // the redirect that follow_redirect declined
    Bytes body;
};

// One GET of `url` over HTTP/1.0 on a new connection, following redirects.
HttpResponse http_request(const Text& url, const HttpOptions& options = {});
// The response body whatever its status; empty when no whole or partial body came.
Bytes http_get(const Text& url);

// The request target as it goes on the wire: cut at the first "#", and every
// blank, control byte and byte of 0x80 and above written as %XX.
std::string escape_request_target(std::string_view url);

// How much one read takes, from the response's Content-Length header.
int32_t read_chunk_size(std::string_view content_length);

// Converts between two iconv character sets; empty on any failure.
Bytes transcode_bytes(const Bytes& data, const Text& from, const Text& to);

// A response body as the check counts in it: converted from UTF-8 to GB18030,
// every "<em>" and "</em>" removed; "" when the body is not UTF-8.
Text result_page_text(const Bytes& body);

// The page behind `url` as result_page_text gives it; "" on any failure.
Text fetch_search_page(const Text& url);

enum class PageStatus {
    ok,
    no_response,  // no connection, time-out, a body cut short or too large
    http_error,   // status 400 or above
    empty_body,
    not_utf8,
    verification,  // the search service asks for a human check instead of answering
};

struct SearchPage {
    PageStatus status = PageStatus::no_response;
    Text text;  // as fetch_search_page gives it; "" unless status is ok
};

// fetch_search_page that tells a page that came from one that did not. A
// redirect to the verification service is not followed.
SearchPage fetch_search_result(const Text& url, const HttpOptions& options = {});

// Where the search service sends a client it wants to verify: its host
// wappass.baidu.com, or any path holding "captcha".
bool is_verification_url(std::string_view url);
// A page whose <title> holds "百度安全验证".
bool is_verification_page(const Text& page);

// --- counting a probe in a result page ------------------------------------------

struct MatchSpan {
    int32_t offset = 0;  // bytes from the start of the whole searched text
    int32_t length = 0;
    bool matched = false;  // false for a group that took no part in the match
    friend bool operator==(const MatchSpan&, const MatchSpan&) = default;
};

// The whole match first, then one span per parenthesised group.
using SearchMatch = std::vector<MatchSpan>;

// A probe compiled as a Perl regular expression over bytes (every byte one
// character, case-sensitive). A probe that does not compile leaves the
// previous expression in force.
class SearchPattern {
public:
    SearchPattern();
    ~SearchPattern();
    SearchPattern(const SearchPattern&) = delete;
    SearchPattern& operator=(const SearchPattern&) = delete;

    // True when `pattern` compiled and is now the expression in force.
    bool compile(const Text& pattern);
    // Makes `literal`'s bytes, taken as plain text, the expression in force;
    // false for the empty text, which leaves the expression as it was.
    bool compile_literal(const Text& literal);
    // Every match of the expression in force, left to right and without
    // overlap, each search resuming where the previous match ended as a text of
    // its own. An empty match is the last one found. A search the engine gives
    // up on (too complex, out of memory) ends the list with what was found.
    std::vector<SearchMatch> find_all(const Text& text) const;

private:
    struct Compiled;
    std::unique_ptr<Compiled> compiled_;
};

// --- the check run -------------------------------------------------------------

struct CheckOptions {
    std::string search_host{default_search_host};
    HttpOptions http;
    // The search service has already asked for verification (in an earlier
    // check of a batch): no segment is searched, each is shown as not checked.
    bool verification_asked = false;
};

struct CheckSummary {
    bool ran = false;         // false when the article was empty
    int32_t segments = 0;     // after the cut
    int32_t checked = 0;      // segments whose page arrived (or that had nothing to look for)
    int32_t original = 0;     // checked segments with no highlighted hits
    int32_t failed = 0;       // segments whose page could not be obtained
    int32_t not_checked = 0;  // segments left unsearched after the service asked for verification
    bool verification_asked = false;
};

// The probe of a segment: its first probe_length characters, counting ASCII
// as full-width ones, in half width without line breaks and blanks; the whole
// segment when probe_length is not below segment_length.
Text segment_probe(const Text& segment, int32_t probe_length, int32_t segment_length);
// The first six matches of a probe in its page do not count.
int32_t highlight_count(size_t matches);
// The share of original segments, rounded to four places, times 100.
double originality_percentage(int32_t original, int32_t checked);
// The phrase for a verdict value: the percentage truncated toward zero.
Text verdict_phrase(int32_t verdict_value);

// One whole check: reads the article and the settings from the window as it
// goes, fills the results grid row by row, and shows the percentage and the
// verdict. The start button is disabled for the run and enabled again however
// it ends. A segment whose page could not be obtained is shown as failed and
// counts neither as original nor as checked.
CheckSummary run_check(CheckWindow& window, const CheckOptions& options = {});

}  // namespace quenvar
