// Code pages: whole-character walking (so that a Big5 or GBK character whose second byte is "|",
// "}" or "\" is never split), display widths, and strict conversion to and from UTF-8.
#include "CodePage.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Big5 characters whose second byte is an ASCII marker.
const std::string kSi = "\xA5\x7C";     // 四
const std::string kYi = "\xA4\x7C";     // 弋
const std::string kFan = "\xA6\x7C";    // 帆
const std::string kGong = "\xA5\x5C";   // 功
const std::string kGbkJue = "\x81\x7C"; // 亅 in GBK
const std::string kSiUtf8 = "\xE5\x9B\x9B";

constexpr auto npos = std::string::npos;

TEST(CodePage, Names) {
    EXPECT_STREQ(CodePageName(kCodePageBig5), "Big5");
    EXPECT_STREQ(CodePageName(kCodePageGbk), "GBK");
    EXPECT_STREQ(CodePageName(kCodePageUtf8), "UTF-8");
}

TEST(CodePage, LegacyCodePageIsBig5AndTakesOnlyKnownPages) {
    EXPECT_EQ(LegacyCodePage(), kCodePageBig5);
    EXPECT_FALSE(SetLegacyCodePage(1252));
    EXPECT_FALSE(SetLegacyCodePage(0));
    EXPECT_EQ(LegacyCodePage(), kCodePageBig5);
    EXPECT_TRUE(SetLegacyCodePage(kCodePageGbk));
    EXPECT_EQ(LegacyCodePage(), kCodePageGbk);
    EXPECT_TRUE(SetLegacyCodePage(kCodePageBig5));
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

TEST(CodePage, CharLength) {
    struct Case {
        int codePage;
        std::string text;
        std::size_t pos, length;
    };
    const std::vector<Case> cases = {
        {kCodePageBig5, "a" + kSi, 0, 1},     {kCodePageBig5, "a" + kSi, 1, 2},
        {kCodePageBig5, "a\xA5", 1, 1}, // a lead byte at the end never reaches past it
        {kCodePageGbk, kGbkJue, 0, 2},        {kCodePageUtf8, kSiUtf8 + "a", 0, 3},
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
    EXPECT_EQ(FullWidthSpace(kCodePageUtf8), "\xE3\x80\x80");

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

    EXPECT_EQ(FromUtf8(kCodePageBig5, "\xE7\xAE\x80"), std::nullopt);      // 简 is not Big5
    EXPECT_EQ(FromUtf8(kCodePageBig5, "a\xF0\x9F\x98\x80"), std::nullopt); // emoji
    EXPECT_EQ(FromUtf8(kCodePageGbk, "\xED\x95\x9C"), std::nullopt);       // 한
    EXPECT_EQ(FromUtf8(kCodePageBig5, "a\xFF"), std::nullopt);             // not UTF-8
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

} // namespace
