// SubViewer: the header, "[BR]" line breaks, full-width spaces, and the writer's header and
// centring by display width.
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

const std::string kHeader = "[INFORMATION]\r\n[TITLE]x\r\n[END INFORMATION]\r\n[SUBTITLE]\r\n"
                            "[COLF]&HFFFFFF,[STYLE]bd,[SIZE]18,[FONT]Sans\r\n";

Entries EntriesOf(const SubTitle& doc) {
    Entries out;
    for (const PerTitle& e : doc.Entries())
        out.emplace_back(e.Start, e.End, e.Text);
    return out;
}

Entries Read(const std::string& bytes) {
    int asked = 0;
    SubTitle doc = SubTitle::FromBytes(bytes, "test.sub", 25.0, [&] {
        ++asked;
        return std::optional<std::string>("25");
    });
    EXPECT_EQ(asked, 0);
    EXPECT_TRUE(doc.IsLoaded());
    EXPECT_EQ(doc.FormatName(), "SSUB");
    return EntriesOf(doc);
}

std::string Written(const SubTitle& doc, int first, bool skipBlank, int32_t offset, bool centre,
                    int last, bool* ok = nullptr) {
    std::ostringstream out;
    bool r = WriteSubViewer(doc, out, first, skipBlank, offset, centre, last);
    if (ok) *ok = r;
    return out.str();
}

std::vector<std::string> SplitCrLf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t pos = 0, eol;
    while ((eol = text.find("\r\n", pos)) != std::string::npos) {
        lines.push_back(text.substr(pos, eol - pos));
        pos = eol + 2;
    }
    EXPECT_EQ(pos, text.size()) << "every line ends with CR LF";
    return lines;
}

TEST(SubViewerReader, Entries) {
    struct Case {
        const char* what;
        std::string body;
        Entries entries;
    };
    const std::vector<Case> cases = {
        {"plain", "00:00:01.00,00:00:03.50\r\na\r\n\r\n", {{1000, 3500, "a"}}},
        {"short hundredths", "00:00:01.5,00:00:02.05\r\na\r\n", {{1050, 2050, "a"}}},
        {"[BR]", "00:00:01.00,00:00:02.00\r\na[BR]b\r\n", {{1000, 2000, "a|b"}}},
        {"[br]", "00:00:01.00,00:00:02.00\r\na[br]b\r\n", {{1000, 2000, "a|b"}}},
        {"[Br] and [bR] too",
         "00:00:01.00,00:00:02.00\r\na[Br]b[bR]c\r\n",
         {{1000, 2000, "a|b|c"}}},
        {"[BR without its bracket is text",
         "00:00:01.00,00:00:02.00\r\na[BR b[B]\r\n",
         {{1000, 2000, "a[BR b[B]"}}},
        {"leading [BR]", "00:00:01.00,00:00:02.00\r\n[BR]a\r\n", {{1000, 2000, "a"}}},
        {"trailing [BR]", "00:00:01.00,00:00:02.00\r\na[BR]\r\n", {{1000, 2000, "a|"}}},
        {"double [BR]", "00:00:01.00,00:00:02.00\r\na[BR][BR]b\r\n", {{1000, 2000, "a||b"}}},
        {"pieces trimmed", "00:00:01.00,00:00:02.00\r\n  a  [BR]   b \r\n", {{1000, 2000, "a|b"}}},
        {"full-width spaces removed",
         "00:00:01.00,00:00:02.00\r\n\xE3\x80\x80"
         "a\xE3\x80\x80"
         "b\r\n",
         {{1000, 2000, "ab"}}},
        {"blank lines skipped",
         "00:00:01.00,00:00:02.00\r\na\r\n\r\n \r\n\r\n00:00:03.00,00:00:04.00\r\nb\r\n\r\n\r\n",
         {{1000, 2000, "a"}, {3000, 4000, "b"}}},
        {"a line without a comma is dropped",
         "junk\r\n00:00:01.00,00:00:02.00\r\na\r\n",
         {{1000, 2000, "a"}}},
        {"further text lines are further caption lines",
         "00:00:01.00,00:00:02.00\r\na\r\n b[br]c \r\nd, e\r\n\r\n00:00:03.00,00:00:04.00\r\nf\r\n",
         {{1000, 2000, "a|b|c|d, e"}, {3000, 4000, "f"}}},
        {"a time line right after the text starts an entry",
         "00:00:01.00,00:00:02.00\r\na\r\n00:00:03.00,00:00:04.00\r\nb\r\n",
         {{1000, 2000, "a"}, {3000, 4000, "b"}}},
        {"a line after an empty text line is still the caption's",
         "00:00:01.00,00:00:02.00\r\n\r\nkept\r\n\r\n00:00:03.00,00:00:04.00\r\n\r\n",
         {{1000, 2000, "kept"}, {3000, 4000, ""}}},
        {"a time line at the end", "00:00:01.00,00:00:02.00", {{1000, 2000, ""}}},
        {"negative times", "00:00:-1.-50,00:00:00.50\r\na\r\n", {{-1500, 500, "a"}}},
        {"a minus before the hours alone",
         "-00:00:06.84,-00:00:02.85\r\na\r\n",
         {{-6840, -2850, "a"}}},
        {"huge times saturate",
         "99999999999:00:00.00,00:00:00.999999999999\r\na\r\n",
         {{2147483647, 2147483647, "a"}}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Read(kHeader + c.body), c.entries) << c.what;
}

TEST(SubViewerReader, HeaderOnly) {
    // Every line begins with "[": the last is read as an entry line.
    EXPECT_EQ(Read("[INFORMATION]\r\n[a],[b]\r\n"), (Entries{{0, 0, ""}}));
    EXPECT_EQ(Read("[INFORMATION]\r\n[a],[b]\r\n\r\n \r\n"), (Entries{{0, 0, ""}}));
    EXPECT_EQ(Read("[INFORMATION]\r\n[SUBTITLE]\r\n"), Entries{});
}

// Other programs leave blank lines in the header and after it; the header still ends only at the
// first line that does not begin with "[", so that its "[COLF]...," line is no entry.
TEST(SubViewerReader, BlankLinesInAndAfterTheHeader) {
    for (const char* eol : {"\r\n", "\n"}) {
        std::string bytes;
        for (const char* line :
             {"[INFORMATION]", "", "[TITLE]", "  ", "[END INFORMATION]", "[SUBTITLE]",
              "[COLF]&HFFFFFF,[STYLE]bd,[SIZE]18,[FONT]Sans", "", "", "00:00:01.00,00:00:02.00",
              "a[br]b", "", "00:00:03.00,00:00:04.00", "c"})
            bytes += std::string(line) + eol;
        EXPECT_EQ(Read(bytes), (Entries{{1000, 2000, "a|b"}, {3000, 4000, "c"}}))
            << (eol[0] == '\r' ? "CR LF" : "LF");
    }
}

TEST(SubViewerReader, Big5FullWidthSpacesAndMarkers) {
    SubTitle doc = SubTitle::FromBytes("[INFORMATION]\r\n00:00:01.00,00:00:02.00\r\n"
                                       "\xA1\x40\xA5\x7C\xA1\x40[BR]\xA4\xA1\x40\r\n",
                                       "test.sub", 25.0);
    ASSERT_EQ(doc.CodePage(), kCodePageBig5);
    // The spaces around 四 go; A4 A1 followed by "@" holds no full-width space.
    EXPECT_EQ(EntriesOf(doc), (Entries{{1000, 2000, "\xA5\x7C|\xA4\xA1\x40"}}));
}

TEST(SubViewerReader, Big5CharacterEndingInBracketIsNoBreak) {
    // A5 5B ends in "[": followed by "BR]" (in any case) it looks like a break to a byte search.
    SubTitle doc = SubTitle::FromBytes("[INFORMATION]\r\n00:00:01.00,00:00:02.00\r\n\xA5\x5B"
                                       "BR]x[BR]y\xA5\x5B"
                                       "bR]z[Br]w\r\n",
                                       "test.sub", 25.0);
    ASSERT_EQ(doc.CodePage(), kCodePageBig5);
    EXPECT_EQ(EntriesOf(doc), (Entries{{1000, 2000,
                                        "\xA5\x5B"
                                        "BR]x|y\xA5\x5B"
                                        "bR]z|w"}}));
}

TEST(SubViewerReader, ByteOrderMarkBeforeTheHeader) {
    EXPECT_EQ(Read("\xEF\xBB\xBF[INFORMATION]\r\n00:00:01.00,00:00:02.00\r\na\r\n"),
              (Entries{{1000, 2000, "a"}}));
}

// ---- Writer ----

TEST(SubViewerWriter, Header) {
    for (bool big5 : {false, true}) {
        const SubTitle doc = DocWith({}, "dir/film.sub", big5);
        bool ok = false;
        std::vector<std::string> lines = SplitCrLf(Written(doc, 0, false, 0, false, -1, &ok));
        EXPECT_TRUE(ok);
        const std::string font =
            big5 ? "\xBC\xD0\xB7\xA2\xC5\xE9" : "\xE6\xA8\x99\xE6\xA5\xB7\xE9\xAB\x94"; // 標楷體
        const std::vector<std::string> want = {
            "[INFORMATION]",
            "[TITLE]dir/film.sub",
            "[AUTHOR]Output By Velitra v0.5",
            "[SOURCE]",
            "", // the date
            "[VERSION]",
            "[PRG]",
            "[FILEPATH]",
            "[DELAY]0",
            "[CD TRACK]0",
            "[COMMENT]Kestrow Group.",
            "[END INFORMATION]",
            "[SUBTITLE]",
            "[COLF]&HFFFFFF,[STYLE]bd,[SIZE]24,[FONT]" + font,
            "00:00:00.00,00:00:00.10",
            "",
            "",
        };
        ASSERT_EQ(lines.size(), want.size()) << (big5 ? "Big5" : "UTF-8");
        for (std::size_t i = 0; i < want.size(); ++i) {
            if (i == 4)
                EXPECT_EQ(lines[i].rfind("[DATE]", 0), 0u) << lines[i];
            else
                EXPECT_EQ(lines[i], want[i]) << "line " << i + 1;
        }
    }
}

TEST(SubViewerWriter, Entries) {
    const std::string si = "\xA5\x7C", yi = "\xA4\x7C", fan = "\xA6\x7C"; // Big5, "|" second
    const std::string siUtf8 = "\xE5\x9B\x9B";
    struct Case {
        const char* what;
        PerTitle entry;
        bool big5, centre;
        std::string text;
    };
    const std::vector<Case> cases = {
        {"lines joined", PerTitle(0, 0, "abc|d"), false, false, "abc[br]d"},
        {"centred", PerTitle(0, 0, "abc|d"), false, true, "abc[br] d"},
        {"half a space rounds up", PerTitle(0, 0, "ab|c"), false, true, "ab[br] c"},
        {"pieces trimmed", PerTitle(0, 0, " a |b "), false, false, "a[br]b"},
        {"empty line", PerTitle(0, 0, "a||b"), false, false, "a[br][br]b"},
        {"one line is not trimmed", PerTitle(0, 0, "  a "), false, true, "  a "},
        {"Big5 double width", PerTitle(0, 0, si + yi + fan + "|" + si), true, true,
         si + yi + fan + "[br]  " + si},
        {"Big5 mixed widths", PerTitle(0, 0, si + "|a"), true, true, si + "[br] a"},
        {"Big5 trail byte is no break", PerTitle(0, 0, si + fan), true, true, si + fan},
        {"UTF-8 by width, not bytes", PerTitle(0, 0, siUtf8 + siUtf8 + siUtf8 + "|" + siUtf8),
         false, true, siUtf8 + siUtf8 + siUtf8 + "[br]  " + siUtf8},
    };
    const std::size_t headerSize = Written(DocWith({}, "test.sub"), 0, false, 0, false, -1).size();
    for (const auto& c : cases) {
        PerTitle e = c.entry;
        e.Start = 1000;
        e.End = 3500;
        const SubTitle doc = DocWith({e}, "test.sub", c.big5);
        std::string out = Written(doc, 0, false, 0, c.centre, 0);
        ASSERT_GE(out.size(), headerSize) << c.what;
        // The header of the Big5 document has its font name in Big5, 3 bytes shorter.
        std::string body = out.substr(out.find("00:00:01.00,"));
        EXPECT_EQ(body, "00:00:01.00,00:00:03.50\r\n" + c.text + "\r\n\r\n") << c.what;
    }
}

TEST(SubViewerWriter, RangeSkipAndOffset) {
    const SubTitle doc = DocWith({PerTitle(1000, 2000, "a"), PerTitle(2000, 3000, "\xE3\x80\x80 "),
                                  PerTitle(3000, 4000, "c")},
                                 "test.sub");
    const std::string header = Written(doc, 0, false, 0, false, -1);
    bool ok = false;
    EXPECT_EQ(Written(doc, 0, true, -1500, false, 2, &ok),
              header + "-00:00:00.50,00:00:00.50\r\na\r\n\r\n00:00:01.50,00:00:02.50\r\nc\r\n\r\n");
    EXPECT_TRUE(ok);
    EXPECT_EQ(Written(doc, 1, false, 0, false, 1),
              header + "00:00:02.00,00:00:03.00\r\n\xE3\x80\x80 \r\n\r\n");
    EXPECT_EQ(Written(doc, 2, false, 0, false, 1, &ok), header);
    EXPECT_TRUE(ok);

    Written(doc, 0, false, 0, false, 3, &ok);
    EXPECT_FALSE(ok);
    testutil::LimitedBuf buf(30);
    std::ostream out(&buf);
    EXPECT_FALSE(WriteSubViewer(doc, out, 0, false, 0, false, 2));
}

// A file written here reads back with the fixed empty entry in front; written again without
// skipping blanks those entries pile up, with skipping they do not.
// The header's placeholder (the first time line, 0 to 100 ms, no text) is no entry: a written
// document reads back as itself, again and again, also one whose own first entry looks like it.
TEST(SubViewerWriter, ReadsBackWhatItWrote) {
    const std::vector<Entries> documents = {
        {},
        {{1000, 2000, "a|b"}},
        {{0, 100, ""}, {1000, 2000, "a"}},
        {{-1500, 500, "neg"}, {-20, -10, "both"}, {360000000, 360000010, "x"}},
    };
    for (const Entries& entries : documents) {
        std::vector<PerTitle> list;
        for (const auto& [start, end, text] : entries)
            list.emplace_back(start, end, text);
        const SubTitle doc = DocWith(list, "test.sub");
        SubTitle once = SubTitle::FromBytes(Written(doc, 0, false, 0, false, doc.Count() - 1),
                                            "test.sub", 25.0);
        EXPECT_EQ(EntriesOf(once), entries);
        SubTitle twice = SubTitle::FromBytes(Written(once, 0, false, 0, false, once.Count() - 1),
                                             "test.sub", 25.0);
        EXPECT_EQ(EntriesOf(twice), entries);
    }
    // Only the placeholder itself: a first line of 0 to 100 ms with a text is an entry, and so is
    // an empty one that is not the first time line.
    EXPECT_EQ(Read(kHeader + "00:00:00.00,00:00:00.10\r\nhi\r\n"), (Entries{{0, 100, "hi"}}));
    EXPECT_EQ(Read(kHeader + "00:00:00.00,00:00:00.20\r\n\r\n"), (Entries{{0, 200, ""}}));
    EXPECT_EQ(Read(kHeader + "00:00:01.00,00:00:02.00\r\na\r\n\r\n00:00:00.00,00:00:00.10\r\n\r\n"),
              (Entries{{1000, 2000, "a"}, {0, 100, ""}}));
}

} // namespace
