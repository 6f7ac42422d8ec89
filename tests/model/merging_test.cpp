// Combining, importing and pouring a text file into a document, as changes: the splice into the
// timeline with and without re-timing at every position, pairwise import until either range
// ends, the paragraph rules of a text file, code pages converted or refused, and ranges that
// are empty or outside a document changing nothing.
#include "ModelTestUtil.h"

#include "Merging.h"

#include <optional>
#include <tuple>

using testutil::DocWith;

namespace {

// Entries starting at the given times, each 500 ms long, texts "t1", "t2", ... (prefix p).
SubTitle Starts(const std::vector<int32_t>& starts, const std::string& p = "t") {
    std::vector<PerTitle> entries;
    for (std::size_t k = 0; k < starts.size(); ++k)
        entries.emplace_back(starts[k], starts[k] + 500, p + std::to_string(k + 1));
    return DocWith(std::move(entries));
}

std::vector<int32_t> StartsOf(const SubTitle& doc) {
    std::vector<int32_t> starts;
    for (const PerTitle& e : doc.Entries())
        starts.push_back(e.Start);
    return starts;
}

// Every entry's start, end and text, for comparing a document before and after.
std::vector<std::tuple<int32_t, int32_t, std::string>> All(const std::vector<PerTitle>& entries) {
    std::vector<std::tuple<int32_t, int32_t, std::string>> all;
    for (const PerTitle& e : entries)
        all.emplace_back(e.Start, e.End, e.Text);
    return all;
}

std::vector<std::string> TextsOf(const SubTitle& doc) {
    std::vector<std::string> texts;
    for (const PerTitle& e : doc.Entries())
        texts.push_back(e.Text);
    return texts;
}

struct CombineCase {
    const char* name;
    std::vector<int32_t> target, source;
    int first, last, position;
    bool autoAdjust;
    std::vector<int32_t> expected; // empty: no change at all
    std::vector<std::string> texts = {};
};

class Combine : public ::testing::TestWithParam<CombineCase> {};

TEST_P(Combine, SplicesTheCopiesIntoTheTimeline) {
    const CombineCase& c = GetParam();
    SubTitle doc = Starts(c.target);
    const SubTitle source = Starts(c.source, "s");
    const std::vector<PerTitle> before = doc.Entries();
    TChange change = CombineChange(doc, source, c.first, c.last, c.position, c.autoAdjust);
    if (c.expected.empty()) {
        EXPECT_TRUE(change.Empty());
        return;
    }
    TChange undo = doc.Apply(std::move(change));
    EXPECT_EQ(StartsOf(doc), c.expected);
    // Starts and ends move together: every entry keeps its length.
    for (const PerTitle& e : doc.Entries())
        EXPECT_EQ(e.End - e.Start, 500) << e.Text;
    if (!c.texts.empty()) {
        EXPECT_EQ(TextsOf(doc), c.texts);
    }
    // The other document is never touched, and one undo gives the target back exactly.
    EXPECT_EQ(StartsOf(source), c.source);
    doc.Apply(std::move(undo));
    EXPECT_EQ(All(doc.Entries()), All(before));
}

INSTANTIATE_TEST_SUITE_P(
    Positions, Combine,
    ::testing::Values(
        CombineCase{"BeforeEntry2Adjusted",
                    {1000, 5000, 9000},
                    {2000, 3000, 4000},
                    0,
                    2,
                    1,
                    true,
                    {1000, 3000, 4000, 5000, 9000, 13000},
                    {"t1", "s1", "s2", "s3", "t2", "t3"}},
        CombineCase{"BeforeEntry2AsTheyAre",
                    {1000, 5000, 9000},
                    {2000, 3000, 4000},
                    0,
                    2,
                    1,
                    false,
                    {1000, 2000, 3000, 4000, 5000, 9000},
                    {"t1", "s1", "s2", "s3", "t2", "t3"}},
        CombineCase{
            "RearAdjusted", {0, 60000}, {2000, 5000}, 0, 1, 2, true, {0, 60000, 62000, 65000}},
        CombineCase{
            "RearAsTheyAre", {0, 60000}, {2000, 5000}, 0, 1, 2, false, {0, 60000, 2000, 5000}},
        CombineCase{"FrontAdjusted",
                    {1000, 5000},
                    {2000, 3000, 4000},
                    0,
                    2,
                    0,
                    true,
                    {2000, 3000, 4000, 5000, 9000}},
        CombineCase{"FrontAsTheyAre",
                    {1000, 5000},
                    {2000, 3000, 4000},
                    0,
                    2,
                    0,
                    false,
                    {2000, 3000, 4000, 1000, 5000}},
        CombineCase{"EmptyTargetAdjusted", {}, {2000, 3000}, 0, 1, 0, true, {2000, 3000}},
        // A middle stretch: the copies move by prev - srcPrev (1000 - 2000), the later entries
        // by lastStart - srcPrev (4000 - 2000).
        CombineCase{"MiddleOfTheSourceAdjusted",
                    {1000, 5000, 9000},
                    {2000, 3000, 4000, 10000},
                    1,
                    2,
                    1,
                    true,
                    {1000, 2000, 3000, 7000, 11000},
                    {"t1", "s2", "s3", "t2", "t3"}},
        CombineCase{
            "EmptyTargetMiddleOfTheSource", {}, {2000, 3000, 4000}, 1, 2, 0, true, {1000, 2000}},
        // Nothing is inserted, so nothing moves either.
        CombineCase{"RangeBackwardsChangesNothing", {1000, 5000}, {2000, 3000}, 1, 0, 1, true, {}},
        CombineCase{"SourceWithoutEntries", {1000, 5000}, {}, 0, -1, 1, true, {}},
        CombineCase{"RangeOutsideTheSource", {1000, 5000}, {2000, 3000}, 1, 2, 1, true, {}},
        CombineCase{"PositionOutsideTheTarget", {1000, 5000}, {2000, 3000}, 0, 1, 3, true, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Combine, TimesSaturateInsteadOfOverflowing) {
    SubTitle doc = Starts({INT32_MAX - 1000});
    const SubTitle source = Starts({0, INT32_MAX - 600});
    doc.Apply(CombineChange(doc, source, 0, 1, 0, true));
    for (const PerTitle& e : doc.Entries())
        EXPECT_LE(e.Start, e.End);
    EXPECT_EQ(doc.Item(2)->End, INT32_MAX);
}

// 四 (A5 7C in Big5) has "|" as its second byte; its UTF-8 is E5 9B 9B.
const std::string kBig5Four = "\xA5\x7C";
const std::string kUtf8Four = "\xE5\x9B\x9B";
// An emoji no legacy page holds.
const std::string kEmoji = "\xF0\x9F\x98\x80";

TEST(Combine, ConvertsTextsIntoTheTargetsCodePage) {
    SubTitle doc = DocWith({PerTitle(0, 1, "x")});
    const SubTitle source = DocWith({PerTitle(0, 1, kBig5Four + "|b")}, "big5.srt", true);
    ASSERT_EQ(source.CodePage(), kCodePageBig5);
    doc.Apply(CombineChange(doc, source, 0, 0, 1, false));
    EXPECT_EQ(doc.Item(1)->Text, kUtf8Four + "|b");
}

// A text the target cannot hold, or one the source's own page cannot read (Windows-1252 bytes in
// a Big5 document: the source's fault, named with its page whatever the target's), stops the
// whole copy, naming the source entry.
TEST(Combine, ATextThatCannotBeConvertedStopsEverything) {
    struct Case {
        const char* what;
        SubTitle doc, source;
        bool unreadable;
        int page;
        const char* message;
    };
    Case cases[] = {
        {"the target cannot hold it", DocWith({PerTitle(0, 1, "x")}, "big5.srt", true),
         DocWith({PerTitle(0, 1, "fine"), PerTitle(5, 6, "a" + kEmoji)}), false, kCodePageBig5,
         "cannot be written in Big5"},
        {"its own page cannot read it", DocWith({PerTitle(0, 1, "x")}),
         DocWith({PerTitle(0, 1, kBig5Four), PerTitle(5, 6, "caf\xE9!")}, "big5.srt", true), true,
         kCodePageBig5, "is not valid Big5"},
    };
    for (const Case& c : cases) {
        try {
            (void)CombineChange(c.doc, c.source, 0, 1, 1, true);
            ADD_FAILURE() << "no error: " << c.what;
        } catch (const TextConversionError& e) {
            EXPECT_EQ(e.Number, 2) << c.what;
            EXPECT_FALSE(e.Line) << c.what;
            EXPECT_EQ(e.Unreadable, c.unreadable) << c.what;
            EXPECT_EQ(e.CodePage, c.page) << c.what;
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
        }
    }
}

struct ImportCase {
    const char* name;
    int sourceFirst, sourceLast, targetFirst, targetLast;
    bool times, texts;
    // Per target entry: the source entry (1-based) it took from, or 0 when it kept its own.
    std::vector<int> from;
};

class Import : public ::testing::TestWithParam<ImportCase> {};

TEST_P(Import, CopiesPairwiseUntilEitherRangeEnds) {
    const ImportCase& c = GetParam();
    // Target: 10 entries a second apart; source: 8 entries at 100 s and on, another text.
    std::vector<int32_t> t, s;
    for (int i = 0; i < 10; ++i)
        t.push_back(i * 1000);
    for (int i = 0; i < 8; ++i)
        s.push_back(100000 + i * 7000);
    SubTitle doc = Starts(t);
    const SubTitle source = Starts(s, "s");
    const std::vector<PerTitle> before = doc.Entries();
    TChange undo = doc.Apply(ImportChange(doc, source, c.sourceFirst, c.sourceLast, c.targetFirst,
                                          c.targetLast, c.times, c.texts));
    ASSERT_EQ(doc.Count(), 10);
    for (int j = 0; j < 10; ++j) {
        const PerTitle& e = *doc.Item(j);
        const int k = c.from[static_cast<std::size_t>(j)];
        const PerTitle& timesFrom = k && c.times ? *source.Item(k - 1) : before[std::size_t(j)];
        const PerTitle& textFrom = k && c.texts ? *source.Item(k - 1) : before[std::size_t(j)];
        EXPECT_EQ(e.Start, timesFrom.Start) << "entry " << j + 1;
        EXPECT_EQ(e.End, timesFrom.End) << "entry " << j + 1;
        EXPECT_EQ(e.Text, textFrom.Text) << "entry " << j + 1;
    }
    doc.Apply(std::move(undo));
    EXPECT_EQ(All(doc.Entries()), All(before));
}

INSTANTIATE_TEST_SUITE_P(
    Ranges, Import,
    ::testing::Values(
        ImportCase{
            "TimesOnlySourceShorter", 0, 7, 0, 9, true, false, {1, 2, 3, 4, 5, 6, 7, 8, 0, 0}},
        ImportCase{"TextsOnly", 0, 7, 0, 9, false, true, {1, 2, 3, 4, 5, 6, 7, 8, 0, 0}},
        ImportCase{"Both", 0, 7, 0, 9, true, true, {1, 2, 3, 4, 5, 6, 7, 8, 0, 0}},
        ImportCase{"TargetFiveToFive", 0, 7, 4, 4, true, true, {0, 0, 0, 0, 1, 0, 0, 0, 0, 0}},
        ImportCase{"SourceRangeFromThree", 2, 7, 4, 4, true, true, {0, 0, 0, 0, 3, 0, 0, 0, 0, 0}},
        ImportCase{"TargetShorter", 0, 7, 7, 9, true, true, {0, 0, 0, 0, 0, 0, 0, 1, 2, 3}},
        ImportCase{
            "RangesPastTheEndsAreCut", 6, 40, 8, 40, true, true, {0, 0, 0, 0, 0, 0, 0, 0, 7, 8}},
        ImportCase{"NothingChosen", 0, 7, 0, 9, false, false, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        ImportCase{"SourceRangeBackwards", 5, 4, 0, 9, true, true, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        ImportCase{"TargetRangeBackwards", 0, 7, 5, 4, true, true, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Import, NoEntriesOnEitherSideChangesNothing) {
    const SubTitle empty = Starts({});
    const SubTitle some = Starts({1000, 2000});
    EXPECT_TRUE(ImportChange(empty, some, 0, 1, 0, 0, true, true).Empty());
    EXPECT_TRUE(ImportChange(some, empty, 0, -1, 0, 1, true, true).Empty());
    EXPECT_TRUE(ImportChange(some, empty, 0, 0, 0, 1, true, true).Empty());
}

TEST(Import, ConvertsTextsAndRefusesWhatTheTargetCannotHold) {
    SubTitle doc = Starts({0, 1000});
    const SubTitle big5 = DocWith({PerTitle(5, 6, kBig5Four)}, "big5.srt", true);
    doc.Apply(ImportChange(doc, big5, 0, 0, 1, 1, false, true));
    EXPECT_EQ(doc.Item(1)->Text, kUtf8Four);
    EXPECT_EQ(doc.Item(1)->Start, 1000);

    const SubTitle target = DocWith({PerTitle(0, 1, "x"), PerTitle(1, 2, "y")}, "big5.srt", true);
    const SubTitle source = DocWith({PerTitle(10, 11, "ok"), PerTitle(11, 12, kEmoji)});
    try {
        (void)ImportChange(target, source, 0, 1, 0, 1, true, true);
        FAIL() << "no error";
    } catch (const TextConversionError& e) {
        EXPECT_EQ(e.Number, 2);
        EXPECT_FALSE(e.Line);
    }
    // Times alone carry no text: nothing to refuse.
    EXPECT_FALSE(ImportChange(target, source, 0, 1, 0, 1, true, false).Empty());
}

struct ParagraphCase {
    const char* name;
    std::string text;
    std::size_t max;
    std::vector<std::string> paragraphs;
    std::vector<int> lines;
};

class Paragraphs : public ::testing::TestWithParam<ParagraphCase> {};

TEST_P(Paragraphs, AreRunsOfLinesBetweenBlankLines) {
    const ParagraphCase& c = GetParam();
    const TextSource source = TextSource::FromBytes(c.text);
    std::vector<std::string> texts;
    std::vector<int> lines;
    for (const TParagraph& p : TextParagraphs(source, c.max)) {
        texts.push_back(p.Text);
        lines.push_back(p.Line);
    }
    EXPECT_EQ(texts, c.paragraphs);
    EXPECT_EQ(lines, c.lines);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, Paragraphs,
    ::testing::Values(
        ParagraphCase{"TwoBlankLinesBetween", "a\nb\n\n\nc\n", 10, {"a|b", "c"}, {1, 5}},
        ParagraphCase{"LeadingBlankLineGivesAnEmptyText", "\na\n", 10, {"", "a"}, {1, 2}},
        ParagraphCase{"LeadingBlankRunGivesOneEmptyText",
                      "\r\n \r\n\r\na\r\n\r\nb",
                      10,
                      {"", "a", "b"},
                      {1, 4, 6}},
        ParagraphCase{"SpacesAndControlsAreBlank", "a\n \t \nb", 10, {"a", "b"}, {1, 3}},
        ParagraphCase{"LinesKeepTheirSpaces", "  x \n y\n", 10, {"  x | y"}, {1}},
        ParagraphCase{"TrailingBlankLines", "a\n\n\n\n", 10, {"a"}, {1}},
        ParagraphCase{"NoLines", "", 10, {}, {}},
        ParagraphCase{"StopsAtMax", "a\n\nb\n\nc\n", 2, {"a", "b"}, {1, 3}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PourText, FillsEntriesFromTheFirstOfTheRangeAndKeepsTimes) {
    SubTitle doc = Starts({0, 1000, 2000, 3000});
    const std::vector<PerTitle> before = doc.Entries();
    const TextSource text = TextSource::FromBytes("a\nb\n\n\nc\n");
    TChange undo = doc.Apply(PourTextChange(doc, text, 1, 3));
    EXPECT_EQ(TextsOf(doc), (std::vector<std::string>{"t1", "a|b", "c", "t4"}));
    EXPECT_EQ(StartsOf(doc), (std::vector<int32_t>{0, 1000, 2000, 3000}));
    doc.Apply(std::move(undo));
    EXPECT_EQ(All(doc.Entries()), All(before));
    // The range ends first: the rest of the text is not used.
    doc.Apply(PourTextChange(doc, text, 3, 3));
    EXPECT_EQ(TextsOf(doc), (std::vector<std::string>{"t1", "t2", "t3", "a|b"}));
    // Empty ranges, and a text without lines, change nothing.
    EXPECT_TRUE(PourTextChange(doc, text, 2, 1).Empty());
    EXPECT_TRUE(PourTextChange(doc, text, 4, 9).Empty());
    EXPECT_TRUE(PourTextChange(doc, TextSource::FromBytes(""), 0, 3).Empty());
}

TEST(PourText, ConvertsFromTheTextsOwnPage) {
    SubTitle doc = Starts({0, 1000});
    // A Big5 text with 四 (second byte "|") and an UTF-16 one: both arrive as UTF-8 characters.
    doc.Apply(PourTextChange(doc, TextSource::FromBytes(kBig5Four + "\r\n" + kBig5Four), 0, 0));
    EXPECT_EQ(doc.Item(0)->Text, kUtf8Four + "|" + kUtf8Four);
    const std::string utf16 = std::string("\xFF\xFE", 2) + std::string("x\0\n\0y\0", 6);
    doc.Apply(PourTextChange(doc, TextSource::FromBytes(utf16), 1, 1));
    EXPECT_EQ(doc.Item(1)->Text, "x|y");
    // A Big5 document takes a UTF-8 text with a BOM in Big5.
    SubTitle big5 = DocWith({PerTitle(0, 1, "x")}, "big5.srt", true);
    big5.Apply(PourTextChange(big5, TextSource::FromBytes("\xEF\xBB\xBF" + kUtf8Four), 0, 0));
    EXPECT_EQ(big5.Item(0)->Text, kBig5Four);
}

TEST(PourText, ALineTheTargetCannotHoldIsNamed) {
    const SubTitle big5 = DocWith({PerTitle(0, 1, "x"), PerTitle(1, 2, "y")}, "big5.srt", true);
    try {
        (void)PourTextChange(big5, TextSource::FromBytes("fine\n\n\nbad " + kEmoji + "\n"), 0, 1);
        FAIL() << "no error";
    } catch (const TextConversionError& e) {
        EXPECT_EQ(e.Number, 4);
        EXPECT_TRUE(e.Line);
        EXPECT_EQ(e.CodePage, kCodePageBig5);
    }
}

TEST(PourText, ALineItsOwnPageCannotReadIsNamedAsSuch) {
    const SubTitle doc = DocWith({PerTitle(0, 1, "x"), PerTitle(1, 2, "y")});
    try {
        (void)PourTextChange(
            doc, TextSource::FromBytes("fine\n\ncaf\xE9!\n", LegacyPage::Forced(kCodePageBig5)), 0, 1);
        FAIL() << "no error";
    } catch (const TextConversionError& e) {
        EXPECT_EQ(e.Number, 3);
        EXPECT_TRUE(e.Line);
        EXPECT_TRUE(e.Unreadable);
        EXPECT_EQ(e.CodePage, kCodePageBig5);
    }
}

TEST(ImportKind, ByExtensionInAnyLetterCase) {
    const std::vector<std::pair<std::string, TImportKind>> cases = {
        {"a.srt", TImportKind::Subtitle},
        {"/x/A.SRT", TImportKind::Subtitle},
        {"b.Sub", TImportKind::Subtitle},
        {"w.vtt", TImportKind::Subtitle},
        {"a.ASS", TImportKind::Subtitle},
        {"s.ssa", TImportKind::Subtitle},
        {"c.txt", TImportKind::Text},
        {"d.CSV", TImportKind::Text},
        {"e.doc", TImportKind::Other},
        {"noextension", TImportKind::Other},
        {"/dir.srt/file", TImportKind::Other},
        {"", TImportKind::Other},
    };
    for (const auto& [name, kind] : cases)
        EXPECT_EQ(ImportKindOf(name), kind) << name;
}

} // namespace
