#pragma once
// What the readers and writers of the three formats share.
#include "Subtitle.h"

#include <cstdint>
#include <ostream>
#include <string_view>

// A time read by read, where other programs write a negative time as "-00:00:06,843": a minus
// before the first field and none after it negates the whole time. Otherwise each field keeps its
// own sign, as in the "00:00:-1,-500" this system writes.
template <typename Read> int32_t ReadSignedTime(std::string_view text, Read read) {
    const std::string_view t = TrimText(text);
    if (t.size() > 1 && t[0] == '-' && t.find('-', 1) == std::string_view::npos) {
        // The fields after the minus are not negative: the value lies in 0..INT32_MAX, and one
        // saturated at the top saturates at the bottom.
        const int64_t value = read(t.substr(1));
        return value >= INT32_MAX ? INT32_MIN : SaturateMs(-value);
    }
    return read(text);
}

// A writer's range: true when first..last lies inside the document or is empty.
inline bool WritableRange(const SubTitle& doc, int first, int last) {
    return last < first || (first >= 0 && last < doc.Count());
}

// One write to the stream; false once the stream has failed.
inline bool Put(std::ostream& out, std::string_view bytes) {
    // Straight to the buffer: a stream's sentry for each of millions of small writes costs more
    // than the copy.
    const auto size = static_cast<std::streamsize>(bytes.size());
    if (!out || !out.rdbuf() || out.rdbuf()->sputn(bytes.data(), size) != size) {
        out.setstate(std::ios::badbit);
        return false;
    }
    return true;
}
