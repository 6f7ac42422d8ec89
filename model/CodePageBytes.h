#pragma once
// The byte structure of the legacy code pages, shared by the files of CodePage.h: which bytes lead
// a double-byte character and which may follow, and the fast skip over ASCII. Not for use outside
// the model's code page files.
#include "CodePage.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace codepage {

inline bool IsDoubleByte(int codePage) {
    return codePage == kCodePageBig5 || codePage == kCodePageGbk || codePage == kCodePageShiftJis ||
           codePage == kCodePageEucKr || codePage == kCodePageGb18030;
}

inline bool IsLeadByte(int codePage, unsigned char c) {
    switch (codePage) {
    case kCodePageShiftJis:
        return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
    case kCodePageBig5:
    case kCodePageGbk:
    case kCodePageEucKr:
    case kCodePageGb18030:
        return c >= 0x81 && c <= 0xFE;
    default:
        return false;
    }
}

inline bool IsTrailByte(int codePage, unsigned char c) {
    switch (codePage) {
    case kCodePageBig5:
        return (c >= 0x40 && c <= 0x7E) || (c >= 0xA1 && c <= 0xFE);
    case kCodePageShiftJis:
        return c >= 0x40 && c <= 0xFC && c != 0x7F;
    case kCodePageEucKr:
        // Hangul of the Windows extension ends in a letter; neither "|" nor "}" nor "[" is one.
        return (c >= 0x41 && c <= 0x5A) || (c >= 0x61 && c <= 0x7A) || (c >= 0x81 && c <= 0xFE);
    default: // GBK, GB18030
        return c >= 0x40 && c <= 0xFE && c != 0x7F;
    }
}

// GB18030's four-byte characters: lead, digit, lead, digit.
inline bool IsFourByteGb18030(const unsigned char* s, std::size_t left) {
    return left >= 4 && s[0] >= 0x81 && s[0] <= 0xFE && s[1] >= 0x30 && s[1] <= 0x39 &&
           s[2] >= 0x81 && s[2] <= 0xFE && s[3] >= 0x30 && s[3] <= 0x39;
}

// Bytes below 0x80 are single characters in every legacy page: most subtitle text (times,
// numbers, Latin letters) is skipped eight bytes at a time.
inline std::size_t SkipAscii(const unsigned char* s, std::size_t i, std::size_t n) {
    while (i + 8 <= n) {
        uint64_t word;
        std::memcpy(&word, s + i, 8);
        if (word & 0x8080808080808080ULL)
            return i + static_cast<std::size_t>(__builtin_ctzll(word & 0x8080808080808080ULL) >> 3);
        i += 8;
    }
    return i;
}

} // namespace codepage
