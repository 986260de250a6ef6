// The check run: from the article in the window to the verdict.
#include <algorithm>

#include "check/check.h"
#include "text/cleaning.h"

namespace quenvar {

namespace {

constexpr int32_t highest_segment_length = 38;
constexpr int32_t default_segment_length = 36;
constexpr int32_t lowest_probe_length = 12;
constexpr size_t match_baseline = 6;
constexpr Rgb failure_colour{255, 0, 0};
constexpr Rgb highlight_colour{255, 0, 0};

// The window's own texts, in the text model's code page.
Text chinese(std::string_view utf8) {
    return utf8_to_txt(utf8);
}

struct Texts {
    Text empty_article = chinese("请拷贝待检测文章");
    Text notice = chinese("提示");
    Text failed = chinese("失败");
    Text not_checked = chinese("未检测");
    Text nothing_checked = chinese("无法获取搜索结果，请检查网络");
    Text verdicts[5] = {chinese("别灰心额，还需努力"), chinese("已经合格，有待提升"),
                        chinese("百尺竿头，更进一步"), chinese("非常不错，挑战满分"),
                        chinese("你乃神人，此文原创")};
};

const Texts& texts() {
    static const Texts* t = new Texts;  // outlives a check still running at exit
    return *t;
}

// Leaves only the header row.
void clear_result_rows(CheckWindow& window) {
    for (int32_t rows = window.row_count(); rows > 1;) {
        window.delete_row(rows - 1);
        const int32_t now = window.row_count();
        if (now >= rows) break;  // a grid that refuses must not hold the run
        rows = now;
    }
}

int32_t setting(CheckWindow& window, Box box) {
    return txt_to_int(window.box_text(box));
}

// Keeps the settings within what a check can use: at most 38 characters per
// segment and at least one (an empty box reads 0, which would cut the article
// into empty segments), and at least 12 characters per probe.
void bound_settings(CheckWindow& window) {
    const int32_t segment_length = setting(window, Box::segment_length);
    if (segment_length > highest_segment_length) {
        window.set_box_text(Box::segment_length, num_to_txt(highest_segment_length));
    } else if (segment_length < 1) {
        window.set_box_text(Box::segment_length, num_to_txt(default_segment_length));
    }
    if (setting(window, Box::probe_length) < lowest_probe_length) {
        window.set_box_text(Box::probe_length, num_to_txt(lowest_probe_length));
    }
}

// The probe goes into the run's pattern; one that is no valid pattern is
// taken as plain text, so that it is never counted with an earlier probe.
void compile_probe(SearchPattern& pattern, const Text& probe) {
    if (!pattern.compile(probe)) pattern.compile_literal(probe);
}

}  // namespace

Text segment_probe(const Text& segment, int32_t probe_length, int32_t segment_length) {
    // Full width first, so that ASCII counts two bytes a character like Chinese.
    const Text taken = probe_length < segment_length
                           ? txt_left(txt_fullwidth(segment), num_to_int(2.0 * probe_length))
                           : txt_halfwidth(segment);
    Text probe = txt_halfwidth(taken);
    probe = txt_replace(std::move(probe), Text("\r\n"), Text());
    probe = txt_replace(std::move(probe), Text(" "), Text());
    return txt_trim(probe);
}

int32_t highlight_count(size_t matches) {
    return matches <= match_baseline
               ? 0
               : static_cast<int32_t>(std::min<size_t>(matches - match_baseline, INT32_MAX));
}

double originality_percentage(int32_t original, int32_t checked) {
    return num_round(static_cast<double>(original) / static_cast<double>(checked), 4) * 100;
}

Text verdict_phrase(int32_t verdict_value) {
    const Text* phrases = texts().verdicts;
    if (verdict_value >= 99) return phrases[4];
    if (verdict_value >= 90) return phrases[3];
    if (verdict_value >= 80) return phrases[2];
    if (verdict_value >= 60) return phrases[1];
    return phrases[0];
}

namespace {

void run_steps(CheckWindow& window, const CheckOptions& options, CheckSummary& summary) {
    if (txt_compare(window.box_text(Box::article), Text()) == 0) {
        window.show_message(texts().empty_article, texts().notice);
        return;
    }
    summary.ran = true;
    window.set_box_text(Box::character_count,
                        num_to_txt(character_count(window.box_text(Box::article))));

    bound_settings(window);
    const int32_t piece_size = num_to_int(2.0 * setting(window, Box::segment_length));
    // The cut rebuilds the separator, so it must be done before the separator is read.
    const Bytes cut = cut_into_segments(window.box_text(Box::article), piece_size);
    BytesList segments = bin_split(cut, segment_separator());
    summary.segments = static_cast<int32_t>(segments.size());

    clear_result_rows(window);
    SearchPattern pattern;
    bool stopped = options.verification_asked;
    const auto progress = [&](CheckProgress::Stage stage, int32_t segment) {
        window.report_progress({stage, segment, summary.segments, summary.original, summary.failed,
                                summary.not_checked});
    };
    int32_t number = 0;
    for (Bytes& piece : segments) {
        progress(CheckProgress::Stage::checking, ++number);
        const int32_t row = window.row_count();
        window.add_row(num_to_txt(row), row);
        const Text segment = bin_to_txt(std::move(piece));
        window.set_cell_text(row, 1, segment);

        // Read again for every segment: a setting changed during the run
        // applies to the probes that follow.
        const Text probe = segment_probe(segment, setting(window, Box::probe_length),
                                         setting(window, Box::segment_length));
        compile_probe(pattern, probe);
        const Text link = build_search_url(segment, options.search_host);

        PageStatus status = PageStatus::ok;
        size_t matches = 0;
        // Once the service asks for verification, each further request would
        // only prolong the block. A segment of blanks and line breaks has
        // nothing to look for.
        if (!stopped && !probe.empty()) {
            const SearchPage page = fetch_search_result(link, options.http);
            status = page.status;
            if (status == PageStatus::ok) matches = pattern.find_all(page.text).size();
        }

        if (stopped) {
            window.set_cell_text(row, 2, texts().not_checked);
            ++summary.not_checked;
        } else if (status == PageStatus::ok) {
            const int32_t highlights = highlight_count(matches);
            window.set_cell_text(row, 2, num_to_txt(highlights));
            if (highlights > 0) {
                window.set_cell_text_color(row, 2, row, 2, highlight_colour);
                window.set_cell_bold(row, 2, true);
            }
            ++summary.checked;
            if (highlights == 0) ++summary.original;
        } else {
            window.set_cell_text(row, 2, texts().failed);
            window.set_cell_text_color(row, 2, row, 2, failure_colour);
            ++summary.failed;
            stopped = status == PageStatus::verification;
            summary.verification_asked = stopped;
        }
        window.set_cell_text(row, 3, link);
        window.set_cell_text_color(row, 3, row, 3, link_colour);
    }
    summary.verification_asked = stopped;
    progress(stopped ? CheckProgress::Stage::stopped : CheckProgress::Stage::finished,
             summary.segments);

    if (summary.segments == 0) return;  // nothing was cut: nothing to score
    if (summary.checked == 0) {
        window.set_label_caption(Label::originality_value, texts().failed);
        window.set_label_caption(Label::originality_verdict, texts().nothing_checked);
        return;
    }
    const double percentage = originality_percentage(summary.original, summary.checked);
    window.set_label_caption(Label::originality_value, txt_join(num_to_txt(percentage), "%"));
    window.set_label_caption(Label::originality_verdict, verdict_phrase(num_to_int(percentage)));
}

}  // namespace

CheckSummary run_check(CheckWindow& window, const CheckOptions& options) {
    CheckSummary summary;
    window.set_label_caption(Label::originality_value, Text());
    window.set_label_caption(Label::originality_verdict, Text());
    window.set_start_enabled(false);
    try {
        run_steps(window, options, summary);
    } catch (const std::exception&) {
        // Out of memory, most likely: what is shown stands, and the button comes back.
    }
    window.set_start_enabled(true);
    return summary;
}

}  // namespace quenvar
