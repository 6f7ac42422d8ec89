// MicroDVD: frames to milliseconds and back without losing a frame, the text after the frame
// fields and leading style codes, and the writer's exact bytes.
#include "ModelTestUtil.h"
#include "Subtitle.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <tuple>
#include <vector>

namespace {

using testutil::DocWith;

using Entry = std::tuple<int32_t, int32_t, std::string>;
using Entries = std::vector<Entry>;

constexpr int32_t kMax = std::numeric_limits<int32_t>::max();

Entries Read(const std::string& bytes, double rate) {
    SubTitle doc = SubTitle::FromBytes(bytes, "test.sub", rate);
    EXPECT_TRUE(doc.IsLoaded());
    EXPECT_EQ(doc.FormatName(), "MSUB");
    EXPECT_DOUBLE_EQ(doc.FrameRate(), rate);
    Entries out;
    for (const PerTitle& e : doc.Entries())
        out.emplace_back(e.Start, e.End, e.Text);
    return out;
}

std::string Written(const SubTitle& doc, int first, bool skipBlank, int32_t offset, double rate,
                    int last, bool* ok = nullptr) {
    std::ostringstream out;
    bool r = WriteMicroDVD(doc, out, first, skipBlank, offset, rate, last);
    if (ok) *ok = r;
    return out.str();
}

TEST(MicroDVDReader, LinesAt25) {
    struct Case {
        const char* line;
        Entries entries;
    };
    const std::vector<Case> cases = {
        {"{0}{25}Hello", {{0, 1000, "Hello"}}},
        {"{25}{50}a|b", {{1000, 2000, "a|b"}}},
        {"{1}{50}{y:i}Hello", {{40, 2000, "Hello"}}},
        {"{1}{50}Hello {y:i}World", {{40, 2000, "Hello {y:i}World"}}}, // later braces are text
        {"{1}{50}{Y:i}{y:b}{y:u}Hello {c:$0000ff}x", {{40, 2000, "Hello {c:$0000ff}x"}}},
        {"{1}{50}a}b", {{40, 2000, "a}b"}}},
        {"{1}{1}23.976", {{40, 40, "23.976"}}},
        {"{1}{50}", {{40, 2000, ""}}},
        {"{1}{50}  spaced  ", {{40, 2000, "  spaced  "}}}, // not trimmed
        {"{-164}{-68}back", {{-6560, -2720, "back"}}},
        {"{ 5}{+10}signs", {{200, 400, "signs"}}},
        {"{99999999999999999999}{1}huge", {{kMax, 40, "huge"}}},
        {"Hello", {{0, 0, "Hello"}}}, // no frame fields: times not supplied count 0
        {"", {}},
        {"   \t", {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Read(std::string(c.line) + "\n", 25.0), c.entries) << c.line;
        EXPECT_EQ(Read(std::string(c.line) + "\r\n", 25.0), c.entries) << c.line << " CR LF";
    }
}

TEST(MicroDVDReader, FramesBecomeTheFirstMillisecondInsideThem) {
    EXPECT_EQ(Read("{24}{48}Hi\r\n", 23.976), (Entries{{1002, 2003, "Hi"}}));
    EXPECT_EQ(Read("{25}{50}Hi\r\n", 25.0), (Entries{{1000, 2000, "Hi"}}));
    EXPECT_EQ(Read("{1}{2}x\n", 29.97), (Entries{{34, 67, "x"}}));

    struct Case {
        int64_t frame;
        double rate;
        int32_t ms;
    };
    const std::vector<Case> cases = {
        {0, 23.976, 0}, {24, 23.976, 1002}, {48, 23.976, 2003}, {25, 25, 1000},
        {1, 25, 40},    {1, 29.97, 34},     {2997, 30, 99900},  {INT64_MAX, 25, kMax},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FrameToMs(c.frame, c.rate), c.ms) << c.frame << " at " << c.rate;
}

// Reading a frame and writing it back gives the same frame, over hours of frames, and the
// millisecond read is the first of its frame.
TEST(MicroDVDReader, EveryFrameComesBack) {
    for (double rate : {23.976, 24.0, 25.0, 29.97, 30.0, 59.94}) {
        for (int64_t f = 0; f <= 200000; ++f) { // over two hours
            int32_t ms = FrameToMs(f, rate);
            ASSERT_EQ(MsToFrameText(ms, rate), std::to_string(f))
                << "frame " << f << " at " << rate;
            if (f > 0) {
                ASSERT_EQ(MsToFrameText(ms - 1, rate), std::to_string(f - 1))
                    << "frame " << f << " at " << rate << " starts before " << ms;
            }
        }
    }
}

// Files with negative frames exist (shifted too far); they must come back as well.
TEST(MicroDVDReader, NegativeFramesComeBack) {
    for (double rate : {23.976, 25.0, 29.97}) {
        for (int64_t f = -50000; f < 0; ++f) {
            ASSERT_EQ(MsToFrameText(FrameToMs(f, rate), rate), std::to_string(f))
                << "frame " << f << " at " << rate;
        }
    }
}

TEST(MicroDVDReader, Big5TextWithBraceAndPipeTrailBytes) {
    // A5 7D and 四 A5 7C: their second bytes are "}" and "|".
    SubTitle doc = SubTitle::FromBytes("{1}{50}{y:i}\xA5\x7D\xA5\x7C|a\r\n", "test.sub", 25.0);
    ASSERT_EQ(doc.Count(), 1);
    EXPECT_EQ(doc.CodePage(), kCodePageBig5);
    EXPECT_EQ(doc.Item(0)->Text, "\xA5\x7D\xA5\x7C|a");
}

TEST(MicroDVDReader, StatedFrameRate) {
    struct Case {
        std::string bytes;
        std::optional<double> rate;
    };
    const std::vector<Case> cases = {
        {"{1}{1}23.976\r\n{24}{48}Hi\r\n", 23.976},
        {"{0}{0}25\n", 25.0},
        {"{1}{1} 29.97 \n", 29.97},
        {"\xEF\xBB\xBF{1}{1}30\n", 30.0},
        {"\n  \n{1}{1}24\n", 24.0}, // the first line that is not blank
        {"{24}{48}Hi\n{1}{1}23.976\n", std::nullopt},
        {"{1}{2}23.976\n", std::nullopt},
        {"{5}{5}25\n", std::nullopt},
        {"{1}{1}23.976 fps\n", std::nullopt},
        {"{1}{1}0\n", std::nullopt},
        {"{1}{1}-25\n", std::nullopt},
        {"{1}{1}\n", std::nullopt},
        {"{1}{1}{y:i}25\n", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(StatedFrameRate(TextSource::FromBytes(c.bytes)), c.rate) << c.bytes;
}

// The question with a proposal is told the rate the file states; the line stating it stays an
// entry. The question without one is asked as before.
TEST(MicroDVDReader, FrameRateQuestionHearsTheStatedRate) {
    struct Case {
        std::string bytes;
        std::optional<double> proposed;
        int entries;
    };
    for (const Case& c : {Case{"{1}{1}23.976\r\n{24}{48}Hi\r\n", 23.976, 2},
                          Case{"{24}{48}Hi\r\n", std::nullopt, 1}}) {
        int asked = 0;
        std::optional<double> heard = -1.0;
        SubTitle doc =
            SubTitle::FromBytes(c.bytes, "film.sub", 25.0, [&](std::optional<double> proposed) {
                ++asked;
                heard = proposed;
                return std::optional<std::string>("23.976");
            });
        EXPECT_EQ(asked, 1);
        EXPECT_EQ(heard, c.proposed);
        ASSERT_EQ(doc.Count(), c.entries);
        EXPECT_DOUBLE_EQ(doc.FrameRate(), 23.976);
        EXPECT_EQ(doc.Item(c.entries - 1)->Start, FrameToMs(24, 23.976));
        if (c.entries == 2) {
            EXPECT_EQ(doc.Item(0)->Text, "23.976");
        }
    }
    // Cancelled: nothing is loaded.
    SubTitle cancelled =
        SubTitle::FromBytes("{1}{1}25\n", "film.sub", 25.0,
                            [](std::optional<double>) { return std::optional<std::string>(); });
    EXPECT_FALSE(cancelled.IsLoaded());
}

TEST(MicroDVDReader, BlankLinesOnlyGiveAnEmptyDocument) {
    EXPECT_EQ(Read("\n\n  \n", 25.0), Entries{});
}

// ---- Writer ----

TEST(MicroDVDWriter, ExactBytes) {
    const SubTitle doc =
        DocWith({PerTitle(1002, 2003, "Hi"), PerTitle(1000, 2000, "a|b"),
                 PerTitle(3000, 4000, "\xA1\x40\xA1\x40"), PerTitle(5000, 6000, "{y:i}x")},
                "test.srt", true);
    struct Case {
        const char* what;
        int first, last;
        bool skipBlank;
        int32_t offset;
        double rate;
        std::string out;
    };
    const std::vector<Case> cases = {
        {"23.976", 0, 0, false, 0, 23.976, "{24}{48}Hi\r\n"},
        {"the text is written unchanged", 1, 3, false, 0, 25,
         "{25}{50}a|b\r\n{75}{100}\xA1\x40\xA1\x40\r\n{125}{150}{y:i}x\r\n"},
        {"skip blank leaves out full-width spaces", 1, 3, true, 0, 25,
         "{25}{50}a|b\r\n{125}{150}{y:i}x\r\n"},
        {"offset", 1, 1, false, -2000, 25, "{-25}{0}a|b\r\n"},
        {"another rate", 1, 1, false, 0, 50, "{50}{100}a|b\r\n"},
        {"nothing when last is below first", 2, 1, false, 0, 25, ""},
    };
    for (const auto& c : cases) {
        bool ok = false;
        EXPECT_EQ(Written(doc, c.first, c.skipBlank, c.offset, c.rate, c.last, &ok), c.out)
            << c.what;
        EXPECT_TRUE(ok) << c.what;
    }
}

TEST(MicroDVDWriter, FailsOnARangeOutsideOrAFailedWrite) {
    const SubTitle doc = DocWith({PerTitle(0, 1000, "a"), PerTitle(1000, 2000, "b")});
    bool ok = true;
    Written(doc, 0, false, 0, 25, 2, &ok);
    EXPECT_FALSE(ok);
    testutil::LimitedBuf buf(5);
    std::ostream out(&buf);
    EXPECT_FALSE(WriteMicroDVD(doc, out, 0, false, 0, 25, 1));
}

// A file of CR LF lines read and written back at its own rate is the same file.
TEST(MicroDVDWriter, UnchangedFileRoundTrips) {
    for (double rate : {23.976, 25.0, 29.97}) {
        std::string file;
        for (int f = 0; f < 30000; f += 7)
            file += "{" + std::to_string(f) + "}{" + std::to_string(f + 13) + "}line " +
                    std::to_string(f) + "|two {y:i}\r\n";
        SubTitle doc = SubTitle::FromBytes(file, "film.sub", rate);
        ASSERT_EQ(doc.Count(), 30000 / 7 + 1);
        EXPECT_EQ(Written(doc, 0, false, 0, doc.FrameRate(), doc.Count() - 1), file) << rate;
    }
}

} // namespace
