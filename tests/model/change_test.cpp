// Changes as data: every command's change applied, taken back by what Apply answers, and applied
// again, each time to the exact entries; what a change keeps; changes that do nothing.
#include "Editing.h"

#include "ModelTestUtil.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>

using testutil::DocWith;

namespace {

std::vector<PerTitle> Entries(int n) {
    std::vector<PerTitle> entries;
    for (int i = 0; i < n; ++i)
        entries.emplace_back(i * 1000, i * 1000 + 1500, "e" + std::to_string(i));
    return entries;
}

bool Same(const std::vector<PerTitle>& a, const std::vector<PerTitle>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i].Start != b[i].Start || a[i].End != b[i].End || a[i].Text != b[i].Text)
            return false;
    return true;
}

} // namespace

// Each change, applied, undone and redone, gives back exactly the entries before and after it.
TEST(Change, UndoAndRedoGiveExactEntries) {
    struct Case {
        const char* name;
        std::function<TChange(const SubTitle&)> make;
    };
    std::vector<PerTitle> near;
    near.emplace_back(INT32_MAX - 5, INT32_MAX - 1, "late");
    near.emplace_back(INT32_MIN + 3, 0, "early");
    const Case cases[] = {
        {"shift", [](const SubTitle& d) { return ShiftChange(d, 2, 5, -700); }},
        {"rescale", [](const SubTitle& d) { return RescaleChange(d, 1, 6, 90000, 500); }},
        {"insert blank", [](const SubTitle& d) { return InsertBlankChange(d, 3, 2); }},
        {"insert at end", [](const SubTitle& d) { return InsertBlankChange(d, d.Count(), 1); }},
        {"erase", [](const SubTitle& d) { return EraseChange(d, 0, 3); }},
        {"erase with gaps",
         [](const SubTitle& d) {
             return EraseEntriesChange(d, {7, 1, 2, 5});
         }},
        {"set entry",
         [](const SubTitle& d) {
             return SetEntryChange(d, 4, {1, 2, "new|two"});
         }},
        {"replace", [](const SubTitle& d) { return ReplaceChange(d, "e", "xx", 0, 7); }},
        {"repair", [](const SubTitle& d) { return RepairOverlapsChange(d); }},
        {"insert copies of itself",
         [](const SubTitle& d) { return InsertFromChange(d, 8, d, 2, 0); }},
    };
    for (const Case& c : cases) {
        SubTitle doc = DocWith(Entries(8));
        const std::vector<PerTitle> before = doc.Entries();
        TChange change = c.make(doc);
        ASSERT_FALSE(change.Empty()) << c.name;
        TChange undo = doc.Apply(std::move(change));
        const std::vector<PerTitle> after = doc.Entries();
        EXPECT_FALSE(Same(before, after)) << c.name;
        EXPECT_TRUE(doc.IsModified()) << c.name;
        TChange redo = doc.Apply(std::move(undo));
        EXPECT_TRUE(Same(doc.Entries(), before)) << c.name;
        doc.Apply(std::move(redo));
        EXPECT_TRUE(Same(doc.Entries(), after)) << c.name;
    }

    // A shift that saturates comes back exactly: the old times are kept, not computed back.
    SubTitle doc = DocWith(near);
    TChange undo = doc.Apply(ShiftChange(doc, 0, 1, 1000));
    EXPECT_EQ(doc.Item(0)->Start, INT32_MAX);
    doc.Apply(std::move(undo));
    EXPECT_TRUE(Same(doc.Entries(), near));
}

TEST(Change, EraseWithGapsTakesExactlyTheGivenEntries) {
    SubTitle doc = DocWith(Entries(12));
    doc.Apply(EraseEntriesChange(doc, {9, 1, 10, 1, -1, 12}));
    std::vector<std::string> texts;
    for (const PerTitle& e : doc.Entries())
        texts.push_back(e.Text);
    EXPECT_EQ(texts,
              (std::vector<std::string>{"e0", "e2", "e3", "e4", "e5", "e6", "e7", "e8", "e11"}));
}

// A change that would change nothing is empty, so a history gets no step for it.
TEST(Change, NothingToChangeGivesAnEmptyChange) {
    SubTitle doc = DocWith(Entries(4));
    std::vector<PerTitle> apart;
    apart.emplace_back(0, 500, "a");
    apart.emplace_back(1000, 1500, "b");
    SubTitle clean = DocWith(apart);
    int count = -1;
    EXPECT_TRUE(ReplaceChange(doc, "zz", "y", 0, 3, &count).Empty());
    EXPECT_EQ(count, 0);
    EXPECT_TRUE(ReplaceChange(doc, "e", "e", 0, 3, &count).Empty()); // the same text again
    EXPECT_EQ(count, 4);
    EXPECT_TRUE(ReplaceChange(doc, "e", "y", 3, 2).Empty()); // empty range
    EXPECT_TRUE(ShiftChange(doc, 0, 3, 0).Empty());
    EXPECT_TRUE(ShiftChange(doc, 2, 1, 100).Empty());
    EXPECT_TRUE(EraseChange(doc, 3, 4).Empty()); // past the end
    EXPECT_TRUE(InsertBlankChange(doc, 5, 1).Empty());
    EXPECT_TRUE(SetEntryChange(doc, 1, *doc.Item(1)).Empty());
    EXPECT_TRUE(RepairOverlapsChange(clean, &count).Empty());
    EXPECT_EQ(count, 0);
    EXPECT_FALSE(doc.IsModified());
    doc.Apply(TChange{});
    EXPECT_FALSE(doc.IsModified());
}

// A change keeps what it touches: ten texts of a thousand entries, or the times of a shift.
TEST(Change, KeepsOnlyWhatItChanges) {
    std::vector<PerTitle> entries = Entries(1000);
    for (int i = 0; i < 1000; i += 100)
        entries[static_cast<std::size_t>(i)].Text = "needle";
    SubTitle doc = DocWith(entries);
    int count = 0;
    TChange change = ReplaceChange(doc, "needle", "pin", 0, 999, &count);
    EXPECT_EQ(count, 10);
    std::size_t kept = 0;
    for (const THunk& hunk : change.Hunks)
        kept += std::get<TSplice>(hunk).Entries.size();
    EXPECT_EQ(kept, 10u);
    TChange undo = doc.Apply(std::move(change));
    EXPECT_LT(undo.Bytes(), 10 * 200u);

    TChange shift = ShiftChange(doc, 0, 999, 5);
    ASSERT_EQ(shift.Hunks.size(), 1u);
    EXPECT_TRUE(std::holds_alternative<TRetime>(shift.Hunks[0]));
    EXPECT_LT(shift.Bytes(), 1000 * sizeof(TEntryTimes) + 200);
}

// A change that reaches outside the document is refused before anything moves.
TEST(Change, OutsideTheDocumentChangesNothing) {
    SubTitle doc = DocWith(Entries(3));
    const std::vector<PerTitle> before = doc.Entries();
    TChange change;
    change.Hunks.emplace_back(TSplice{0, 1, {PerTitle(5, 6, "ok")}});
    change.Hunks.emplace_back(TRetime{2, {{1, 2}, {3, 4}}}); // entry 3 does not exist
    EXPECT_THROW(doc.Apply(std::move(change)), SubtitleError);
    TChange past;
    past.Hunks.emplace_back(TSplice{2, 2, {}});
    EXPECT_THROW(doc.Apply(std::move(past)), SubtitleError);
    TChange negative;
    negative.Hunks.emplace_back(TSplice{-1, 0, {PerTitle()}});
    EXPECT_THROW(doc.Apply(std::move(negative)), SubtitleError);
    EXPECT_TRUE(Same(doc.Entries(), before));
    EXPECT_FALSE(doc.IsModified());

    // Later hunks are checked against the count the earlier ones leave.
    TChange grow;
    grow.Hunks.emplace_back(TSplice{3, 0, {PerTitle(), PerTitle()}});
    grow.Hunks.emplace_back(TRetime{4, {{7, 8}}});
    doc.Apply(std::move(grow));
    EXPECT_EQ(doc.Count(), 5);
    EXPECT_EQ(doc.Item(4)->End, 8);
}
