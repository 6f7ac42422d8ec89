// The document: how a file name and first line choose the reader, the frame-rate question, the
// loaded and unloaded states, and the editing operations with their ranges.
#include "ModelTestUtil.h"
#include "Editing.h"
#include "Subtitle.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace {

using testutil::Doc;
using testutil::DocWith;
using testutil::TempDir;

constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
constexpr int32_t kMin = std::numeric_limits<int32_t>::min();

const std::string kOneSrtEntry = "1\r\n00:00:01,000 --> 00:00:02,000\r\nHi\r\n";

void ExpectNotLoaded(const SubTitle& doc, const std::string& what) {
    EXPECT_FALSE(doc.IsLoaded()) << what;
    EXPECT_EQ(doc.Count(), 0) << what;
    EXPECT_EQ(doc.FileName(), "") << what;
    EXPECT_EQ(doc.FormatName(), "") << what;
    EXPECT_FALSE(doc.IsModified()) << what;
    EXPECT_EQ(doc.Item(0), nullptr) << what;
}

// ---- Opening a file ----

TEST(DocumentOpen, FileNameChoosesTheReader) {
    TempDir dir;
    std::filesystem::create_directories(dir.Path() / "dir.srt");
    // Bytes that do not tell their format: the name decides.
    const std::string kOneSrtEntry = "Hi\r\n";
    struct Case {
        std::string name;
        bool loaded;
    };
    const std::vector<Case> cases = {
        {"film.srt", true}, {"FILM.SRT", true},      {"film.Srt", true},
        {".srt", true},     {"film.srt.bak", false}, {"film.txt", false},
        {"film", false},    {"dir.srt/film", false}, // the only "." is in a folder name
    };
    for (const auto& c : cases) {
        std::string path = dir.Write(c.name, kOneSrtEntry);
        SubTitle doc(path, 25.0);
        if (c.loaded) {
            EXPECT_TRUE(doc.IsLoaded()) << c.name;
            EXPECT_EQ(doc.FormatName(), "SRT") << c.name;
            EXPECT_EQ(doc.FormatIndex(), FormatSubRip) << c.name;
            EXPECT_EQ(doc.FileName(), path) << c.name;
            EXPECT_EQ(doc.Count(), 0) << c.name;
            EXPECT_FALSE(doc.IsModified()) << c.name;
        } else {
            ExpectNotLoaded(doc, c.name);
        }
    }
}

TEST(DocumentOpen, FilesThatGiveNoDocument) {
    TempDir dir;
    ExpectNotLoaded(SubTitle(dir.File("missing.srt"), 25.0), "missing file");
    ExpectNotLoaded(SubTitle(dir.Write("empty.srt", ""), 25.0), "empty file");
    ExpectNotLoaded(SubTitle(dir.Write("ctrlz.srt", "\x1A"
                                                    "1\n"),
                             25.0),
                    "Ctrl-Z at once");
    std::filesystem::create_directories(dir.Path() / "folder.srt");
    ExpectNotLoaded(SubTitle((dir.Path() / "folder.srt").string(), 25.0), "a folder");

    int asked = 0;
    SubTitle cancelled(dir.Write("film.sub", "{0}{25}Hello\n"), 25.0, [&] {
        ++asked;
        return std::optional<std::string>{};
    });
    EXPECT_EQ(asked, 1);
    ExpectNotLoaded(cancelled, "cancelled frame-rate question");

    // Not loaded means not modified, whatever is asked of it.
    SubTitle none(dir.File("missing.srt"), 25.0);
    none.SetModified();
    EXPECT_FALSE(none.IsModified());
    EXPECT_FALSE(none.Save());
}

TEST(DocumentOpen, BlankSubRipFileIsLoadedEmpty) {
    TempDir dir;
    const std::string bytes = "\r\n  \r\n\r\n";
    std::string path = dir.Write("blank.srt", bytes);
    SubTitle doc(path, 25.0);
    EXPECT_TRUE(doc.IsLoaded());
    EXPECT_EQ(doc.Count(), 0);
    EXPECT_EQ(doc.FormatName(), "SRT");
    EXPECT_EQ(doc.FileName(), path);
    doc.SetModified();
    EXPECT_FALSE(doc.Save());
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(testutil::ReadBytes(path), bytes);
}

TEST(DocumentOpen, SubFileFirstLineChoosesSubViewerOrMicroDVD) {
    struct Case {
        const char* what;
        std::string bytes;
        bool asks;
        SubtitleFormat format;
    };
    const std::vector<Case> cases = {
        {"header", "[INFORMATION]\r\n[END INFORMATION]\r\n", false, FormatSubViewer},
        {"header anywhere in the line", "x[INFORMATION]y\n", false, FormatSubViewer},
        {"header behind a mark", "\xEF\xBB\xBF[INFORMATION]\n", false, FormatSubViewer},
        {"case counts", "[information]\n", true, FormatMicroDVD},
        {"header on line two", "{1}{2}a\n[INFORMATION]\n", true, FormatMicroDVD},
        {"no MicroDVD lines at all", "hello\n", true, FormatMicroDVD},
        {"blank lines only", "\n\n", true, FormatMicroDVD},
    };
    for (const auto& c : cases) {
        int asked = 0;
        SubTitle doc = SubTitle::FromBytes(c.bytes, "film.sub", 25.0, [&] {
            ++asked;
            return std::optional<std::string>("25");
        });
        EXPECT_EQ(asked, c.asks ? 1 : 0) << c.what;
        EXPECT_TRUE(doc.IsLoaded()) << c.what;
        EXPECT_EQ(doc.FormatIndex(), c.format) << c.what;
        EXPECT_EQ(doc.FormatName(), c.format == FormatSubViewer ? "SSUB" : "MSUB") << c.what;
    }
}

TEST(DocumentOpen, FrameRateQuestion) {
    TempDir dir;
    std::string path = dir.Write("film.sub", "{1}{2}a\n");
    SubTitle chosen(path, 25.0, [] { return std::optional<std::string>("29.970"); });
    ASSERT_TRUE(chosen.IsLoaded());
    EXPECT_DOUBLE_EQ(chosen.FrameRate(), 29.97);
    EXPECT_EQ(chosen.Item(0)->Start, 34);
    EXPECT_EQ(chosen.Item(0)->End, 67);

    // Without a question the given rate is used.
    SubTitle given(path, 23.976);
    ASSERT_TRUE(given.IsLoaded());
    EXPECT_DOUBLE_EQ(given.FrameRate(), 23.976);
    EXPECT_EQ(given.Item(0)->Start, 42);

    // Other formats keep the rate they were given.
    EXPECT_DOUBLE_EQ(SubTitle(dir.Write("a.srt", kOneSrtEntry), 23.976).FrameRate(), 23.976);
}

TEST(DocumentOpen, BadFrameRateEndsTheConstruction) {
    TempDir dir;
    std::string path = dir.Write("film.sub", "{1}{2}a\n");
    for (const char* typed : {"abc", "", "25x", "0", "-25", "inf", "nan", "1e999"}) {
        try {
            SubTitle doc(path, 25.0, [&] { return std::optional<std::string>(typed); });
            ADD_FAILURE() << "\"" << typed << "\" was taken as a frame rate";
        } catch (const SubtitleError& e) {
            if (*typed) {
                EXPECT_NE(std::string(e.what()).find(typed), std::string::npos)
                    << "the message should name \"" << typed << "\": " << e.what();
            }
        }
    }
    const double badRates[] = {0.0, -25.0, std::numeric_limits<double>::quiet_NaN(),
                               std::numeric_limits<double>::infinity()};
    for (double rate : badRates)
        EXPECT_THROW(SubTitle(path, rate), SubtitleError) << rate;
}

TEST(DocumentOpen, ParseFrameRate) {
    EXPECT_DOUBLE_EQ(ParseFrameRate("25"), 25.0);
    EXPECT_DOUBLE_EQ(ParseFrameRate("23.976"), 23.976);
    EXPECT_DOUBLE_EQ(ParseFrameRate("29.970"), 29.97);
    EXPECT_THROW(ParseFrameRate("fast"), SubtitleError);
    EXPECT_THROW(ParseFrameRate("0"), SubtitleError);
}

// Files from other programs often leave an empty line in the SubViewer header: it is read.
TEST(DocumentOpen, EmptyLineInSubViewerHeaderIsSkipped) {
    const std::string bytes = "[INFORMATION]\r\n[TITLE]\r\n[AUTHOR]\r\n[SOURCE]\r\n\r\n[END]\r\n"
                              "\r\n00:00:01.00,00:00:02.00\r\na\r\n";
    SubTitle doc = SubTitle::FromBytes(bytes, "film.sub", 25.0);
    ASSERT_TRUE(doc.IsLoaded());
    EXPECT_EQ(doc.FormatIndex(), FormatSubViewer);
    ASSERT_EQ(doc.Count(), 1);
    EXPECT_EQ(doc.Item(0)->Start, 1000);
    EXPECT_EQ(doc.Item(0)->Text, "a");
}

// Each file in a legacy code page is read in its own page, whatever page is handed in; its text is
// split at real "|" only and decodes to the captions it was written from.
TEST(DocumentOpen, DetectsTheCodePageOfEachFile) {
    struct Case {
        const char* file;
        int codePage;
        int entry;
        const char* utf8; // that entry's text
    };
    const std::vector<Case> cases = {
        {"srt_cp950_big5.srt", kCodePageBig5, 3,
         "\xE5\x8A\x9F\xE5\xA4\xAB\xE4\xB8\x8D\xE8\xB2\xA0\xE6\x9C\x89\xE5\xBF\x83\xE4\xBA\xBA"
         "\xE3\x80\x82|\xE5\x88\xA5\xE6\x94\xBE\xE6\xA3\x84\xE3\x80\x82"}, // 功夫不負有心人。|別放棄。
        {"srt_cp936_gbk.srt", kCodePageGbk, 1,
         "\xE4\xBB\x96\xE8\xAF\xB4\xE5\x9B\x9B\xE7\x82\xB9\xE9\x92\x9F\xE4\xBC\x9A\xE5\x88\xB0"
         "\xE8\xBF\x99\xE9\x87\x8C\xE3\x80\x82"}, // 他说四点钟会到这里。
        {"srt_cp932_shift_jis.srt", kCodePageShiftJis, 4,
         "\xE3\x83\x9D\xE3\x83\x83\xE3\x83\x97\xE3\x82\xB3\xE3\x83\xBC\xE3\x83\xB3\xE3\x82\x92"
         "\xE9\xA3\x9F\xE3\x81\xB9\xE3\x82\x88\xE3\x81\x86\xE3\x80\x82"}, // ポップコーンを食べよう。
        {"srt_cp949_euc_kr.srt", kCodePageEucKr, 5,
         "\xEA\xB0\x90\xEC\x82\xAC\xED\x95\xA9\xEB\x8B\x88\xEB\x8B\xA4."}, // 감사합니다.
        {"srt_cp1252_windows.srt", kCodePageWindows1252, 1,
         "C\xE2\x80\x99"
         "est d\xC3\xA9j\xC3\xA0 trop tard, mon cher."}, // C’est déjà trop tard, mon cher.
        {"srt_cp54936_gb18030.srt", kCodePageGb18030, 2,
         "\xE9\x9F\xA9\xE5\x9B\xBD\xE6\x9C\x8B\xE5\x8F\x8B\xE5\xAF\xB9\xE6\x88\x91\xE8\xAF"
         "\xB4:\xE2\x80\x9C\xEC\x95\x88\xEB\x85\x95\xED\x95\x98\xEC\x84\xB8\xEC\x9A\x94"
         "\xE2\x80\x9D\xE3\x80\x82"}, // 韩国朋友对我说:“안녕하세요”。
        // Too short for the detector to be sure of anything, and no double-byte page holds it.
        {"srt_cp1252_short_french.srt", kCodePageWindows1252, 1,
         "\xE2\x80\x9C" "Cr\xC3\xA8me br\xC3\xBBl\xC3\xA9" "e\xE2\x80\x9D pour la na\xC3\xAF" "ve."},
    };
    for (const auto& c : cases) {
        const std::string path = testutil::FixturePath(std::string("roundtrip/") + c.file);
        for (int handed : {kCodePageBig5, kCodePageGbk}) {
            SubTitle doc(path, 25.0, FrameRateQuestion(), handed);
            ASSERT_TRUE(doc.IsLoaded()) << c.file;
            EXPECT_EQ(doc.CodePage(), c.codePage) << c.file << " handed " << handed;
            ASSERT_GT(doc.Count(), c.entry) << c.file;
            EXPECT_EQ(ToUtf8(doc.CodePage(), doc.Item(c.entry)->Text), c.utf8) << c.file;
        }
    }
}

// A file cut off inside its last character, as an interrupted copy leaves it, keeps its page.
TEST(DocumentOpen, FileCutShortKeepsItsPage) {
    std::string bytes = testutil::ReadBytes(testutil::FixturePath("roundtrip/srt_cp950_big5.srt"));
    const std::size_t stop = bytes.rfind("\xA1\x43"); // the last 。
    ASSERT_NE(stop, std::string::npos);
    bytes.resize(stop + 1);
    SubTitle doc = SubTitle::FromBytes(bytes, "cut.srt", 25.0, FrameRateQuestion(), kCodePageGbk);
    EXPECT_EQ(doc.CodePage(), kCodePageBig5);
    ASSERT_GT(doc.Count(), 0);
    EXPECT_EQ(doc.Entries().back().Text.back(), '\xA1');
}

// Text that two pages hold alike and that is too short to tell them apart is read in the page
// handed in: the language's page.
TEST(DocumentOpen, TieFallsBackToTheHandedPage) {
    const std::string path = testutil::FixturePath("roundtrip/srt_tie_big5_or_gbk.srt");
    for (int handed : {kCodePageBig5, kCodePageGbk}) {
        SubTitle doc(path, 25.0, FrameRateQuestion(), handed);
        EXPECT_EQ(doc.CodePage(), handed);
    }
    // By default the program's legacy page is handed in.
    testutil::LegacyCodePageGuard gbk(kCodePageGbk);
    EXPECT_EQ(SubTitle(path, 25.0).CodePage(), kCodePageGbk);
    EXPECT_EQ(SubTitle::FromBytes(testutil::ReadBytes(path), "x.srt", 25.0).CodePage(),
              kCodePageGbk);
}

// A file in UTF-8 is UTF-8, whatever the detector would make of its bytes and whatever page is
// handed in or forced.
TEST(DocumentOpen, Utf8IsNeverDetectedAsALegacyPage) {
    const std::string path =
        testutil::FixturePath("roundtrip/srt_blank_line_between_languages.srt");
    for (LegacyPage legacy : {LegacyPage(kCodePageGbk), LegacyPage::Forced(kCodePageWindows1252)})
        EXPECT_EQ(SubTitle(path, 25.0, FrameRateQuestion(), legacy).CodePage(), kCodePageUtf8);
}

// ---- Entries and ranges ----

std::vector<PerTitle> SixEntries() {
    std::vector<PerTitle> v;
    for (int i = 0; i < 6; ++i)
        v.emplace_back(1000 * (i + 1), 1000 * (i + 1) + 500, "e" + std::to_string(i));
    return v;
}

std::vector<std::string> Texts(const SubTitle& doc) {
    std::vector<std::string> t;
    for (const PerTitle& e : doc.Entries())
        t.push_back(e.Text);
    return t;
}

using Texts_ = std::vector<std::string>;

TEST(DocumentEntries, ItemIsNullOutsideTheList) {
    SubTitle doc = DocWith(SixEntries());
    ASSERT_EQ(doc.Count(), 6);
    EXPECT_EQ(doc.Item(0)->Text, "e0");
    EXPECT_EQ(doc.Item(5)->Text, "e5");
    EXPECT_EQ(doc.Item(6), nullptr);
    EXPECT_EQ(doc.Item(-1), nullptr);
    EXPECT_EQ(static_cast<const SubTitle&>(doc).Item(6), nullptr);

    EXPECT_FALSE(doc.IsModified());
    doc.SetModified();
    EXPECT_TRUE(doc.IsModified());
    doc.SetModified(false);
    EXPECT_FALSE(doc.IsModified());
}

// An operation whose range or index lies outside the document changes nothing at all.
TEST(DocumentEntries, OutOfRangeCallsChangeNothing) {
    struct Case {
        const char* what;
        std::function<void(SubTitle&, const SubTitle&)> call;
    };
    const std::vector<Case> cases = {
        {"ShiftRange past the end", [](SubTitle& d, const SubTitle&) { d.Apply(ShiftChange(d, 3, 6, 10)); }},
        {"ShiftRange negative", [](SubTitle& d, const SubTitle&) { d.Apply(ShiftChange(d, -1, 2, 10)); }},
        {"RescaleRange past the end",
         [](SubTitle& d, const SubTitle&) { d.Apply(RescaleChange(d, 0, 6, 9000, 0)); }},
        {"RescaleRange negative",
         [](SubTitle& d, const SubTitle&) { d.Apply(RescaleChange(d, -1, 3, 9000, 0)); }},
        {"Insert past the end",
         [](SubTitle& d, const SubTitle&) { d.Apply(InsertChange(d, 7, {PerTitle(0, 0, "x")})); }},
        {"Insert negative",
         [](SubTitle& d, const SubTitle&) { d.Apply(InsertChange(d, -1, {PerTitle(0, 0, "x")})); }},
        {"InsertFrom position past the end",
         [](SubTitle& d, const SubTitle& s) { d.Apply(InsertFromChange(d, 7, s, 1, 0)); }},
        {"InsertFrom negative position",
         [](SubTitle& d, const SubTitle& s) { d.Apply(InsertFromChange(d, -1, s, 1, 0)); }},
        {"InsertFrom source past its end",
         [](SubTitle& d, const SubTitle& s) { d.Apply(InsertFromChange(d, 0, s, 6, 4)); }},
        {"InsertFrom negative source",
         [](SubTitle& d, const SubTitle& s) { d.Apply(InsertFromChange(d, 0, s, 1, -1)); }},
        {"InsertBlank past the end", [](SubTitle& d, const SubTitle&) { d.Apply(InsertBlankChange(d, 7, 1)); }},
        {"InsertBlank negative", [](SubTitle& d, const SubTitle&) { d.Apply(InsertBlankChange(d, -1, 1)); }},
        {"EraseRange past the end", [](SubTitle& d, const SubTitle&) { d.Apply(EraseChange(d, 4, 6)); }},
        {"EraseRange negative", [](SubTitle& d, const SubTitle&) { d.Apply(EraseChange(d, -1, 0)); }},
    };
    const SubTitle source = DocWith(SixEntries());
    for (const auto& c : cases) {
        SubTitle doc = DocWith(SixEntries());
        try {
            c.call(doc, source);
        } catch (const SubtitleError&) {
            // Refusing loudly is fine; changing something is not.
        }
        EXPECT_EQ(Texts(doc), Texts(DocWith(SixEntries()))) << c.what;
        for (int i = 0; i < doc.Count(); ++i) {
            EXPECT_EQ(doc.Item(i)->Start, 1000 * (i + 1)) << c.what;
            EXPECT_EQ(doc.Item(i)->End, 1000 * (i + 1) + 500) << c.what;
        }
        EXPECT_FALSE(doc.IsModified()) << c.what;
    }
}

// An empty range (last below first) is an empty change: no entry moves and nothing is marked,
// so that a command over it leaves no step behind.
TEST(DocumentEntries, EmptyRangesChangeNothing) {
    const std::vector<std::function<void(SubTitle&, const SubTitle&)>> calls = {
        [](SubTitle& d, const SubTitle&) { d.Apply(ShiftChange(d, 5, 4, 100)); },
        [](SubTitle& d, const SubTitle& s) { d.Apply(InsertFromChange(d, 2, s, 1, 3)); },
        [](SubTitle& d, const SubTitle&) { d.Apply(InsertBlankChange(d, 2, 0)); },
        [](SubTitle& d, const SubTitle&) { d.Apply(EraseChange(d, 3, 2)); },
    };
    const SubTitle source = DocWith(SixEntries());
    int n = 0;
    for (const auto& call : calls) {
        SubTitle doc = DocWith(SixEntries());
        call(doc, source);
        EXPECT_EQ(Texts(doc), Texts(source)) << "call " << n;
        EXPECT_EQ(doc.Item(5)->Start, 6000) << "call " << n;
        EXPECT_FALSE(doc.IsModified()) << "call " << n;
        ++n;
    }
}

TEST(DocumentEntries, ShiftRange) {
    SubTitle doc = DocWith(SixEntries());
    doc.Apply(ShiftChange(doc, 1, 2, -2500));
    EXPECT_EQ(doc.Item(0)->Start, 1000);
    EXPECT_EQ(doc.Item(1)->Start, -500); // no clamping at zero
    EXPECT_EQ(doc.Item(1)->End, 0);
    EXPECT_EQ(doc.Item(2)->Start, 500);
    EXPECT_EQ(doc.Item(3)->Start, 4000);
    EXPECT_TRUE(doc.IsModified());

    SubTitle edge = DocWith({PerTitle(kMax - 10, kMin + 10, "")});
    edge.Apply(ShiftChange(edge, 0, 0, 100));
    EXPECT_EQ(edge.Item(0)->Start, kMax);
    EXPECT_EQ(edge.Item(0)->End, kMin + 110);
    edge.Apply(ShiftChange(edge, 0, 0, kMin));
    EXPECT_EQ(edge.Item(0)->End, kMin);
}

TEST(DocumentEntries, RescaleRangeMapsStartsAndEnds) {
    SubTitle doc =
        DocWith({PerTitle(0, 100, "before"), PerTitle(1000, 1600, "a"), PerTitle(4000, 4600, "b"),
                 PerTitle(7000, 7600, "c"), PerTitle(8000, 8500, "after")});
    doc.Apply(RescaleChange(doc, 1, 3, 9000, 2000));
    const std::vector<std::pair<int32_t, int32_t>> want = {
        {0, 100}, {2000, 2700}, {5500, 6200}, {9000, 9700}, {8000, 8500}};
    for (int i = 0; i < doc.Count(); ++i) {
        EXPECT_EQ(doc.Item(i)->Start, want[i].first) << i;
        EXPECT_EQ(doc.Item(i)->End, want[i].second) << i;
    }
    EXPECT_TRUE(doc.IsModified());
}

TEST(DocumentEntries, RescaleRangePutsFirstAndLastStartsExactly) {
    struct Case {
        int32_t a, b, q, p; // old first and last starts, new first and last starts
    };
    const std::vector<Case> cases = {
        {0, 3000, 0, 1000},       {0, 3000, 0, 999},
        {1, 3, 0, 1000},          {123, 98765, 5, 77777},
        {1000, 7000, 2000, 9000}, {0, 7, 0, 1},
        {1000, 2000, 5000, 0}, // turned around
        {0, 1, kMin, kMax},       {kMin, kMax, 0, 1},
        {-5000, -1000, 100, 100}, {3723045, 5999999, 3723046, 6000001},
    };
    for (const auto& c : cases) {
        int32_t mid = static_cast<int32_t>((int64_t{c.a} + c.b) / 2);
        SubTitle doc =
            DocWith({PerTitle(c.a, AddMs(c.a, 10), "first"), PerTitle(mid, AddMs(mid, 10), "mid"),
                     PerTitle(c.b, AddMs(c.b, 10), "last")});
        doc.Apply(RescaleChange(doc, 0, 2, c.p, c.q));
        EXPECT_EQ(doc.Item(0)->Start, c.q) << c.a << ".." << c.b << " to " << c.q << ".." << c.p;
        EXPECT_EQ(doc.Item(2)->Start, c.p) << c.a << ".." << c.b << " to " << c.q << ".." << c.p;
    }
}

TEST(DocumentEntries, RescaleRangeOverEqualStartsThrowsAndChangesNothing) {
    for (auto range : {std::pair{0, 2}, std::pair{1, 1}}) {
        SubTitle doc = DocWith(
            {PerTitle(1000, 1500, "a"), PerTitle(2000, 2500, "b"), PerTitle(1000, 3000, "c")});
        EXPECT_THROW(doc.Apply(RescaleChange(doc, range.first, range.second, 5000, 4000)), SubtitleError);
        EXPECT_EQ(doc.Item(0)->Start, 1000);
        EXPECT_EQ(doc.Item(1)->Start, 2000);
        EXPECT_EQ(doc.Item(2)->End, 3000);
        EXPECT_FALSE(doc.IsModified());
    }
}

TEST(DocumentEntries, Insert) {
    SubTitle doc = DocWith(SixEntries());
    doc.Apply(InsertChange(doc, 0, {PerTitle(1, 2, "front")}));
    doc.Apply(InsertChange(doc, 3, {PerTitle(3, 4, "middle")}));
    doc.Apply(InsertChange(doc, doc.Count(), {PerTitle(5, 6, "back")}));
    EXPECT_EQ(Texts(doc), (Texts_{"front", "e0", "e1", "middle", "e2", "e3", "e4", "e5", "back"}));
    EXPECT_EQ(doc.Item(3)->Start, 3);
    EXPECT_EQ(doc.Item(3)->End, 4);
    EXPECT_TRUE(doc.IsModified());

    // Many inserts grow the list without losing order.
    SubTitle grown = DocWith({});
    Texts_ want;
    for (int i = 0; i < 1000; ++i) {
        grown.Apply(InsertChange(grown, i / 2, {PerTitle(i, i, std::to_string(i))}));
        want.insert(want.begin() + i / 2, std::to_string(i));
    }
    EXPECT_EQ(Texts(grown), want);
}

TEST(DocumentEntries, InsertFromCopiesARangeInOrder) {
    const SubTitle source = DocWith(SixEntries());
    SubTitle doc = DocWith({PerTitle(0, 1, "x"), PerTitle(2, 3, "y")});
    doc.Apply(InsertFromChange(doc, 0, source, 4, 2));
    EXPECT_EQ(Texts(doc), (Texts_{"e2", "e3", "e4", "x", "y"}));
    EXPECT_EQ(doc.Item(0)->Start, 3000);
    EXPECT_EQ(doc.Item(2)->End, 5500);
    EXPECT_TRUE(doc.IsModified());

    doc.Apply(InsertFromChange(doc, doc.Count(), source, 0, 0));
    doc.Apply(InsertFromChange(doc, 4, source, 5, 5));
    EXPECT_EQ(Texts(doc), (Texts_{"e2", "e3", "e4", "x", "e5", "y", "e0"}));

    EXPECT_EQ(source.Count(), 6);
    EXPECT_FALSE(source.IsModified());
}

TEST(DocumentEntries, InsertFromConvertsBetweenCodePages) {
    const std::string si = "\xA5\x7C", gong = "\xA5\x5C"; // 四 and 功 in Big5
    const std::string siUtf8 = "\xE5\x9B\x9B", gongUtf8 = "\xE5\x8A\x9F";

    const SubTitle big5 = DocWith({PerTitle(1, 2, si + "|" + gong)}, "big5.srt", true);
    const SubTitle utf8 = DocWith({PerTitle(3, 4, siUtf8 + "|" + gongUtf8)}, "utf8.srt");
    ASSERT_EQ(big5.CodePage(), kCodePageBig5);
    ASSERT_EQ(utf8.CodePage(), kCodePageUtf8);

    SubTitle toUtf8 = DocWith({}, "a.srt");
    toUtf8.Apply(InsertFromChange(toUtf8, 0, big5, 0, 0));
    ASSERT_EQ(toUtf8.Count(), 1);
    EXPECT_EQ(toUtf8.Item(0)->Text, siUtf8 + "|" + gongUtf8);
    EXPECT_EQ(toUtf8.Item(0)->Start, 1);

    SubTitle toBig5 = DocWith({}, "b.srt", true);
    toBig5.Apply(InsertFromChange(toBig5, 0, utf8, 0, 0));
    ASSERT_EQ(toBig5.Count(), 1);
    EXPECT_EQ(toBig5.Item(0)->Text, si + "|" + gong);

    // Between documents of one code page the bytes are copied as they are, even those that do
    // not decode.
    const SubTitle odd = DocWith({PerTitle(5, 6, si + "\x80\xFF")}, "odd.srt", true);
    SubTitle same = DocWith({}, "same.srt", true);
    same.Apply(InsertFromChange(same, 0, odd, 0, 0));
    ASSERT_EQ(same.Count(), 1);
    EXPECT_EQ(same.Item(0)->Text, si + "\x80\xFF");

    // A text the target cannot hold refuses the whole copy.
    const SubTitle emoji =
        DocWith({PerTitle(0, 1, "fine"), PerTitle(1, 2, "\xF0\x9F\x98\x80")}, "emoji.srt");
    SubTitle target = DocWith({PerTitle(0, 0, si)}, "c.srt", true);
    EXPECT_THROW(target.Apply(InsertFromChange(target, 1, emoji, 1, 0)), SubtitleError);
    EXPECT_EQ(target.Count(), 1);
    EXPECT_FALSE(target.IsModified());
}

TEST(DocumentEntries, InsertBlankTakesTheEntryJustBefore) {
    SubTitle doc = DocWith(SixEntries()); // ends 1500, 2500, ...
    doc.Apply(InsertBlankChange(doc, 2, 2));
    ASSERT_EQ(doc.Count(), 8);
    for (int i : {2, 3}) {
        EXPECT_EQ(doc.Item(i)->Start, 2510) << i;
        EXPECT_EQ(doc.Item(i)->End, 2510) << i;
        EXPECT_EQ(doc.Item(i)->Text, "") << i;
    }
    EXPECT_EQ(doc.Item(4)->Text, "e2");
    EXPECT_TRUE(doc.IsModified());

    doc.Apply(InsertBlankChange(doc, 0, 1));
    EXPECT_EQ(doc.Item(0)->Start, 0);
    EXPECT_EQ(doc.Item(0)->End, 0);
    EXPECT_EQ(doc.Item(1)->Text, "e0");

    doc.Apply(InsertBlankChange(doc, 1, 1)); // the entry before is the blank at 0
    EXPECT_EQ(doc.Item(1)->Start, 10);

    doc.Apply(InsertBlankChange(doc, doc.Count(), 1));
    EXPECT_EQ(doc.Item(doc.Count() - 1)->Start, 6510);

    SubTitle late = DocWith({PerTitle(0, kMax - 5, "late")});
    late.Apply(InsertBlankChange(late, 1, 1));
    EXPECT_EQ(late.Item(1)->Start, kMax);

    SubTitle empty = DocWith({});
    empty.Apply(InsertBlankChange(empty, 0, 3));
    EXPECT_EQ(empty.Count(), 3);
}

TEST(DocumentEntries, EraseRange) {
    SubTitle doc = DocWith(SixEntries());
    doc.Apply(EraseChange(doc, 1, 2));
    EXPECT_EQ(Texts(doc), (Texts_{"e0", "e3", "e4", "e5"}));
    EXPECT_TRUE(doc.IsModified());
    doc.Apply(EraseChange(doc, 3, 3));
    EXPECT_EQ(Texts(doc), (Texts_{"e0", "e3", "e4"}));
    doc.Apply(EraseChange(doc, 0, doc.Count() - 1));
    EXPECT_EQ(doc.Count(), 0);
    EXPECT_TRUE(doc.IsLoaded());
}

} // namespace
