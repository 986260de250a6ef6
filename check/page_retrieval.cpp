// A segment's search link, and its result page as the check counts in it.
#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>

#include "check/check.h"

namespace quenvar {

Text build_search_url(const Text& segment, std::string_view host) {
    return txt_join(Text("http://"), Text(host), "/s?wd=", txt_halfwidth(segment), "&rn=20&lm=0");
}

Bytes transcode_bytes(const Bytes& data, const Text& from, const Text& to) {
    const iconv_t converter = iconv_open(to.c_str(), from.c_str());
    if (converter == reinterpret_cast<iconv_t>(-1)) return {};
    const size_t n = data.view().size();
    Bytes result;
    if (n > 0) {
        std::string out(n, '\0');
        char* in = const_cast<char*>(data.view().data());
        size_t in_left = n;
        size_t used = 0;
        // One pass over the whole input; a full output buffer grows by half the
        // input plus 128 bytes, at most eleven times.
        for (int call = 1; call <= 12; ++call) {
            char* dst = out.data() + used;
            size_t dst_left = out.size() - used;
            const size_t converted = iconv(converter, &in, &in_left, &dst, &dst_left);
            used = out.size() - dst_left;
            if (converted != static_cast<size_t>(-1)) {
                out.resize(used);
                result = Bytes(std::move(out));
                break;
            }
            if (errno != E2BIG) break;  // invalid or cut-off input: nothing stands
            out.resize(out.size() + n / 2 + 128);
        }
    }
    iconv_close(converter);
    return result;
}

namespace {

// The search service marks the query's words in its results with these tags.
Text without_highlight_tags(Text page) {
    return txt_replace(txt_replace(std::move(page), Text("<em>"), Text()), Text("</em>"), Text());
}

char lower_ascii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}

std::string lowered(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = lower_ascii(c);
    return out;
}

// Where `tag` (lower-case) starts in `text` at or after `from`, in any case.
size_t find_tag(std::string_view text, std::string_view tag, size_t from) {
    for (size_t at = text.find('<', from); at != std::string_view::npos;
         at = text.find('<', at + 1)) {
        if (text.size() - at < tag.size()) break;
        size_t k = 1;
        while (k < tag.size() && lower_ascii(text[at + k]) == tag[k]) ++k;
        if (k == tag.size()) return at;
    }
    return std::string_view::npos;
}

bool ends_a_prefix_of_closing_tag(char c) {
    return c == '<' || c == '/' || c == 'e' || c == 'm';
}
bool starts_a_suffix_of_closing_tag(char c) {
    return c == '/' || c == 'e' || c == 'm' || c == '>';
}

// Both tag removals of without_highlight_tags in one pass over a converted
// page. In GB18030 no byte of a multi-byte character is '<', so every "<em>"
// and "</em>" there starts a character and the removals are plain byte
// removals. One pass equals two unless taking out an "<em>" joins its
// neighbours into a new "</em>" (as in "</<em>em>"), which the second pass
// would then remove: there it gives up, and the page is unspecified.
bool remove_highlight_tags_in_one_pass(std::string& page) {
    char* s = page.data();
    const size_t n = page.size();
    size_t read = 0, written = 0;
    for (;;) {
        const void* found = std::memchr(s + read, '<', n - read);
        const size_t at =
            found == nullptr ? n : static_cast<size_t>(static_cast<const char*>(found) - s);
        std::memmove(s + written, s + read, at - read);
        written += at - read;
        read = at;
        if (read == n) break;
        if (n - read >= 4 && std::memcmp(s + read, "<em>", 4) == 0) {
            read += 4;
            size_t next = read;
            while (n - next >= 4 && std::memcmp(s + next, "<em>", 4) == 0) next += 4;
            if (written > 0 && ends_a_prefix_of_closing_tag(s[written - 1]) && next < n &&
                starts_a_suffix_of_closing_tag(s[next])) {
                return false;
            }
        } else if (n - read >= 5 && std::memcmp(s + read, "</em>", 5) == 0) {
            read += 5;
        } else {
            s[written++] = s[read++];
        }
    }
    page.resize(written);
    return true;
}

// The body as the check counts in it; nullopt when it is not UTF-8. The
// conversion is transcode_bytes' from UTF-8 to GB18030, only faster.
std::optional<Text> page_text(std::string_view body) {
    Bytes converted;
    if (!utf8_to_gb18030(body, converted)) return std::nullopt;
    std::string page = bin_to_txt(std::move(converted)).take();
    if (remove_highlight_tags_in_one_pass(page)) return Text(std::move(page));
    utf8_to_gb18030(body, converted);
    return without_highlight_tags(bin_to_txt(std::move(converted)));
}

}  // namespace

Text result_page_text(const Bytes& body) {
    return page_text(body.view()).value_or(Text());
}

Text fetch_search_page(const Text& url) {
    return result_page_text(http_get(url));
}

bool is_verification_url(std::string_view url) {
    const std::string u = lowered(url);
    const size_t scheme_end = u.find("://");
    const size_t host_start = scheme_end == std::string::npos ? 0 : scheme_end + 3;
    const size_t host_end = std::min(u.find_first_of("/?#", host_start), u.size());
    std::string_view host = std::string_view(u).substr(host_start, host_end - host_start);
    if (const size_t at = host.rfind('@'); at != std::string_view::npos) host.remove_prefix(at + 1);
    host = host.substr(0, host.find(':'));
    const size_t path_end = std::min(u.find_first_of("?#", host_end), u.size());
    return host == "wappass.baidu.com" ||
           std::string_view(u).substr(host_end, path_end - host_end).find("captcha") !=
               std::string_view::npos;
}

bool is_verification_page(const Text& page) {
    static const Text verification_title = utf8_to_txt("百度安全验证");
    // The title stands in the head, near the top of the page.
    const std::string_view p = page.view().substr(0, 64 * 1024);
    const size_t open = find_tag(p, "<title", 0);
    if (open == std::string_view::npos) return false;
    const size_t start = p.find('>', open);
    if (start == std::string_view::npos) return false;
    const size_t end = std::min(find_tag(p, "</title", start), p.size());
    const std::string_view title = p.substr(start + 1, end - start - 1);
    return title.find(verification_title.view()) != std::string_view::npos;
}

SearchPage fetch_search_result(const Text& url, const HttpOptions& options) {
    SearchPage page;
    HttpOptions guarded = options;
    guarded.follow_redirect = [&options](std::string_view target) {
        if (is_verification_url(target)) return false;
        return !options.follow_redirect || options.follow_redirect(target);
    };
    const HttpResponse response = http_request(url, guarded);
    if (!response.declined_redirect.empty() && is_verification_url(response.declined_redirect)) {
        page.status = PageStatus::verification;
    } else if (response.outcome != HttpOutcome::complete) {
        page.status = PageStatus::no_response;
    } else if (response.status >= 400) {
        page.status = PageStatus::http_error;
    } else if (response.body.empty()) {
        page.status = PageStatus::empty_body;
    } else if (std::optional<Text> text = page_text(response.body.view()); !text) {
        page.status = PageStatus::not_utf8;
    } else {
        page.text = std::move(*text);
        page.status = is_verification_page(page.text) ? PageStatus::verification : PageStatus::ok;
        if (page.status != PageStatus::ok) page.text = Text();
    }
    return page;
}

}  // namespace quenvar
