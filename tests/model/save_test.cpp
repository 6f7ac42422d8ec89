// Saving: the writer's output goes to the document's own file through a temporary file that is
// renamed over it, so a failed save leaves the old file (and the modified flag) as they were.
// Fixture files in roundtrip/ come back byte for byte.
#include "ModelTestUtil.h"
#include "Editing.h"
#include "Subtitle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using testutil::ReadBytes;
using testutil::TempDir;

const std::string kSrt =
    "1\n00:00:01,000 --> 00:00:02,000\na\nb\n\n2\n00:00:03,000 --> 00:00:04,000\nc\n";

// ASCII text as a UTF-16LE file with its byte-order mark.
std::string Utf16LE(std::string_view ascii) {
    std::string bytes("\xFF\xFE");
    for (char c : ascii) {
        bytes += c;
        bytes += '\0';
    }
    return bytes;
}

double RateInName(const std::string& name) {
    std::smatch m;
    if (std::regex_search(name, m, std::regex("fps([0-9]+(\\.[0-9]+)?)")))
        return std::stod(m[1].str());
    return 25.0;
}

TEST(Save, FixturesRoundTripByteForByte) {
    const fs::path folder = fs::path(VELITRA_FIXTURES) / "model" / "roundtrip";
    std::vector<fs::path> files;
    for (const auto& e : fs::directory_iterator(folder))
        files.push_back(e.path());
    std::sort(files.begin(), files.end());
    ASSERT_FALSE(files.empty());

    TempDir dir;
    for (const fs::path& file : files) {
        const std::string name = file.filename().string();
        const std::string original = ReadBytes(file);
        const std::string copy = dir.Write(name, original);
        SubTitle doc(copy, RateInName(name));
        ASSERT_TRUE(doc.IsLoaded()) << name;
        EXPECT_GT(doc.Count(), 0) << name;
        std::string why;
        EXPECT_TRUE(doc.Save(&why)) << name << ": " << why;
        EXPECT_EQ(ReadBytes(copy), original) << name;
    }
    EXPECT_EQ(dir.Names().size(), files.size()) << "temporary files left behind";
}

TEST(Save, WritesTheFormatAndClearsModified) {
    TempDir dir;
    const std::string path = dir.Write("film.srt", kSrt);
    SubTitle doc(path, 25.0);
    doc.Apply(ShiftChange(doc, 0, 0, 500));
    ASSERT_TRUE(doc.IsModified());
    EXPECT_TRUE(doc.Save());
    EXPECT_FALSE(doc.IsModified());
    // The file's own line ends (LF) stay.
    EXPECT_EQ(ReadBytes(path), "1\n00:00:01,500 --> 00:00:02,500\na\nb\n\n"
                               "2\n00:00:03,000 --> 00:00:04,000\nc\n\n");
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"film.srt"});
}

// A save ends lines as the file did: LF stays LF, CR LF stays CR LF, whatever the encoding; a file
// of mostly one kind is written all in that kind.
TEST(Save, KeepsTheFilesLineEnds) {
    struct Case {
        const char* name;
        std::string bytes;
        LineEnd expected;
    } cases[] = {
        {"lf.srt", "1\n00:00:01,000 --> 00:00:02,000\na\n", LineEnd::Lf},
        {"crlf.srt", "1\r\n00:00:01,000 --> 00:00:02,000\r\na\r\n", LineEnd::CrLf},
        {"mostly-lf.srt", "1\n00:00:01,000 --> 00:00:02,000\r\na\n\n2\n00:00:03,000 --> "
                          "00:00:04,000\nb\n", LineEnd::Lf},
        {"mostly-crlf.srt", "1\r\n00:00:01,000 --> 00:00:02,000\r\na\n", LineEnd::CrLf},
        {"mac.srt", "1\r00:00:01,000 --> 00:00:02,000\ra\r", LineEnd::CrLf},
        {"utf16lf.srt", Utf16LE("1\n00:00:01,000 --> 00:00:02,000\na\n"), LineEnd::Lf},
    };
    TempDir dir;
    for (const Case& c : cases) {
        const std::string path = dir.Write(c.name, c.bytes);
        SubTitle doc(path, 25.0);
        ASSERT_TRUE(doc.IsLoaded()) << c.name;
        EXPECT_EQ(doc.LineEnds(), c.expected) << c.name;
        ASSERT_TRUE(doc.Save()) << c.name;
        const std::string saved = ReadBytes(path);
        const std::size_t none = std::string::npos;
        if (c.expected == LineEnd::Lf) {
            EXPECT_EQ(saved.find('\r'), none) << c.name;
            EXPECT_NE(saved.find('\n'), none) << c.name;
        } else {
            // Every line feed has its carriage return.
            std::size_t lf = 0, pairs = 0;
            for (std::size_t i = 0; i < saved.size(); ++i)
                if (saved[i] == '\n') {
                    ++lf;
                    pairs += i > 0 && saved[i - 1] == '\r';
                }
            EXPECT_GT(lf, 0u) << c.name;
            EXPECT_EQ(pairs, lf) << c.name;
        }
        SubTitle again(path, 25.0);
        ASSERT_EQ(again.Count(), doc.Count()) << c.name;
        EXPECT_EQ(again.Item(0)->Text, doc.Item(0)->Text) << c.name;
    }
}

// A carriage return that is not before a line feed stays, also where the writer's output is cut
// between the two; the LF writing takes the writer's CR LF pairs only.
TEST(Save, LfWritingDropsOnlyTheCarriageReturnBeforeALineFeed) {
    std::ostringstream out;
    const bool ok = WithLineEnd(LineEnd::Lf, [](std::ostream& o) {
        o << "a\r";
        o << "\nb\rc\r\r\n";
        o.write("d\r", 2);
        o << "\r";
        return bool(o);
    })(out);
    EXPECT_TRUE(ok);
    EXPECT_EQ(out.str(), "a\nb\rc\r\nd\r\r");
    std::ostringstream same;
    WithLineEnd(LineEnd::CrLf, [](std::ostream& o) { return bool(o << "a\r\n"); })(same);
    EXPECT_EQ(same.str(), "a\r\n");
}

TEST(Save, MicroDVDAtTheDocumentsRate) {
    TempDir dir;
    const std::string path = dir.Write("film.sub", "{24}{48}Hi\n{1}{2}x\n");
    SubTitle doc(path, 25.0, [] { return std::optional<std::string>("23.976"); });
    ASSERT_EQ(doc.Count(), 2);
    EXPECT_TRUE(doc.Save());
    EXPECT_EQ(ReadBytes(path), "{24}{48}Hi\n{1}{2}x\n");
}

TEST(Save, SubViewerNamesItsOwnFile) {
    TempDir dir;
    const std::string path =
        dir.Write("film.sub", "[INFORMATION]\n00:00:01.00,00:00:02.50\na[br]b\n\n");
    SubTitle doc(path, 25.0);
    ASSERT_EQ(doc.Count(), 1);
    EXPECT_TRUE(doc.Save());
    const std::string out = ReadBytes(path);
    // Its own line ends (LF) too.
    EXPECT_NE(out.find("[TITLE]" + path + "\n"), std::string::npos);
    const std::string tail = "\n\n00:00:01.00,00:00:02.50\na[br]b\n\n";
    ASSERT_GT(out.size(), tail.size());
    EXPECT_EQ(out.substr(out.size() - tail.size()), tail);
}

// The old file is replaced by a rename, never rewritten in place: a reader that opened it before
// the save still reads the old bytes to the end.
TEST(Save, ReplacesTheFileByRenaming) {
    TempDir dir;
    const std::string path = dir.Write("film.srt", kSrt);
    SubTitle doc(path, 25.0);
    std::ifstream before(path, std::ios::binary);
    ASSERT_TRUE(before.is_open());
    doc.Apply(ShiftChange(doc, 0, 1, 1000));
    ASSERT_TRUE(doc.Save());
    std::string old((std::istreambuf_iterator<char>(before)), std::istreambuf_iterator<char>());
    EXPECT_EQ(old, kSrt);
    EXPECT_NE(ReadBytes(path), kSrt);
}

void ExpectFailedSave(SubTitle& doc, const std::string& what) {
    ASSERT_TRUE(doc.IsModified()) << what;
    std::string why;
    EXPECT_FALSE(doc.Save(&why)) << what;
    EXPECT_FALSE(why.empty()) << what;
    EXPECT_TRUE(doc.IsModified()) << what;
}

TEST(Save, FailureKeepsTheOldFileAndTheModifiedFlag) {
    {
        // The target turned into a folder: nothing may be renamed over it.
        TempDir dir;
        const std::string path = dir.Write("film.srt", kSrt);
        SubTitle doc(path, 25.0);
        doc.SetModified();
        fs::remove(path);
        fs::create_directory(path);
        dir.Write(fs::path("film.srt/inside.txt").string(), "keep");
        ExpectFailedSave(doc, "target is a folder");
        EXPECT_TRUE(fs::is_directory(path));
        EXPECT_EQ(ReadBytes(fs::path(path) / "inside.txt"), "keep");
        EXPECT_EQ(dir.Names(), std::vector<std::string>{"film.srt"}) << "temporary file left";
    }
    {
        // The folder is gone.
        TempDir dir;
        fs::create_directory(dir.Path() / "sub");
        const std::string path = dir.Write("sub/film.srt", kSrt);
        SubTitle doc(path, 25.0);
        doc.Apply(ShiftChange(doc, 0, 0, 1));
        fs::remove_all(dir.Path() / "sub");
        ExpectFailedSave(doc, "missing folder");
        EXPECT_FALSE(fs::exists(dir.Path() / "sub"));
    }
}

// A write that fails halfway (the file-size limit stops it) leaves the old file whole.
TEST(Save, FailureHalfwayKeepsTheOldFile) {
    TempDir dir;
    const std::string path = dir.Write("film.srt", kSrt);
    SubTitle doc(path, 25.0);
    for (int i = 0; i < 2000; ++i)
        doc.Apply(InsertChange(doc, doc.Count(), {PerTitle(i * 1000, i * 1000 + 500, "a longer line of caption text")}));

    std::string why;
    bool saved = true;
    {
        testutil::FileSizeLimit limit(4096);
        ASSERT_TRUE(limit.Active());
        saved = doc.Save(&why);
    }

    EXPECT_FALSE(saved);
    EXPECT_FALSE(why.empty());
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(ReadBytes(path), kSrt);
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"film.srt"}) << "temporary file left";
}

// Root may write into any folder, so as root the save runs with the effective user id of an
// unprivileged user; the saved user id stays root, which takes root back afterwards.
class UnprivilegedScope {
public:
    UnprivilegedScope() {
        if (::geteuid() != 0) return;
        dropped_ = ::seteuid(kNobody) == 0;
    }
    ~UnprivilegedScope() {
        if (dropped_) {
            EXPECT_EQ(::seteuid(0), 0) << "cannot take root back";
        }
    }
    UnprivilegedScope(const UnprivilegedScope&) = delete;
    UnprivilegedScope& operator=(const UnprivilegedScope&) = delete;
    // True when the folder's permissions now bind this process.
    bool Bound() const { return ::geteuid() != 0; }

private:
    static constexpr uid_t kNobody = 65534;
    bool dropped_ = false;
};

TEST(Save, FailureInAReadOnlyFolder) {
    TempDir dir;
    fs::create_directory(dir.Path() / "ro");
    const std::string path = dir.Write("ro/film.srt", kSrt);
    SubTitle doc(path, 25.0);
    doc.Apply(ShiftChange(doc, 0, 0, 1));
    // Readable and searchable for every user, so that only the missing write permission stops
    // the save, whoever runs it.
    const auto readOnly = fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                          fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec;
    fs::permissions(dir.Path(), readOnly | fs::perms::owner_write);
    fs::permissions(dir.Path() / "ro", readOnly);
    {
        UnprivilegedScope unprivileged;
        if (!unprivileged.Bound())
            GTEST_SKIP() << "running as root without the right to change the user id, which a "
                            "read-only folder does not stop";
        ExpectFailedSave(doc, "read-only folder");
    }
    fs::permissions(dir.Path() / "ro", fs::perms::owner_all);
    EXPECT_EQ(ReadBytes(path), kSrt);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path() / "ro"), fs::directory_iterator{}),
              1);
}

TEST(Save, EncodingIsWrittenBack) {
    TempDir dir;
    struct Case {
        const char* name;
        std::string mark;
        std::string (*encode)(const std::string&);
    };
    auto utf8 = [](const std::string& s) { return s; };
    auto le = [](const std::string& s) {
        std::string out; // ASCII only
        for (char c : s)
            out += std::string{c, '\0'};
        return out;
    };
    auto be = [](const std::string& s) {
        std::string out;
        for (char c : s)
            out += std::string{'\0', c};
        return out;
    };
    const std::vector<Case> cases = {
        {"bom.srt", "\xEF\xBB\xBF", +utf8},
        {"le.srt", "\xFF\xFE", +le},
        {"be.srt", "\xFE\xFF", +be},
    };
    for (const auto& c : cases) {
        const std::string path = dir.Write(c.name, c.mark + c.encode(kSrt));
        SubTitle doc(path, 25.0);
        ASSERT_EQ(doc.Count(), 2) << c.name;
        doc.Apply(SetEntryChange(doc, 1, {3000, 4000, "z"}));
        ASSERT_TRUE(doc.Save()) << c.name;
        EXPECT_EQ(ReadBytes(path),
                  c.mark + c.encode("1\n00:00:01,000 --> 00:00:02,000\na\nb\n\n"
                                    "2\n00:00:03,000 --> 00:00:04,000\nz\n\n"))
            << c.name;
    }
}

// A Chinese character typed into a UTF-16 document is written as UTF-16, surrogates included.
TEST(Save, Utf16TextOutsideAscii) {
    TempDir dir;
    const std::string path =
        dir.Write("film.srt", std::string("\xFF\xFE") + std::string("1\0\r\0\n\0", 6));
    SubTitle doc(path, 25.0);
    ASSERT_TRUE(doc.IsLoaded());
    doc.Apply(InsertChange(doc, 0, {PerTitle(0, 1000, "\xE5\x9B\x9B\xF0\x9F\x98\x80")}));
    ASSERT_TRUE(doc.Save());
    const std::string out = ReadBytes(path);
    const std::string want16("\xDB\x56\x3D\xD8\x00\xDE\r\0\n\0", 10);
    EXPECT_EQ(out.substr(0, 2), "\xFF\xFE");
    EXPECT_NE(out.find(want16), std::string::npos);
}

TEST(Save, GbkDocumentWithPipeTrailByte) {
    TempDir dir;
    // 亅 is 81 7C in GBK; 简 BC F2. Too little text to detect: the page handed in decides.
    const std::string file = "1\r\n00:00:01,000 --> 00:00:02,000\r\n\x81\x7C\xBC\xF2\r\nb\r\n\r\n";
    const std::string path = dir.Write("gbk.srt", file);
    SubTitle doc(path, 25.0, FrameRateQuestion(), kCodePageGbk);
    EXPECT_EQ(doc.CodePage(), kCodePageGbk);
    ASSERT_EQ(doc.Count(), 1);
    EXPECT_EQ(doc.Item(0)->Text, "\x81\x7C\xBC\xF2|b");
    EXPECT_TRUE(doc.Save());
    EXPECT_EQ(ReadBytes(path), file);
}

} // namespace
