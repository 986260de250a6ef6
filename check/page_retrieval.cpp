// A segment's search link, and its result page as the check counts in it.
#include <iconv.h>

#include <cerrno>

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

Text result_page_text(const Bytes& body) {
    Text page = bin_to_txt(transcode_bytes(body, Text("UTF-8"), Text("GB18030")));
    // The search service marks the query's words in its results with these tags.
    return txt_replace(txt_replace(std::move(page), Text("<em>"), Text()), Text("</em>"), Text());
}

Text fetch_search_page(const Text& url) {
    return result_page_text(http_get(url));
}

SearchPage fetch_search_result(const Text& url, const HttpOptions& options) {
    SearchPage page;
    const HttpResponse response = http_request(url, options);
    if (response.outcome != HttpOutcome::complete) {
        page.status = PageStatus::no_response;
    } else if (response.status >= 400) {
        page.status = PageStatus::http_error;
    } else if (response.body.empty()) {
        page.status = PageStatus::empty_body;
    } else {
        page.text = result_page_text(response.body);
        page.status = page.text.empty() ? PageStatus::not_utf8 : PageStatus::ok;
    }
    return page;
}

}  // namespace quenvar
