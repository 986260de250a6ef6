// One synchronous HTTP GET per call, on libcurl.
//
// The request stays as small as the search service has always seen it: GET over
// HTTP/1.0 on a fresh connection, an old browser's user agent and one
// "Accept: */*". Cookies live in memory for the program's run, shared by all
// requests; nothing is cached or written to disk.
#include <curl/curl.h>

#include <algorithm>
#include <cstdlib>
#include <mutex>

#include "check/check.h"

namespace quenvar {

namespace {

constexpr const char* user_agent = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";
constexpr int max_redirects = 20;

// The HTTP layer's process-wide state: libcurl's global set-up and the cookie
// store shared by every request. Made on first use and never torn down, so a
// check still under way while the program exits finds it intact.
class HttpSession {
public:
    static HttpSession& get() {
        static HttpSession* session = new HttpSession;
        return *session;
    }
    CURLSH* share() const { return share_; }

private:
    HttpSession() {
        curl_global_init(CURL_GLOBAL_DEFAULT);
        share_ = curl_share_init();
        curl_share_setopt(share_, CURLSHOPT_SHARE, CURL_LOCK_DATA_COOKIE);
        curl_share_setopt(share_, CURLSHOPT_LOCKFUNC, &HttpSession::lock);
        curl_share_setopt(share_, CURLSHOPT_UNLOCKFUNC, &HttpSession::unlock);
    }
    static void lock(CURL*, curl_lock_data, curl_lock_access, void*) { mutex().lock(); }
    static void unlock(CURL*, curl_lock_data, void*) { mutex().unlock(); }
    static std::mutex& mutex() {
        static std::mutex* m = new std::mutex;
        return *m;
    }
    CURLSH* share_ = nullptr;
};

bool starts_with_ignoring_case(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        const char c = text[i] >= 'A' && text[i] <= 'Z' ? static_cast<char>(text[i] + 32) : text[i];
        if (c != prefix[i]) return false;
    }
    return true;
}

// The URL must split into an http or https scheme, a host of at most 256
// characters and a path (with query and fragment) of at most 2048; user name
// and password get 128 each.
bool splits_into_parts(std::string_view url) {
    size_t rest;
    if (starts_with_ignoring_case(url, "http://")) {
        rest = 7;
    } else if (starts_with_ignoring_case(url, "https://")) {
        rest = 8;
    } else {
        return false;
    }
    const size_t authority_end = std::min(url.find_first_of("/?#", rest), url.size());
    std::string_view authority = url.substr(rest, authority_end - rest);
    if (const size_t at = authority.rfind('@'); at != std::string_view::npos) {
        const std::string_view user_info = authority.substr(0, at);
        const size_t colon = user_info.find(':');
        if (user_info.substr(0, colon).size() > 128) return false;
        if (colon != std::string_view::npos && user_info.size() - colon - 1 > 128) return false;
        authority.remove_prefix(at + 1);
    }
    const std::string_view host = authority.substr(0, authority.rfind(':'));
    return !host.empty() && host.size() <= 256 && url.size() - authority_end <= 2048;
}

struct Transfer {
    const HttpOptions* options = nullptr;
    std::string body;
    size_t chunk = 10240;  // the first read's size, from Content-Length
    size_t announced = 0;  // Content-Length, when the response gives one
    bool too_large = false;
    bool stalled = false;
    std::chrono::steady_clock::time_point last_activity = std::chrono::steady_clock::now();

    void touch() { last_activity = std::chrono::steady_clock::now(); }
};

size_t on_body(char* data, size_t size, size_t count, void* user) {
    auto& t = *static_cast<Transfer*>(user);
    const size_t n = size * count;
    t.touch();
    if (t.body.size() + n > t.options->max_body_bytes) {
        t.too_large = true;
        return 0;  // ends the transfer
    }
    // An announced length is taken at its word once; beyond it, or without
    // one, the body doubles from the first read's size.
    if (t.body.empty() && t.announced > 0 && t.announced <= t.options->max_body_bytes) {
        t.body.reserve(t.announced);
    }
    if (t.body.size() + n > t.body.capacity()) {
        t.body.reserve(std::max({t.body.capacity() * 2, t.body.size() + n, t.chunk}));
    }
    t.body.append(data, n);
    return n;
}

size_t on_header(char* data, size_t size, size_t count, void* user) {
    auto& t = *static_cast<Transfer*>(user);
    const std::string_view line(data, size * count);
    t.touch();
    if (starts_with_ignoring_case(line, "content-length:")) {
        std::string_view value = line.substr(15);
        while (!value.empty() && (value.back() == '\r' || value.back() == '\n'))
            value.remove_suffix(1);
        t.chunk = static_cast<size_t>(read_chunk_size(value));
        const long long length = std::strtoll(std::string(value).c_str(), nullptr, 10);
        t.announced = length > 0 ? static_cast<size_t>(length) : 0;
    } else if (starts_with_ignoring_case(line, "http/")) {
        t.chunk = 10240;  // a new response (after a 100 Continue, say) starts afresh
        t.announced = 0;
    }
    return size * count;
}

int on_connected(void* user, char*, char*, int, int) {
    static_cast<Transfer*>(user)->touch();
    return CURL_PREREQFUNC_OK;
}

int on_progress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    auto& t = *static_cast<Transfer*>(user);
    if (std::chrono::steady_clock::now() - t.last_activity > t.options->stall_timeout) {
        t.stalled = true;
        return 1;  // aborts the transfer
    }
    return 0;
}

struct Hop {
    HttpOutcome outcome = HttpOutcome::failed;
    long status = 0;
    std::string redirect;  // where a redirect response points, absolute
    std::string body;
};

Hop request_once(const std::string& target, const HttpOptions& options) {
    Hop hop;
    CURL* curl = curl_easy_init();
    if (curl == nullptr) return hop;
    Transfer transfer;
    transfer.options = &options;

    curl_slist* headers = curl_slist_append(nullptr, "Accept: */*");
    curl_easy_setopt(curl, CURLOPT_URL, target.c_str());
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_0));
    curl_easy_setopt(curl, CURLOPT_HTTPGET, 1L);
    curl_easy_setopt(curl, CURLOPT_USERAGENT, user_agent);
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(curl, CURLOPT_FRESH_CONNECT, 1L);
    curl_easy_setopt(curl, CURLOPT_FORBID_REUSE, 1L);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_SHARE, HttpSession::get().share());
    curl_easy_setopt(curl, CURLOPT_COOKIEFILE, "");  // cookies in memory only
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS,
                     static_cast<long>(options.connect_timeout.count()));
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &on_body);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, &on_header);
    curl_easy_setopt(curl, CURLOPT_HEADERDATA, &transfer);
    curl_easy_setopt(curl, CURLOPT_PREREQFUNCTION, &on_connected);
    curl_easy_setopt(curl, CURLOPT_PREREQDATA, &transfer);
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, &on_progress);
    curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &transfer);

    const CURLcode code = curl_easy_perform(curl);
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &hop.status);
    if (char* location = nullptr;
        curl_easy_getinfo(curl, CURLINFO_REDIRECT_URL, &location) == CURLE_OK &&
        location != nullptr) {
        hop.redirect = location;
    }
    curl_easy_cleanup(curl);
    curl_slist_free_all(headers);

    hop.body = std::move(transfer.body);
    if (code == CURLE_OK) {
        hop.outcome = HttpOutcome::complete;
    } else if (transfer.too_large) {
        hop.outcome = HttpOutcome::too_large;
    } else if (transfer.stalled || code == CURLE_OPERATION_TIMEDOUT) {
        hop.outcome = HttpOutcome::timed_out;
    } else if (hop.status != 0 && (code == CURLE_RECV_ERROR || code == CURLE_PARTIAL_FILE)) {
        hop.outcome = HttpOutcome::cut_short;
    }
    if (hop.outcome != HttpOutcome::complete && hop.outcome != HttpOutcome::cut_short) {
        hop.body.clear();
    }
    return hop;
}

bool is_redirect(long status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

}  // namespace

std::string escape_request_target(std::string_view url) {
    url = url.substr(0, std::min(url.find('#'), url.size()));
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(url.size());
    for (const char c : url) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte >= 0x7F) {
            out.push_back('%');
            out.push_back(digits[byte >> 4]);
            out.push_back(digits[byte & 15]);
        } else {
            out.push_back(c);
        }
    }
    return out;
}

int32_t read_chunk_size(std::string_view content_length) {
    // The header is read into a 32-byte buffer and then as a C decimal number.
    if (content_length.size() >= 32) return 10240;
    const std::string value(content_length);
    const long long announced = std::strtoll(value.c_str(), nullptr, 10);
    if (announced <= 0) return 10240;
    return announced >= 102400 ? 102400 : static_cast<int32_t>(announced + 1);
}

HttpResponse http_request(const Text& url, const HttpOptions& options) {
    HttpResponse response;
    if (url.empty() || !splits_into_parts(url.view())) return response;
    std::string target = escape_request_target(url.view());
    for (int hop_count = 0;; ++hop_count) {
        Hop hop = request_once(target, options);
        response.outcome = hop.outcome;
        response.status = hop.status;
        if (hop.outcome == HttpOutcome::complete && is_redirect(hop.status) &&
            !hop.redirect.empty()) {
            if (options.follow_redirect && !options.follow_redirect(hop.redirect)) {
                response.declined_redirect = hop.redirect;
                response.body = Bytes(std::move(hop.body));
                return response;
            }
            if (hop_count == max_redirects || !splits_into_parts(hop.redirect)) {
                response.outcome = HttpOutcome::failed;
                return response;
            }
            target = escape_request_target(hop.redirect);
            continue;
        }
        response.body = Bytes(std::move(hop.body));
        return response;
    }
}

Bytes http_get(const Text& url) {
    HttpResponse response = http_request(url);
    if (response.outcome != HttpOutcome::complete && response.outcome != HttpOutcome::cut_short) {
        return {};
    }
    return std::move(response.body);
}

}  // namespace quenvar
