// The checks of what a viewer can read, kind by kind, with the CJK counting rules; and the fixes
// as changes undone to the original entries.
#include "Checks.h"

#include "CodePage.h"
#include "ModelTestUtil.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

SubTitle DocOf(std::vector<PerTitle> entries, int codePage = kCodePageUtf8) {
    for (PerTitle& e : entries)
        e.Text = FromUtf8(codePage, e.Text).value();
    return SubTitle::Restore(std::move(entries), "t.srt", FormatSubRip, 25, codePage,
                             FileEncoding::Plain);
}

// "3 Overlap 120" per problem, one a line.
std::string Listed(const std::vector<TCheckProblem>& problems) {
    static const char* const names[] = {"StartAfterEnd", "OutOfOrder", "Overlap", "GapTooSmall",
                                        "TooShort", "TooLong", "ReadingSpeed", "LineTooLong",
                                        "TooManyLines", "EmptyText"};
    std::ostringstream out;
    for (const TCheckProblem& p : problems)
        out << p.Index << ' ' << names[static_cast<int>(p.Kind)] << ' ' << p.Value << '\n';
    return out.str();
}

} // namespace

// What a caption gives to read: each CJK character (full-width punctuation too) one, Latin
// letters, digits and spaces one, tags, "|" and line ends nothing; widths in display columns.
TEST(Checks, ReadingCountsCharactersNotBytes) {
    struct Case {
        const char* text;
        int characters;
        bool cjk;
        bool visible;
        int lines;
        int widest;
    };
    const Case cases[] = {
        {"你好\uFF0C世界\u3002", 6, true, true, 1, 12},
        {"Hello 42", 8, false, true, 1, 8},
        {"{\\an8}<i>你好</i>|ab", 4, true, true, 2, 4},
        {"カタカナ", 4, true, true, 1, 8},
        {"한국어", 3, false, true, 1, 6},
        {"a|b|c", 3, false, true, 3, 1},
        {" \u3000 ", 3, true, false, 1, 4},
        {"{\\an8}", 0, false, false, 1, 0},
        {"", 0, false, false, 1, 0},
        {"1 < 2 {x", 8, false, true, 1, 8},
    };
    for (const Case& c : cases) {
        const TReadingText r = MeasureReading(c.text);
        EXPECT_EQ(r.Characters, c.characters) << c.text;
        EXPECT_EQ(r.Cjk, c.cjk) << c.text;
        EXPECT_EQ(r.Visible, c.visible) << c.text;
        EXPECT_EQ(r.Lines, c.lines) << c.text;
        EXPECT_EQ(r.WidestLine, c.widest) << c.text;
    }
}

// Each kind found on a small document made to show it, and nothing on entries that are right
// at a limit.
TEST(Checks, EachKind) {
    const TCheckLimits limits;
    struct Case {
        const char* name;
        std::vector<PerTitle> entries;
        const char* expected;
    };
    const std::string sixteen = "一二三四五六七八九十一二三四五六";
    const Case cases[] = {
        {"fine at every limit",
         {{0, 700, "你好"}, {780, 7780, "Hi"}, {7860, 8860, "一二三四五六七八九十一二三四五"},
          {9000, 14000, sixteen + "|abcdefghij0123456789abcdefghij01"}},
         ""},
        {"overlap", {{0, 1200, "a"}, {1000, 2000, "b"}}, "0 Overlap 200\n"},
        {"gap too small", {{0, 1000, "a"}, {1079, 2000, "b"}}, "0 GapTooSmall 79\n"},
        {"too short", {{0, 699, "a"}}, "0 TooShort 699\n"},
        {"too long", {{0, 7001, "a"}}, "0 TooLong 7001\n"},
        // 16 CJK characters in 1 s: over 15; 16 Latin ones are under 20, 21 over.
        {"reading speed CJK", {{0, 1000, sixteen}}, "0 ReadingSpeed 16\n"},
        {"reading speed other",
         {{0, 1000, "abcdefghijklmnop"}, {2000, 3000, "abcdefghijklmnopqrstu"}},
         "1 ReadingSpeed 21\n"},
        {"tags do not count",
         {{0, 1000, "{\\fn微软雅黑}<i>一二三四五六七八九十</i>|一二三四五"}},
         ""},
        {"line too long",
         {{0, 5000, sixteen + "一"}, {6000, 11000, "abcdefghijklmnopqrstuvwxyz0123456"}},
         "0 LineTooLong 34\n1 LineTooLong 33\n"},
        {"too many lines", {{0, 5000, "a|b|c"}}, "0 TooManyLines 3\n"},
        {"empty", {{0, 1000, " \u3000"}, {2000, 3000, "{\\an8}"}}, "0 EmptyText 0\n1 EmptyText 0\n"},
        {"start after end", {{1000, 900, "a"}}, "0 StartAfterEnd 100\n"},
        {"out of order", {{5000, 6000, "a"}, {1000, 2000, "b"}}, "1 OutOfOrder 4000\n"},
        {"sorted by entry, kinds in order",
         {{0, 300, "a|b|c"}, {200, 1000, ""}},
         "0 Overlap 100\n0 TooShort 300\n0 TooManyLines 3\n1 EmptyText 0\n"},
    };
    for (const Case& c : cases) {
        const SubTitle doc = DocOf(c.entries);
        EXPECT_EQ(Listed(CheckDocument(doc, limits)), c.expected) << c.name;
    }
}

// A stretch is checked against its neighbours outside it.
TEST(Checks, StretchSeesItsNeighbours) {
    const SubTitle doc = DocOf({{5000, 6000, "a"}, {1000, 1300, "b"}, {1200, 3000, "c"}, {3000, 4000, ""}});
    const std::string all = Listed(CheckDocument(doc, TCheckLimits{}));
    EXPECT_EQ(all, "1 OutOfOrder 4000\n1 Overlap 100\n1 TooShort 300\n2 GapTooSmall 0\n3 EmptyText 0\n");
    EXPECT_EQ(Listed(CheckEntries(doc, 1, 2, TCheckLimits{})),
              "1 OutOfOrder 4000\n1 Overlap 100\n1 TooShort 300\n2 GapTooSmall 0\n");
    EXPECT_EQ(Listed(CheckEntries(doc, 3, 9, TCheckLimits{})), "3 EmptyText 0\n");
    EXPECT_EQ(Listed(CheckEntries(doc, 2, 1, TCheckLimits{})), "");
}

// A Big5 document is read as text: its double-byte characters count one each.
TEST(Checks, LegacyPageCountsCharacters) {
    const SubTitle doc = DocOf({{0, 1000, "一二三四五六七八九十一二三四五六"}}, kCodePageBig5);
    EXPECT_EQ(Listed(CheckDocument(doc, TCheckLimits{})), "0 ReadingSpeed 16\n");
    TCheckLimits loose;
    loose.CjkSpeed = 16;
    EXPECT_EQ(Listed(CheckDocument(doc, loose)), "");
}

// The fixes over the chosen entries only; each an exact step back.
TEST(Checks, FixesAreStepsUndoneExactly) {
    const TCheckLimits limits;
    const std::vector<PerTitle> entries = {
        {0, 300, "short, room after"},     // 0: extended to 700
        {1000, 1200, "short, next close"}, // 1: extended to 1420 - 80 = 1340
        {1420, 3600, "overlaps"},          // 2: ends 3500 - 80
        {3500, 4000, " "},                 // 3: empty
        {5000, 5100, "short, not chosen"}, // 4
        {6000, 6100, ""},                  // 5: empty, last
    };
    struct Case {
        const char* name;
        std::function<TChange(const SubTitle&)> fix;
        std::vector<std::pair<int32_t, int32_t>> times; // after the fix
        int count;
    };
    const std::vector<Case> cases = {
        {"extend", [&](const SubTitle& d) { return ExtendShortChange(d, {1, 0, 1, 2, 9}, limits); },
         {{0, 700}, {1000, 1340}, {1420, 3600}, {3500, 4000}, {5000, 5100}, {6000, 6100}}, 6},
        {"shorten", [&](const SubTitle& d) { return ShortenOverlapChange(d, {0, 1, 2, 3}, limits); },
         {{0, 300}, {1000, 1200}, {1420, 3420}, {3500, 4000}, {5000, 5100}, {6000, 6100}}, 6},
        {"remove empty", [&](const SubTitle& d) { return RemoveEmptyChange(d, {0, 3, 5}); },
         {{0, 300}, {1000, 1200}, {1420, 3600}, {5000, 5100}}, 4},
    };
    for (const Case& c : cases) {
        SubTitle doc = DocOf(entries);
        const std::vector<PerTitle> before = doc.Entries();
        TChange undo = doc.Apply(c.fix(doc));
        ASSERT_EQ(doc.Count(), c.count) << c.name;
        for (int i = 0; i < doc.Count(); ++i) {
            const auto [start, end] = c.times[static_cast<std::size_t>(i)];
            EXPECT_EQ(doc.Item(i)->Start, start) << c.name << " entry " << i;
            EXPECT_EQ(doc.Item(i)->End, end) << c.name << " entry " << i;
        }
        doc.Apply(std::move(undo));
        ASSERT_EQ(doc.Count(), static_cast<int>(before.size()));
        for (std::size_t i = 0; i < before.size(); ++i) {
            EXPECT_EQ(doc.Entries()[i].Start, before[i].Start) << c.name;
            EXPECT_EQ(doc.Entries()[i].End, before[i].End) << c.name;
            EXPECT_EQ(doc.Entries()[i].Text, before[i].Text) << c.name;
        }
        // Fixed once, the same fix finds nothing more to do.
        doc.Apply(c.fix(doc));
        EXPECT_TRUE(c.fix(doc).Empty()) << c.name;
    }
}
