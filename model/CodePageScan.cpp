// The structural scans: whether a text's bytes form whole characters of a legacy page, and
// whether they are valid UTF-8. Both run over whole files, so they skip ASCII eight bytes at a
// time and look bytes up in tables.
#include "CodePage.h"
#include "CodePageBytes.h"

#include <cstdint>
#include <cstring>

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
