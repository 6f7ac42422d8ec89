// Save As: a stretch of a document written to another file, renumbered, re-timed, without blank
// entries, centred or in frames, in the document's encoding; refused or failed without leaving a
// half-written file.
#include "ModelTestUtil.h"
#include "SaveAs.h"
#include "Subtitle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace {

using testutil::DocWith;
using testutil::ReadBytes;
using testutil::TempDir;

// 120 entries: entry n (1-based) runs from 10 s + (n − 1) × 3 s for 2 s, text "Line n".
std::vector<PerTitle> Entries120() {
    std::vector<PerTitle> entries;
    for (int i = 0; i < 120; ++i)
        entries.emplace_back(10000 + i * 3000, 12000 + i * 3000, "Line " + std::to_string(i + 1));
    return entries;
}

std::string SrtBlock(int number, int32_t start, int32_t end, const std::string& text) {
    return std::to_string(number) + "\r\n" + MsToTimeText(start) + " --> " + MsToTimeText(end) +
           "\r\n" + text + "\r\n\r\n";
}

struct RangeCase {
    const char* name;
    std::optional<int> renumberFrom;
    std::optional<int32_t> newStart;
    bool skipBlank;
    int firstNumber;          // the numbers written run on from it
    std::vector<int> entries; // 1-based entries written, in order
    int32_t shift;            // added to every stored time
};

TEST(SaveAs, SubRipRangeRenumberedAndRetimed) {
    // Entries 13 and 14 have no visible text: an empty one and one of spaces, tab and full-width
    // spaces (UTF-8 E3 80 80).
    std::vector<PerTitle> entries = Entries120();
    entries[12].Text = "";
    entries[13].Text = " \t\xE3\x80\x80\xE3\x80\x80 ";
    const SubTitle doc = DocWith(entries);

    const std::vector<int> all = {11, 12, 13, 14, 15, 16, 17, 18, 19, 20};
    const std::vector<int> visible = {11, 12, 15, 16, 17, 18, 19, 20};
    // Entry 11 starts at 40 s.
    const std::vector<RangeCase> cases = {
        {"renumbered from 1, re-timed to zero", 1, 0, false, 1, all, -40000},
        {"numbers of the positions", std::nullopt, 0, false, 11, all, -40000},
        {"blank entries left out, numbers consecutive", 1, 0, true, 1, visible, -40000},
        {"left out entries take no number", std::nullopt, std::nullopt, true, 11, visible, 0},
        {"renumbered from 500, re-timed later", 500, 3600000, false, 500, all, 3600000 - 40000},
    };
    for (const RangeCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        SaveAsOptions o;
        o.format = FormatSubRip;
        o.first = 10;
        o.last = 19;
        o.renumberFrom = c.renumberFrom;
        o.newStart = c.newStart;
        o.skipBlank = c.skipBlank;
        const SaveAsResult r = SaveAs(doc, dir.File("part.srt"), o);
        ASSERT_TRUE(r.ok) << r.why;
        EXPECT_EQ(r.written, static_cast<int>(c.entries.size()));
        std::string want;
        int number = c.firstNumber;
        for (int n : c.entries) {
            const PerTitle& e = entries[static_cast<std::size_t>(n - 1)];
            want += SrtBlock(number++, e.Start + c.shift, e.End + c.shift, e.Text);
        }
        EXPECT_EQ(ReadBytes(dir.File("part.srt")), want);
        EXPECT_EQ(dir.Names(), std::vector<std::string>{"part.srt"});
    }
}

// The first written entry lands exactly on the new start.
TEST(SaveAs, RetimedStretchStartsAtTheNewStart) {
    const SubTitle doc = DocWith(Entries120());
    TempDir dir;
    SaveAsOptions o;
    o.first = 10;
    o.last = 11;
    o.renumberFrom = 1;
    o.newStart = 0;
    ASSERT_TRUE(SaveAs(doc, dir.File("a.srt"), o).ok);
    EXPECT_EQ(ReadBytes(dir.File("a.srt")),
              "1\r\n00:00:00,000 --> 00:00:02,000\r\nLine 11\r\n\r\n"
              "2\r\n00:00:03,000 --> 00:00:05,000\r\nLine 12\r\n\r\n");
}

TEST(SaveAs, SubViewerCentresOnlyWhenAsked) {
    const SubTitle doc = DocWith({PerTitle(1000, 2500, "ab|abcde"), PerTitle(3000, 4000, "a|ab"),
                                  PerTitle(5000, 6000, " one line ")},
                                 "dir/source.sub");
    struct Case {
        bool centre;
        std::string body;
    };
    const std::vector<Case> cases = {
        {true, "00:00:01.00,00:00:02.50\r\n  ab[br]abcde\r\n\r\n"
               "00:00:03.00,00:00:04.00\r\n a[br]ab\r\n\r\n"
               "00:00:05.00,00:00:06.00\r\n one line \r\n\r\n"},
        {false, "00:00:01.00,00:00:02.50\r\nab[br]abcde\r\n\r\n"
                "00:00:03.00,00:00:04.00\r\na[br]ab\r\n\r\n"
                "00:00:05.00,00:00:06.00\r\n one line \r\n\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.centre ? "centred" : "not centred");
        TempDir dir;
        SaveAsOptions o;
        o.format = FormatSubViewer;
        o.first = 0;
        o.last = 2;
        o.centre = c.centre;
        const SaveAsResult r = SaveAs(doc, dir.File("out.sub"), o);
        ASSERT_TRUE(r.ok) << r.why;
        EXPECT_EQ(r.written, 3);
        const std::string out = ReadBytes(dir.File("out.sub"));
        // The header names the file the document was read from, not the one written.
        EXPECT_NE(out.find("[TITLE]dir/source.sub\r\n"), std::string::npos);
        ASSERT_GE(out.size(), c.body.size());
        EXPECT_EQ(out.substr(out.size() - c.body.size()), c.body);
    }
}

// The rate of the options, not the document's, turns times into frames.
TEST(SaveAs, MicroDVDAtTheGivenFrameRate) {
    const SubTitle doc = DocWith({PerTitle(2010, 4000, "Hi|there")}, "film.srt", false, 23.976);
    TempDir dir;
    SaveAsOptions o;
    o.format = FormatMicroDVD;
    o.first = 0;
    o.last = 0;
    o.frameRate = 25.0;
    const SaveAsResult r = SaveAs(doc, dir.File("film.sub"), o);
    ASSERT_TRUE(r.ok) << r.why;
    EXPECT_EQ(ReadBytes(dir.File("film.sub")), "{50}{100}Hi|there\r\n");
}

// ASCII as UTF-16LE behind its byte-order mark.
std::string Utf16LE(const std::string& ascii) {
    std::string out = "\xFF\xFE";
    for (char c : ascii)
        out += std::string{c, '\0'};
    return out;
}

TEST(SaveAs, WritesTheDocumentsEncoding) {
    const std::string srt = "1\r\n00:00:01,000 --> 00:00:02,000\r\nx\r\n";
    struct Case {
        const char* name;
        std::string source;
        std::string want;
    };
    const std::vector<Case> cases = {
        {"UTF-8 with its mark", "\xEF\xBB\xBF" + srt, "\xEF\xBB\xBF{25}{50}x\r\n"},
        {"UTF-16LE", Utf16LE(srt), Utf16LE("{25}{50}x\r\n")},
        {"Big5", "1\r\n00:00:01,000 --> 00:00:02,000\r\n\xA5\x7C\r\n", "{25}{50}\xA5\x7C\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const SubTitle doc = SubTitle::FromBytes(c.source, "in.srt", 25.0);
        ASSERT_EQ(doc.Count(), 1);
        TempDir dir;
        SaveAsOptions o;
        o.format = FormatMicroDVD;
        o.first = 0;
        o.last = 0;
        const SaveAsResult r = SaveAs(doc, dir.File("out.sub"), o);
        ASSERT_TRUE(r.ok) << r.why;
        EXPECT_EQ(ReadBytes(dir.File("out.sub")), c.want);
    }
}

// Another encoding: the texts converted into it (Big5 and GBK files become UTF-8 this way), the
// mark written where it has one; a text it cannot hold stops the save before anything is written.
TEST(SaveAs, WritesTheChosenEncoding) {
    const std::string big5 = "1\r\n00:00:01,000 --> 00:00:02,000\r\n\xA4\xA4\xA4\xE5|x\r\n";
    const std::string gbk = "1\r\n00:00:01,000 --> 00:00:02,000\r\n\xD6\xD0\xCE\xC4\r\n";
    const std::string utf8 = "1\r\n00:00:01,000 --> 00:00:02,000\r\nx\r\n";
    struct Case {
        const char* name;
        std::string source;
        int sourcePage; // the page the file is read in
        OutputEncoding to;
        std::string wantText; // the entry's text line as written
        std::string wantMark;
    };
    const std::vector<Case> cases = {
        {"Big5 to UTF-8",
         big5,
         kCodePageBig5,
         {kCodePageUtf8, FileEncoding::Plain},
         "\xE4\xB8\xAD\xE6\x96\x87\r\nx",
         ""},
        {"GBK to UTF-8 with its mark",
         gbk,
         kCodePageGbk,
         {kCodePageUtf8, FileEncoding::Utf8Bom},
         "\xE4\xB8\xAD\xE6\x96\x87",
         "\xEF\xBB\xBF"},
        {"GBK to Big5",
         gbk,
         kCodePageGbk,
         {kCodePageBig5, FileEncoding::Plain},
         "\xA4\xA4\xA4\xE5",
         ""},
        {"UTF-8 to UTF-16",
         utf8,
         kCodePageUtf8,
         {kCodePageUtf8, FileEncoding::Utf16LE},
         "x",
         "\xFF\xFE"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const SubTitle doc = SubTitle::FromBytes(c.source, "in.srt", 25.0, FrameRateQuestion{},
                                                 LegacyPage::Forced(c.sourcePage));
        ASSERT_EQ(doc.CodePage(), c.sourcePage);
        TempDir dir;
        SaveAsOptions o;
        o.first = 0;
        o.last = 0;
        o.encoding = c.to;
        const SaveAsResult r = SaveAs(doc, dir.File("out.srt"), o);
        ASSERT_TRUE(r.ok) << r.why;
        const std::string plain =
            c.wantMark + "1\r\n00:00:01,000 --> 00:00:02,000\r\n" + c.wantText + "\r\n\r\n";
        const std::string bytes = ReadBytes(dir.File("out.srt"));
        if (c.to.encoding == FileEncoding::Utf16LE) {
            EXPECT_EQ(bytes, Utf16LE("1\r\n00:00:01,000 --> 00:00:02,000\r\nx\r\n\r\n"));
        } else {
            EXPECT_EQ(bytes, plain);
        }
        // What was written reads back as the same text.
        const SubTitle back = SubTitle::FromBytes(bytes, "back.srt", 25.0);
        ASSERT_EQ(back.Count(), 1);
        EXPECT_EQ(back.CodePage(), c.to.codePage);
        EXPECT_EQ(back.Encoding(), c.to.encoding);
        EXPECT_EQ(ToUtf8(back.CodePage(), back.Item(0)->Text),
                  ToUtf8(doc.CodePage(), doc.Item(0)->Text));
    }
}

TEST(SaveAs, TextTheEncodingCannotHoldStopsTheSave) {
    // 汉 (simplified) has no Big5 form; the second entry holds it.
    const std::string gbk = "1\r\n00:00:01,000 --> 00:00:02,000\r\nok\r\n\r\n"
                            "2\r\n00:00:03,000 --> 00:00:04,000\r\n\xBA\xBA\r\n";
    const SubTitle doc = SubTitle::FromBytes(gbk, "in.srt", 25.0, FrameRateQuestion{},
                                             LegacyPage::Forced(kCodePageGbk));
    ASSERT_EQ(doc.Count(), 2);
    TempDir dir;
    const std::string target = dir.Write("out.srt", "old");
    SaveAsOptions o;
    o.first = 0;
    o.last = 1;
    o.encoding = OutputEncoding{kCodePageBig5, FileEncoding::Plain};
    const SaveAsResult r = SaveAs(doc, target, o);
    EXPECT_FALSE(r.ok);
    ASSERT_TRUE(r.unheldEntry);
    EXPECT_EQ(*r.unheldEntry, 1);
    EXPECT_NE(r.why.find("entry 2"), std::string::npos) << r.why;
    EXPECT_EQ(ReadBytes(target), "old");
    // The stretch without it is written, numbered and timed as in the document.
    o.first = o.last = 0;
    o.format = FormatSubViewer;
    const SaveAsResult first = SaveAs(doc, target, o);
    ASSERT_TRUE(first.ok) << first.why;
    // The header's font name is Chinese: Big5 holds it.
    EXPECT_NE(ReadBytes(target).find("[FONT]\xBC\xD0\xB7\xA2\xC5\xE9"), std::string::npos);
    o.encoding = OutputEncoding{kCodePageWindows1252, FileEncoding::Plain};
    ASSERT_TRUE(SaveAs(doc, target, o).ok);
    // Windows-1252 cannot: the header leaves it empty rather than write another page's bytes.
    EXPECT_NE(ReadBytes(target).find("[FONT]\r\n"), std::string::npos);
}

// Bytes the document's own page cannot read (a Windows-1252 file read as Big5) are the document's
// fault: named as such, whatever the target, and nothing is written.
TEST(SaveAs, TextItsOwnPageCannotReadIsNamedAsSuch) {
    const std::string latin = "1\r\n00:00:01,000 --> 00:00:02,000\r\nok\r\n\r\n"
                              "2\r\n00:00:03,000 --> 00:00:04,000\r\ncaf\xE9, cr\xE8me\r\n";
    const SubTitle doc = SubTitle::FromBytes(latin, "in.srt", 25.0, FrameRateQuestion{},
                                             LegacyPage::Forced(kCodePageBig5));
    ASSERT_EQ(doc.Count(), 2);
    TempDir dir;
    const std::string target = dir.Write("out.srt", "old");
    for (const OutputEncoding& to : {OutputEncoding{kCodePageUtf8, FileEncoding::Plain},
                                     OutputEncoding{kCodePageUtf8, FileEncoding::Utf16LE},
                                     OutputEncoding{kCodePageGbk, FileEncoding::Plain}}) {
        SaveAsOptions o;
        o.first = 0;
        o.last = 1;
        o.encoding = to;
        const SaveAsResult r = SaveAs(doc, target, o);
        EXPECT_FALSE(r.ok);
        ASSERT_TRUE(r.unreadableEntry);
        EXPECT_EQ(*r.unreadableEntry, 1);
        EXPECT_FALSE(r.unheldEntry);
        EXPECT_EQ(r.why, "entry 2 is not valid Big5");
        EXPECT_EQ(ReadBytes(target), "old");
    }
}

// Save As keeps the document's line ends unless told otherwise, in every format.
TEST(SaveAs, KeepsOrChangesTheLineEnds) {
    TempDir dir;
    struct Case {
        std::string seed;
        int32_t format;
        std::optional<LineEnd> asked;
        bool lf;
    } cases[] = {
        {"\n", FormatSubRip, std::nullopt, true},
        {"\r\n", FormatSubRip, std::nullopt, false},
        {"\n", FormatSubRip, LineEnd::CrLf, false},
        {"\r\n", FormatSubRip, LineEnd::Lf, true},
        {"\n", FormatMicroDVD, std::nullopt, true},
        {"\n", FormatSubViewer, std::nullopt, true},
        {"\r\n", FormatSubViewer, LineEnd::Lf, true},
    };
    for (const Case& c : cases) {
        SubTitle doc = SubTitle::FromBytes(c.seed, dir.File("seed.srt"), 25.0);
        TChange fill;
        fill.Hunks.emplace_back(TSplice{0, doc.Count(), Entries120()});
        doc.Apply(std::move(fill));
        SaveAsOptions o;
        o.format = c.format;
        o.last = doc.Count() - 1;
        o.lineEnd = c.asked;
        const std::string path = dir.File("out.txt");
        ASSERT_TRUE(SaveAs(doc, path, o).ok);
        const std::string bytes = ReadBytes(path);
        const std::size_t lf = std::count(bytes.begin(), bytes.end(), '\n');
        const std::size_t cr = std::count(bytes.begin(), bytes.end(), '\r');
        EXPECT_GE(lf, 120u);
        EXPECT_EQ(cr, c.lf ? 0u : lf) << c.format << " " << c.seed.size();
    }
}

TEST(SaveAs, EncodingNames) {
    struct Case {
        const char* name;
        std::optional<OutputEncoding> want;
    };
    const std::vector<Case> cases = {
        {"utf-8", OutputEncoding{kCodePageUtf8, FileEncoding::Plain}},
        {"UTF8", OutputEncoding{kCodePageUtf8, FileEncoding::Plain}},
        {"utf-8-bom", OutputEncoding{kCodePageUtf8, FileEncoding::Utf8Bom}},
        {"utf-16", OutputEncoding{kCodePageUtf8, FileEncoding::Utf16LE}},
        {"UTF-16BE", OutputEncoding{kCodePageUtf8, FileEncoding::Utf16BE}},
        {"big5", OutputEncoding{kCodePageBig5, FileEncoding::Plain}},
        {"GB2312", OutputEncoding{kCodePageGbk, FileEncoding::Plain}},
        {"Shift_JIS", OutputEncoding{kCodePageShiftJis, FileEncoding::Plain}},
        {"latin-2", std::nullopt},
        {"", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(OutputEncodingFromName(c.name), c.want);
    }
}

// An empty document, or an empty range, still gives a file: without entries, and for SubViewer
// only its header.
TEST(SaveAs, NoEntriesWritesAFileWithoutEntries) {
    const SubTitle empty = DocWith({});
    const SubTitle full = DocWith(Entries120());
    const std::string headerEnd = "[SUBTITLE]\r\n[COLF]&HFFFFFF,[STYLE]bd,[SIZE]24,[FONT]標楷體\r\n"
                                  "00:00:00.00,00:00:00.10\r\n\r\n\r\n";
    struct Case {
        const char* name;
        const SubTitle* doc;
        int first, last;
        int32_t format;
    };
    const std::vector<Case> cases = {
        {"empty document, SubRip", &empty, 0, -1, FormatSubRip},
        {"empty document, MicroDVD", &empty, 0, -1, FormatMicroDVD},
        {"empty document, SubViewer", &empty, 0, -1, FormatSubViewer},
        {"last below first, SubRip", &full, 19, 10, FormatSubRip},
        {"last below first, SubViewer", &full, 19, 10, FormatSubViewer},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const std::string path = dir.Write("out.txt", "old contents");
        SaveAsOptions o;
        o.format = c.format;
        o.first = c.first;
        o.last = c.last;
        o.newStart = 0;
        const SaveAsResult r = SaveAs(*c.doc, path, o);
        ASSERT_TRUE(r.ok) << r.why;
        EXPECT_EQ(r.written, 0);
        const std::string out = ReadBytes(path);
        if (c.format == FormatSubViewer) {
            EXPECT_EQ(out.rfind("[INFORMATION]\r\n", 0), 0u);
            ASSERT_GE(out.size(), headerEnd.size());
            EXPECT_EQ(out.substr(out.size() - headerEnd.size()), headerEnd);
        } else {
            EXPECT_EQ(out, "");
        }
    }
}

// A write that fails halfway (the file-size limit stops it, also for root) leaves the existing
// file whole, no temporary file behind, and says why.
TEST(SaveAs, FailedWriteKeepsTheExistingFile) {
    std::vector<PerTitle> entries;
    for (int i = 0; i < 2000; ++i)
        entries.emplace_back(i * 1000, i * 1000 + 500, "a longer line of caption text");
    const SubTitle doc = DocWith(entries);
    TempDir dir;
    const std::string path = dir.Write("out.srt", "old contents");
    SaveAsOptions o;
    o.last = doc.Count() - 1;
    SaveAsResult r;
    {
        testutil::FileSizeLimit limit(4096);
        ASSERT_TRUE(limit.Active());
        r = SaveAs(doc, path, o);
    }
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.why.empty());
    EXPECT_EQ(ReadBytes(path), "old contents");
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"out.srt"});

    // A folder that does not exist: nothing is made, and the reason names the folder.
    const SaveAsResult missing = SaveAs(doc, dir.File("gone/out.srt"), o);
    EXPECT_FALSE(missing.ok);
    EXPECT_NE(missing.why.find("gone"), std::string::npos) << missing.why;
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"out.srt"});
}

// Options that cannot be written are refused before anything is: an existing file stays as it
// was and no file appears.
TEST(SaveAs, RefusesWhatCannotBeWritten) {
    const SubTitle doc = DocWith(Entries120(), "film.srt", false, 25.0);
    const SubTitle notLoaded = SubTitle::FromBytes("", "none.srt", 25.0);
    ASSERT_FALSE(notLoaded.IsLoaded());
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        const char* name;
        const SubTitle* doc;
        int32_t format;
        int first, last;
        double rate;
    };
    const std::vector<Case> cases = {
        {"frame rate 0", &doc, FormatMicroDVD, 0, 119, 0.0},
        {"negative frame rate", &doc, FormatMicroDVD, 0, 119, -25.0},
        {"frame rate not a number", &doc, FormatMicroDVD, 0, 119, std::nan("")},
        {"infinite frame rate", &doc, FormatMicroDVD, 0, 119, inf},
        {"last past the end", &doc, FormatSubRip, 0, 120, 25.0},
        {"first below zero", &doc, FormatSubRip, -1, 5, 25.0},
        {"unknown format", &doc, FormatSSA + 1, 0, 119, 25.0},
        {"no format", &doc, FormatNone, 0, 119, 25.0},
        {"document not loaded", &notLoaded, FormatSubRip, 0, -1, 25.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const std::string existing = dir.Write("out.sub", "old contents");
        SaveAsOptions o;
        o.format = c.format;
        o.first = c.first;
        o.last = c.last;
        o.frameRate = c.rate;
        const SaveAsResult r = SaveAs(*c.doc, existing, o);
        EXPECT_FALSE(r.ok);
        EXPECT_FALSE(r.why.empty());
        EXPECT_EQ(r.written, 0);
        EXPECT_EQ(ReadBytes(existing), "old contents");
        EXPECT_FALSE(SaveAs(*c.doc, dir.File("new.sub"), o).ok);
        EXPECT_EQ(dir.Names(), std::vector<std::string>{"out.sub"});
    }
}

} // namespace
