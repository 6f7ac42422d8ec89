// Simplified/Traditional conversion: the words of each direction, tags and line breaks kept, the
// texts converted through the document's code page, and the encoding change undone with the text.
#include "Chinese.h"

#include "CodePage.h"
#include "ModelTestUtil.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

SubTitle DocIn(int codePage, const std::vector<std::string>& utf8Texts) {
    std::vector<PerTitle> entries;
    int t = 0;
    for (const std::string& text : utf8Texts) {
        std::optional<std::string> bytes = FromUtf8(codePage, text);
        EXPECT_TRUE(bytes) << text;
        entries.emplace_back(t, t + 900, bytes.value_or(""));
        t += 1000;
    }
    return SubTitle::Restore(std::move(entries), "t.srt", FormatSubRip, 25, codePage,
                             FileEncoding::Plain);
}

std::vector<std::string> Texts(const SubTitle& doc) {
    std::vector<std::string> texts;
    for (const PerTitle& e : doc.Entries())
        texts.push_back(e.Text);
    return texts;
}

} // namespace

// Each direction gives its own words: Taiwan's phrases where they differ from the characters.
TEST(Chinese, DirectionsGiveTheirWords) {
    struct Case {
        TChineseDirection direction;
        const char* in;
        const char* out;
    };
    const Case cases[] = {
        {TChineseDirection::S2twp, "软件 鼠标 信息 打印机 内存", "軟體 滑鼠 資訊 印表機 記憶體"},
        {TChineseDirection::S2t, "软件 鼠标 信息", "軟件 鼠標 信息"},
        {TChineseDirection::S2hk, "为什么 说", "為什麼 説"},
        {TChineseDirection::T2s, "軟體 滑鼠", "软体 滑鼠"},
        {TChineseDirection::Tw2sp, "軟體 滑鼠 資訊 印表機", "软件 鼠标 信息 打印机"},
        {TChineseDirection::Hk2s, "軟件 為什麼", "软件 为什么"},
        // Tags are not converted, the "|" line breaks and plain Latin text stay.
        {TChineseDirection::S2twp, "{\\fn微软雅黑}软件|<i>鼠标</i>", "{\\fn微软雅黑}軟體|<i>滑鼠</i>"},
        {TChineseDirection::S2twp, "<font face=\"微软雅黑\">内存</font>|OK 1|2",
         "<font face=\"微软雅黑\">記憶體</font>|OK 1|2"},
        // A brace that is never closed, or a "<" that opens no tag, is text.
        {TChineseDirection::S2t, "{软件 < 鼠标", "{軟件 < 鼠標"},
    };
    for (const Case& c : cases) {
        TChineseConverter converter(c.direction);
        EXPECT_EQ(converter.Convert(c.in), c.out)
            << ChineseDirectionName(c.direction) << ": " << c.in;
    }
}

TEST(Chinese, DirectionNamesAndDataFolder) {
    for (std::string_view name : ChineseDirectionNames()) {
        const auto direction = ChineseDirectionFromName(name);
        ASSERT_TRUE(direction) << name;
        EXPECT_EQ(ChineseDirectionName(*direction), name);
    }
    EXPECT_FALSE(ChineseDirectionFromName("s2tw"));
    EXPECT_EQ(AvailableChineseDirections().size(), 6u);

    // A data folder that lacks a configuration: the others are offered, the missing one is a
    // message naming its file.
    testutil::TempDir dir;
    namespace fs = std::filesystem;
    for (const char* name : {"s2t.json", "STPhrases.ocd2", "STCharacters.ocd2"})
        fs::copy_file(fs::path(ChineseDataFolder()) / name, dir.Path() / name);
    ::setenv("VELITRA_OPENCC_DATA", dir.Path().c_str(), 1);
    EXPECT_EQ(AvailableChineseDirections(), std::vector<TChineseDirection>{TChineseDirection::S2t});
    EXPECT_EQ(TChineseConverter(TChineseDirection::S2t).Convert("软件"), "軟件");
    try {
        TChineseConverter missing(TChineseDirection::S2twp);
        ADD_FAILURE() << "a missing configuration was opened";
    } catch (const SubtitleError& e) {
        EXPECT_NE(std::string(e.what()).find("s2twp.json"), std::string::npos) << e.what();
    }
    ::unsetenv("VELITRA_OPENCC_DATA");
}

// The stretch only, through the document's page: a GBK document stays GBK, entries outside the
// stretch and those without Chinese stay untouched, and the change is undone to the same bytes.
TEST(Chinese, StretchThroughTheCodePage) {
    SubTitle doc = DocIn(kCodePageGbk, {"软件", "鼠标", "Hello", "内存", "信息"});
    const std::vector<std::string> original = Texts(doc);
    TChineseConverter converter(TChineseDirection::S2twp);

    const auto preview = ChinesePreview(doc, converter, 1, 4, 2);
    ASSERT_EQ(preview.size(), 2u);
    EXPECT_EQ(preview[0].Index, 1);
    EXPECT_EQ(preview[0].Before, "鼠标");
    EXPECT_EQ(preview[0].After, "滑鼠");
    EXPECT_EQ(preview[1].Index, 3);

    TChineseResult result = ChineseChange(doc, converter, 1, 3);
    EXPECT_EQ(result.Changed, 2);
    EXPECT_EQ(result.Unfit, 0);
    TChange undo = doc.Apply(std::move(result.Change));
    EXPECT_EQ(doc.CodePage(), kCodePageGbk);
    EXPECT_EQ(ToUtf8(kCodePageGbk, doc.Item(1)->Text), "滑鼠");
    EXPECT_EQ(ToUtf8(kCodePageGbk, doc.Item(3)->Text), "記憶體");
    EXPECT_EQ(doc.Item(0)->Text, original[0]);
    EXPECT_EQ(doc.Item(4)->Text, original[4]);
    EXPECT_EQ(doc.Item(1)->Start, 1000);
    doc.Apply(std::move(undo));
    EXPECT_EQ(Texts(doc), original);

    // Nothing to convert: an empty change, no step.
    SubTitle latin = DocIn(kCodePageUtf8, {"Hello", "World"});
    EXPECT_TRUE(ChineseChange(latin, converter, 0, 1).Change.Empty());
}

// Traditional text turned Simplified in a Big5 document: 这 has no Big5 code. Without a new page
// nothing changes and the count and first entry are told; with UTF-8 (or GBK) the page changes
// in the same step, every text re-encoded, and one undo brings back text and page.
TEST(Chinese, Big5TurnedSimplifiedNeedsAnotherPage) {
    SubTitle doc = DocIn(kCodePageBig5, {"Hi", "這是軟體", "台北", "記憶體", "這裡"});
    const std::vector<std::string> original = Texts(doc);
    TChineseConverter converter(TChineseDirection::Tw2sp);

    TChineseResult refused = ChineseChange(doc, converter, 0, 4);
    EXPECT_TRUE(refused.Change.Empty());
    EXPECT_EQ(refused.Unfit, 3); // 这, 记忆体, 这里
    EXPECT_EQ(refused.FirstUnfit, 1);
    EXPECT_EQ(ChineseRecodePages(TChineseDirection::Tw2sp),
              (std::vector<int>{kCodePageUtf8, kCodePageGbk}));

    // Only entry 1 converted, into UTF-8: the untouched Big5 entries 2 to 4 are re-encoded too.
    for (int page : {kCodePageUtf8, kCodePageGbk}) {
        TChineseResult result = ChineseChange(doc, converter, 1, 1, page);
        ASSERT_EQ(result.Unfit, 0);
        EXPECT_EQ(result.Changed, 1);
        doc.SetModified(false);
        TChange undo = doc.Apply(std::move(result.Change));
        EXPECT_TRUE(doc.IsModified());
        EXPECT_EQ(doc.CodePage(), page);
        EXPECT_EQ(doc.Encoding(), FileEncoding::Plain);
        EXPECT_EQ(ToUtf8(page, doc.Item(1)->Text), "这是软件");
        EXPECT_EQ(ToUtf8(page, doc.Item(2)->Text), "台北");
        EXPECT_EQ(ToUtf8(page, doc.Item(3)->Text), "記憶體");
        EXPECT_EQ(doc.Item(0)->Text, "Hi");
        TChange redo = doc.Apply(std::move(undo));
        EXPECT_EQ(doc.CodePage(), kCodePageBig5);
        EXPECT_EQ(Texts(doc), original);
        // Redone, then undone again: still exact.
        TChange again = doc.Apply(std::move(redo));
        EXPECT_EQ(doc.CodePage(), page);
        doc.Apply(std::move(again));
        EXPECT_EQ(Texts(doc), original);
    }
}

// A page change is checked like any hunk: an unknown page or a byte-order mark on a legacy page
// is refused before anything changes.
TEST(Chinese, RecodeHunkChecked) {
    SubTitle doc = DocIn(kCodePageBig5, {"台北"});
    for (TRecode bad : {TRecode{12345, FileEncoding::Plain}, TRecode{kCodePageGbk, FileEncoding::Utf8Bom}}) {
        TChange change;
        change.Hunks.emplace_back(TSplice{0, 1, {PerTitle(0, 1, "x")}});
        change.Hunks.emplace_back(bad);
        EXPECT_THROW(doc.Apply(std::move(change)), SubtitleError);
        EXPECT_EQ(doc.CodePage(), kCodePageBig5);
        EXPECT_EQ(ToUtf8(kCodePageBig5, doc.Item(0)->Text), "台北");
    }
}
