// Entries and the time texts: every conversion both ways, negative times, fields a text does not
// supply, and times far outside the 32-bit range, which must saturate instead of overflowing.
#include "CodePage.h"
#include "ModelTestUtil.h"
#include "Pertitle.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace {

constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
constexpr int32_t kMin = std::numeric_limits<int32_t>::min();

struct MsText {
    int32_t ms;
    const char* text;
};

struct TextMs {
    const char* text;
    int32_t ms;
};

TEST(TimeText, MsToTimeText) {
    const std::vector<MsText> cases = {
        {0, "00:00:00,000"},          {3723045, "01:02:03,045"},
        {59999, "00:00:59,999"},      {60000, "00:01:00,000"},
        {3599999, "00:59:59,999"},    {86400000, "24:00:00,000"}, // hours do not wrap at a day
        {360000000, "100:00:00,000"},                             // nor at 100
        {-1500, "-00:00:01,500"}, // the minus in front of the magnitude
        {-5, "-00:00:00,005"},
        {-3723045, "-01:02:03,045"},  {kMax, "596:31:23,647"},
        {kMin, "-596:31:23,648"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MsToTimeText(c.ms), c.text) << "ms " << c.ms;
}

TEST(TimeText, TimeTextToMs) {
    const std::vector<TextMs> cases = {
        {"01:02:03,045", 3723045},
        {"00:00:01,5", 1005},      // the last number is milliseconds whatever its digits
        {"00:90:00,000", 5400000}, // fields need not be in range
        {"00:00:-1,-500", -1500},
        {"-01:00:00,000", -3600000},
        {"-00:00:06,843", -6843}, // a minus in front negates the whole time
        {" -00:00:03,000", -3000},
        {"-00:00:-3,000", -3000}, // a minus after the first: each field keeps its sign
        {"+1:00:00,000", 3600000},
        {" 1: 2: 3, 4", 3723004},           // white space before a number is skipped
        {"00:00:02,000 X1:40 Y1:20", 2000}, // what follows the last field is ignored
        // Fields that are not supplied count as 0.
        {"", 0},
        {"abc", 0},
        {"5", 18000000},
        {"00:01", 60000},
        {"00:00:01.000", 1000}, // "." is not ",": milliseconds not supplied
        {"00 :01:00,000", 0},   // a separator must follow its number at once
        {"00:00:01,", 1000},
        // Beyond the 32-bit range the result saturates.
        {"596:31:23,647", kMax},
        {"596:31:23,648", kMax},
        {"597:00:00,000", kMax},
        {"99999999999:00:00,000", kMax},
        {"0:0:0,99999999999999999999", kMax},
        {"-596:-31:-23,-648", kMin},
        {"-596:-31:-23,-649", kMin},
        {"-99999999999:00:00,000", kMin},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TimeTextToMs(c.text), c.ms) << "text \"" << c.text << "\"";
}

// Every time, negative ones and both ends of the range included, comes back from its text.
TEST(TimeText, TimeTextRoundTripsEveryTime) {
    std::vector<int32_t> times = {kMin, kMin + 1, kMax, kMax - 1};
    for (int32_t ms = -5000; ms <= 5000; ++ms)
        times.push_back(ms);
    for (int64_t ms = kMin; ms <= kMax; ms += 999983)
        times.push_back(static_cast<int32_t>(ms));
    for (int32_t ms : times) {
        ASSERT_EQ(TimeTextToMs(MsToTimeText(ms)), ms) << MsToTimeText(ms);
        ASSERT_EQ(DelayTextToMs(MsToDelayText(ms)), ms) << MsToDelayText(ms);
        // Hundredths, truncated toward zero.
        ASSERT_EQ(SubViewerTimeToMs(MsToSubViewerTime(ms)), ms / 10 * 10) << MsToSubViewerTime(ms);
    }
}

TEST(TimeText, DelayText) {
    const std::vector<MsText> toText = {
        {2500, "02:500"}, {75000, "75:000"}, // seconds are not carried into minutes
        {0, "00:000"},     {5, "00:005"},         {-2500, "-02:500"},
        {-5, "-00:005"},   {kMax, "2147483:647"}, {kMin, "-2147483:648"},
    };
    for (const auto& c : toText)
        EXPECT_EQ(MsToDelayText(c.ms), c.text) << "ms " << c.ms;

    const std::vector<TextMs> fromText = {
        {"02:500", 2500},
        {"-2:-500", -2500},
        {"-02:500", -2500},
        {"75:000", 75000},
        {"2", 2000},
        {"", 0},
        {"2.5", 2000},
        {" 3: 7", 3007},
        {"2147483:647", kMax},
        {"2147483:648", kMax},
        {"9999999999:0", kMax},
        {"-2147483:-649", kMin},
    };
    for (const auto& c : fromText)
        EXPECT_EQ(DelayTextToMs(c.text), c.ms) << "text \"" << c.text << "\"";
}

TEST(TimeText, SubViewerTime) {
    const std::vector<MsText> toText = {
        {3723045, "01:02:03.04"}, // hundredths, truncated
        {1999, "00:00:01.99"},      {0, "00:00:00.00"},   {9, "00:00:00.00"},
        {-1500, "-00:00:01.50"},    {-10, "-00:00:00.01"}, {kMax, "596:31:23.64"},
        {kMin, "-596:31:23.64"},
    };
    for (const auto& c : toText)
        EXPECT_EQ(MsToSubViewerTime(c.ms), c.text) << "ms " << c.ms;

    const std::vector<TextMs> fromText = {
        {"01:02:03.04", 3723040},
        {"00:00:01.5", 1050}, // the last number counts hundredths whatever its digits
        {"00:00:02.05", 2050},
        {"00:00:01.00", 1000},
        {"00:00:03,50", 3000}, // "," is not ".": hundredths not supplied
        {"00:00:-1.-50", -1500},
        {"-00:00:01.50", -1500},
        {"", 0},
        {"99999999999:00:00.00", kMax},
        {"00:00:00.999999999999", kMax},
        {"-99999999999:00:00.00", kMin},
    };
    for (const auto& c : fromText)
        EXPECT_EQ(SubViewerTimeToMs(c.text), c.ms) << "text \"" << c.text << "\"";
}

TEST(TimeText, MsToFrameTextTruncatesTheExactProduct) {
    struct Case {
        int32_t ms;
        double rate;
        const char* text;
    };
    const std::vector<Case> cases = {
        {1001, 23.976, "23"},   {41, 23.976, "0"},
        {1500, 25, "37"},       {1000, 25, "25"}, // exact products are whole frames, not one low
        {4000, 25, "100"},      {40, 25, "1"},
        {39, 25, "0"},          {0, 25, "0"},
        {33, 29.97, "0"},       {34, 29.97, "1"},
        {-1000, 25, "-25"},     {-1500, 25, "-37"},
        {-41, 23.976, "0"}, // toward zero, and no "-0"
        {kMax, 25, "53687091"}, {kMin, 25, "-53687091"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MsToFrameText(c.ms, c.rate), c.text) << c.ms << " ms at " << c.rate;
}

// Rates and times whose frame does not fit anywhere must still give some text, not undefined
// behaviour (the sanitizer build watches this).
TEST(TimeText, MsToFrameTextSurvivesExtremeRates) {
    const double rates[] = {1e12, -1e12, std::numeric_limits<double>::infinity(),
                            std::numeric_limits<double>::quiet_NaN(), 0.0};
    for (double rate : rates)
        for (int32_t ms : {kMin, -1, 0, 1, kMax})
            EXPECT_FALSE(MsToFrameText(ms, rate).empty()) << ms << " at " << rate;
}

TEST(TimeText, SecondsToTimeText) {
    struct Case {
        float seconds;
        const char* text;
    };
    const std::vector<Case> cases = {
        {2.3f, "00:00:02,299"}, // single precision: 2.3 is a little below
        {3661.5f, "01:01:01,500"},    {0.0f, "00:00:00,000"},   {59.999f, "00:00:59,999"},
        {360000.0f, "100:00:00,000"}, {-1.5f, "-00:00:01,500"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SecondsToTimeText(c.seconds), c.text) << c.seconds;
    // Positions no film has must not be undefined behaviour.
    for (float x : {1e30f, -1e30f, std::numeric_limits<float>::infinity(),
                    std::numeric_limits<float>::quiet_NaN()})
        EXPECT_FALSE(SecondsToTimeText(x).empty());
}

TEST(PerTitleEntry, TimesAndTexts) {
    PerTitle e(3723045, 3725545, "a|b");
    EXPECT_EQ(e.StartText(), "01:02:03,045");
    EXPECT_EQ(e.EndText(), "01:02:05,545");
    EXPECT_EQ(e.Duration(), 2500);
    EXPECT_EQ(e.DurationText(), "02:500");

    PerTitle backwards(3000, 1500, "");
    EXPECT_EQ(backwards.Duration(), -1500);
    EXPECT_EQ(backwards.DurationText(), "-01:500");

    e.Shift(-3723045 - 1000); // no clamping at zero
    EXPECT_EQ(e.Start, -1000);
    EXPECT_EQ(e.End, 1500);
    EXPECT_EQ(e.Text, "a|b");
}

TEST(PerTitleEntry, ArithmeticSaturates) {
    PerTitle e(kMax - 5, kMin + 5, "");
    e.Shift(10);
    EXPECT_EQ(e.Start, kMax);
    EXPECT_EQ(e.End, kMin + 15);
    e.Shift(kMin);
    EXPECT_EQ(e.Start, -1);
    EXPECT_EQ(e.End, kMin);

    EXPECT_EQ(PerTitle(kMin, kMax, "").Duration(), kMax);
    EXPECT_EQ(PerTitle(kMax, kMin, "").Duration(), kMin);
    EXPECT_EQ(PerTitle(kMin, kMax, "").DurationText(), "2147483:647");

    EXPECT_EQ(SaturateMs(int64_t{kMax} + 1), kMax);
    EXPECT_EQ(SaturateMs(int64_t{kMin} - 1), kMin);
    EXPECT_EQ(SaturateMs(std::numeric_limits<int64_t>::min()), kMin);
    EXPECT_EQ(SaturateMs(-42), -42);
    EXPECT_EQ(AddMs(kMax, kMax), kMax);
    EXPECT_EQ(AddMs(kMin, -1), kMin);
    EXPECT_EQ(AddMs(kMax, kMin), -1);
}

TEST(TextHelpers, TrimTextRemovesCodes32AndBelowOnly) {
    struct Case {
        std::string in, out;
    };
    const std::vector<Case> cases = {
        {"  a b  ", "a b"},
        {"\t\r\n a\x01\x1F", "a"},
        {"   ", ""},
        {"", ""},
        {"|", "|"},
        // Bytes above 127 are text, not control characters, in every code page.
        {" \xA5\x7C ", "\xA5\x7C"},
        {"\xA1\x40", "\xA1\x40"},
        {"\xE4\xB8\x80\x20", "\xE4\xB8\x80"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TrimText(c.in), c.out) << "\"" << c.in << "\"";
}

TEST(TextHelpers, IsBlankTextWithCodePage) {
    struct Case {
        std::string text;
        int codePage;
        bool blank;
    };
    const std::vector<Case> cases = {
        {"", kCodePageBig5, true},
        {"   ", kCodePageBig5, true},
        {"\t", kCodePageBig5, true},
        {"\r\n\x01", kCodePageUtf8, true},
        {"|", kCodePageBig5, false},
        {"a", kCodePageBig5, false},
        {"\xA1\x40\xA1\x40", kCodePageBig5, true}, // two full-width spaces
        {" \xA1\x40\t", kCodePageBig5, true},
        {"\xA1\x40\xA5\x7C", kCodePageBig5, false}, // a space and 四
        {"\xA1\xA1", kCodePageBig5, false},         // in Big5 A1 A1 is a visible sign
        {"\xA1\xA1\xA1\xA1", kCodePageGbk, true},   // the full-width space of GBK
        {"\xA1\x40", kCodePageGbk, false},
        {"\x81\x40 \x81\x40", kCodePageShiftJis, true}, // the full-width space of Shift-JIS
        {"\x81\x40\x81\x5B", kCodePageShiftJis, false}, // a space and ー
        {"\xA1\xA1", kCodePageEucKr, true},
        {" \t", kCodePageWindows1252, true},
        {"\xA0x", kCodePageWindows1252, false}, // Windows-1252 has no full-width space
        {"\xE3\x80\x80 \xE3\x80\x80", kCodePageUtf8, true},
        {"\xE3\x80\x80x", kCodePageUtf8, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsBlankText(c.text, c.codePage), c.blank)
            << "\"" << c.text << "\" in " << c.codePage;
}

// The one-argument form decides as a document would: valid UTF-8 is UTF-8, anything else is the
// legacy code page.
TEST(TextHelpers, IsBlankTextGuessesTheCodePage) {
    ASSERT_EQ(LegacyCodePage(), kCodePageBig5);
    EXPECT_TRUE(IsBlankText(""));
    EXPECT_TRUE(IsBlankText(" \t "));
    EXPECT_FALSE(IsBlankText("|"));
    EXPECT_TRUE(IsBlankText("\xA1\x40\xA1\x40"));
    EXPECT_TRUE(IsBlankText("\xE3\x80\x80\xE3\x80\x80"));
    EXPECT_FALSE(IsBlankText("\xA1\xA1"));

    testutil::LegacyCodePageGuard gbk(kCodePageGbk);
    EXPECT_TRUE(IsBlankText("\xA1\xA1"));
    EXPECT_FALSE(IsBlankText("\xA1\x40"));
    EXPECT_TRUE(IsBlankText("\xE3\x80\x80")); // still UTF-8
}

} // namespace
