// SubRip: the reader's rules (blank-line runs, missing number lines, blocks run together, arrows
// without spaces) and the writer's exact bytes.
#include "ModelTestUtil.h"
#include "Subtitle.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace {

using testutil::Doc;
using testutil::DocWith;
using testutil::WrittenSubRip;

using testutil::Entries;
using testutil::EntriesOf;
using testutil::Entry;

Entries Read(const std::string& bytes) {
    SubTitle doc = Doc(bytes, "test.srt");
    EXPECT_TRUE(doc.IsLoaded());
    EXPECT_EQ(doc.FormatName(), "SRT");
    return EntriesOf(doc);
}

const char* const T1 = "00:00:01,000 --> 00:00:02,000";
const char* const T2 = "00:00:03,000 --> 00:00:04,000";
const char* const T3 = "00:00:05,000 --> 00:00:06,000";

std::string Join(const std::vector<std::string>& lines, const std::string& eol) {
    std::string out;
    for (const auto& l : lines)
        out += l + eol;
    return out;
}

TEST(SubRipReader, Rules) {
    struct Case {
        const char* what;
        std::vector<std::string> lines;
        Entries entries;
    };
    const std::vector<Case> cases = {
        {"three blocks",
         {"1", T1, "a", "b", "", "2", T2, "c", "", "3", T3, "d", ""},
         {{1000, 2000, "a|b"}, {3000, 4000, "c"}, {5000, 6000, "d"}}},
        {"blank-line runs before, between and after",
         {"", "", "1", T1, "a", "", "", "", "2", T2, "b", "", "", ""},
         {{1000, 2000, "a"}, {3000, 4000, "b"}}},
        {"numbers out of order, repeated or 0",
         {"7", T1, "a", "", "0", T2, "b", "", "0", T3, "c"},
         {{1000, 2000, "a"}, {3000, 4000, "b"}, {5000, 6000, "c"}}},
        {"number lines with spaces, signs and in hexadecimal",
         {" 1 ", T1, "a", "", "-2", T2, "b", "", "$1F", T3, "c", "", "0x1F", T1, "d"},
         {{1000, 2000, "a"}, {3000, 4000, "b"}, {5000, 6000, "c"}, {1000, 2000, "d"}}},
        {"no number lines at all",
         {T1, "a", "", T2, "b", "b2", "", T3, "c"},
         {{1000, 2000, "a"}, {3000, 4000, "b|b2"}, {5000, 6000, "c"}}},
        {"one number line missing",
         {"1", T1, "a", "", T2, "b", "", "3", T3, "c"},
         {{1000, 2000, "a"}, {3000, 4000, "b"}, {5000, 6000, "c"}}},
        {"a number line whose next line has no arrow is dropped",
         {"1", "hello", "world", "", "2", T2, "b"},
         {{3000, 4000, "b"}}},
        {"two blocks without a blank line make one entry",
         {"1", T1, "a", "2", T2, "b", "", "3", T3, "c"},
         {{1000, 2000, std::string("a|2|") + T2 + "|b"}, {5000, 6000, "c"}}},
        {"a blank line after the time line is the caption's first line",
         {"1", T1, "", "kept", "", "2", T2, "b"},
         {{1000, 2000, "|kept"}, {3000, 4000, "b"}}},
        {"a blank line between two languages stays in the caption",
         {"1", T1, "\xE4\xBD\xA0\xE5\xA5\xBD", "", "Hello", "", "2", T2, "b"},
         {{1000, 2000, "\xE4\xBD\xA0\xE5\xA5\xBD||Hello"}, {3000, 4000, "b"}}},
        {"each blank line inside a caption is one empty line",
         {"1", T1, "a", "", "", "b", "", "c", "", "", "2", T2, "d"},
         {{1000, 2000, "a|||b||c"}, {3000, 4000, "d"}}},
        {"a time line after blank lines begins a block without a number",
         {"1", T1, "a", "", "", T2, "b"},
         {{1000, 2000, "a"}, {3000, 4000, "b"}}},
        {"a number line after a blank line without a time line after it is text",
         {"1", T1, "a", "", "42", "b", "", "7", "", "2", T2, "c"},
         {{1000, 2000, "a||42|b||7"}, {3000, 4000, "c"}}},
        {"lines before the first block belong to no entry",
         {"Title", "", "by someone", "", "1", T1, "a"},
         {{1000, 2000, "a"}}},
        {"a text line that is a number starts a block",
         {"1", T1, "", "42", T2, "b"},
         {{1000, 2000, ""}, {3000, 4000, "b"}}},
        {"a line of spaces inside a caption stays as it is, like other spaces",
         {"1", T1, "  a  ", "   ", "b", "", "2", T2, "\tc"},
         {{1000, 2000, "  a  |   |b"}, {3000, 4000, "\tc"}}},
        {"a time line as the last line gives an empty text", {"1", T1}, {{1000, 2000, ""}}},
        {"a number line as the last line belongs to the entry before",
         {"1", T1, "a", "", "2"},
         {{1000, 2000, "a||2"}}},
        {"blank lines at the end belong to nothing",
         {"1", T1, "a", "", "", " "},
         {{1000, 2000, "a"}}},
        {"arrow without spaces", {"1", "00:00:01,000-->00:00:02,000", "a"}, {{1000, 2000, "a"}}},
        {"arrow without spaces, end with two-digit hours",
         {"1", "10:00:00,000-->11:00:00,000", "a"},
         {{36000000, 39600000, "a"}}},
        {"what follows the end time is ignored",
         {"1", "00:00:01,000 --> 00:00:02,000 X1:40 X2:600 Y1:20 Y2:50", "a"},
         {{1000, 2000, "a"}}},
        {"a dot before the milliseconds counts as the comma",
         {"1", "00:00:03.766 --> 00:00:04,5", "a", "", "2", "00:00:05.05-->00:00:06.007", "b"},
         {{3766, 4005, "a"}, {5005, 6007, "b"}}},
        {"dots elsewhere count as before",
         {"1", "00.00:03,766 --> 00:01.02", "a"},
         {{0, 60000, "a"}}},
        {"short milliseconds are milliseconds",
         {"1", "00:00:01,5 --> 00:00:02,04", "a"},
         {{1005, 2004, "a"}}},
        {"negative fields", {"1", "00:00:-1,-500 --> 00:00:00,500", "a"}, {{-1500, 500, "a"}}},
        {"a minus before the hours alone negates the whole time",
         {"1", "-00:00:06,843 --> -00:00:02.850", "a", "", "2", " -1:30:00,000 --> 00:00:00,001",
          "b"},
         {{-6843, -2850, "a"}, {-5400000, 1, "b"}}},
        {"hours beyond the range saturate",
         {"1", "99999999999:00:00,000 --> -99999999999:00:00,000", "a"},
         {{2147483647, -2147483647 - 1, "a"}}},
        {"blank lines only", {"", "  ", ""}, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Read(Join(c.lines, "\n")), c.entries) << c.what << " (LF)";
        EXPECT_EQ(Read(Join(c.lines, "\r\n")), c.entries) << c.what << " (CR LF)";
    }
}

TEST(SubRipReader, LastBlockWithoutLineEnd) {
    EXPECT_EQ(Read(std::string("1\n") + T1 + "\na\nb"), (Entries{{1000, 2000, "a|b"}}));
    EXPECT_EQ(Read(std::string("1\r\n") + T1 + "\r\na\r\nb\r\n"), (Entries{{1000, 2000, "a|b"}}));
}

TEST(SubRipReader, ByteOrderMarkDoesNotCostTheFirstEntry) {
    SubTitle doc = Doc(std::string("\xEF\xBB\xBF"
                                   "1\r\n") +
                       T1 + "\r\na\r\n\r\n2\r\n" + T2 + "\r\nb\r\n");
    EXPECT_EQ(EntriesOf(doc), (Entries{{1000, 2000, "a"}, {3000, 4000, "b"}}));
    EXPECT_EQ(doc.Encoding(), FileEncoding::Utf8Bom);
    EXPECT_EQ(doc.CodePage(), kCodePageUtf8);
}

TEST(SubRipReader, OldMacLineEnds) {
    SubTitle doc = Doc(std::string("1\r") + T1 + "\ra\r\r2\r" + T2 + "\rb\r\r\n");
    EXPECT_EQ(EntriesOf(doc), (Entries{{1000, 2000, "a"}, {3000, 4000, "b"}}));
}

TEST(SubRipReader, Big5TextKeepsItsBytes) {
    // 四 A5 7C and 帆 A6 7C end in "|": they stay whole characters, not line breaks.
    SubTitle doc = Doc(std::string("1\r\n") + T1 + "\r\n\xA5\x7C\xA6\x7C\r\n\xA5\x5C\r\n");
    EXPECT_EQ(doc.CodePage(), kCodePageBig5);
    EXPECT_EQ(EntriesOf(doc), (Entries{{1000, 2000, "\xA5\x7C\xA6\x7C|\xA5\x5C"}}));
}

// ---- Writer ----

TEST(SubRipWriter, ExactBytes) {
    const SubTitle doc = DocWith({PerTitle(1000, 2000, "a|b"), PerTitle(3000, 4000, "")});
    bool ok = false;
    EXPECT_EQ(WrittenSubRip(doc, 0, false, 0, 0, 1, &ok),
              "1\r\n00:00:01,000 --> 00:00:02,000\r\na\r\nb\r\n\r\n"
              "2\r\n00:00:03,000 --> 00:00:04,000\r\n\r\n\r\n");
    EXPECT_TRUE(ok);
}

TEST(SubRipWriter, Options) {
    const SubTitle doc = DocWith({PerTitle(1000, 2000, "a"), PerTitle(2500, 2600, " \xA1\x40 "),
                                  PerTitle(3000, 4000, "c"), PerTitle(5000, 6000, "a||b")},
                                 "test.srt", true);
    struct Case {
        const char* what;
        int first, last;
        bool skipBlank;
        int32_t offset;
        int numberBase;
        std::string out;
    };
    const std::vector<Case> cases = {
        {"skip blank keeps the numbers consecutive", 0, 2, true, 0, 0,
         "1\r\n00:00:01,000 --> 00:00:02,000\r\na\r\n\r\n"
         "2\r\n00:00:03,000 --> 00:00:04,000\r\nc\r\n\r\n"},
        {"without skipping the full-width space is written", 1, 1, false, 0, 0,
         "1\r\n00:00:02,500 --> 00:00:02,600\r\n \xA1\x40 \r\n\r\n"},
        {"number base", 2, 2, false, 0, 9, "10\r\n00:00:03,000 --> 00:00:04,000\r\nc\r\n\r\n"},
        {"negative offset", 0, 0, false, -2000, 0,
         "1\r\n-00:00:01,000 --> 00:00:00,000\r\na\r\n\r\n"},
        {"offset saturates", 0, 0, false, 2147483647, 0,
         "1\r\n596:31:23,647 --> 596:31:23,647\r\na\r\n\r\n"},
        {"an empty caption line inside a text", 3, 3, false, 0, 0,
         "1\r\n00:00:05,000 --> 00:00:06,000\r\na\r\n\r\nb\r\n\r\n"},
        {"nothing when last is below first", 2, 1, false, 0, 0, ""},
    };
    for (const auto& c : cases) {
        bool ok = false;
        EXPECT_EQ(WrittenSubRip(doc, c.first, c.skipBlank, c.offset, c.numberBase, c.last, &ok),
                  c.out)
            << c.what;
        EXPECT_TRUE(ok) << c.what;
    }
}

TEST(SubRipWriter, Big5CharacterEndingInPipeIsNotALineBreak) {
    const std::string si = "\xA5\x7C", yi = "\xA4\x7C", fan = "\xA6\x7C";
    const SubTitle doc = DocWith({PerTitle(0, 1000, si + yi + "|" + fan)}, "test.srt", true);
    EXPECT_EQ(WrittenSubRip(doc, 0, false, 0, 0, 0),
              "1\r\n00:00:00,000 --> 00:00:01,000\r\n" + si + yi + "\r\n" + fan + "\r\n\r\n");
}

TEST(SubRipWriter, FailsOnARangeOutsideOrAFailedWrite) {
    const SubTitle doc = DocWith({PerTitle(0, 1000, "a"), PerTitle(1000, 2000, "b")});
    bool ok = true;
    WrittenSubRip(doc, 0, false, 0, 0, 2, &ok);
    EXPECT_FALSE(ok);
    WrittenSubRip(doc, -1, false, 0, 0, 0, &ok);
    EXPECT_FALSE(ok);

    testutil::LimitedBuf buf(10);
    std::ostream out(&buf);
    EXPECT_FALSE(WriteSubRip(doc, out, 0, false, 0, 0, 1));
    EXPECT_EQ(buf.data.size(), 10u);
}

// What the writer writes, the reader reads back the same, empty lines inside captions included;
// only empty lines at a caption's end cannot be told from the blank line after it.
TEST(SubRipWriter, ReadsBackWhatItWrote) {
    const SubTitle doc =
        DocWith({PerTitle(-1500, 500, "neg"), PerTitle(-3000, -1, "both"),
                 PerTitle(360000000, 360000001, "x|y"),
                 PerTitle(7, 3, "backwards"), PerTitle(8, 9, "zh||en"), PerTitle(9, 10, "|after"),
                 PerTitle(10, 11, "1||2")});
    const std::string written = WrittenSubRip(doc, 0, false, 0, 0, 6);
    // The minus in front, as other programs read it.
    EXPECT_NE(written.find("\r\n-00:00:03,000 --> -00:00:00,001\r\n"), std::string::npos) << written;
    SubTitle back = Doc(written);
    EXPECT_EQ(EntriesOf(back), EntriesOf(doc));
}

} // namespace
