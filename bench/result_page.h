// A search result page for benchmarks: HTML markup, inline script and style,
// and Chinese result snippets, in UTF-8 as the search service sends it.
#pragma once

#include <string>
#include <string_view>

namespace quenvar::bench {

// About `size` bytes, with `needle` (UTF-8) standing in `occurrences` of the
// result snippets, some of them inside <em> highlight tags.
inline std::string make_result_page(size_t size, std::string_view needle, int occurrences) {
    static constexpr std::string_view snippets[] = {
        "原创内容是网站长期发展的基础，搜索引擎更愿意收录有独立观点的文章。",
        "写作时先列出提纲，再用自己的语言组织材料，可以明显提高文章的原创度。",
        "很多编辑会把一段话拆成短句，并补充案例和数据，让读者读得更明白。",
        "关键词要自然地出现在标题和正文中，堆砌反而会影响阅读体验。",
    };
    static constexpr std::string_view head =
        "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>百度搜索</title>"
        "<style>.c-container{margin:0 0 14px;width:560px}.t{font-size:medium}</style>"
        "<script>var bds={se:{},su:{urdata:[],urSendClick:function(){}},util:{}};</script>"
        "</head><body><div id=\"wrapper\"><div id=\"content_left\">\n";
    std::string page(head);
    page.reserve(size + 4096);
    const size_t per_result = 700;
    const size_t results = size / per_result + 1;
    const size_t every =
        occurrences > 0 ? results / static_cast<size_t>(occurrences) + 1 : results + 1;
    int placed = 0;
    for (size_t i = 0; page.size() < size; ++i) {
        page += "<div class=\"result c-container\" id=\"" + std::to_string(i + 1) +
                "\" srcid=\"1599\"><h3 class=\"t\"><a data-click=\"{'F':'778317EA','T':"
                "'1583490547'}\" href=\"http://www.baidu.com/link?url=Xk3Fq9cQ" +
                std::to_string(i * 7919) + "\" target=\"_blank\">";
        page += snippets[i % 4].substr(0, 30);
        page +=
            "</a></h3><div class=\"c-abstract\"><span class=\" newTimeFactor_before_abs m\">"
            "2026年3月14日&nbsp;-&nbsp;</span>";
        if (placed < occurrences && i % every == 0) {
            page +=
                (placed % 2 == 0) ? "<em>" + std::string(needle) + "</em>" : std::string(needle);
            ++placed;
        }
        page += snippets[(i + 1) % 4];
        page += snippets[(i + 2) % 4];
        page +=
            "</div><div class=\"f13\"><a target=\"_blank\" class=\"c-showurl\">www.example.com/"
            "article/" +
            std::to_string(i) + ".html</a></div></div>\n";
    }
    page += "</div></div></body></html>\n";
    return page;
}

}  // namespace quenvar::bench
