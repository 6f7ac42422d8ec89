// WebVTT and ASS/SSA: what the readers make of a file, the writers' bytes for changed entries,
// the fields and heads carried through changes, undo, recovery copies and combining, the tags
// carried between formats, and the captions without their tags.
#include "Editing.h"
#include "FormatRecords.h"
#include "Merging.h"
#include "ModelTestUtil.h"
#include "Recovery.h"
#include "SaveAs.h"
#include "Subtitle.h"
#include "Tags.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <tuple>
#include <vector>

namespace {

using testutil::Doc;
using testutil::ReadBytes;
using testutil::TempDir;

using testutil::Entries;
using testutil::EntriesOf;
using testutil::Entry;

// The document written in its own format.
std::string Written(const SubTitle& doc) {
    std::ostringstream out;
    const bool ok = doc.FormatIndex() == FormatWebVTT
                        ? WriteWebVtt(doc, out, 0, false, 0, 0, doc.Count() - 1)
                        : WriteAss(doc, out, 0, false, 0, doc.Count() - 1);
    EXPECT_TRUE(ok);
    return out.str();
}

void Apply(SubTitle& doc, TChange change) {
    doc.Apply(std::move(change));
}

const std::string kAssHead = "[Script Info]\r\n"
                             "ScriptType: v4.00+\r\n"
                             "\r\n"
                             "[Events]\r\n"
                             "Format: Layer, Start, End, Style, Name, MarginL, MarginR, MarginV, "
                             "Effect, Text\r\n";
const std::string kAss = kAssHead +
                         "Dialogue: 0,0:00:01.00,0:00:02.00,Sign,Bob,1,2,3,Fx,{\\i1}A{\\i0}\\NB\r\n"
                         "Comment: 2,0:00:03.00,0:00:04.00,Default,,0,0,0,,note\r\n";
const std::string kVtt = "WEBVTT\n"
                         "\n"
                         "NOTE kept\n"
                         "\n"
                         "1\n"
                         "00:01.000 --> 00:02.000 align:start\n"
                         "<i>A</i>\n"
                         "B\n"
                         "\n"
                         "cue-two\n"
                         "00:03.000 --> 00:04.000\n"
                         "C\n";

// A million entries of any format: the fields are an index, not a string of their own.
static_assert(sizeof(PerTitle) <= 48, "an entry grew");

TEST(FormatsRead, SharedRecords) {
    std::string ass = kAssHead;
    for (int k = 0; k < 1000; ++k)
        ass += "Dialogue: 0,0:00:0" + std::to_string(k % 10) + ".00,0:00:10.00,Default,,0,0,0,,t" +
               std::to_string(k) + "\r\n";
    const SubTitle doc = Doc(ass, "a.ass");
    ASSERT_EQ(doc.Count(), 1000);
    // One record for all: the times and texts stand as marks in it.
    EXPECT_EQ(doc.FormatData().Records.size(), 2u);
    EXPECT_EQ(Written(doc), ass);
}

TEST(FormatsRead, EntriesAndTexts) {
    struct Case {
        const char* what;
        std::string name, bytes;
        SubtitleFormat format;
        Entries entries;
    };
    const std::vector<Case> cases = {
        {"ASS", "a.ass", kAss, FormatASS,
         {{1000, 2000, "{\\i1}A{\\i0}|B"}, {3000, 4000, "note"}}},
        {"ASS \\n, \\h and a literal |", "a.ass",
         kAssHead + "Dialogue: 0,0:00:01.00,0:00:02.00,Default,,0,0,0,,a\\nb\\hc | d, e\r\n",
         FormatASS, {{1000, 2000, "a|b\\hc \\| d, e"}}},
        {"ASS without a Format line: the standard order", "a.ass",
         "[Script Info]\n[Events]\nDialogue: 0,0:00:01.00,0:00:02.00,Default,,0,0,0,,x,y\n",
         FormatASS, {{1000, 2000, "x,y"}}},
        {"ASS hundredths, tenths as others read them, milliseconds", "a.ass",
         kAssHead + "Dialogue: 0,1:02:03.45,1:02:03.5,Default,,0,0,0,,t\r\n"
                    "Dialogue: 0,0:00:00.123,0:00:00.99,Default,,0,0,0,,u\r\n",
         FormatASS, {{3723450, 3723050, "t"}, {123, 990, "u"}}},
        {"SSA by its head", "a.txt",
         "[Script Info]\nScriptType: v4.00\n[Events]\n"
         "Format: Marked, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text\n"
         "Dialogue: Marked=0,0:00:01.00,0:00:02.00,Default,,0000,0000,0000,,s\n",
         FormatSSA, {{1000, 2000, "s"}}},
        {"WebVTT", "a.vtt", kVtt, FormatWebVTT,
         {{1000, 2000, "<i>A</i>|B"}, {3000, 4000, "C"}}},
        {"WebVTT long times, a literal |, an empty cue, no final newline", "a.vtt",
         "WEBVTT\n\n01:02:03.004 --> 01:02:04.000\na | b\n\n00:05.000 --> 00:06.000\n\n"
         "00:07.000 --> 00:08.000\nend",
         FormatWebVTT, {{3723004, 3724000, "a \\| b"}, {5000, 6000, ""}, {7000, 8000, "end"}}},
        {"WebVTT cues without blank lines between them", "a.vtt",
         "WEBVTT\n\n00:01.000 --> 00:02.000\nA\n00:03.000 --> 00:04.000\nB\n", FormatWebVTT,
         {{1000, 2000, "A"}, {3000, 4000, "B"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SubTitle doc = Doc(c.bytes, c.name);
        ASSERT_TRUE(doc.IsLoaded());
        EXPECT_EQ(doc.FormatIndex(), c.format);
        EXPECT_EQ(EntriesOf(doc), c.entries);
        EXPECT_EQ(doc.BadLines(), 0);
        EXPECT_EQ(Written(doc), c.bytes) << "written back unchanged";
    }
}

TEST(FormatsRead, ContentFirstThenTheName) {
    const std::string srt = "1\r\n00:00:01,000 --> 00:00:02,000\r\nHi\r\n";
    struct Case {
        std::string name, bytes;
        int32_t format; // FormatNone: not loaded
        std::string tag;
    } cases[] = {
        {"x.txt", kVtt, FormatWebVTT, "VTT"},
        {"x.sub", "\xEF\xBB\xBFWEBVTT\n", FormatWebVTT, "VTT"},
        {"x.srt", kAss, FormatASS, "ASS"},
        {"x.sub", "; comment first\n[script info]\n", FormatASS, "ASS"},
        {"x.txt", srt, FormatSubRip, "SRT"},
        {"x.sub", srt, FormatSubRip, "SRT"},
        {"x.vtt", srt, FormatSubRip, "SRT"},
        {"x.ssa", "[Script Info]\n", FormatSSA, "SSA"},
        {"x.sub", "{1}{25}Hello\n", FormatMicroDVD, "MSUB"},
        {"x.txt", "just words\n", FormatNone, ""},
        {"x.srt", "WEBVTTX\n", FormatSubRip, "SRT"}, // no header without its word
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name + ": " + c.bytes.substr(0, 20));
        SubTitle doc = Doc(c.bytes, c.name);
        EXPECT_EQ(doc.IsLoaded() ? doc.FormatIndex() : FormatNone, c.format);
        EXPECT_EQ(doc.FormatName(), c.tag);
    }
}

TEST(FormatsRead, RefusedFiles) {
    const std::string longLine(kLongestLine + 1, 'x');
    const struct {
        const char* what;
        std::string name, bytes;
    } cases[] = {
        {"WebVTT without its header", "x.vtt", "hello\n\n00:01.000 --> 00:02.000\nx\n"},
        {"ASS without [Script Info]", "x.ass", "[Events]\nDialogue: x\n"},
        {"NUL bytes", "x.vtt", std::string(4096, '\0')},
        {"NUL bytes", "x.ass", std::string(4096, '\0')},
        {"a line past the longest", "x.vtt", "WEBVTT\n\n" + longLine},
        {"a line past the longest", "x.ass", "[Script Info]\n" + longLine + "\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.what) + " " + c.name);
        EXPECT_THROW(Doc(c.bytes, c.name), SubtitleError);
    }
}

TEST(FormatsRead, BadLinesAreKeptAndCounted) {
    const std::string ass = kAssHead + "Dialogue: 0,0:00:01.00,0:00:02.00,D,,0,0,0,,a\r\n"
                                       "Dialogue: no fields\r\n"
                                       "Dialogue: 0,100:00:00.00,100:00:01.00,D,,0,0,0,,hours\r\n"
                                       "Dialogue: 0,0:00:03.00,0:00:04.00,D,,0,0,0,,b\r\n";
    SubTitle a = Doc(ass, "a.ass");
    EXPECT_EQ(a.Count(), 2);
    EXPECT_EQ(a.BadLine(), 7);
    EXPECT_EQ(a.BadLines(), 2);
    EXPECT_EQ(Written(a), ass);

    const std::string vtt = "WEBVTT\n\nnot a cue\nat all\n\n00:01.000 --> 00:02.000\nA\n\n"
                            "00:03.000 --> 100:00:00.000\nB\n\n00:05.000 --> 00:06.000\nC\n";
    SubTitle v = Doc(vtt, "a.vtt");
    EXPECT_EQ(EntriesOf(v), (Entries{{1000, 2000, "A"}, {5000, 6000, "C"}}));
    EXPECT_EQ(v.BadLine(), 3);
    EXPECT_EQ(v.BadLines(), 2);
    EXPECT_EQ(Written(v), vtt);
    // The broken lines stay where they were when the entries around them change.
    Apply(v, SetEntryChange(v, 1, PerTitle(5000, 6000, "changed")));
    EXPECT_EQ(Written(v), "WEBVTT\n\nnot a cue\nat all\n\n00:01.000 --> 00:02.000\nA\n\n"
                          "00:03.000 --> 100:00:00.000\nB\n\n00:05.000 --> 00:06.000\nchanged\n");
}

// Lowers the size above which a text is read in two halves at once, for one test.
class SplitAbove {
public:
    explicit SplitAbove(std::size_t bytes) : old_(SplitReadingAbove()) {
        SplitReadingAbove() = bytes;
    }
    ~SplitAbove() { SplitReadingAbove() = old_; }

private:
    std::size_t old_;
};

// Everything a reading gives: the entries with their records, head, tail, bad lines.
void ExpectSameDocument(const SubTitle& a, const SubTitle& b, const std::string& what) {
    SCOPED_TRACE(what);
    ASSERT_EQ(a.Count(), b.Count());
    for (int k = 0; k < a.Count(); ++k) {
        const PerTitle &x = *a.Item(k), &y = *b.Item(k);
        ASSERT_EQ(std::tie(x.Start, x.End, x.Text, x.Fields),
                  std::tie(y.Start, y.End, y.Text, y.Fields))
            << "entry " << k;
    }
    const TFormatData &x = a.FormatData(), &y = b.FormatData();
    EXPECT_EQ(x.Records, y.Records);
    EXPECT_EQ(x.Head, y.Head);
    EXPECT_EQ(x.Tail, y.Tail);
    EXPECT_EQ(x.EventFields, y.EventFields);
    EXPECT_EQ(x.HourDigits, y.HourDigits);
    EXPECT_EQ(x.NeedEvents, y.NeedEvents);
    EXPECT_EQ(a.BadLine(), b.BadLine());
    EXPECT_EQ(a.BadLines(), b.BadLines());
    EXPECT_EQ(a.FormatIndex(), b.FormatIndex());
}

// The file read in two halves (wherever they meet) and in one reading give the same document,
// which writes the file back as it was; the one read in halves is returned.
SubTitle ReadBothWays(const std::string& file, const char* name, const std::string& what) {
    const SubTitle one = [&] {
        const SplitAbove never(std::size_t(-1));
        return Doc(file, name);
    }();
    const SplitAbove always(0);
    SubTitle two = Doc(file, name);
    ExpectSameDocument(one, two, what);
    EXPECT_EQ(Written(two), file) << what;
    return two;
}

// A file read in two halves on two threads is the document one reading makes of it, wherever
// the halves meet: every kind of line that belongs to no entry, or changes how the lines after
// it are read, is moved across the whole file, with a bad line in each half besides.
TEST(FormatsRead, TwoHalvesReadAsOne) {
    std::vector<std::string> events;
    for (int k = 0; k < 24; ++k) {
        const std::string t = "0:00:" + std::to_string(10 + k) + ".00";
        std::string line =
            "Dialogue: 0," + t + "," + t + ",Default,,0,0,0,,line " + std::to_string(k);
        if (k % 5 == 1) line = "Comment: 1," + t + "," + t + ",Sign,Bob,0,0,0,,note|bar";
        if (k % 7 == 2) line = "Dialogue: 0,0:00:05.5," + t + ",Default,,0,0,0,,raw \\n break";
        if (k % 6 == 3)
            line = "Dialogue: 0," + t + "," + t + ",Default,\x01,0,0,0,,{\\i1}a{\\i0}\\Nb";
        events.push_back(line);
    }
    const std::string goodThird = events[3];
    events[20] = "Dialogue: 0,0:00:99.00,bad,Default,,0,0,0,,second half";
    const std::vector<std::vector<std::string>> blocks{
        {},
        {"Dialogue: no fields", "; a comment", ""},
        {"[Fonts]", "Dialogue: 0,0:00:09.00,0:00:09.50,Default,,0,0,0,,not an entry", "",
         "[Events]"},
        {"[V4 Styles]", "Style: x", "[Events]", "Format: Start, End, Text"},
        {"[Aegisub Extradata]", "Data: 1"}, // the events end there, and their bad lines
    };
    const std::string head = "[Script Info]\r\nScriptType: v4.00+\r\n\r\n[Events]\r\n"
                             "Format: Layer, Start, End, Style, Name, MarginL, MarginR, MarginV, "
                             "Effect, Text\r\n";
    for (const bool badFirst : {true, false})
        for (std::size_t b = 0; b < blocks.size(); ++b) {
            // The first bad line in the first half, or (the number counted on) in the second.
            events[3] = badFirst ? "Dialogue: broken first half" : goodThird;
            for (std::size_t at = 1; at < events.size(); ++at) {
                std::string file = head;
                for (std::size_t k = 0; k < events.size(); ++k) {
                    if (k == at)
                        for (const std::string& line : blocks[b])
                            file += line + "\r\n";
                    file += events[k] + (k + 1 < events.size() ? "\r\n" : "");
                }
                const SubTitle two =
                    ReadBothWays(file, "a.ass",
                                 "block " + std::to_string(b) + " before event " +
                                     std::to_string(at) + (badFirst ? ", bad first" : ""));
                if (b != 4) {
                    EXPECT_EQ(two.BadLines(), 1 + badFirst + (b == 1));
                }
            }
        }
}

// A big file that starts as UTF-8 and turns out a legacy page further on (read as UTF-8 while
// its check was still to come) is read in its page: a Big5 character whose second byte is "\"
// escapes nothing, and one whose second byte is "|" joins no lines.
TEST(FormatsRead, BigFilesTakeThePageFoundAtTheEnd) {
    // 功|個人\N功夫不負有心人 in Big5 (as in ass_big5_trail_bytes.ass).
    const std::string big5 =
        "\xA5|\xAD\xD3\xA4H\\N\xA5\\\xA4\xD2\xA4\xA3\xADt\xA6\xB3\xA4\xDF\xA4H";
    for (const bool vtt : {false, true}) {
        std::string file = vtt ? "WEBVTT\n\n" : kAssHead;
        for (int k = 0; file.size() < (std::size_t{6} << 20); ++k) {
            const std::string text = k < 2000 ? "plain text " + std::to_string(k) : big5;
            file += vtt ? "00:00:01.000 --> 00:00:02.000\n" + text + "\n\n"
                        : "Dialogue: 0,0:00:01.00,0:00:02.00,D,,0,0,0,," + text + "\r\n";
        }
        const std::string name = vtt ? "a.vtt" : "a.ass";
        const SubTitle doc =
            SubTitle::FromBytes(file, name, 25.0, FrameRateQuestion(), kCodePageGbk);
        const SubTitle forced = SubTitle::FromBytes(file, name, 25.0, FrameRateQuestion(),
                                                    LegacyPage::Forced(kCodePageBig5));
        EXPECT_EQ(doc.CodePage(), kCodePageBig5) << name;
        ExpectSameDocument(doc, forced, name);
        EXPECT_EQ(doc.Item(doc.Count() - 1)->Text,
                  vtt ? big5
                      : "\xA5|\xAD\xD3\xA4H|\xA5\\\xA4\xD2\xA4\xA3\xADt\xA6\xB3\xA4\xDF\xA4H");
        EXPECT_EQ(Written(doc), file);
    }
}

// The same for WebVTT, the halves meeting at a blank line: cue numbers counted on across them
// (and identifiers that only look like numbers), blocks of no cue, bad blocks, cues without
// text, each moved across the whole file.
TEST(FormatsRead, VttTwoHalvesReadAsOne) {
    std::vector<std::string> cues;
    for (int k = 0; k < 24; ++k) {
        const std::string t = "00:00:" + std::to_string(10 + k);
        std::string id = k % 4 == 3 ? "cue-" + std::to_string(k) + "\n" : "";
        if (k % 5 == 1) id = std::to_string(k + 1) + "\n"; // its number
        if (k == 9) id = "1\n";                            // another's number
        if (k == 13) id = "014\n";                         // no number
        std::string cue = id + t + ".000 --> " + t + ".500" + (k % 3 ? " align:start" : "") + "\n";
        if (k % 7 != 4) cue += "text " + std::to_string(k) + "\nline|two\n";
        cues.push_back(cue);
    }
    cues[20] = "00:00:99.000 --> 00:01:00.000\nbad time\n";
    const std::string goodThird = cues[3];
    const std::vector<std::string> blocks{
        // Longer than a cue, so that the middle falls inside each at some place.
        "", "NOTE a note\nover\nmany\nlines, longer\nthan a cue is\n\n",
        "not a cue\nat all, and longer\nthan a cue is, over\nfour lines\n\n", "\n\n\n\n\n\n",
        "STYLE\n::cue { color: red }\n::cue(b) { color: blue }\n\n"};
    for (const bool badFirst : {true, false})
        for (std::size_t b = 0; b < blocks.size(); ++b) {
            cues[3] = badFirst ? "no timing here\n" : goodThird;
            for (std::size_t at = 1; at < cues.size(); ++at) {
                std::string file = "WEBVTT\n\n";
                for (std::size_t k = 0; k < cues.size(); ++k) {
                    if (k == at) file += blocks[b];
                    file += cues[k] + (k + 1 < cues.size() ? "\n" : "");
                }
                const SubTitle two =
                    ReadBothWays(file, "a.vtt",
                                 "block " + std::to_string(b) + " before cue " +
                                     std::to_string(at) + (badFirst ? ", bad first" : ""));
                EXPECT_EQ(two.BadLines(), 1 + badFirst + (b == 2));
            }
        }
}

// A line too long in the second half is told with its number in the whole file.
TEST(FormatsRead, TwoHalvesTellALongLineByItsNumber) {
    for (const bool vtt : {false, true}) {
        const std::string cue = vtt ? "00:00:01.000 --> 00:00:02.000\n"
                                    : "Dialogue: 0,0:00:01.00,0:00:02.00,Default,,0,0,0,,";
        std::string file = vtt ? "WEBVTT\n\n" : kAssHead;
        for (int k = 0; k < 20; ++k)
            file += cue + std::string(std::size_t(1) << 20, 'a') + (vtt ? "\n\n" : "\r\n");
        file += cue + std::string(kLongestLine + 1, 'b') + "\r\n";
        for (const std::size_t split : {std::size_t(-1), std::size_t(0)}) {
            const SplitAbove above(split);
            try {
                Doc(file, vtt ? "a.vtt" : "a.ass");
                ADD_FAILURE() << "read";
            } catch (const SubtitleError& e) {
                EXPECT_EQ(std::string(e.what()).substr(0, 8), vtt ? "Line 64 " : "Line 26 ");
            }
        }
    }
}

// Writing the entries in chunks on other threads gives the bytes one writing gives, at every
// chunk's edge (chunks of one entry): cue numbers, times kept as read, texts, entries added after
// a last line without a line end, stretches and moved times.
TEST(FormatsWrite, ChunksWriteAsOne) {
    std::string ass = kAssHead, vtt = "WEBVTT\n\n";
    for (int k = 0; k < 20; ++k) {
        const std::string t = "0:00:" + std::to_string(10 + k);
        ass += k % 4 == 1 ? "Dialogue: 0," + t + ".5," + t + ".00,Sign,,0,0,0,,raw \\n "
                          : "Comment: 0," + t + ".00," + t + ".50,Default,,0,0,0,,{\\i1}x\\Ny";
        ass += std::to_string(k) + (k < 19 ? "\r\n" : "");
        vtt += (k % 5 == 2 ? "cue-" : "") + std::to_string(k + 1) +
               "\n00:00:" + std::to_string(10 + k) + ".000 --> 00:00:" + std::to_string(10 + k) +
               ".500" + (k % 3 ? " align:start" : "") + "\n" +
               (k % 6 == 4 ? "" : "text " + std::to_string(k) + "\nline|two\n") +
               (k < 19 ? "\n" : "");
    }
    for (const auto& [file, name] : {std::pair{ass, "a.ass"}, std::pair{vtt, "a.vtt"}}) {
        SubTitle doc = Doc(file, name);
        ASSERT_EQ(doc.Count(), 20) << name;
        for (const bool changed : {false, true}) {
            if (changed) {
                Apply(doc,
                      InsertChange(doc, doc.Count(),
                                   {PerTitle(40000, 41000, ""), PerTitle(42000, 43000, "new")}));
                Apply(doc, InsertChange(doc, 3, {PerTitle(13500, 13600, "between")}));
                Apply(doc, SetEntryChange(doc, 6, PerTitle(16000, 16400, "changed|two")));
            }
            for (const auto& [first, last, offset, base] :
                 {std::tuple{0, doc.Count() - 1, 0, 0}, std::tuple{2, doc.Count() - 3, 1500, 7}}) {
                auto write = [&, first = first, last = last, offset = offset, base = base] {
                    std::ostringstream out;
                    EXPECT_TRUE(doc.FormatIndex() == FormatWebVTT
                                    ? WriteWebVtt(doc, out, first, false, offset, base, last)
                                    : WriteAss(doc, out, first, false, offset, last));
                    return out.str();
                };
                std::string one;
                {
                    const std::size_t old = SplitWritingAbove();
                    SplitWritingAbove() = std::size_t(-1);
                    one = write();
                    SplitWritingAbove() = 0;
                    EXPECT_EQ(write(), one) << name << (changed ? " changed" : "") << " " << first;
                    SplitWritingAbove() = old;
                }
                if (!changed && first == 0) {
                    EXPECT_EQ(one, file) << name;
                }
            }
        }
    }
}

// ASS times come back as the file wrote them, whether the reader could take them as the writer
// writes them or had to keep them as read; an entry moved gets its time written anew.
TEST(FormatsWrite, AssTimesComeBackAsWritten) {
    const std::vector<std::pair<std::string, int32_t>> times{
        {"0:00:01.00", 1000},      {"00:00:01.00", 1000}, {"10:00:01.00", 36001000},
        {"0:60:01.00", 3601000},   {"0:00:60.00", 60000}, {"9:59:59.99", 35999990},
        {"05:00:00.00", 18000000}, {"0:00:01.5", 1050},   {"1:02:03.456", 3723456},
        {" 0:00:01.00", 1000},     {"00:0:01.35", 1350},  {"98:59:59.99", 356399990}};
    for (const std::string firstHour : {"0", "00"}) {
        for (const auto& [time, ms] : times) {
            const std::string file = kAssHead + "Dialogue: 0," + firstHour + ":00:00.00," +
                                     firstHour + ":00:00.50,D,,0,0,0,,a\r\nDialogue: 0," + time +
                                     "," + time + ",D,,0,0,0,,b\r\n";
            SubTitle doc = Doc(file, "a.ass");
            ASSERT_EQ(doc.Count(), 2) << time;
            EXPECT_EQ(doc.Item(1)->Start, ms) << time;
            EXPECT_EQ(Written(doc), file) << time;
            Apply(doc, ShiftChange(doc, 1, 1, 10));
            const std::string moved = Written(doc);
            EXPECT_EQ(moved.find(time + ","), std::string::npos) << time;
        }
    }
}

// Every ASS text of up to five of the bytes that matter to the held form ("\", "N", "n", "|"
// and a letter) comes back as the file wrote it.
TEST(FormatsWrite, AssTextsComeBackAsWritten) {
    const std::string bytes = "\\Nn|a";
    std::string file = kAssHead;
    std::vector<std::string> texts{""};
    for (std::size_t from = 0, length = 1; length <= 5; ++length) {
        const std::size_t to = texts.size();
        for (std::size_t k = from; k < to; ++k)
            for (const char c : bytes)
                texts.push_back(texts[k] + c);
        from = to;
    }
    for (const std::string& text : texts)
        file += "Dialogue: 0,0:00:01.00,0:00:02.00,D,,0,0,0,," + text + "\r\n";
    const SubTitle doc = Doc(file, "a.ass");
    ASSERT_EQ(doc.Count(), static_cast<int>(texts.size()));
    EXPECT_EQ(Written(doc), file);
    EXPECT_EQ(doc.Item(static_cast<int>(texts.size()) - 1)->Text, "aaaaa");
}

// The same for WebVTT times, with and without hours in the first cue.
TEST(FormatsWrite, VttTimesComeBackAsWritten) {
    const std::vector<std::pair<std::string, int32_t>> times{
        {"00:01.000", 1000},    {"00:00:01.000", 1000}, {"01:00:01.000", 3601000},
        {"59:59.999", 3599999}, {"00:60.000", -1},      {"60:00.000", -1},
        {"00:00:01,500", 1500}, {"00:01.5", 1500},      {"1:02:03.004", 3723004},
        {"99:59:59.999", -2},   {"100:00:00.000", -1},  {"000:01.000", 1000}};
    for (const std::string first : {"00:00.000", "00:00:00.000"}) {
        for (const auto& [time, ms] : times) {
            const std::string file = "WEBVTT\n\n" + first + " --> " + first + "\na\n\n" + time +
                                     " --> 00:00:09.000\nb\n";
            SubTitle doc = Doc(file, "a.vtt");
            EXPECT_EQ(Written(doc), file) << time;
            if (ms == -1) {
                EXPECT_EQ(doc.Count(), 1) << time; // kept as a bad line
                continue;
            }
            ASSERT_EQ(doc.Count(), 2) << time;
            if (ms >= 0) {
                EXPECT_EQ(doc.Item(1)->Start, ms) << time;
            }
            if (ms == -2) continue; // the latest time stays where it is
            Apply(doc, ShiftChange(doc, 1, 1, 10));
            EXPECT_EQ(Written(doc).find(time + " "), std::string::npos) << time;
        }
    }
}

TEST(FormatsWrite, ChangedEntriesKeepTheirFields) {
    SubTitle doc = Doc(kAss, "a.ass");
    // The edit window's change: new times and text, the other fields stay.
    Apply(doc, SetEntryChange(doc, 0, PerTitle(1234, 2995, "New|two \\| three")));
    Apply(doc, ShiftChange(doc, 1, 1, 10));
    Apply(doc, InsertBlankChange(doc, 2, 1));
    EXPECT_EQ(Written(doc),
              kAssHead + "Dialogue: 0,0:00:01.23,0:00:03.00,Sign,Bob,1,2,3,Fx,New\\Ntwo | three\r\n"
                         "Comment: 2,0:00:03.01,0:00:04.01,Default,,0,0,0,,note\r\n"
                         "Dialogue: 0,0:00:04.02,0:00:04.02,Default,,0,0,0,,\r\n");

    SubTitle vtt = Doc(kVtt, "a.vtt");
    Apply(vtt, SetEntryChange(vtt, 1, PerTitle(3000, 4000, "x \\| y|z")));
    Apply(vtt, ReplaceChange(vtt, "A", "Q", 0, 1));
    Apply(vtt, InsertBlankChange(vtt, 0, 1));
    // A NOTE before the first cue belongs to the head.
    EXPECT_EQ(Written(vtt), "WEBVTT\n"
                            "\n"
                            "NOTE kept\n"
                            "\n"
                            "00:00.000 --> 00:00.000\n" // in the file's short form
                            "\n"
                            "2\n" // the cue's number follows its place
                            "00:01.000 --> 00:02.000 align:start\n"
                            "<i>Q</i>\n"
                            "B\n"
                            "\n"
                            "cue-two\n"
                            "00:03.000 --> 00:04.000\n"
                            "x | y\n"
                            "z\n");
}

TEST(FormatsWrite, UndoGivesTheFileBack) {
    for (const auto& [name, bytes] : {std::pair<std::string, std::string>{"a.ass", kAss},
                                      {"a.vtt", kVtt}}) {
        SCOPED_TRACE(name);
        SubTitle doc = Doc(bytes, name);
        std::vector<TChange> undo;
        undo.push_back(doc.Apply(ShiftChange(doc, 0, 1, -400)));
        undo.push_back(doc.Apply(EraseChange(doc, 0, 0)));
        undo.push_back(doc.Apply(InsertBlankChange(doc, 1, 2)));
        undo.push_back(doc.Apply(SetEntryChange(doc, 0, PerTitle(5, 6, "t"))));
        ASSERT_NE(Written(doc), bytes);
        for (std::size_t k = undo.size(); k-- > 0;)
            doc.Apply(std::move(undo[k]));
        EXPECT_EQ(Written(doc), bytes);
    }
}

TEST(FormatsWrite, TimesRoundAndClamp) {
    SubTitle doc = Doc(kAssHead, "a.ass");
    Apply(doc, InsertChange(doc, 0,
                            {PerTitle(1234, 1235, "r"), PerTitle(-50, 359999999, "c"),
                             PerTitle(3599995, 3600004, "h")}));
    EXPECT_EQ(Written(doc), kAssHead + "Dialogue: 0,0:00:01.23,0:00:01.24,Default,,0,0,0,,r\r\n"
                                       "Dialogue: 0,0:00:00.00,99:59:59.99,Default,,0,0,0,,c\r\n"
                                       "Dialogue: 0,1:00:00.00,1:00:00.00,Default,,0,0,0,,h\r\n");
    // WebVTT: a file in MM:SS.mmm keeps that form under an hour.
    SubTitle vtt = Doc("WEBVTT\n\n00:01.000 --> 00:02.000\na\n", "a.vtt");
    Apply(vtt, ShiftChange(vtt, 0, 0, 3600000 - 1500));
    Apply(vtt, InsertChange(vtt, 1, {PerTitle(-1, 7, "n")}));
    EXPECT_EQ(Written(vtt), "WEBVTT\n\n59:59.500 --> 01:00:00.500\na\n\n"
                            "00:00.000 --> 00:00.007\nn\n");
}

TEST(FormatsWrite, AFileWithoutEventsGetsThemForItsFirstEntry) {
    SubTitle doc = Doc("[Script Info]\nTitle: t", "a.ass");
    ASSERT_EQ(doc.Count(), 0);
    EXPECT_EQ(Written(doc), "[Script Info]\nTitle: t");
    Apply(doc, InsertChange(doc, 0, {PerTitle(0, 1000, "x")}));
    EXPECT_EQ(Written(doc), "[Script Info]\nTitle: t\n\n[Events]\nFormat: Layer, Start, End, "
                            "Style, Name, MarginL, MarginR, MarginV, Effect, Text\n"
                            "Dialogue: 0,0:00:00.00,0:00:01.00,Default,,0,0,0,,x\n");
    // Events before another section: the entries go into them.
    SubTitle fonts = Doc("[Script Info]\n[Events]\nFormat: Start, End, Text\n\n[Fonts]\nf\n", "a.ass");
    Apply(fonts, InsertChange(fonts, 0, {PerTitle(0, 1000, "y")}));
    EXPECT_EQ(Written(fonts), "[Script Info]\n[Events]\nFormat: Start, End, Text\n"
                              "Dialogue: 0:00:00.00,0:00:01.00,y\n\n[Fonts]\nf\n");
}

TEST(FormatsKeep, RecoveryCopies) {
    TempDir dir;
    for (const auto& [name, bytes] : {std::pair<std::string, std::string>{"a.ass", kAss},
                                      {"a.vtt", kVtt}}) {
        SCOPED_TRACE(name);
        SubTitle doc = Doc(bytes, dir.File(name));
        Apply(doc, SetEntryChange(doc, 1, PerTitle(3000, 4500, "edited")));
        const std::string expected = Written(doc);
        const std::string path = dir.Write(name + ".rec", RecoveryBytes(doc, 0, 1));
        std::optional<SubTitle> back = ReadRecovery(path);
        ASSERT_TRUE(back);
        EXPECT_EQ(back->FormatIndex(), doc.FormatIndex());
        EXPECT_EQ(Written(*back), expected);
    }
    // A copy an earlier build wrote (version 1) is still read.
    const std::string old = "VELITRA-RECOVERY 1\nside 0\ntime 5\nformat 0\nrate 25\ncodepage "
                            "65001\nencoding 0\ncount 1\nfile 5\nx.srt\nentries\n1 2 2\nhi\nend\n";
    std::optional<SubTitle> back = ReadRecovery(dir.Write("old.rec", old));
    ASSERT_TRUE(back);
    EXPECT_EQ(EntriesOf(*back), (Entries{{1, 2, "hi"}}));
}

TEST(FormatsKeep, CombineAndImport) {
    SubTitle ass = Doc(kAss, "a.ass");
    SubTitle other = Doc(kAssHead + "Dialogue: 5,0:00:09.00,0:00:10.00,Top,Ann,0,0,0,,T\r\n",
                         "b.ass");
    SubTitle srt = Doc("1\r\n00:00:07,000 --> 00:00:08,000\r\n<i>S</i>\r\n", "c.srt");
    // From an ASS document of the same field order: the copy keeps its fields.
    Apply(ass, CombineChange(ass, other, 0, 0, 2, false));
    // From SubRip: times and text, and the target's defaults.
    Apply(ass, CombineChange(ass, srt, 0, 0, 3, false));
    // Importing texts keeps the target entry's own fields.
    Apply(ass, ImportChange(ass, srt, 0, 0, 0, 0, false, true));
    EXPECT_EQ(Written(ass),
              kAssHead + "Dialogue: 0,0:00:01.00,0:00:02.00,Sign,Bob,1,2,3,Fx,<i>S</i>\r\n"
                         "Comment: 2,0:00:03.00,0:00:04.00,Default,,0,0,0,,note\r\n"
                         "Dialogue: 5,0:00:09.00,0:00:10.00,Top,Ann,0,0,0,,T\r\n"
                         "Dialogue: 0,0:00:07.00,0:00:08.00,Default,,0,0,0,,<i>S</i>\r\n");
    // ASS entries into SubRip are SubRip entries.
    Apply(srt, CombineChange(srt, ass, 0, 0, 1, false));
    EXPECT_EQ(srt.Item(1)->Fields, 0u);
}

// Every pair of the five formats: the times, and the text with its tags carried over.
TEST(FormatsConvert, BetweenEveryPair) {
    struct Source {
        int32_t format;
        std::string name, bytes;
    };
    const std::vector<Source> sources = {
        {FormatSubRip, "s.srt",
         "1\r\n00:00:01,000 --> 00:00:02,400\r\n<i>It</i> & <font color=red>me</font>\r\nx\r\n"},
        // A line's own codes are its text (those right after the frames have a test of their own).
        {FormatMicroDVD, "m.sub", "{25}{60}It & me|{y:i}x\r\n"},
        {FormatSubViewer, "v.sub",
         "[INFORMATION]\r\n[END INFORMATION]\r\n00:00:01.00,00:00:02.40\r\nIt & me[br]x\r\n"},
        {FormatWebVTT, "w.vtt", "WEBVTT\n\n00:01.000 --> 00:02.400\n<v Al><i>It</i> &amp; me\nx\n"},
        {FormatASS, "a.ass",
         kAssHead + "Dialogue: 0,0:00:01.00,0:00:02.40,D,,0,0,0,,{\\i1\\pos(1,2)}It{\\i0} & me\\Nx\r\n"},
    };
    // The text each source's entry has when written in each format, and the tags dropped.
    struct Expected {
        std::string text[6];
        int dropped[6];
    };
    const std::vector<Expected> expected = {
        {{"<i>It</i> & <font color=red>me</font>|x", "<i>It</i> & <font color=red>me</font>|x",
          "<i>It</i> & <font color=red>me</font>|x", "<i>It</i> &amp; me|x",
          "{\\i1}It{\\i0} & me|x", "{\\i1}It{\\i0} & me|x"},
         {0, 0, 0, 1, 1, 1}},
        {{"It & me|{y:i}x", "It & me|{y:i}x", "It & me|{y:i}x", "It &amp; me|<i>x</i>",
          "It & me|{\\i1}x", "It & me|{\\i1}x"},
         {0, 0, 0, 0, 0, 0}},
        {{"It & me|x", "It & me|x", "It & me|x", "It &amp; me|x", "It & me|x", "It & me|x"},
         {0, 0, 0, 0, 0, 0}},
        {{"<i>It</i> & me|x", "<i>It</i> & me|x", "<i>It</i> & me|x", "<v Al><i>It</i> &amp; me|x",
          "{\\i1}It{\\i0} & me|x", "{\\i1}It{\\i0} & me|x"},
         {1, 1, 1, 0, 1, 1}},
        {{"<i>It</i> & me|x", "<i>It</i> & me|x", "<i>It</i> & me|x", "<i>It</i> &amp; me|x",
          "{\\i1\\pos(1,2)}It{\\i0} & me|x", "{\\i1\\pos(1,2)}It{\\i0} & me|x"},
         {1, 1, 1, 1, 0, 0}},
    };
    const char* const ext[] = {".srt", ".sub", ".sub", ".vtt", ".ass", ".ssa"};
    TempDir dir;
    for (std::size_t s = 0; s < sources.size(); ++s) {
        SubTitle doc = Doc(sources[s].bytes, sources[s].name);
        ASSERT_EQ(doc.FormatIndex(), sources[s].format) << sources[s].name;
        for (int32_t to = FormatSubRip; to <= FormatSSA; ++to) {
            SCOPED_TRACE(sources[s].name + " to " + std::to_string(to));
            SaveAsOptions o;
            o.format = to;
            o.last = 0;
            const std::string path = dir.File("out" + std::to_string(s) + "-" +
                                              std::to_string(to) + ext[to]);
            const SaveAsResult r = SaveAs(doc, path, o);
            ASSERT_TRUE(r.ok) << r.why;
            EXPECT_EQ(r.droppedTags, expected[s].dropped[to]);
            // Read back as what it was written as.
            SubTitle back = SubTitle::FromBytes(ReadBytes(path), path, 25.0);
            ASSERT_TRUE(back.IsLoaded());
            // SubViewer's placeholder after its header reads back as no entry.
            ASSERT_EQ(back.Count(), 1);
            const PerTitle& e = *back.Item(back.Count() - 1);
            EXPECT_EQ(e.Text, expected[s].text[to]);
            // MicroDVD holds frames, SubViewer hundredths: 1 s and 2.4 s fall on both.
            EXPECT_EQ(e.Start, 1000);
            EXPECT_EQ(e.End, 2400);
        }
    }
}

// MicroDVD's codes right after the frames are no part of the text, yet they are the caption's
// style: kept with the entry, written back, shown, carried into the other formats and copies.
// The search every written text goes through, eight bytes at a time, against the plain one: at
// every start, over texts whose bytes are the ones looked for, their neighbours and high bytes.
TEST(FormatsWrite, FindAnyFindsTheFirstMatch) {
    const char alphabet[] = {'\\', '|', '\0', '\n', '[', '{', '}', 'N', '\x80', '\xDC', '\xFF', 'a', '\x01'};
    uint32_t seed = 12345;
    auto next = [&seed] { return seed = seed * 1103515245u + 12345u, seed >> 16; };
    for (int round = 0; round < 2000; ++round) {
        std::string text(next() % 40, ' ');
        for (char& ch : text)
            ch = next() % 3 == 0 ? alphabet[next() % sizeof alphabet] : static_cast<char>('b' + next() % 20);
        for (const char* set : {"\\|", "{}\n", "|\xDC", "\xFF\x80"}) {
            const char a = set[0], b = set[1], c = set[1] ? set[2] : '\0';
            for (std::size_t from = 0; from <= text.size() + 1; ++from) {
                std::size_t plain = text.size();
                for (std::size_t i = from; i < text.size(); ++i)
                    if (text[i] == a || text[i] == b || (c != '\0' && text[i] == c)) {
                        plain = i;
                        break;
                    }
                ASSERT_EQ(FindAny(text, from, a, b, c), plain) << round << " from " << from;
            }
        }
    }
}

TEST(FormatsConvert, MicroDvdCodesAfterTheFrames) {
    const std::string bytes = "{25}{50}{y:i}slanted|plain\r\n{75}{100}{c:$0000FF}{y:b}bold\r\n"
                              "{125}{150}none\r\n";
    SubTitle doc = Doc(bytes, "m.sub");
    ASSERT_EQ(doc.FormatIndex(), FormatMicroDVD);
    EXPECT_EQ(EntriesOf(doc),
              (Entries{{1000, 2000, "slanted|plain"}, {3000, 4000, "bold"}, {5000, 6000, "none"}}));
    std::ostringstream same;
    ASSERT_TRUE(WriteMicroDVD(doc, same, 0, false, 0, 25.0, doc.Count() - 1));
    EXPECT_EQ(same.str(), bytes);

    EXPECT_TRUE(CaptionOf(doc, 0).Italic);
    EXPECT_EQ(CaptionOf(doc, 0).Lines, (std::vector<std::string>{"slanted", "plain"}));
    EXPECT_FALSE(CaptionOf(doc, 1).Italic);
    EXPECT_EQ(CaptionOf(doc, 1).Lines, (std::vector<std::string>{"bold"}));

    struct Case {
        int32_t to;
        const char* name;
        std::vector<std::string> texts;
        int dropped; // the colour
    };
    const std::vector<Case> cases = {
        {FormatWebVTT, "o.vtt", {"<i>slanted</i>|plain", "<b>bold</b>", "none"}, 1},
        {FormatASS, "o.ass", {"{\\i1}slanted{\\i0}|plain", "{\\b1}bold", "none"}, 1},
        {FormatMicroDVD, "o.sub", {"slanted|plain", "bold", "none"}, 0},
    };
    TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SaveAsOptions o;
        o.format = c.to;
        o.last = doc.Count() - 1;
        o.frameRate = 25.0;
        const SaveAsResult r = SaveAs(doc, dir.File(c.name), o);
        ASSERT_TRUE(r.ok) << r.why;
        EXPECT_EQ(r.droppedTags, c.dropped);
        const SubTitle back = Doc(ReadBytes(dir.File(c.name)), dir.File(c.name));
        ASSERT_EQ(back.Count(), 3);
        for (int k = 0; k < 3; ++k)
            EXPECT_EQ(back.Item(k)->Text, c.texts[size_t(k)]) << k;
        if (c.to == FormatMicroDVD) {
            EXPECT_EQ(ReadBytes(dir.File(c.name)), bytes);
        }
    }

    // Copied into another MicroDVD document, an entry takes its codes along.
    SubTitle other = Doc("{1}{2}x\r\n", "n.sub");
    Apply(other, InsertFromChange(other, 1, doc, 0, 0));
    std::ostringstream copied;
    ASSERT_TRUE(WriteMicroDVD(other, copied, 0, false, 0, 25.0, other.Count() - 1));
    EXPECT_NE(copied.str().find("{25}{50}{y:i}slanted|plain\r\n"), std::string::npos) << copied.str();

    // A recovery copy keeps them.
    std::optional<SubTitle> back = ReadRecovery(dir.Write("m.rec", RecoveryBytes(doc, 0, 1)));
    ASSERT_TRUE(back);
    std::ostringstream recovered;
    ASSERT_TRUE(WriteMicroDVD(*back, recovered, 0, false, 0, 25.0, back->Count() - 1));
    EXPECT_EQ(recovered.str(), bytes);
}

TEST(FormatsConvert, AssHeadFromTheStyle) {
    SubTitle srt = Doc("1\r\n00:00:01,000 --> 00:00:02,000\r\nx\r\n", "s.srt");
    TempDir dir;
    SaveAsOptions o;
    o.format = FormatASS;
    o.last = 0;
    o.assStyle.PlayResX = 1280;
    o.assStyle.PlayResY = 720;
    o.assStyle.FontName = "微軟正黑體";
    o.assStyle.FontSize = 48;
    o.assStyle.Colour = 0xFFFF00; // yellow: blue 00, green FF, red FF
    ASSERT_TRUE(SaveAs(srt, dir.File("o.ass"), o).ok);
    const std::string bytes = ReadBytes(dir.File("o.ass"));
    EXPECT_NE(bytes.find("PlayResX: 1280\r\nPlayResY: 720\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("Style: Default,微軟正黑體,48,&H0000FFFF,"), std::string::npos);
    EXPECT_NE(bytes.find("Dialogue: 0,0:00:01.00,0:00:02.00,Default,,0,0,0,,x\r\n"),
              std::string::npos);
    // A stretch of an ASS document in its own format keeps the head and the fields.
    SubTitle ass = Doc(kAss, "a.ass");
    o = SaveAsOptions();
    o.format = FormatASS;
    o.first = 1;
    o.last = 1;
    o.newStart = 0;
    ASSERT_TRUE(SaveAs(ass, dir.File("p.ass"), o).ok);
    EXPECT_EQ(ReadBytes(dir.File("p.ass")),
              kAssHead + "Comment: 2,0:00:00.00,0:00:01.00,Default,,0,0,0,,note\r\n");
    // Into another format a Comment line, which no player shows, is left out.
    o.format = FormatSubRip;
    o.first = 0;
    o.last = 1;
    o.newStart.reset();
    const SaveAsResult r = SaveAs(ass, dir.File("q.srt"), o);
    EXPECT_EQ(r.written, 1);
    EXPECT_EQ(ReadBytes(dir.File("q.srt")), "1\r\n00:00:01,000 --> 00:00:02,000\r\n<i>A</i>\r\nB\r\n\r\n");
}

TEST(FormatsCaption, PlainLinesAndItalics) {
    struct Case {
        int32_t format;
        std::string text;
        std::vector<std::string> lines;
        bool italic;
    } cases[] = {
        {FormatASS, "{\\i1}It{\\i0}|two\\hwords \\| bar", {"It", "two words | bar"}, true},
        {FormatASS, "{\\pos(1,2)\\fn微軟正黑體}你好", {"你好"}, false},
        {FormatASS, "{\\i0}plain", {"plain"}, false},
        {FormatWebVTT, "<v Bob><i>Hi</i> &amp; &lt;3|<c.loud>b</c> \\| c", {"Hi & <3", "b | c"}, true},
        {FormatSubRip, "<i>a</i>|<font color=red>b</font>", {"a", "b"}, true},
        {FormatSubRip, "a < b and c > d", {"a < b and c > d"}, false},
        {FormatMicroDVD, "{y:i}slanted|{c:$0000FF}red", {"slanted", "red"}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const TCaption caption = CaptionOf(c.text, c.format, kCodePageUtf8);
        EXPECT_EQ(caption.Lines, c.lines);
        EXPECT_EQ(caption.Italic, c.italic);
    }
    // An ASS Comment line is no caption.
    SubTitle doc = Doc(kAss, "a.ass");
    EXPECT_EQ(CaptionOf(doc, 0).Lines, (std::vector<std::string>{"A", "B"}));
    EXPECT_TRUE(CaptionOf(doc, 1).Lines.empty());
}

} // namespace
