#pragma once
// Formatting and scanning used by the time texts and by the writers, which format millions of
// times and cannot afford a printf per field.
#include "Pertitle.h"

#include <cstdint>
#include <string_view>

// Writes MsToTimeText(ms) at out and returns the end; needs at most 40 bytes.
char* WriteTimeText(char* out, int32_t ms);
// Writes the decimal text of value at out and returns the end; needs at most 21 bytes.
char* WriteInteger(char* out, int64_t value);

// Reads up to count numbers, the first preceded by nothing and each later one by the next
// character of separators, as "%d" (or "%ld") would: white space, an optional sign, digits.
// Values beyond [low, high] saturate. Returns how many numbers were read.
int ScanNumbers(std::string_view text, std::string_view separators, int64_t* values, int count,
                int64_t low, int64_t high);
// The same, but also tells where scanning stopped (just after the last number read).
int ScanNumbersAt(std::string_view text, std::string_view separators, int64_t* values, int count,
                  int64_t low, int64_t high, std::size_t* stop);

// A frame rate as an exact fraction num / den (den a power of ten), so that decimal rates such
// as 23.976 convert between frames and milliseconds without a rounding error.
struct RationalRate {
    int64_t num = 0;
    int64_t den = 1;
};
RationalRate ToRational(double rate);

// A time read by read (answering the milliseconds in 64 bits), where a negative time is written as "-00:00:06,843" (as this system and
// other programs write it): a minus before the first field and none after it negates the whole
// time. Otherwise each field keeps its own sign, as in the "00:00:-1,-500" of older files.
template <typename Read> int32_t ReadSignedTime(std::string_view text, Read read) {
    const std::string_view t = TrimText(text);
    if (t.size() > 1 && t[0] == '-' && t.find('-', 1) == std::string_view::npos) {
        // The fields after the minus are not negative; read answers the magnitude unsaturated
        // (64 bits), so that the smallest time is told from the one above it.
        return SaturateMs(-static_cast<int64_t>(read(t.substr(1))));
    }
    return SaturateMs(read(text));
}
