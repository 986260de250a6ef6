// Cutting an article into segments that never split a two-byte character.
#include <algorithm>
#include <mutex>

#include "text/text.h"

namespace quenvar {

namespace {

// "●◆●●◆●●●" in code page 936.
constexpr std::string_view separator_bytes =
    "\xA1\xF1\xA1\xF4\xA1\xF1\xA1\xF1\xA1\xF4\xA1\xF1\xA1\xF1\xA1\xF1";

// The separator lives on the heap and is freed only by release_separator(), so
// a check still running on a worker thread while the program exits never sees
// it destroyed under its feet.
std::mutex separator_mutex;
Bytes* separator_storage = nullptr;

void rebuild_separator() {
    auto* fresh = new Bytes(txt_to_bin(Text(separator_bytes)));
    const std::lock_guard lock(separator_mutex);
    delete separator_storage;
    separator_storage = fresh;
}

// How many pieces a cut makes: the quotient goes through its printed form,
// so a whole-number quotient gets one piece more than it has parts and any
// other gets two more than its floor.
int64_t piece_count(int32_t length, int32_t size) {
    const Text quotient = num_to_txt(static_cast<double>(length) / static_cast<double>(size));
    if (txt_find(quotient, ".") == -1) return num_to_int(txt_to_num(quotient) + 1);
    return num_to_int(static_cast<double>(num_floor(txt_to_num(quotient))) + 2);
}

}  // namespace

Bytes segment_separator() {
    const std::lock_guard lock(separator_mutex);
    return separator_storage == nullptr ? Bytes() : *separator_storage;
}

void release_separator() {
    const std::lock_guard lock(separator_mutex);
    delete separator_storage;
    separator_storage = nullptr;
}

Bytes cut_into_segments(const Text& article, int32_t size) {
    rebuild_separator();
    const std::string_view a = article.view();
    const int64_t length = txt_len(article);
    const int64_t count = piece_count(txt_len(article), size);

    std::string joined;
    if (count > 0) joined.reserve(a.size() + static_cast<size_t>(std::min(count, length + 3)) * 16);
    int64_t e = 1;  // byte position of the next character, from 1
    for (int64_t i = 1; i <= count; ++i) {
        const int64_t piece_start = e;
        // A piece stops once the next character would start at or beyond
        // i * size. Positions and limits are whole numbers far below 2^53, so
        // this is the same test as "e - i * size >= -0.0000001" in doubles.
        const int64_t limit = i * int64_t{size};
        while (e < limit && e <= length) {
            e += static_cast<unsigned char>(a[static_cast<size_t>(e - 1)]) >= 0x80 ? 2 : 1;
        }
        if (piece_start <= length) {
            const int64_t piece_end = std::min(e - 1, length);  // a lone lead byte ends the text
            joined.append(a.substr(static_cast<size_t>(piece_start - 1),
                                   static_cast<size_t>(piece_end - piece_start + 1)));
        }
        joined.append(separator_bytes);
    }
    // Everything but the final separator.
    joined.resize(joined.size() >= separator_bytes.size() ? joined.size() - separator_bytes.size()
                                                          : 0);
    return Bytes(std::move(joined));
}

}  // namespace quenvar
