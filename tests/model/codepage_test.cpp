// Code pages: whole-character walking (so that a Big5 or GBK character whose second byte is "|",
// "}" or "\" is never split), display widths, and strict conversion to and from UTF-8.
#include "CodePage.h"
#include "ModelTestUtil.h"
#include "TextConverter.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace {

// Big5 characters whose second byte is an ASCII marker.
const std::string kSi = "\xA5\x7C";      // 四
const std::string kYi = "\xA4\x7C";      // 弋
const std::string kFan = "\xA6\x7C";     // 帆
const std::string kGong = "\xA5\x5C";    // 功
const std::string kGbkJue = "\x81\x7C";  // 亅 in GBK
const std::string kGbkDong = "\x96\x7C"; // 東 in GBK
const std::string kSiUtf8 = "\xE5\x9B\x9B";
// Shift-JIS characters whose second byte is a marker: ポ 83 7C, 表 95 5C, ー 81 5B ("[").
const std::string kPo = "\x83\x7C", kHyo = "\x95\x5C", kChoon = "\x81\x5B";
const std::string kHalfWidthHo = "\xCE"; // ﾎ: half-width katakana is one byte
// EUC-KR: 각 B0 A2, and 갂 81 41 of the Windows extension, whose second byte is a letter.
const std::string kGak = "\xB0\xA2", kGakk = "\x81\x41";
const std::string kHanGb18030 = "\x83\x36\x84\x33"; // 한 in GB18030's four bytes

constexpr auto npos = std::string::npos;

TEST(CodePage, Names) {
    EXPECT_STREQ(CodePageName(kCodePageBig5), "Big5");
    EXPECT_STREQ(CodePageName(kCodePageGbk), "GBK");
    EXPECT_STREQ(CodePageName(kCodePageShiftJis), "Shift-JIS");
    EXPECT_STREQ(CodePageName(kCodePageEucKr), "EUC-KR");
    EXPECT_STREQ(CodePageName(kCodePageWindows1252), "Windows-1252");
    EXPECT_STREQ(CodePageName(kCodePageGb18030), "GB18030");
    EXPECT_STREQ(CodePageName(kCodePageUtf8), "UTF-8");
}

TEST(CodePage, NamesOnTheCommandLine) {
    struct Case {
        const char* name;
        std::optional<int> codePage;
    };
    const std::vector<Case> cases = {
        {"950", kCodePageBig5},
        {"big5", kCodePageBig5},
        {"Big5", kCodePageBig5},
        {"936", kCodePageGbk},
        {"GBK", kCodePageGbk},
        {"gb2312", kCodePageGbk},
        {"932", kCodePageShiftJis},
        {"shift_jis", kCodePageShiftJis},
        {"Shift-JIS", kCodePageShiftJis},
        {"sjis", kCodePageShiftJis},
        {"949", kCodePageEucKr},
        {"euc-kr", kCodePageEucKr},
        {"EUC_KR", kCodePageEucKr},
        {"1252", kCodePageWindows1252},
        {"windows-1252", kCodePageWindows1252},
        {"cp1252", kCodePageWindows1252},
        {"54936", kCodePageGb18030},
        {"gb18030", kCodePageGb18030},
        {"65001", std::nullopt}, // UTF-8 is recognised, never named
        {"utf-8", std::nullopt},
        {"437", std::nullopt},
        {"big", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LegacyCodePageFromName(c.name), c.codePage) << "\"" << c.name << "\"";
}

TEST(CodePage, LegacyCodePageIsBig5AndTakesOnlyLegacyPages) {
    EXPECT_EQ(LegacyCodePage(), kCodePageBig5);
    {
        testutil::LegacyCodePageGuard guard(kCodePageBig5);
        for (int page : {0, kCodePageUtf8, 437}) {
            EXPECT_FALSE(SetLegacyCodePage(page)) << page;
            EXPECT_EQ(LegacyCodePage(), kCodePageBig5);
        }
        for (int page : {kCodePageGbk, kCodePageShiftJis, kCodePageEucKr, kCodePageWindows1252,
                         kCodePageGb18030, kCodePageBig5}) {
            EXPECT_TRUE(SetLegacyCodePage(page)) << page;
            EXPECT_EQ(LegacyCodePage(), page);
        }
        SetLegacyCodePage(kCodePageGbk);
    }
    EXPECT_EQ(LegacyCodePage(), kCodePageBig5);
}

TEST(CodePage, IsValidUtf8) {
    struct Case {
        std::string bytes;
        bool valid;
    };
    const std::vector<Case> cases = {
        {"", true},
        {"abc", true},
        {kSiUtf8, true},
        {"\xF0\x9F\x98\x80", true}, // outside the basic plane
        {kSi, false},
        {"\xA1\x40", false},
        {"\xC0\x80", false},         // overlong
        {"\xED\xA0\x80", false},     // a surrogate
        {"\xE5\x9B", false},         // cut short
        {"\xF4\x90\x80\x80", false}, // above U+10FFFF
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsValidUtf8(c.bytes), c.valid) << "\"" << c.bytes << "\"";
}

// The check of big texts (32 bytes at a time) agrees with the rules of UTF-8 read character by
// character: each right and wrong sequence at every place across the blocks' edges, at the end,
// and texts of valid characters with random bytes changed.
TEST(CodePage, IsValidUtf8AtEveryPlace) {
    auto rules = [](std::string_view t) {
        for (std::size_t i = 0; i < t.size();) {
            const auto c = static_cast<unsigned char>(t[i]);
            const std::size_t need = c < 0x80                 ? 0
                                     : c >= 0xC2 && c <= 0xDF ? 1
                                     : c >= 0xE0 && c <= 0xEF ? 2
                                     : c >= 0xF0 && c <= 0xF4 ? 3
                                                              : 9;
            if (need == 9 || i + need >= t.size() + (need == 0)) return false;
            uint32_t cp = need == 0 ? c : c & (0x3F >> need);
            for (std::size_t k = 1; k <= need; ++k) {
                const auto d = static_cast<unsigned char>(t[i + k]);
                if ((d & 0xC0) != 0x80) return false;
                cp = cp << 6 | (d & 0x3F);
            }
            const uint32_t least[] = {0, 0x80, 0x800, 0x10000};
            if (cp < least[need] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
            i += need + 1;
        }
        return true;
    };
    const std::vector<std::string> pieces{"\xC2\x80",
                                          "\xDF\xBF",
                                          "\xE4\xB8\xAD",
                                          "\xEF\xBF\xBF",
                                          "\xF0\x9F\x98\x80",
                                          "\xF4\x8F\xBF\xBF",
                                          "\xC0\x80",
                                          "\xC1\xBF",
                                          "\xE0\x9F\xBF",
                                          "\xED\xA0\x80",
                                          "\xF0\x8F\xBF\xBF",
                                          "\xF4\x90\x80\x80",
                                          "\xF5\x80\x80\x80",
                                          "\xFF",
                                          "\x80",
                                          "\xBF\xBF",
                                          "\xE4\xB8",
                                          "\xE4\xB8\xE4",
                                          "\xF0\x9F\x98",
                                          "\xC2"};
    for (const std::string& piece : pieces) {
        for (std::size_t at = 0; at <= 100; ++at) {
            std::string text(100, 'a');
            text.insert(at, piece);
            EXPECT_EQ(IsValidUtf8(text), rules(text)) << at;
            text.resize(at + piece.size()); // the piece last
            EXPECT_EQ(IsValidUtf8(text), rules(text)) << at;
        }
    }
    uint32_t seed = 12345;
    auto random = [&seed] {
        seed = seed * 1103515245 + 12345;
        return seed >> 8;
    };
    for (int run = 0; run < 3000; ++run) {
        std::string text;
        while (text.size() < static_cast<std::size_t>(40 + run % 90))
            text += random() % 3 ? pieces[random() % 6] : std::string(1 + random() % 5, 'x');
        for (int changes = random() % 3; changes > 0; --changes)
            text[random() % text.size()] = static_cast<char>(random());
        EXPECT_EQ(IsValidUtf8(text), rules(text)) << run;
    }
}

TEST(CodePage, CharLength) {
    struct Case {
        int codePage;
        std::string text;
        std::size_t pos, length;
    };
    const std::vector<Case> cases = {
        {kCodePageBig5, "a" + kSi, 0, 1},      {kCodePageBig5, "a" + kSi, 1, 2},
        {kCodePageBig5, "a\xA5", 1, 1}, // a lead byte at the end never reaches past it
        {kCodePageGbk, kGbkJue, 0, 2},         {kCodePageUtf8, kSiUtf8 + "a", 0, 3},
        {kCodePageShiftJis, kPo, 0, 2},        {kCodePageShiftJis, kHalfWidthHo + "|", 0, 1},
        {kCodePageShiftJis, "\xA0|", 0, 1}, // A0 starts no character
        {kCodePageEucKr, kGakk, 0, 2},         {kCodePageEucKr, "\x8D|", 0, 1},
        {kCodePageWindows1252, "\xE9|", 0, 1}, {kCodePageGb18030, kHanGb18030, 0, 4},
        {kCodePageGb18030, kGbkJue, 0, 2},     {kCodePageGb18030, "\x83\x36|", 0, 1},
        {kCodePageUtf8, kSiUtf8 + "a", 3, 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CharLength(c.codePage, c.text, c.pos), c.length)
            << "\"" << c.text << "\" at " << c.pos;
    // A broken sequence at the end moves on without reaching past it.
    std::size_t n = CharLength(kCodePageUtf8, "\xE5\x9B", 0);
    EXPECT_GE(n, 1u);
    EXPECT_LE(n, 2u);
}

TEST(CodePage, FindMarkerSkipsTrailBytes) {
    struct Case {
        int codePage;
        std::string text;
        std::string marker;
        std::size_t from, found;
    };
    const std::vector<Case> cases = {
        {kCodePageBig5, kSi + "a|b", "|", 0, 3},
        {kCodePageBig5, kYi + kFan + kSi, "|", 0, npos},
        {kCodePageBig5, kGong + "\\", "\\", 0, 2},
        {kCodePageBig5, "a}" + kSi, "}", 0, 1},
        {kCodePageBig5, "a|b|c", "|", 2, 3},
        {kCodePageBig5, "x" + kSi + "[BR]", "[BR]", 0, 3},
        {kCodePageBig5,
         "\xA5\x5B"
         "BR]",
         "[BR]", 0, npos}, // A5 5B ends in "["
        {kCodePageGbk, kGbkJue + "|", "|", 0, 2},
        {kCodePageGbk, kGbkDong + kGbkJue, "|", 0, npos},
        {kCodePageShiftJis, kPo + kHyo + "|", "|", 0, 4},
        {kCodePageShiftJis, kPo + kHyo, "\\", 0, npos},
        {kCodePageShiftJis, kChoon + "BR][BR]", "[BR]", 0, 5}, // ー ends in "["
        {kCodePageShiftJis, kHalfWidthHo + "|", "|", 0, 1},
        {kCodePageEucKr, kGak + "|", "|", 0, 2},
        {kCodePageEucKr, "\x8D|", "|", 0, 1}, // "|" is never a trail byte of EUC-KR
        {kCodePageWindows1252, "\xE9\x7C", "|", 0, 1},
        {kCodePageGb18030, kHanGb18030 + "|", "|", 0, 4},
        {kCodePageUtf8, kSiUtf8 + "|", "|", 0, 3},
        {kCodePageBig5, "", "|", 0, npos},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FindMarker(c.codePage, c.text, c.marker, c.from), c.found)
            << "\"" << c.text << "\" marker " << c.marker;
}

TEST(CodePage, ReplaceMarkerSkipsTrailBytes) {
    EXPECT_EQ(ReplaceMarker(kCodePageBig5, kSi + "|" + kYi + "|a", "|", "\r\n"),
              kSi + "\r\n" + kYi + "\r\na");
    EXPECT_EQ(ReplaceMarker(kCodePageBig5, kFan, "|", "[BR]"), kFan);
    EXPECT_EQ(ReplaceMarker(kCodePageGbk, kGbkJue + "|", "|", "#"), kGbkJue + "#");
    EXPECT_EQ(ReplaceMarker(kCodePageUtf8, "a[br]b[br]", "[br]", "[BR]"), "a[BR]b[BR]");
}

TEST(CodePage, FullWidthSpaces) {
    EXPECT_EQ(FullWidthSpace(kCodePageBig5), "\xA1\x40");
    EXPECT_EQ(FullWidthSpace(kCodePageGbk), "\xA1\xA1");
    EXPECT_EQ(FullWidthSpace(kCodePageShiftJis), "\x81\x40");
    EXPECT_EQ(FullWidthSpace(kCodePageEucKr), "\xA1\xA1");
    EXPECT_EQ(FullWidthSpace(kCodePageGb18030), "\xA1\xA1");
    EXPECT_EQ(FullWidthSpace(kCodePageWindows1252), "");
    EXPECT_EQ(FullWidthSpace(kCodePageUtf8), "\xE3\x80\x80");
    for (int page : {kCodePageBig5, kCodePageGbk, kCodePageShiftJis, kCodePageEucKr,
                     kCodePageGb18030, kCodePageUtf8})
        EXPECT_EQ(ToUtf8(page, FullWidthSpace(page)), "\xE3\x80\x80") << page;
    EXPECT_EQ(RemoveFullWidthSpaces(kCodePageWindows1252, "a \xA0"), "a \xA0");
    // 83 81 40: メ then "@"; the 81 40 across them is no space.
    EXPECT_EQ(RemoveFullWidthSpaces(kCodePageShiftJis, "\x81\x40\x83\x81\x40"), "\x83\x81\x40");

    EXPECT_EQ(RemoveFullWidthSpaces(kCodePageBig5, "\xA1\x40" + kSi + "\xA1\x40"), kSi);
    // A4 A1 is one character and "@" another: the A1 40 across them is no space.
    EXPECT_EQ(RemoveFullWidthSpaces(kCodePageBig5, "\xA4\xA1\x40"), "\xA4\xA1\x40");
    EXPECT_EQ(RemoveFullWidthSpaces(kCodePageGbk, "a\xA1\xA1"
                                                  "b"),
              "ab");
    EXPECT_EQ(RemoveFullWidthSpaces(kCodePageGbk, "\xA1\x40"), "\xA1\x40");
    EXPECT_EQ(RemoveFullWidthSpaces(kCodePageUtf8, "\xE3\x80\x80x\xE3\x80\x80"), "x");
}

TEST(CodePage, DisplayWidthCountsDoubleWidthAsTwo) {
    EXPECT_EQ(DisplayWidth(kCodePageBig5, kSi + "ab"), 4);
    EXPECT_EQ(DisplayWidth(kCodePageBig5, kSi + kYi + kFan), 6);
    EXPECT_EQ(DisplayWidth(kCodePageGbk, kGbkJue + "a"), 3);
    EXPECT_EQ(DisplayWidth(kCodePageShiftJis, kPo + kHalfWidthHo), 3);
    EXPECT_EQ(DisplayWidth(kCodePageEucKr, kGak + "a"), 3);
    EXPECT_EQ(DisplayWidth(kCodePageWindows1252, "caf\xE9"), 4);
    EXPECT_EQ(DisplayWidth(kCodePageGb18030, kHanGb18030 + kGbkJue + "a"), 5);
    EXPECT_EQ(DisplayWidth(kCodePageUtf8, kSiUtf8 + kSiUtf8 + kSiUtf8), 6); // 9 bytes
    EXPECT_EQ(DisplayWidth(kCodePageUtf8, "ab"), 2);
    EXPECT_EQ(DisplayWidth(kCodePageUtf8, "\xC3\xA9"), 1); // é is narrow though two bytes
    EXPECT_EQ(DisplayWidth(kCodePageUtf8, ""), 0);
}

TEST(CodePage, ToUtf8) {
    EXPECT_EQ(ToUtf8(kCodePageBig5, kSi), kSiUtf8);
    EXPECT_EQ(ToUtf8(kCodePageBig5, kYi + kFan + kGong), "\xE5\xBC\x8B\xE5\xB8\x86\xE5\x8A\x9F");
    EXPECT_EQ(ToUtf8(kCodePageBig5, "\xA1\x40"), "\xE3\x80\x80");
    EXPECT_EQ(ToUtf8(kCodePageGbk, kGbkJue), "\xE4\xBA\x85");
    EXPECT_EQ(ToUtf8(kCodePageShiftJis, kPo + kHyo + kChoon + kHalfWidthHo),
              "\xE3\x83\x9D\xE8\xA1\xA8\xE3\x83\xBC\xEF\xBE\x8E");               // ポ表ーﾎ
    EXPECT_EQ(ToUtf8(kCodePageEucKr, kGak + kGakk), "\xEA\xB0\x81\xEA\xB0\x82"); // 각갂
    EXPECT_EQ(ToUtf8(kCodePageWindows1252, "\x93\xE9\x80\x94"),
              "\xE2\x80\x9C\xC3\xA9\xE2\x82\xAC\xE2\x80\x9D");        // “é€”
    EXPECT_EQ(ToUtf8(kCodePageGb18030, kHanGb18030), "\xED\x95\x9C"); // 한
    EXPECT_EQ(ToUtf8(kCodePageUtf8, kSiUtf8 + "|a"), kSiUtf8 + "|a");
    // What does not decode is shown as U+FFFD, the rest as it is.
    std::string shown = ToUtf8(kCodePageBig5, "a\xA5");
    EXPECT_EQ(shown.substr(0, 1), "a");
    EXPECT_NE(shown.find("\xEF\xBF\xBD"), std::string::npos);
}

TEST(CodePage, FromUtf8RefusesWhatTheCodePageCannotHold) {
    EXPECT_EQ(FromUtf8(kCodePageBig5, kSiUtf8 + "|a"), kSi + "|a");
    EXPECT_EQ(FromUtf8(kCodePageBig5, "\xE5\x8A\x9F"), kGong);
    EXPECT_EQ(FromUtf8(kCodePageBig5, "\xE3\x80\x80"), "\xA1\x40");
    EXPECT_EQ(FromUtf8(kCodePageGbk, "\xE7\xAE\x80"), "\xBC\xF2"); // 简
    EXPECT_EQ(FromUtf8(kCodePageUtf8, "abc"), "abc");
    EXPECT_EQ(FromUtf8(kCodePageShiftJis, "\xE3\x83\x9D"), kPo);
    EXPECT_EQ(FromUtf8(kCodePageEucKr, "\xEA\xB0\x82"), kGakk);
    EXPECT_EQ(FromUtf8(kCodePageWindows1252, "\xC3\xA9\xE2\x82\xAC"), "\xE9\x80");
    // Every character fits GB18030, some in four bytes.
    EXPECT_EQ(FromUtf8(kCodePageGb18030, "\xED\x95\x9C\xF0\x9F\x98\x80\xED\x95\x9C"),
              kHanGb18030 + "\x94\x39\xFC\x36" + kHanGb18030);

    EXPECT_EQ(FromUtf8(kCodePageBig5, "\xE7\xAE\x80"), std::nullopt);        // 简 is not Big5
    EXPECT_EQ(FromUtf8(kCodePageBig5, "a\xF0\x9F\x98\x80"), std::nullopt);   // emoji
    EXPECT_EQ(FromUtf8(kCodePageGbk, "\xED\x95\x9C"), std::nullopt);         // 한
    EXPECT_EQ(FromUtf8(kCodePageWindows1252, "\xE5\x9B\x9B"), std::nullopt); // 四
    EXPECT_EQ(FromUtf8(kCodePageShiftJis, "\xED\x95\x9C"), std::nullopt);    // 한
    EXPECT_EQ(FromUtf8(kCodePageBig5, "a\xFF"), std::nullopt);               // not UTF-8
    EXPECT_EQ(FromUtf8(kCodePageUtf8, "a\xFF"), std::nullopt);
}

TEST(CodePage, ConvertText) {
    EXPECT_EQ(ConvertText(kCodePageBig5, kCodePageUtf8, kSi + "|" + kGong),
              kSiUtf8 + "|\xE5\x8A\x9F");
    EXPECT_EQ(ConvertText(kCodePageUtf8, kCodePageBig5, kSiUtf8), kSi);
    EXPECT_EQ(ConvertText(kCodePageBig5, kCodePageGbk, kSi), "\xCB\xC4");
    EXPECT_EQ(ConvertText(kCodePageGbk, kCodePageBig5, "\xCB\xC4"), kSi);
    EXPECT_EQ(ConvertText(kCodePageBig5, kCodePageBig5, kSi + "a"), kSi + "a");
    EXPECT_EQ(ConvertText(kCodePageBig5, kCodePageGbk, "\xA1\x40"), "\xA1\xA1");

    EXPECT_EQ(ConvertText(kCodePageUtf8, kCodePageBig5, "\xF0\x9F\x98\x80"), std::nullopt);
    EXPECT_EQ(ConvertText(kCodePageGbk, kCodePageBig5, "\xBC\xF2"), std::nullopt); // 简
    EXPECT_EQ(ConvertText(kCodePageBig5, kCodePageUtf8, "a\xA5"), std::nullopt);   // cut short
    EXPECT_EQ(ConvertText(kCodePageUtf8, kCodePageGbk, "\xC0\x80"), std::nullopt);
}

// Detection only takes a page that can hold the whole text: its lead and trail byte ranges.
TEST(CodePageDetection, FitsCodePage) {
    struct Case {
        const char* what;
        std::string text;
        std::set<int> fits;
    };
    const int big5 = kCodePageBig5, gbk = kCodePageGbk, sjis = kCodePageShiftJis,
              euckr = kCodePageEucKr, cp1252 = kCodePageWindows1252, gb18030 = kCodePageGb18030;
    const std::vector<Case> cases = {
        {"ASCII", "a|b\r\n", {big5, gbk, sjis, euckr, cp1252, gb18030}},
        {"Big5 四 功", "x" + kSi + kGong + "y", {big5, gbk, sjis, cp1252, gb18030}},
        {"cut off inside the last character",
         "ab" + kGak + "\xA5",
         {big5, gbk, sjis, euckr, cp1252, gb18030}},
        {"a lead byte before a line end", "ab\xA5\r\n", {sjis, cp1252}},
        {"cut off inside a four-byte character", "\x83\x36", {gb18030, cp1252}},
        {"an accent before a space", "caf\xE9 au lait", {cp1252}},
        {"an accent before a letter", "caf\xE9s", {big5, gbk, sjis, euckr, cp1252, gb18030}},
        {"a byte Windows-1252 leaves undefined", "\x81\x40", {big5, gbk, sjis, gb18030}},
        {"GBK trail 80 to A0", "\x81\x80", {gbk, sjis, gb18030}},
        {"GBK's euro sign alone", "\x80", {gbk, cp1252}},
        {"Shift-JIS half-width katakana", kHalfWidthHo + " ", {sjis, cp1252}},
        {"Shift-JIS lead past FC", "\xFD\x40", {big5, gbk, cp1252, gb18030}},
        {"EUC-KR: a digit is no trail", "\xB0\x31 ", {sjis, cp1252}},
        {"GB18030 four bytes", kHanGb18030, {gb18030, cp1252}},
        {"FF starts no double-byte character", "\xFF", {cp1252}},
    };
    for (const auto& c : cases) {
        for (int page : {big5, gbk, sjis, euckr, cp1252, gb18030})
            EXPECT_EQ(FitsCodePage(page, c.text), c.fits.count(page) == 1)
                << c.what << " in " << CodePageName(page);
    }
}

// The choice among the detector's proposals, apart from the detector: its numbers are made up
// here so that each branch of the rule is reached.
TEST(CodePageDetection, ChoosingAmongProposals) {
    const int big5 = kCodePageBig5, gbk = kCodePageGbk, sjis = kCodePageShiftJis,
              cp1252 = kCodePageWindows1252;
    struct Case {
        const char* what;
        std::vector<CodePageCandidate> proposed;
        std::set<int> fitting;
        int fallback;
        int highBytes;
        int chosen;
    };
    const std::vector<Case> cases = {
        {"the most confident page that fits",
         {{gbk, 100}, {big5, 40}},
         {big5, gbk},
         big5,
         200,
         gbk},
        {"a sure page that does not fit is passed over",
         {{sjis, 100}, {gbk, 80}},
         {big5, gbk},
         big5,
         200,
         gbk},
        {"order of the proposals does not matter",
         {{big5, 40}, {gbk, 100}},
         {big5, gbk},
         big5,
         200,
         gbk},
        {"below the threshold: the fallback",
         {{gbk, 49}, {big5, 10}},
         {big5, gbk},
         big5,
         200,
         big5},
        {"a tie: the fallback", {{gbk, 80}, {big5, 80}}, {big5, gbk}, big5, 200, big5},
        {"a tie: the other fallback", {{big5, 80}, {gbk, 80}}, {big5, gbk}, gbk, 200, gbk},
        {"a tie without the fallback fitting: the first",
         {{sjis, 80}, {gbk, 80}},
         {sjis, gbk},
         big5,
         200,
         sjis},
        {"nothing sure and the fallback cannot hold it: the best that can",
         {{sjis, 30}},
         {sjis},
         big5,
         200,
         sjis},
        {"nothing fits at all: the fallback", {{gbk, 100}}, {}, big5, 200, big5},
        {"Windows-1252 when no double-byte page fits",
         {{cp1252, 60}, {big5, 10}},
         {cp1252},
         big5,
         40,
         cp1252},
        {"Windows-1252 below the threshold, the fallback able to hold the text: the fallback",
         {{cp1252, 35}},
         {cp1252, big5},
         big5,
         40,
         big5},
        {"nothing sure, neither the fallback nor a double-byte page holds it: Windows-1252",
         {{cp1252, 35}, {big5, 10}},
         {cp1252},
         big5,
         40,
         cp1252},
        {"the same without a proposal of Windows-1252", {{gbk, 20}}, {cp1252}, gbk, 40, cp1252},
        {"Windows-1252 clearly ahead of a page that fits",
         {{cp1252, 75}, {big5, 10}},
         {cp1252, big5},
         big5,
         40,
         cp1252},
        {"Windows-1252 ahead, but on too few bytes above ASCII",
         {{cp1252, 75}, {big5, 10}},
         {cp1252, big5},
         big5,
         4,
         big5},
        {"Windows-1252 not clearly ahead",
         {{cp1252, 75}, {gbk, 60}},
         {cp1252, gbk},
         big5,
         200,
         gbk},
        {"Windows-1252 ahead but unable to hold the text: the best that can",
         {{cp1252, 90}, {gbk, 10}},
         {gbk},
         big5,
         200,
         gbk},
        {"no proposals", {}, {big5}, big5, 0, big5},
    };
    for (const auto& c : cases) {
        auto fits = [&](int page) { return c.fitting.count(page) == 1; };
        EXPECT_EQ(ChooseLegacyCodePage(c.proposed, c.fallback, fits, c.highBytes), c.chosen)
            << c.what;
    }
}

TEST(CodePageDetection, ShortOrBrokenTextTakesTheFallback) {
    for (int fallback : {kCodePageBig5, kCodePageGbk}) {
        // Two characters are too few for the detector, and Windows-1252's liking for the ASCII
        // around them counts for nothing.
        EXPECT_EQ(DetectLegacyCodePage("{1}{50}{y:i}\xA5\x7D\xA5\x7C|a\r\n", fallback), fallback);
        EXPECT_EQ(
            DetectLegacyCodePage("[INFORMATION]\r\n00:00:01.00,00:00:02.00\r\n" + kSi, fallback),
            fallback);
    }
    // A page that is no legacy page falls back to Big5.
    EXPECT_EQ(DetectLegacyCodePage(kSi, LegacyPage(kCodePageUtf8)), kCodePageBig5);
    EXPECT_EQ(DetectLegacyCodePage(kSi, LegacyPage(0)), kCodePageBig5);
    // A page the user named is taken without looking.
    EXPECT_EQ(DetectLegacyCodePage("caf\xE9 au lait", LegacyPage::Forced(kCodePageShiftJis)),
              kCodePageShiftJis);
}

} // namespace

// The converter kept open for many texts answers exactly what ConvertText answers, text after
// text, also after a text it refused (no state carried over).
TEST(TextConverter, AgreesWithConvertText) {
    const std::vector<std::pair<int, int>> pairs = {
        {kCodePageBig5, kCodePageUtf8},     {kCodePageUtf8, kCodePageBig5},
        {kCodePageGbk, kCodePageBig5},      {kCodePageShiftJis, kCodePageUtf8},
        {kCodePageUtf8, kCodePageShiftJis}, {kCodePageWindows1252, kCodePageUtf8},
        {kCodePageUtf8, kCodePageUtf8},     {kCodePageBig5, kCodePageBig5},
    };
    const std::vector<std::string> texts = {
        "",
        "plain ascii | with bars \\ and ~",
        "\xA5\x7C\xA5\x5C",               // 四功 in Big5
        "\xE5\x9B\x9B\xE5\x8A\x9F",       // 四功 in UTF-8
        "\xA5",                           // a Big5 lead byte cut off
        "\xF0\x9F\x98\x80",               // an emoji: no legacy page holds it
        "\xC3\x28",                       // malformed UTF-8
        "caf\xE9",                        // café in Windows-1252
        "\x81\x40\x5C",                   // Shift-JIS full-width space, then 5C
        "\xE4\xB8\xAD\xE6\x96\x87 mixed", // 中文 in UTF-8
    };
    for (const auto& [from, to] : pairs) {
        TextConverter converter(from, to);
        for (int round = 0; round < 2; ++round) {
            for (const std::string& text : texts) {
                std::string out = "stale";
                const std::optional<std::string> expected = ConvertText(from, to, text);
                const bool ok = converter.Convert(text, out);
                EXPECT_EQ(ok, expected.has_value()) << from << " -> " << to << ": " << text;
                if (ok && expected) {
                    EXPECT_EQ(out, *expected) << from << " -> " << to;
                }
            }
        }
    }
}
