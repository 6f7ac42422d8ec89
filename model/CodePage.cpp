#include "CodePage.h"

#include <unicode/uchar.h>
#include <unicode/ucnv.h>
#include <unicode/ustring.h>
#include <unicode/utf8.h>

#include <atomic>
#include <cstring>
#include <memory>

namespace {

std::atomic<int> legacyCodePage{kCodePageBig5};

bool IsDoubleByte(int codePage) {
    return codePage == kCodePageBig5 || codePage == kCodePageGbk;
}

bool IsLeadByte(int codePage, unsigned char c) {
    return IsDoubleByte(codePage) && c >= 0x81 && c <= 0xFE;
}

bool IsTrailByte(int codePage, unsigned char c) {
    if (codePage == kCodePageBig5) return (c >= 0x40 && c <= 0x7E) || (c >= 0xA1 && c <= 0xFE);
    return c >= 0x40 && c <= 0xFE && c != 0x7F;
}

// ICU's "cp950" is a different table; these are the code pages as Windows defines them.
const char* IcuName(int codePage) {
    switch (codePage) {
    case kCodePageBig5:
        return "windows-950-2000";
    case kCodePageGbk:
        return "windows-936-2000";
    default:
        return "UTF-8";
    }
}

struct ConverterCloser {
    void operator()(UConverter* c) const { ucnv_close(c); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

// A fresh converter per call keeps the state of one conversion from leaking into the next;
// ICU caches the tables, so opening is cheap.
Converter OpenConverter(int codePage, bool strict) {
    UErrorCode status = U_ZERO_ERROR;
    Converter converter(ucnv_open(IcuName(codePage), &status));
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
    std::string out(text.size() * 2 + 1, '\0');
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
    if (!IsDoubleByte(codePage)) return false;
    legacyCodePage.store(codePage, std::memory_order_relaxed);
    return true;
}

bool IsSupportedCodePage(int codePage) {
    return codePage == kCodePageUtf8 || IsDoubleByte(codePage);
}

const char* CodePageName(int codePage) {
    switch (codePage) {
    case kCodePageBig5:
        return "Big5";
    case kCodePageGbk:
        return "GBK";
    case kCodePageUtf8:
        return "UTF-8";
    default:
        return "unknown";
    }
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
    if (pos + 1 < text.size() && IsLeadByte(codePage, lead) &&
        IsTrailByte(codePage, static_cast<unsigned char>(text[pos + 1])))
        return 2;
    return 1;
}

std::size_t FindMarker(int codePage, std::string_view text, std::string_view marker,
                       std::size_t from) {
    // In UTF-8 an ASCII byte never stands inside a longer character.
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
        return "\xA1\xA1";
    default:
        return "\xE3\x80\x80";
    }
}

std::string RemoveFullWidthSpaces(int codePage, std::string_view text) {
    std::string_view space = FullWidthSpace(codePage);
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
    if (IsDoubleByte(codePage)) {
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
