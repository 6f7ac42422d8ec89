#pragma once
// What the readers and writers of the three formats share.
#include "Subtitle.h"
#include "TimeFormat.h"

#include <cstdint>
#include <ostream>
#include <string_view>

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
