// Find, replace and overlap repair on a document.
#include "Editing.h"

#include "ModelTestUtil.h"

#include <gtest/gtest.h>

#include <cmath>

using testutil::DocWith;

namespace {

std::vector<PerTitle> Texts(std::initializer_list<const char*> texts) {
    std::vector<PerTitle> entries;
    int32_t t = 0;
    for (const char* text : texts) {
        entries.emplace_back(t, t + 500, text);
        t += 1000;
    }
    return entries;
}

} // namespace

TEST(Find, FirstMatchInRangeAndNoWrap) {
    // Entries 3 and 7 hold "ab".
    SubTitle doc = DocWith(Texts({"x", "y", "z", "cab", "q", "r", "s", "abc", "t"}));
    EXPECT_EQ(FindText(doc, "ab", 0, 8), 3);
    EXPECT_EQ(FindText(doc, "ab", 4, 8), 7); // after the selection's entry
    EXPECT_EQ(FindText(doc, "ab", 8, 8), -1);
    EXPECT_EQ(FindText(doc, "AB", 0, 8), -1); // case counts
    EXPECT_EQ(FindText(doc, "", 0, 8), -1);
    EXPECT_EQ(FindText(doc, "ab", 5, 4), -1);
    EXPECT_EQ(FindText(doc, "ab", -1, 8), -1);
    EXPECT_EQ(FindText(doc, "ab", 0, 9), -1);
    EXPECT_FALSE(doc.IsModified());
}

TEST(Find, MatchesBeginOnWholeCharacters) {
    // 四 is A5 7C: its second byte is "|", which must not match a search for "|".
    SubTitle doc = DocWith({PerTitle(0, 1, "\xA5\x7C"), PerTitle(1, 2, "a|b")}, "big5.srt", true);
    EXPECT_EQ(FindText(doc, "|", 0, 1), 1);
    EXPECT_EQ(FindText(doc, "\xA5\x7C", 0, 1), 0);
}

// Without matching case only letters fold: A-Z, and the Latin-1 letters in UTF-8 and
// Windows-1252 texts; a double-byte character whose trail byte is a letter stays itself.
TEST(Find, EitherCaseFoldsLettersOnly) {
    struct Case {
        const char* name;
        int codePage;
        std::string text, what;
        std::size_t at; // npos: not found
    } cases[] = {
        {"ascii", kCodePageUtf8, "Hello World", "world", 6},
        {"ascii upper", kCodePageUtf8, "hello world", "WORLD", 6},
        {"no letter folds", kCodePageUtf8, "a[b", "A{B", std::string::npos},
        {"utf-8 latin", kCodePageUtf8, "CAF\xC3\x89", "caf\xC3\xA9", 0},
        {"utf-8 times", kCodePageUtf8, "\xC3\x97", "\xC3\xB7", std::string::npos},
        {"utf-8 other", kCodePageUtf8, "\xC4\x80", "\xC4\x81", std::string::npos},
        {"1252 latin", kCodePageWindows1252, "x\xC9t\xC9", "\xE9T\xE9", 1},
        {"big5 trail letter", kCodePageBig5, "\xA4\x61", "\xA4\x41", std::string::npos},
        {"big5 after a character", kCodePageBig5, "\xA4\x61" "Ab", "aB", 2},
        {"big5 trail is no start", kCodePageBig5, "\xA4\x61", "a", std::string::npos},
        {"longer than the text", kCodePageUtf8, "ab", "abc", std::string::npos},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FindInText(c.codePage, c.text, c.what, 0, false), c.at) << c.name;
        if (c.at != std::string::npos && c.text.substr(c.at, c.what.size()) != c.what) {
            EXPECT_EQ(FindInText(c.codePage, c.text, c.what, 0, true), std::string::npos)
                << c.name;
        }
    }
    SubTitle doc = DocWith(Texts({"x", "Cab", "ABC"}));
    EXPECT_EQ(FindText(doc, "AB", 0, 2, false), 1);
    EXPECT_EQ(FindText(doc, "AB", 0, 2, true), 2);
    int replaced = 0;
    TChange change = ReplaceChange(doc, "ab", "-", 0, 2, &replaced, false);
    EXPECT_EQ(replaced, 2);
    doc.Apply(std::move(change));
    EXPECT_EQ(doc.Item(1)->Text, "C-");
    EXPECT_EQ(doc.Item(2)->Text, "-C");
}

TEST(Replace, Cases) {
    struct Case {
        const char* text;
        const char* what;
        const char* with;
        const char* result;
        int count;
    } cases[] = {
        {"aaa", "a", "aa", "aaaaaa", 3}, // the replaced text is not searched again
        {"abab", "ab", "", "", 2},
        {"aaaa", "aa", "b", "bb", 2}, // occurrences do not overlap
        {"hello", "x", "y", "hello", 0},
        {"hello", "", "y", "hello", 0}, // an empty find text replaces nothing
        {"a|b", "|", " / ", "a / b", 1},
    };
    for (const Case& c : cases) {
        SubTitle doc = DocWith({PerTitle(0, 1, c.text)});
        EXPECT_EQ(ReplaceText(doc, c.what, c.with, 0, 0), c.count) << c.text;
        EXPECT_EQ(doc.Item(0)->Text, c.result) << c.text << " " << c.what;
        EXPECT_TRUE(doc.IsModified()) << "modified even when nothing changed";
    }
}

TEST(Replace, OnlyTheRangeAndWholeCharacters) {
    SubTitle doc = DocWith({PerTitle(0, 1, "\xA5\x7C|"), PerTitle(1, 2, "|"), PerTitle(2, 3, "|")},
                           "big5.srt", true);
    EXPECT_EQ(ReplaceText(doc, "|", "/", 0, 1), 2);
    EXPECT_EQ(doc.Item(0)->Text, "\xA5\x7C/"); // 四 keeps its "|" byte
    EXPECT_EQ(doc.Item(1)->Text, "/");
    EXPECT_EQ(doc.Item(2)->Text, "|");

    SubTitle untouched = DocWith({PerTitle(0, 1, "a")});
    EXPECT_EQ(ReplaceText(untouched, "a", "b", 1, 0), 0);
    EXPECT_EQ(ReplaceText(untouched, "a", "b", 0, 1), 0);
    EXPECT_EQ(untouched.Item(0)->Text, "a");
    EXPECT_FALSE(untouched.IsModified());
}

TEST(RepairOverlaps, EndsMoveNeverStarts) {
    SubTitle doc = DocWith({PerTitle(0, 1500, "a"), PerTitle(1000, 2000, "b"),
                            PerTitle(1999, 3000, "c"), PerTitle(3000, 4000, "d")});
    EXPECT_EQ(RepairOverlaps(doc), 2);
    EXPECT_EQ(doc.Item(0)->End, 999);
    EXPECT_EQ(doc.Item(1)->End, 1998);
    EXPECT_EQ(doc.Item(2)->End, 3000); // equal to the next start: no overlap
    EXPECT_EQ(doc.Item(3)->End, 4000);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(doc.Item(i)->Start, std::vector<int32_t>({0, 1000, 1999, 3000})[i]);
    EXPECT_TRUE(doc.IsModified());
}

TEST(RepairOverlaps, NothingToRepair) {
    SubTitle doc = DocWith({PerTitle(0, 1000, "a"), PerTitle(1000, 2000, "b")});
    EXPECT_EQ(RepairOverlaps(doc), 0);
    EXPECT_FALSE(doc.IsModified());
    SubTitle empty = DocWith({});
    EXPECT_EQ(RepairOverlaps(empty), 0);
    // The earliest start has no time before it: the end stops at the smallest time, no wrap.
    SubTitle edge = DocWith({PerTitle(INT32_MIN, 0, "a"), PerTitle(INT32_MIN, 5, "b")});
    EXPECT_EQ(RepairOverlaps(edge), 1);
    EXPECT_EQ(edge.Item(0)->End, INT32_MIN);
}

TEST(NearestStart, Cases) {
    SubTitle doc =
        DocWith({PerTitle(1000, 1500, "a"), PerTitle(3000, 3500, "b"), PerTitle(8000, 9000, "c")});
    const std::pair<int32_t, int> cases[] = {
        {2000, 0}, // a tie goes to the earlier entry
        {2001, 1}, {0, 0},      {1000, 0},      {5499, 1},      {5500, 1},
        {5501, 2}, {100000, 2}, {INT32_MIN, 0}, {INT32_MAX, 2},
    };
    for (auto [t, expected] : cases)
        EXPECT_EQ(NearestStart(doc, t), expected) << t;

    SubTitle one = DocWith({PerTitle(5, 6, "x")});
    EXPECT_EQ(NearestStart(one, -100), 0);
    SubTitle none = DocWith({});
    EXPECT_EQ(NearestStart(none, 0), -1);
}

TEST(CaptionAt, FollowsTheFilmAndSearchesAfterASeek) {
    SubTitle doc = DocWith({PerTitle(1000, 2000, "a"), PerTitle(3000, 4000, "b"),
                            PerTitle(4000, 4500, "c"), PerTitle(7000, 8000, "d")});
    // Moments in play order from the state the previous one left: (t, entry shown, index kept).
    struct Step {
        double t;
        int entry;
        int shown;
    };
    const Step steps[] = {
        {0, -1, -1},   {999.9, -1, -1}, {1000, 0, 0},  {1999.9, 0, 0},  {2000, -1, 0},
        {2999, -1, 0}, {3000, 1, 1},    {4000, 2, 2},  {4499, 2, 2},    {4500, -1, 2},
        {7500, 3, 3},  {8000, -1, 3},   {9000, -1, 3}, {1500, 0, 0},    {7999, 3, 3},
        {-5, -1, -1},  {4250, 2, 2},    {3500, 1, 1},  {6999.5, -1, 2}, {1e12, -1, 3},
    };
    int shown = -1;
    for (const Step& s : steps) {
        EXPECT_EQ(CaptionAt(doc, shown, s.t, 60000), s.entry) << s.t;
        EXPECT_EQ(shown, s.shown) << s.t;
    }
}

TEST(CaptionAt, StartsFromAnyIndexAndStaysInsideTheDocument) {
    SubTitle doc =
        DocWith({PerTitle(1000, 2000, "a"), PerTitle(3000, 4000, "b"), PerTitle(5000, 6000, "c"),
                 PerTitle(7000, 8000, "d"), PerTitle(9000, 10000, "e")});
    // Every start index (also stale ones past the end) against every kind of moment gives the
    // same answer as a plain scan.
    const double moments[] = {0, 1000, 1500, 2500, 3000, 5999, 6000, 9999, 10000, 50000};
    for (int from = -1; from <= 7; ++from) {
        for (double t : moments) {
            int shown = from;
            int expected = -1, last = -1;
            for (int i = 0; i < doc.Count(); ++i) {
                if (doc.Item(i)->Start <= t) last = i;
                if (doc.Item(i)->Start <= t && t < doc.Item(i)->End) expected = i;
            }
            EXPECT_EQ(CaptionAt(doc, shown, t, 60000), expected) << from << " " << t;
            EXPECT_EQ(shown, last) << from << " " << t;
        }
    }
    // The last entry with the film ending before or after the moment; an entry ending exactly
    // now is not shown.
    for (double filmEnd : {0.0, 9500.0, 20000.0}) {
        int shown = 4;
        EXPECT_EQ(CaptionAt(doc, shown, 10000, filmEnd), -1);
        EXPECT_EQ(shown, 4);
    }
    // Empty documents, documents out of time order and moments that are no number give no
    // index outside the document.
    SubTitle none = DocWith({});
    int shown = -1;
    EXPECT_EQ(CaptionAt(none, shown, 500, 0), -1);
    EXPECT_EQ(shown, -1);
    shown = 3;
    EXPECT_EQ(CaptionAt(none, shown, 500, 1000), -1);
    EXPECT_EQ(shown, -1);
    SubTitle shuffled = DocWith({PerTitle(5000, 6000, "x"), PerTitle(1000, 9000, "y"),
                                 PerTitle(0, 100, "z"), PerTitle(3000, 3100, "w")});
    for (double t : {-1.0, 50.0, 2000.0, 3050.0, 5500.0, 8999.0, 20000.0, std::nan("")}) {
        for (int from = -1; from < 4; ++from) {
            shown = from;
            const int got = CaptionAt(shuffled, shown, t, 10000);
            EXPECT_TRUE(got >= -1 && got < 4) << t;
            EXPECT_TRUE(shown >= -1 && shown < 4) << t;
        }
    }
}
