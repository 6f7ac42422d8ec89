#pragma once
// Formatting and scanning used by the time texts and by the writers, which format millions of
// times and cannot afford a printf per field.
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
