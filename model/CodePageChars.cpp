// Walking a text as whole characters of its code page: character lengths, ASCII markers found
// and replaced only at character starts, the full-width space, and display widths.
#include "CodePage.h"
#include "CodePageBytes.h"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <cstdint>
#include <cstring>
#include <string>

using namespace codepage;

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
