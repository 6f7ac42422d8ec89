// The structural scans: whether a text's bytes form whole characters of a legacy page, and
// whether they are valid UTF-8. Both run over whole files, so they skip ASCII eight bytes at a
// time and look bytes up in tables.
#include "CodePage.h"
#include "CodePageBytes.h"

#include <cstdint>
#include <cstring>

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#endif

using namespace codepage;

namespace {

// What a byte from 0x80 up starts in a legacy page, and which bytes may follow a lead byte: the
// structure FitsCodePage checks, as tables so that a scan of a whole file costs little.
enum class Starts : uint8_t { Nothing, Single, Double, DoubleOrFour };

struct PageStructure {
    Starts starts[128];
    bool trail[256];
};

PageStructure MakeStructure(int codePage) {
    PageStructure p{};
    for (int c = 0x80; c <= 0xFF; ++c) {
        const auto b = static_cast<unsigned char>(c);
        Starts kind = IsLeadByte(codePage, b) ? Starts::Double : Starts::Nothing;
        if (codePage == kCodePageWindows1252)
            // The five bytes Windows leaves undefined stand for no text.
            kind = (c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D) ? Starts::Nothing
                                                                                   : Starts::Single;
        else if (codePage == kCodePageShiftJis && c >= 0xA1 && c <= 0xDF)
            kind = Starts::Single; // half-width katakana
        else if (codePage == kCodePageGbk && c == 0x80)
            kind = Starts::Single; // the euro sign
        else if (codePage == kCodePageGb18030 && kind == Starts::Double)
            kind = Starts::DoubleOrFour;
        p.starts[c - 0x80] = kind;
    }
    for (int c = 0; c <= 0xFF; ++c)
        p.trail[c] = IsDoubleByte(codePage) && IsTrailByte(codePage, static_cast<unsigned char>(c));
    return p;
}

const PageStructure* StructureOf(int codePage) {
    static const PageStructure big5 = MakeStructure(kCodePageBig5),
                               gbk = MakeStructure(kCodePageGbk),
                               sjis = MakeStructure(kCodePageShiftJis),
                               euckr = MakeStructure(kCodePageEucKr),
                               cp1252 = MakeStructure(kCodePageWindows1252),
                               gb18030 = MakeStructure(kCodePageGb18030);
    switch (codePage) {
    case kCodePageBig5:
        return &big5;
    case kCodePageGbk:
        return &gbk;
    case kCodePageShiftJis:
        return &sjis;
    case kCodePageEucKr:
        return &euckr;
    case kCodePageWindows1252:
        return &cp1252;
    case kCodePageGb18030:
        return &gb18030;
    default:
        return nullptr;
    }
}

} // namespace

bool FitsCodePage(int codePage, std::string_view text) {
    const PageStructure* page = StructureOf(codePage);
    if (!page) return false;
    const auto* s = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size();
    std::size_t i = 0;
    for (;;) {
        i = SkipAscii(s, i, n);
        // Characters one after another up to the next ASCII byte at a character's start.
        while (i < n && s[i] >= 0x80) {
            switch (page->starts[s[i] - 0x80]) {
            case Starts::Nothing:
                return false;
            case Starts::Single:
                ++i;
                break;
            case Starts::DoubleOrFour:
                if (IsFourByteGb18030(s + i, n - i)) {
                    i += 4;
                    break;
                }
                if (n - i < 4 && n - i > 1 && s[i + 1] >= 0x30 && s[i + 1] <= 0x39 &&
                    (n - i == 2 || (s[i + 2] >= 0x81 && s[i + 2] <= 0xFE)))
                    return true; // a four-byte character cut off by the end
                [[fallthrough]];
            case Starts::Double:
                // A file cut off inside its last character still holds the page's text.
                if (i + 1 >= n) return true;
                if (!page->trail[s[i + 1]]) return false;
                i += 2;
                break;
            }
        }
        if (i >= n) return true;
        ++i; // the ASCII byte SkipAscii stopped short of, near the end
    }
}

namespace {

bool ValidUtf8Bytes(const unsigned char* s, std::size_t n) {
    std::size_t i = 0;
    while (i < n) {
        // Most subtitle text is ASCII: skip it eight bytes at a time.
        while (i + 8 <= n) {
            uint64_t word;
            std::memcpy(&word, s + i, 8);
            if (word & 0x8080808080808080ULL) break;
            i += 8;
        }
        if (i >= n) break;
        unsigned char c = s[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        std::size_t need;
        unsigned char lo = 0x80, hi = 0xBF;
        if (c >= 0xC2 && c <= 0xDF) {
            need = 1;
        } else if (c >= 0xE0 && c <= 0xEF) {
            need = 2;
            if (c == 0xE0)
                lo = 0xA0;
            else if (c == 0xED)
                hi = 0x9F; // no surrogates
        } else if (c >= 0xF0 && c <= 0xF4) {
            need = 3;
            if (c == 0xF0)
                lo = 0x90;
            else if (c == 0xF4)
                hi = 0x8F;
        } else {
            return false;
        }
        if (i + need >= n) return false;
        if (s[i + 1] < lo || s[i + 1] > hi) return false;
        for (std::size_t k = 2; k <= need; ++k)
            if (s[i + k] < 0x80 || s[i + k] > 0xBF) return false;
        i += need + 1;
    }
    return true;
}

#if defined(__x86_64__) && defined(__GNUC__)
// Thirty-two bytes at a time: three table look-ups on the halves of each byte and of the byte
// before it tell every wrong pair, and the lead bytes two and three places back which bytes must
// continue a character (after Keiser and Lemire, "Validating UTF-8 in less than one instruction
// per byte"). Each bit of the tables is one way a pair can be wrong.
constexpr char kTooShort = 1 << 0;  // a lead byte, then ASCII or another lead byte
constexpr char kTooLong = 1 << 1;   // ASCII, then a continuation byte
constexpr char kOverlong3 = 1 << 2; // E0 80..9F
constexpr char kTooLarge = 1 << 3;  // F4 90..BF, F5..FF
constexpr char kSurrogate = 1 << 4; // ED A0..BF
constexpr char kOverlong2 = 1 << 5; // C0, C1
constexpr char kTooLarge1000 = 1 << 6;
constexpr char kOverlong4 = 1 << 6;                   // F0 80..8F
constexpr char kTwoConts = static_cast<char>(1 << 7); // two continuation bytes
constexpr char kCarry = kTooShort | kTooLong | kTwoConts;

__attribute__((target("avx2"))) inline __m256i Table(char b0, char b1, char b2, char b3, char b4,
                                                     char b5, char b6, char b7, char b8, char b9,
                                                     char b10, char b11, char b12, char b13,
                                                     char b14, char b15) {
    return _mm256_broadcastsi128_si256(
        _mm_setr_epi8(b0, b1, b2, b3, b4, b5, b6, b7, b8, b9, b10, b11, b12, b13, b14, b15));
}

__attribute__((target("avx2"))) bool ValidUtf8Avx2(const unsigned char* s, std::size_t n) {
    const __m256i firstHigh = Table(
        kTooLong, kTooLong, kTooLong, kTooLong, kTooLong, kTooLong, kTooLong, kTooLong, kTwoConts,
        kTwoConts, kTwoConts, kTwoConts, kTooShort | kOverlong2, kTooShort,
        kTooShort | kOverlong3 | kSurrogate, kTooShort | kTooLarge | kTooLarge1000 | kOverlong4);
    constexpr char kLarge = kCarry | kTooLarge | kTooLarge1000;
    const __m256i firstLow =
        Table(kCarry | kOverlong3 | kOverlong2 | kOverlong4, kCarry | kOverlong2, kCarry, kCarry,
              kCarry | kTooLarge, kLarge, kLarge, kLarge, kLarge, kLarge, kLarge, kLarge, kLarge,
              kLarge | kSurrogate, kLarge, kLarge);
    constexpr char kCont = kTooLong | kOverlong2 | kTwoConts;
    const __m256i secondHigh =
        Table(kTooShort, kTooShort, kTooShort, kTooShort, kTooShort, kTooShort, kTooShort,
              kTooShort, kCont | kOverlong3 | kTooLarge1000 | kOverlong4,
              kCont | kOverlong3 | kTooLarge, kCont | kSurrogate | kTooLarge,
              kCont | kSurrogate | kTooLarge, kTooShort, kTooShort, kTooShort, kTooShort);
    const __m256i nibble = _mm256_set1_epi8(0x0F);
    // A block ending in the first bytes of a character that goes on in the next.
    const __m256i lastLeads =
        _mm256_setr_epi8(-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1,
                         -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, static_cast<char>(0xF0 - 1),
                         static_cast<char>(0xE0 - 1), static_cast<char>(0xC0 - 1));
    __m256i error = _mm256_setzero_si256(), prev = _mm256_setzero_si256();
    __m256i incomplete = _mm256_setzero_si256();
    unsigned char rest[32] = {};
    for (std::size_t i = 0; i < n; i += 32) {
        const unsigned char* p = s + i;
        if (n - i < 32) { // the last bytes, with ASCII NULs after them
            std::memcpy(rest, p, n - i);
            p = rest;
        }
        const __m256i in = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
        if (_mm256_movemask_epi8(in) == 0) {
            error = _mm256_or_si256(error, incomplete); // ASCII cannot finish a character
            incomplete = _mm256_setzero_si256();
            prev = in;
            continue;
        }
        const __m256i back = _mm256_permute2x128_si256(prev, in, 0x21);
        const __m256i prev1 = _mm256_alignr_epi8(in, back, 15);
        const __m256i prev2 = _mm256_alignr_epi8(in, back, 14);
        const __m256i prev3 = _mm256_alignr_epi8(in, back, 13);
        const __m256i wrong = _mm256_and_si256(
            _mm256_and_si256(_mm256_shuffle_epi8(
                                 firstHigh, _mm256_and_si256(_mm256_srli_epi16(prev1, 4), nibble)),
                             _mm256_shuffle_epi8(firstLow, _mm256_and_si256(prev1, nibble))),
            _mm256_shuffle_epi8(secondHigh, _mm256_and_si256(_mm256_srli_epi16(in, 4), nibble)));
        // Bytes two after a lead of three or four, or three after one of four, must continue it.
        const __m256i must = _mm256_and_si256(
            _mm256_or_si256(_mm256_subs_epu8(prev2, _mm256_set1_epi8(0xE0 - 0x80)),
                            _mm256_subs_epu8(prev3, _mm256_set1_epi8(0xF0 - 0x80))),
            _mm256_set1_epi8(static_cast<char>(0x80)));
        error = _mm256_or_si256(error, _mm256_xor_si256(must, wrong));
        incomplete = _mm256_subs_epu8(in, lastLeads);
        prev = in;
    }
    error = _mm256_or_si256(error, incomplete);
    return _mm256_testz_si256(error, error) != 0;
}
#endif

} // namespace

bool IsValidUtf8(std::string_view bytes) {
    const auto* s = reinterpret_cast<const unsigned char*>(bytes.data());
#if defined(__x86_64__) && defined(__GNUC__)
    static const bool avx2 = __builtin_cpu_supports("avx2");
    if (avx2 && bytes.size() >= 64) return ValidUtf8Avx2(s, bytes.size());
#endif
    return ValidUtf8Bytes(s, bytes.size());
}
