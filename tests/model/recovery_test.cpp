// Recovery copies that bring a document back exactly, and backups kept before an overwrite.
#include "Backup.h"
#include "Recovery.h"

#include "ModelTestUtil.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>

using namespace testutil;

namespace {

std::vector<PerTitle> Awkward() {
    std::vector<PerTitle> e;
    e.emplace_back(INT32_MIN, INT32_MAX, "first|second");
    e.emplace_back(-5, -10, ""); // negative duration
    static const char kBytes[] = "bytes \0 \xFF\xA5\x7C and\nnewline\r\n";
    e.emplace_back(0, 1, std::string(kBytes, sizeof kBytes - 1));
    e.emplace_back(7, 8, "end\nentries\n"); // looks like the copy's own words
    return e;
}

} // namespace

TEST(Recovery, BringsTheDocumentBackExactly) {
    TempDir dir;
    struct Case {
        const char* name;
        std::string bytes; // what the document is read from
    } cases[] = {
        {"utf16.srt", std::string("\xFF\xFE", 2) + std::string("\n\0", 2)},
        {"big5.sub", "[INFORMATION]\xA5\x7C\n"},
        {"plain.srt", "\n"},
    };
    for (const Case& c : cases) {
        SubTitle doc = DocWith(Awkward(), c.name);
        SubTitle source = SubTitle::FromBytes(c.bytes, dir.File(c.name), 23.976);
        ASSERT_TRUE(source.IsLoaded()) << c.name;
        TChange fill;
        fill.Hunks.emplace_back(TSplice{0, source.Count(), Awkward()});
        source.Apply(std::move(fill));

        const std::string path =
            dir.Write(std::string(c.name) + ".rec", RecoveryBytes(source, 1, 1234567890123));
        const std::optional<TRecoveryInfo> head = ReadRecoveryInfo(path);
        ASSERT_TRUE(head) << c.name;
        EXPECT_EQ(head->FileName, source.FileName());
        EXPECT_EQ(head->Count, 4);
        EXPECT_EQ(head->Side, 1);
        EXPECT_EQ(head->SavedAt, 1234567890123);

        TRecoveryInfo info;
        std::optional<SubTitle> back = ReadRecovery(path, &info);
        ASSERT_TRUE(back) << c.name;
        EXPECT_TRUE(back->IsModified());
        EXPECT_EQ(back->FileName(), source.FileName());
        EXPECT_EQ(back->FormatIndex(), source.FormatIndex()) << c.name;
        EXPECT_EQ(back->CodePage(), source.CodePage()) << c.name;
        EXPECT_EQ(back->Encoding(), source.Encoding()) << c.name;
        EXPECT_EQ(back->FrameRate(), source.FrameRate());
        ASSERT_EQ(back->Count(), 4);
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(back->Item(i)->Start, source.Item(i)->Start) << c.name << i;
            EXPECT_EQ(back->Item(i)->End, source.Item(i)->End) << c.name << i;
            EXPECT_EQ(back->Item(i)->Text, source.Item(i)->Text) << c.name << i;
        }
    }
}

// A copy keeps the document's line ends; a copy made before documents knew them (no "eol" line)
// is still read, with CR LF.
TEST(Recovery, CarriesTheLineEnds) {
    TempDir dir;
    for (const char* seed : {"\n", "\r\n"}) {
        SubTitle doc = SubTitle::FromBytes(seed, dir.File("a.srt"), 25.0);
        TChange fill;
        fill.Hunks.emplace_back(TSplice{0, doc.Count(), Awkward()});
        doc.Apply(std::move(fill));
        const std::string bytes = RecoveryBytes(doc, 0, 1);
        std::optional<SubTitle> back = ReadRecovery(dir.Write("a.rec", bytes));
        ASSERT_TRUE(back) << seed;
        EXPECT_EQ(back->LineEnds(), doc.LineEnds()) << seed;

        std::string old = bytes;
        const std::size_t eol = old.find("eol ");
        ASSERT_NE(eol, std::string::npos);
        old.erase(eol, 6);
        std::optional<SubTitle> older = ReadRecovery(dir.Write("old.rec", old));
        ASSERT_TRUE(older) << seed;
        EXPECT_EQ(older->LineEnds(), LineEnd::CrLf);
        EXPECT_EQ(older->Count(), 4);
    }
    EXPECT_EQ(SubTitle::FromBytes("\n", "a.srt", 25.0).LineEnds(), LineEnd::Lf);
    std::string bad = RecoveryBytes(DocWith(Awkward()), 0, 1);
    bad.replace(bad.find("eol 0"), 5, "eol 7");
    EXPECT_FALSE(ReadRecovery(dir.Write("bad.rec", bad)));
}

// A copy cut short or damaged is no copy: nothing is restored from it.
TEST(Recovery, DamagedCopiesAreRefused) {
    TempDir dir;
    const SubTitle doc = DocWith(Awkward());
    const std::string whole = RecoveryBytes(doc, 0, 1);
    for (std::size_t cut : {std::size_t{0}, std::size_t{5}, whole.size() / 3, whole.size() / 2,
                            whole.size() - 4, whole.size() - 1}) {
        const std::string path = dir.Write("cut.rec", whole.substr(0, cut));
        EXPECT_FALSE(ReadRecovery(path)) << cut;
    }
    std::string huge = whole;
    huge.replace(huge.find("count 4"), 7, "count 2000000000");
    EXPECT_FALSE(ReadRecovery(dir.Write("huge.rec", huge)));
    EXPECT_FALSE(ReadRecovery(dir.Write("more.rec", whole + "x")));
    EXPECT_FALSE(ReadRecoveryInfo(dir.Write("text.rec", "1\n00:00:01,000 --> 00:00:02,000\n")));
    EXPECT_FALSE(ReadRecoveryInfo(dir.File("missing.rec")));
}

TEST(Backup, KeepsTheNewestFewPerFile) {
    TempDir dir;
    const std::string root = dir.File("backups");
    const std::string a = dir.Write("a.srt", "v0");
    std::filesystem::create_directories(dir.Path() / "sub");
    const std::string other = dir.Write("sub/a.srt", "");
    for (int i = 1; i <= 5; ++i) {
        std::string why;
        ASSERT_TRUE(BackupFile(a, root, 3, &why)) << why;
        WriteBytes(a, "v" + std::to_string(i));
    }
    ASSERT_TRUE(BackupFile(other, root, 3, nullptr));
    const std::string folder = BackupFolderFor(root, a);
    EXPECT_NE(folder, BackupFolderFor(root, other)); // same name, other folder: kept apart
    std::vector<std::string> kept;
    for (const auto& e : std::filesystem::directory_iterator(folder))
        kept.push_back(ReadBytes(e.path()));
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(kept, (std::vector<std::string>{"v2", "v3", "v4"}));
    EXPECT_TRUE(BackupFile(dir.File("none.srt"), root, 3, nullptr)); // nothing to keep

    // A backup folder that cannot be made stops the backup with a reason.
    const std::string blocked = dir.Write("blocked", "a file, not a folder");
    std::string why;
    EXPECT_FALSE(BackupFile(a, blocked, 3, &why));
    EXPECT_NE(why.find("backup"), std::string::npos);
}
