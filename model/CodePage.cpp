#include "CodePage.h"

#include <unicode/uchar.h>
#include <unicode/ucnv.h>
#include <unicode/ucsdet.h>
#include <unicode/ustring.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <utility>

namespace {

std::atomic<int> legacyCodePage{kCodePageBig5};

bool IsDoubleByte(int codePage) {
    return codePage == kCodePageBig5 || codePage == kCodePageGbk || codePage == kCodePageShiftJis ||
           codePage == kCodePageEucKr || codePage == kCodePageGb18030;
}

bool IsLeadByte(int codePage, unsigned char c) {
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

bool IsTrailByte(int codePage, unsigned char c) {
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
bool IsFourByteGb18030(const unsigned char* s, std::size_t left) {
    return left >= 4 && s[0] >= 0x81 && s[0] <= 0xFE && s[1] >= 0x30 && s[1] <= 0x39 &&
           s[2] >= 0x81 && s[2] <= 0xFE && s[3] >= 0x30 && s[3] <= 0x39;
}

} // namespace

// ICU's "cp950" is a different table; these are the code pages as Windows defines them.
const char* IcuConverterName(int codePage) {
    switch (codePage) {
    case kCodePageBig5:
        return "windows-950-2000";
    case kCodePageGbk:
        return "windows-936-2000";
    case kCodePageShiftJis:
        return "windows-932";
    case kCodePageEucKr:
        return "windows-949-2000";
    case kCodePageWindows1252:
        return "ibm-5348_P100-1997"; // windows-1252
    case kCodePageGb18030:
        return "gb18030";
    default:
        return "UTF-8";
    }
}

namespace {

struct ConverterCloser {
    void operator()(UConverter* c) const { ucnv_close(c); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

// A fresh converter per call keeps the state of one conversion from leaking into the next;
// ICU caches the tables, so opening is cheap.
Converter OpenConverter(int codePage, bool strict) {
    UErrorCode status = U_ZERO_ERROR;
    Converter converter(ucnv_open(IcuConverterName(codePage), &status));
    if (U_FAILURE(status)) return nullptr;
    if (strict) {
        ucnv_setToUCallBack(converter.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr,
                            &status);
        ucnv_setFromUCallBack(converter.get(), UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr,
                              &status);
    }
    return U_SUCCESS(status) ? std::move(converter) : nullptr;
}

std::optional<std::u16string> Decode(int codePage, std::string_view bytes, bool strict) {
    if (bytes.empty()) return std::u16string();
    if (codePage == kCodePageUtf8) {
        if (strict && !IsValidUtf8(bytes)) return std::nullopt;
        std::u16string out(bytes.size(), u'\0');
        int32_t length = 0;
        UErrorCode status = U_ZERO_ERROR;
        u_strFromUTF8WithSub(out.data(), static_cast<int32_t>(out.size()), &length, bytes.data(),
                             static_cast<int32_t>(bytes.size()), 0xFFFD, nullptr, &status);
        if (U_FAILURE(status)) return std::nullopt;
        out.resize(length);
        return out;
    }
    Converter converter = OpenConverter(codePage, strict);
    if (!converter) return std::nullopt;
    std::u16string out(bytes.size() + 1, u'\0');
    UErrorCode status = U_ZERO_ERROR;
    int32_t length = ucnv_toUChars(converter.get(), out.data(), static_cast<int32_t>(out.size()),
                                   bytes.data(), static_cast<int32_t>(bytes.size()), &status);
    if (U_FAILURE(status)) return std::nullopt;
    out.resize(length);
    return out;
}

std::optional<std::string> Encode(int codePage, const std::u16string& text, bool strict) {
    if (text.empty()) return std::string();
    if (codePage == kCodePageUtf8) {
        std::string out(text.size() * 3, '\0');
        int32_t length = 0;
        UErrorCode status = U_ZERO_ERROR;
        if (strict)
            u_strToUTF8(out.data(), static_cast<int32_t>(out.size()), &length, text.data(),
                        static_cast<int32_t>(text.size()), &status);
        else
            u_strToUTF8WithSub(out.data(), static_cast<int32_t>(out.size()), &length, text.data(),
                               static_cast<int32_t>(text.size()), 0xFFFD, nullptr, &status);
        if (U_FAILURE(status)) return std::nullopt;
        out.resize(length);
        return out;
    }
    Converter converter = OpenConverter(codePage, strict);
    if (!converter) return std::nullopt;
    std::string out(
        UCNV_GET_MAX_BYTES_FOR_STRING(text.size(), ucnv_getMaxCharSize(converter.get())) + 1, '\0');
    UErrorCode status = U_ZERO_ERROR;
    int32_t length = ucnv_fromUChars(converter.get(), out.data(), static_cast<int32_t>(out.size()),
                                     text.data(), static_cast<int32_t>(text.size()), &status);
    if (U_FAILURE(status)) return std::nullopt;
    out.resize(length);
    return out;
}

} // namespace

int LegacyCodePage() {
    return legacyCodePage.load(std::memory_order_relaxed);
}

bool SetLegacyCodePage(int codePage) {
    if (!IsLegacyCodePage(codePage)) return false;
    legacyCodePage.store(codePage, std::memory_order_relaxed);
    return true;
}

bool IsLegacyCodePage(int codePage) {
    return IsDoubleByte(codePage) || codePage == kCodePageWindows1252;
}

bool IsSupportedCodePage(int codePage) {
    return codePage == kCodePageUtf8 || IsLegacyCodePage(codePage);
}

const char* CodePageName(int codePage) {
    switch (codePage) {
    case kCodePageBig5:
        return "Big5";
    case kCodePageGbk:
        return "GBK";
    case kCodePageShiftJis:
        return "Shift-JIS";
    case kCodePageEucKr:
        return "EUC-KR";
    case kCodePageWindows1252:
        return "Windows-1252";
    case kCodePageGb18030:
        return "GB18030";
    case kCodePageUtf8:
        return "UTF-8";
    default:
        return "unknown";
    }
}

std::optional<int> LegacyCodePageFromName(std::string_view name) {
    std::string key;
    for (char c : name) {
        // "Shift_JIS", "shift-jis" and "ShiftJIS" are one name.
        if (c == '-' || c == '_' || c == ' ') continue;
        key += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    }
    static const struct {
        const char* name;
        int codePage;
    } kNames[] = {
        {"950", kCodePageBig5},
        {"big5", kCodePageBig5},
        {"cp950", kCodePageBig5},
        {"windows950", kCodePageBig5},
        {"936", kCodePageGbk},
        {"gbk", kCodePageGbk},
        {"gb2312", kCodePageGbk},
        {"cp936", kCodePageGbk},
        {"windows936", kCodePageGbk},
        {"932", kCodePageShiftJis},
        {"shiftjis", kCodePageShiftJis},
        {"sjis", kCodePageShiftJis},
        {"cp932", kCodePageShiftJis},
        {"windows932", kCodePageShiftJis},
        {"949", kCodePageEucKr},
        {"euckr", kCodePageEucKr},
        {"cp949", kCodePageEucKr},
        {"uhc", kCodePageEucKr},
        {"windows949", kCodePageEucKr},
        {"1252", kCodePageWindows1252},
        {"windows1252", kCodePageWindows1252},
        {"cp1252", kCodePageWindows1252},
        {"latin1", kCodePageWindows1252},
        {"iso88591", kCodePageWindows1252},
        {"54936", kCodePageGb18030},
        {"gb18030", kCodePageGb18030},
    };
    for (const auto& entry : kNames)
        if (key == entry.name) return entry.codePage;
    return std::nullopt;
}

namespace {

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

int ChooseLegacyCodePage(const std::vector<CodePageCandidate>& proposed, int fallback,
                         const std::function<bool(int)>& fits, int highBytes) {
    std::vector<CodePageCandidate> sorted = proposed;
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const CodePageCandidate& a, const CodePageCandidate& b) {
                         return a.confidence > b.confidence;
                     });
    const CodePageCandidate* latin = nullptr; // Windows-1252
    const CodePageCandidate* best = nullptr;  // the most confident double-byte page that fits
    for (const CodePageCandidate& c : sorted) {
        if (c.codePage == kCodePageWindows1252) {
            if (!latin) latin = &c;
        } else if (!best && fits(c.codePage)) {
            best = &c;
        }
    }
    // The detector's verdict on a single-byte page rests mostly on the ASCII around few
    // characters: it counts against a double-byte page that fits only with as much text above
    // ASCII as the double-byte verdicts need.
    if (latin && latin->confidence >= kDetectionThreshold &&
        (!best || (highBytes >= kSingleByteEvidence &&
                   latin->confidence >= best->confidence + kSingleByteMargin)) &&
        fits(kCodePageWindows1252))
        return kCodePageWindows1252;
    if (best && best->confidence >= kDetectionThreshold) {
        // Another page as sure as the best: the detector cannot tell them apart.
        for (const CodePageCandidate& c : sorted)
            if (&c != best && c.codePage != kCodePageWindows1252 &&
                c.confidence == best->confidence && fits(c.codePage))
                return fits(fallback) ? fallback : best->codePage;
        return best->codePage;
    }
    // Nothing sure enough: the language's page, unless it cannot even hold the text.
    if (fits(fallback)) return fallback;
    if (best) return best->codePage;
    return fallback;
}

namespace {

// The detector's names of the pages read here. GB18030 stands for the whole GB family.
int CodePageOfDetectorName(std::string_view name) {
    if (name == "Big5") return kCodePageBig5;
    if (name == "GB18030") return kCodePageGbk;
    if (name == "Shift_JIS") return kCodePageShiftJis;
    if (name == "EUC-KR") return kCodePageEucKr;
    if (name == "ISO-8859-1" || name == "windows-1252") return kCodePageWindows1252;
    return 0;
}

// The detector reads this much of the text at most: enough for its statistics, and a fixed cost
// however long the file.
constexpr std::size_t kDetectionSample = std::size_t{64} << 10;

std::string_view DetectionSample(std::string_view text) {
    // From the line of the first byte above ASCII: lines of ASCII alone (numbers, times, English
    // credits) tell the detector nothing.
    const auto* s = reinterpret_cast<const unsigned char*>(text.data());
    std::size_t first = SkipAscii(s, 0, text.size());
    while (first < text.size() && s[first] < 0x80)
        ++first;
    const std::size_t lineStart = text.rfind('\n', first);
    text.remove_prefix(lineStart == std::string_view::npos ? 0 : lineStart + 1);
    std::string_view sample = text.substr(0, kDetectionSample);
    // Cut at a line end, so that the sample does not end inside a character.
    if (sample.size() < text.size()) {
        const std::size_t eol = sample.rfind('\n');
        if (eol != std::string_view::npos) sample = sample.substr(0, eol + 1);
    }
    return sample;
}

std::vector<CodePageCandidate> DetectorProposals(std::string_view sample) {
    std::vector<CodePageCandidate> proposed;
    UErrorCode status = U_ZERO_ERROR;
    UCharsetDetector* detector = ucsdet_open(&status);
    if (U_FAILURE(status)) return proposed;
    ucsdet_setText(detector, sample.data(), static_cast<int32_t>(sample.size()), &status);
    int32_t count = 0;
    const UCharsetMatch** matches = ucsdet_detectAll(detector, &count, &status);
    for (int32_t k = 0; U_SUCCESS(status) && k < count; ++k) {
        const char* name = ucsdet_getName(matches[k], &status);
        const int confidence = ucsdet_getConfidence(matches[k], &status);
        const int codePage = U_SUCCESS(status) && name ? CodePageOfDetectorName(name) : 0;
        if (codePage == 0) continue;
        bool known = false;
        for (CodePageCandidate& c : proposed)
            if (c.codePage == codePage) {
                c.confidence = std::max(c.confidence, confidence);
                known = true;
            }
        if (!known) proposed.push_back({codePage, confidence});
    }
    ucsdet_close(detector);
    return proposed;
}

} // namespace

int DetectLegacyCodePage(std::string_view text, const LegacyPage& legacy) {
    const int fallback = IsLegacyCodePage(legacy.fallback) ? legacy.fallback : kCodePageBig5;
    if (!legacy.detect) return fallback;
    // Each page's scan runs at most once; GBK stands for GB18030 too, which it becomes when only
    // the four-byte characters make the text fit.
    std::vector<std::pair<int, bool>> scanned;
    auto fitsPage = [&](int codePage) {
        for (const auto& [page, fits] : scanned)
            if (page == codePage) return fits;
        const bool fits = FitsCodePage(codePage, text);
        scanned.emplace_back(codePage, fits);
        return fits;
    };
    auto fits = [&](int codePage) {
        return fitsPage(codePage) || (codePage == kCodePageGbk && fitsPage(kCodePageGb18030));
    };
    std::string_view sample = DetectionSample(text);
    int highBytes = 0;
    for (char c : sample)
        highBytes += static_cast<unsigned char>(c) >= 0x80;
    int chosen = ChooseLegacyCodePage(DetectorProposals(sample), fallback, fits, highBytes);
    if (chosen == kCodePageGbk && !fitsPage(kCodePageGbk) && fitsPage(kCodePageGb18030))
        chosen = kCodePageGb18030;
    return chosen;
}

bool IsValidUtf8(std::string_view bytes) {
    const auto* s = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t n = bytes.size();
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

std::size_t CharLength(int codePage, std::string_view text, std::size_t pos) {
    if (pos >= text.size()) return 1;
    const auto lead = static_cast<unsigned char>(text[pos]);
    if (codePage == kCodePageUtf8) {
        if (lead < 0xC2) return 1;
        const std::size_t length = lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        // A broken sequence counts one byte at a time, like the bytes it is kept as.
        if (lead > 0xF4 || pos + length > text.size() || !IsValidUtf8(text.substr(pos, length)))
            return 1;
        return length;
    }
    if (codePage == kCodePageGb18030 &&
        IsFourByteGb18030(reinterpret_cast<const unsigned char*>(text.data()) + pos,
                          text.size() - pos))
        return 4;
    if (pos + 1 < text.size() && IsLeadByte(codePage, lead) &&
        IsTrailByte(codePage, static_cast<unsigned char>(text[pos + 1])))
        return 2;
    return 1;
}

std::size_t FindMarker(int codePage, std::string_view text, std::string_view marker,
                       std::size_t from) {
    // In UTF-8 an ASCII byte never stands inside a longer character; Windows-1252 has none.
    if (!IsDoubleByte(codePage)) return text.find(marker, from);
    // Most texts do not hold the marker's first byte at all: then there is nothing to walk.
    if (marker.empty()) return from <= text.size() ? from : std::string_view::npos;
    if (from >= text.size() || !std::memchr(text.data() + from, marker[0], text.size() - from))
        return std::string_view::npos;
    for (std::size_t i = from; i < text.size(); i += CharLength(codePage, text, i)) {
        if (text.compare(i, marker.size(), marker) == 0) return i;
    }
    return std::string_view::npos;
}

std::string ReplaceMarker(int codePage, std::string_view text, std::string_view marker,
                          std::string_view replacement) {
    std::string out;
    out.reserve(text.size());
    std::size_t from = 0;
    for (;;) {
        std::size_t at = FindMarker(codePage, text, marker, from);
        if (at == std::string_view::npos) break;
        out.append(text.substr(from, at - from));
        out.append(replacement);
        from = at + marker.size();
    }
    out.append(text.substr(from));
    return out;
}

std::string_view FullWidthSpace(int codePage) {
    switch (codePage) {
    case kCodePageBig5:
        return "\xA1\x40";
    case kCodePageGbk:
    case kCodePageGb18030:
    case kCodePageEucKr:
        return "\xA1\xA1";
    case kCodePageShiftJis:
        return "\x81\x40";
    case kCodePageWindows1252:
        return {};
    default:
        return "\xE3\x80\x80";
    }
}

std::string RemoveFullWidthSpaces(int codePage, std::string_view text) {
    std::string_view space = FullWidthSpace(codePage);
    if (space.empty()) return std::string(text);
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        if (text.compare(i, space.size(), space) == 0) {
            i += space.size();
            continue;
        }
        std::size_t len = CharLength(codePage, text, i);
        out.append(text.substr(i, len));
        i += len;
    }
    return out;
}

int DisplayWidth(int codePage, std::string_view text) {
    if (codePage == kCodePageGb18030) {
        int width = 0;
        // Its four-byte characters are double width like its two-byte ones.
        for (std::size_t i = 0, length; i < text.size(); i += length) {
            length = CharLength(codePage, text, i);
            width += length > 1 ? 2 : 1;
        }
        return width;
    }
    if (IsLegacyCodePage(codePage)) {
        // A double-byte character is drawn twice as wide as a single byte one.
        return static_cast<int>(text.size());
    }
    int width = 0;
    const auto* s = reinterpret_cast<const uint8_t*>(text.data());
    int32_t i = 0;
    const auto n = static_cast<int32_t>(text.size());
    while (i < n) {
        UChar32 c;
        U8_NEXT(s, i, n, c);
        if (c < 0) {
            width += 1;
            continue;
        }
        int ea = u_getIntPropertyValue(c, UCHAR_EAST_ASIAN_WIDTH);
        width += (ea == U_EA_WIDE || ea == U_EA_FULLWIDTH) ? 2 : 1;
    }
    return width;
}

std::string ToUtf8(int codePage, std::string_view bytes) {
    if (codePage == kCodePageUtf8 && IsValidUtf8(bytes)) return std::string(bytes);
    std::optional<std::u16string> wide = Decode(codePage, bytes, false);
    if (!wide) return std::string();
    return Encode(kCodePageUtf8, *wide, false).value_or(std::string());
}

std::optional<std::string> FromUtf8(int codePage, std::string_view utf8) {
    return ConvertText(kCodePageUtf8, codePage, utf8);
}

std::optional<std::string> ConvertText(int fromCodePage, int toCodePage, std::string_view bytes) {
    if (!IsSupportedCodePage(fromCodePage) || !IsSupportedCodePage(toCodePage)) return std::nullopt;
    if (fromCodePage == toCodePage) {
        if (toCodePage == kCodePageUtf8 && !IsValidUtf8(bytes)) return std::nullopt;
        if (toCodePage != kCodePageUtf8 && !Decode(fromCodePage, bytes, true)) return std::nullopt;
        return std::string(bytes);
    }
    std::optional<std::u16string> wide = Decode(fromCodePage, bytes, true);
    if (!wide) return std::nullopt;
    return Encode(toCodePage, *wide, true);
}
