// velitra-convert end to end: the program is run as a user runs it, in a fresh folder per test.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace fs = std::filesystem;

namespace {

const std::string kCrLf = "\r\n";

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteAll(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string Fixture(const std::string& name) {
    return ReadAll(fs::path(VELITRA_FIXTURES) / "cli" / name);
}

// One SubRip block as the writer writes it; "|" separates caption lines (ASCII text only: a
// double-byte character may hold a "|" byte).
std::string Block(int number, const std::string& start, const std::string& end, std::string text) {
    std::string lines;
    for (char c : text)
        lines += c == '|' ? kCrLf : std::string(1, c);
    return std::to_string(number) + kCrLf + start + " --> " + end + kCrLf + lines + kCrLf + kCrLf;
}

// ASCII as UTF-16LE behind its byte-order mark.
std::string Utf16LE(const std::string& ascii) {
    std::string out = "\xFF\xFE";
    for (char c : ascii) {
        out += c;
        out += '\0';
    }
    return out;
}

struct Result {
    int exit = -1;
    std::string out;
    std::string err;
};

class Convert : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        root_ = fs::temp_directory_path() /
                ("velitra-cli-" + std::to_string(getpid()) + "-" + info->name());
        fs::remove_all(root_);
        fs::create_directories(root_ / "work");
        fs::create_directories(root_ / "capture");
        work_ = root_ / "work";
    }
    void TearDown() override { fs::remove_all(root_); }

    std::string Path(const std::string& name) const { return (work_ / name).string(); }

    // Copies a fixture into the work folder and returns its path there.
    std::string Input(const std::string& fixture) const {
        WriteAll(work_ / fixture, Fixture(fixture));
        return Path(fixture);
    }

    Result Run(const std::vector<std::string>& args) const {
        const std::string outPath = (root_ / "capture" / "stdout").string();
        const std::string errPath = (root_ / "capture" / "stderr").string();
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0644);
        posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0644);
        std::vector<std::string> all{VELITRA_CONVERT};
        all.insert(all.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (std::string& a : all)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        pid_t pid = 0;
        Result r;
        if (posix_spawn(&pid, VELITRA_CONVERT, &actions, nullptr, argv.data(), environ) == 0) {
            int status = 0;
            waitpid(pid, &status, 0);
            r.exit = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        posix_spawn_file_actions_destroy(&actions);
        r.out = ReadAll(outPath);
        r.err = ReadAll(errPath);
        return r;
    }

    // Names in the work folder, sorted: what a run left behind.
    std::vector<std::string> Files() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(work_))
            names.push_back(e.path().filename());
        std::sort(names.begin(), names.end());
        return names;
    }

    fs::path root_;
    fs::path work_;
};

// The text with LF line ends.
std::string WithLf(std::string text) {
    for (std::size_t at; (at = text.find("\r\n")) != std::string::npos;)
        text.erase(at, 1);
    return text;
}

bool OneLine(const std::string& text) {
    return !text.empty() && text.back() == '\n' && std::count(text.begin(), text.end(), '\n') == 1;
}

const std::string kBasicSrt = Block(1, "00:00:01,000", "00:00:02,500", "Hello") +
                              Block(2, "00:00:03,000", "00:00:04,000", "Two|lines") +
                              Block(3, "00:00:05,000", "00:00:06,000", "") +
                              Block(4, "00:00:07,010", "00:00:08,000", "Last");

TEST_F(Convert, SubRipRoundTripIsByteForByteAndLeavesNothingElse) {
    ASSERT_EQ(Fixture("basic.srt"), kBasicSrt); // the fixture is what the writer writes
    Result r = Run({Input("basic.srt"), Path("out.srt")});
    EXPECT_EQ(r.exit, 0) << r.err;
    EXPECT_EQ(ReadAll(Path("out.srt")), kBasicSrt);
    EXPECT_EQ(Files(), (std::vector<std::string>{"basic.srt", "out.srt"}));
    EXPECT_TRUE(OneLine(r.err)) << r.err;
    EXPECT_NE(r.err.find("read 4 entries (SubRip)"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("wrote 4 entries (SubRip)"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("code page UTF-8"), std::string::npos) << r.err;
    EXPECT_TRUE(r.out.empty());
}

// The output ends its lines as the input does, unless --eol says otherwise.
TEST_F(Convert, LineEndsAsTheInputUnlessEolSays) {
    const std::string lf = WithLf(kBasicSrt);
    WriteAll(work_ / "lf.srt", lf);
    struct Case {
        std::vector<std::string> args;
        std::string input, expected;
    } cases[] = {
        {{}, "lf.srt", lf},
        {{"--eol", "crlf"}, "lf.srt", kBasicSrt},
        {{"--eol", "lf"}, "basic.srt", lf},
        {{}, "basic.srt", kBasicSrt},
    };
    Input("basic.srt");
    for (const Case& c : cases) {
        std::vector<std::string> args = c.args;
        args.insert(args.end(), {"--force", Path(c.input), Path("out.srt")});
        const Result r = Run(args);
        EXPECT_EQ(r.exit, 0) << r.err;
        EXPECT_EQ(ReadAll(Path("out.srt")), c.expected) << c.input;
    }
}

struct OptionCase {
    const char* name;
    std::vector<std::string> args;
    std::string output; // file name; its extension may choose the format
    std::string expected;
    const char* summary; // a piece of the summary line
};

TEST_F(Convert, OptionsShapeTheOutput) {
    const std::vector<OptionCase> cases = {
        {"range keeps the entries' own numbers",
         {"--range", "2-4"},
         "out.srt",
         Block(2, "00:00:03,000", "00:00:04,000", "Two|lines") +
             Block(3, "00:00:05,000", "00:00:06,000", "") +
             Block(4, "00:00:07,010", "00:00:08,000", "Last"),
         "wrote 3 entries"},
        {"range renumbered and re-timed to zero",
         {"--range", "2-4", "--renumber", "1", "--start", "00:00:00,000"},
         "out.srt",
         Block(1, "00:00:00,000", "00:00:01,000", "Two|lines") +
             Block(2, "00:00:02,000", "00:00:03,000", "") +
             Block(3, "00:00:04,010", "00:00:05,000", "Last"),
         "wrote 3 entries"},
        {"renumber from 10",
         {"--renumber", "10", "--range", "4-4"},
         "out.srt",
         Block(10, "00:00:07,010", "00:00:08,000", "Last"),
         "wrote 1 entries"},
        {"start later moves every entry by the same amount",
         {"--start", "01:00:00,000", "--range", "1-2"},
         "out.srt",
         Block(1, "01:00:00,000", "01:00:01,500", "Hello") +
             Block(2, "01:00:02,000", "01:00:03,000", "Two|lines"),
         "wrote 2 entries"},
        {"skip blank keeps the numbers consecutive",
         {"--skip-blank"},
         "out.srt",
         Block(1, "00:00:01,000", "00:00:02,500", "Hello") +
             Block(2, "00:00:03,000", "00:00:04,000", "Two|lines") +
             Block(3, "00:00:07,010", "00:00:08,000", "Last"),
         "read 4 entries (SubRip), wrote 3 entries"},
        {"MicroDVD by extension at 25 fps",
         {},
         "out.sub",
         "{25}{62}Hello\r\n{75}{100}Two|lines\r\n{125}{150}\r\n{175}{200}Last\r\n",
         "wrote 4 entries (MicroDVD at 25 fps)"},
        {"MicroDVD at a given rate",
         {"--fps", "23.976"},
         "out.sub",
         "{23}{59}Hello\r\n{71}{95}Two|lines\r\n{119}{143}\r\n{168}{191}Last\r\n",
         "MicroDVD at 23.976 fps"},
        {"MicroDVD re-timed: 00:00:02,010 is frame 50 at 25",
         {"--to", "microdvd", "--range", "2-3", "--skip-blank", "--start", "00:00:02,010"},
         "out.txt",
         "{50}{75}Two|lines\r\n",
         "wrote 1 entries"},
    };
    for (const OptionCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> args = c.args;
        args.push_back(Input("basic.srt"));
        args.push_back(Path(c.output));
        Result r = Run(args);
        EXPECT_EQ(r.exit, 0) << r.err;
        EXPECT_EQ(ReadAll(Path(c.output)), c.expected);
        EXPECT_NE(r.err.find(c.summary), std::string::npos) << r.err;
        fs::remove(Path(c.output));
    }
}

TEST_F(Convert, SubViewerOutputCentresOnlyWhenAsked) {
    const std::string in = Input("basic.srt");
    for (bool centre : {false, true}) {
        SCOPED_TRACE(centre);
        std::vector<std::string> args{"--to",    "subviewer", "--range",      "1-2",
                                      "--force", in,          Path("out.sub")};
        if (centre) args.push_back("--center");
        Result r = Run(args);
        ASSERT_EQ(r.exit, 0) << r.err;
        const std::string out = ReadAll(Path("out.sub"));
        EXPECT_EQ(out.rfind("[INFORMATION]\r\n[TITLE]" + in + "\r\n", 0), 0u) << out;
        const std::string tail = "00:00:00.00,00:00:00.10\r\n\r\n\r\n"
                                 "00:00:01.00,00:00:02.50\r\nHello\r\n\r\n"
                                 "00:00:03.00,00:00:04.00\r\n" +
                                 std::string(centre ? " Two" : "Two") + "[br]lines\r\n\r\n";
        ASSERT_GE(out.size(), tail.size());
        EXPECT_EQ(out.substr(out.size() - tail.size()), tail);
        EXPECT_NE(r.err.find("wrote 2 entries (SubViewer)"), std::string::npos) << r.err;
    }
}

TEST_F(Convert, MicroDVDInputIsReadAtTheGivenRate) {
    const std::string in = Input("basic.sub");
    // Read and written at the document's own rate, a MicroDVD file comes back unchanged.
    Result r = Run({"--fps", "23.976", in, Path("same.sub")});
    EXPECT_EQ(r.exit, 0) << r.err;
    EXPECT_EQ(ReadAll(Path("same.sub")), Fixture("basic.sub"));
    EXPECT_NE(r.err.find("read 2 entries (MicroDVD at 23.976 fps)"), std::string::npos) << r.err;

    r = Run({in, Path("at25.srt")});
    EXPECT_EQ(r.exit, 0) << r.err;
    EXPECT_EQ(ReadAll(Path("at25.srt")), Block(1, "00:00:01,000", "00:00:02,000", "Hello") +
                                             Block(2, "00:00:00,960", "00:00:01,920", "Hi|there"));

    // A frame is read as the first whole millisecond inside it.
    r = Run({"--fps", "23.976", in, Path("at23976.srt")});
    EXPECT_EQ(r.exit, 0) << r.err;
    EXPECT_EQ(ReadAll(Path("at23976.srt")),
              Block(1, "00:00:01,043", "00:00:02,086", "Hello") +
                  Block(2, "00:00:01,002", "00:00:02,003", "Hi|there"));
}

TEST_F(Convert, SubViewerInputToSubRip) {
    Result r = Run({Input("viewer.sub"), Path("out.srt")});
    EXPECT_EQ(r.exit, 0) << r.err;
    // The input's LF line ends stay.
    EXPECT_EQ(ReadAll(Path("out.srt")), WithLf(Block(1, "00:00:01,000", "00:00:03,500", "a|b") +
                                               Block(2, "00:00:04,000", "00:00:05,000", "c")));
    EXPECT_NE(r.err.find("read 2 entries (SubViewer)"), std::string::npos) << r.err;
}

TEST_F(Convert, SubViewerInputWithAnEmptyHeaderLine) {
    Result r = Run({Input("viewer-empty-header-line.sub"), Path("out.srt")});
    EXPECT_EQ(r.exit, 0) << r.err;
    EXPECT_EQ(ReadAll(Path("out.srt")), WithLf(Block(1, "00:00:01,000", "00:00:03,500", "a")));
}

// Each input's legacy page is detected and kept in the output, byte for byte; --codepage names
// the page instead.
TEST_F(Convert, CodePageDetectedPerFileUnlessNamed) {
    struct Case {
        const char* file;
        const char* page;
    };
    for (const Case& c :
         {Case{"srt_cp932_shift_jis.srt", "Shift-JIS"}, Case{"srt_cp949_euc_kr.srt", "EUC-KR"},
          Case{"srt_cp1252_windows.srt", "Windows-1252"}, Case{"srt_cp936_gbk.srt", "GBK"}}) {
        SCOPED_TRACE(c.file);
        const std::string bytes =
            ReadAll(fs::path(VELITRA_FIXTURES) / "model" / "roundtrip" / c.file);
        WriteAll(Path(c.file), bytes);
        Result r = Run({"--force", Path(c.file), Path("out.srt")});
        EXPECT_EQ(r.exit, 0) << r.err;
        EXPECT_EQ(ReadAll(Path("out.srt")), bytes);
        EXPECT_NE(r.err.find(std::string("code page ") + c.page + "\n"), std::string::npos)
            << r.err;
    }
    // Named, the page is taken as it is: the bytes still come back unchanged.
    Result r =
        Run({"--codepage", "big5", "--force", Path("srt_cp932_shift_jis.srt"), Path("out.srt")});
    EXPECT_EQ(r.exit, 0) << r.err;
    EXPECT_NE(r.err.find("code page Big5\n"), std::string::npos) << r.err;
    EXPECT_EQ(ReadAll(Path("out.srt")), ReadAll(Path("srt_cp932_shift_jis.srt")));
    r = Run({"--codepage=Shift_JIS", "--force", Input("legacy.srt"), Path("out.srt")});
    EXPECT_EQ(r.exit, 0) << r.err;
    EXPECT_NE(r.err.find("code page Shift-JIS\n"), std::string::npos) << r.err;
}

// --encoding: the way Big5 and GB files become UTF-8; what the encoding cannot hold stops the run
// with nothing written.
TEST_F(Convert, EncodingNamesTheOutputsEncoding) {
    struct Case {
        const char* file;
        const char* encoding;
        const char* summary;
        const char* page; // the input's own
    };
    for (const Case& c :
         {Case{"srt_cp950_big5.srt", "utf-8", "written as UTF-8\n", "big5"},
          Case{"srt_cp936_gbk.srt", "UTF-8-BOM", "written as UTF-8 with BOM\n", "gbk"},
          Case{"srt_cp54936_gb18030.srt", "utf-16", "written as UTF-16LE\n", "gb18030"}}) {
        SCOPED_TRACE(c.file);
        WriteAll(Path(c.file),
                 ReadAll(fs::path(VELITRA_FIXTURES) / "model" / "roundtrip" / c.file));
        Result r = Run({"--force", "--encoding", c.encoding, Path(c.file), Path("utf.srt")});
        ASSERT_EQ(r.exit, 0) << r.err;
        EXPECT_NE(r.err.find(c.summary), std::string::npos) << r.err;
        // Read back by the converter itself it is Unicode, and written back in the input's page it
        // gives the input's bytes again.
        r = Run({"--force", "--encoding", c.page, Path("utf.srt"), Path("back.srt")});
        ASSERT_EQ(r.exit, 0) << r.err;
        EXPECT_NE(r.err.find("code page UTF-"), std::string::npos) << r.err;
        EXPECT_EQ(ReadAll(Path("back.srt")), ReadAll(Path(c.file)));
    }
    // Simplified characters Big5 has no form for.
    WriteAll(Path("gbk.srt"), "1\r\n00:00:01,000 --> 00:00:02,000\r\n\xBA\xBA\xD3\xEF\r\n");
    Result r = Run({"--codepage", "gbk", "--encoding", "big5", Path("gbk.srt"), Path("big5.srt")});
    EXPECT_EQ(r.exit, 1);
    EXPECT_NE(r.err.find("entry 1 cannot be written in Big5"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(Path("big5.srt")));
}

// A short Windows-1252 file is read as Windows-1252 (no double-byte page holds it) and converts;
// read as Big5 by force, its text is named as no Big5, not as a fault of the target encoding.
TEST_F(Convert, ShortWindows1252FileConvertsAndAWrongPageIsNamed) {
    const std::string file = "srt_cp1252_short_french.srt";
    WriteAll(Path(file), ReadAll(fs::path(VELITRA_FIXTURES) / "model" / "roundtrip" / file));
    Result r = Run({"--encoding", "utf-8", Path(file), Path("utf.srt")});
    ASSERT_EQ(r.exit, 0) << r.err;
    EXPECT_NE(r.err.find("code page Windows-1252"), std::string::npos) << r.err;
    EXPECT_NE(ReadAll(Path("utf.srt")).find("Un caf\xC3\xA9, s'il vous pla\xC3\xAE" "t."),
              std::string::npos);
    r = Run({"--codepage", "big5", "--encoding", "utf-8", Path(file), Path("big5.srt")});
    EXPECT_EQ(r.exit, 1);
    EXPECT_NE(r.err.find("entry 1 is not valid Big5"), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("cannot be written"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(Path("big5.srt")));
}

// --chinese converts the written entries' words, tags and line breaks kept; a Big5 file turned
// Simplified needs an --encoding that can hold the result, and is refused without one.
TEST_F(Convert, ChineseConversionWithTheEncoding) {
    WriteAll(Path("s.srt"), Block(1, "00:00:01,000", "00:00:02,000", "{\\fn微软雅黑}软件|<i>鼠标</i>") +
                                Block(2, "00:00:03,000", "00:00:04,000", "Hello"));
    Result r = Run({"--chinese", "s2twp", Path("s.srt"), Path("t.srt")});
    ASSERT_EQ(r.exit, 0) << r.err;
    EXPECT_EQ(ReadAll(Path("t.srt")),
              Block(1, "00:00:01,000", "00:00:02,000", "{\\fn微软雅黑}軟體|<i>滑鼠</i>") +
                  Block(2, "00:00:03,000", "00:00:04,000", "Hello"));
    EXPECT_NE(r.err.find("code page UTF-8, Chinese s2twp: 1 entries changed\n"), std::string::npos)
        << r.err;

    const std::string big5 = "\xB3\x6F\xAC\x4F\xB3\x6E\xC5\xE9"; // 這是軟體
    WriteAll(Path("big5.srt"), Block(1, "00:00:01,000", "00:00:02,000", "Hi") +
                                   Block(2, "00:00:03,000", "00:00:04,000", big5));
    r = Run({"--codepage", "big5", "--chinese", "tw2sp", Path("big5.srt"), Path("s.sub")});
    EXPECT_EQ(r.exit, 1);
    EXPECT_NE(r.err.find("entry 2 cannot be written in Big5"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(Path("s.sub")));

    struct Case {
        const char* encoding;
        std::string text;
    };
    for (const Case& c : {Case{"utf-8", "这是软件"}, Case{"gbk", "\xD5\xE2\xCA\xC7\xC8\xED\xBC\xFE"},
                          Case{"utf-16", ""}}) {
        r = Run({"--force", "--codepage", "big5", "--chinese", "tw2sp", "--encoding", c.encoding,
                 Path("big5.srt"), Path("out.srt")});
        ASSERT_EQ(r.exit, 0) << c.encoding << ": " << r.err;
        EXPECT_NE(r.err.find("code page Big5"), std::string::npos) << r.err;
        if (c.text.empty()) continue; // UTF-16: read back below
        EXPECT_EQ(ReadAll(Path("out.srt")), Block(1, "00:00:01,000", "00:00:02,000", "Hi") +
                                                Block(2, "00:00:03,000", "00:00:04,000", c.text))
            << c.encoding;
    }
    r = Run({"--force", "--encoding", "utf-8", Path("out.srt"), Path("back.srt")});
    ASSERT_EQ(r.exit, 0) << r.err;
    EXPECT_EQ(ReadAll(Path("back.srt")), Block(1, "00:00:01,000", "00:00:02,000", "Hi") +
                                             Block(2, "00:00:03,000", "00:00:04,000", "这是软件"));
}

// A MicroDVD file that states its rate in its first line is read at it, unless --fps says another.
TEST_F(Convert, MicroDVDInputAtTheRateItStates) {
    WriteAll(Path("stated.sub"), "{1}{1}23.976\r\n{24}{48}Hello\r\n");
    Result r = Run({Path("stated.sub"), Path("out.srt")});
    EXPECT_EQ(r.exit, 0) << r.err;
    EXPECT_NE(r.err.find("MicroDVD at 23.976 fps"), std::string::npos) << r.err;
    EXPECT_NE(ReadAll(Path("out.srt")).find("00:00:01,002 --> 00:00:02,003"), std::string::npos);
    r = Run({"--fps", "25", "--force", Path("stated.sub"), Path("out.srt")});
    EXPECT_NE(r.err.find("MicroDVD at 25 fps"), std::string::npos) << r.err;
}

TEST_F(Convert, OutputKeepsTheInputsEncoding) {
    struct Case {
        const char* name;
        std::string input;
        std::string output; // of basic.srt as MicroDVD at 25, in the same encoding
        const char* summary;
    };
    const std::string microdvd =
        "{25}{62}Hello\r\n{75}{100}Two|lines\r\n{125}{150}\r\n{175}{200}Last\r\n";
    const std::vector<Case> cases = {
        {"UTF-8 with BOM", "\xEF\xBB\xBF" + kBasicSrt, "\xEF\xBB\xBF" + microdvd,
         "code page UTF-8 with BOM"},
        {"UTF-16LE", Utf16LE(kBasicSrt), Utf16LE(microdvd), "code page UTF-16LE"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteAll(Path("in.srt"), c.input);
        Result r = Run({"--force", Path("in.srt"), Path("out.sub")});
        EXPECT_EQ(r.exit, 0) << r.err;
        EXPECT_EQ(ReadAll(Path("out.sub")), c.output);
        EXPECT_NE(r.err.find(c.summary), std::string::npos) << r.err;
        r = Run({"--force", Path("in.srt"), Path("back.srt")});
        EXPECT_EQ(r.exit, 0) << r.err;
        EXPECT_EQ(ReadAll(Path("back.srt")), c.input);
    }
}

TEST_F(Convert, LegacyCodePageDecidesCharactersAndBlanks) {
    const std::string in = Input("legacy.srt");
    const std::string si = "\xA5\x7C", zhong = "\xA4\xA4", a1a1 = "\xA1\xA1";
    // The "|" trail byte of 四 is no line break; the real "|" after 中 is.
    Result r = Run({in, Path("out.srt")});
    EXPECT_EQ(r.exit, 0) << r.err;
    EXPECT_EQ(ReadAll(Path("out.srt")), "1\r\n00:00:01,000 --> 00:00:02,000\r\n" + si +
                                            "\r\n\r\n2\r\n00:00:03,000 --> 00:00:04,000\r\n" +
                                            a1a1 +
                                            "\r\n\r\n3\r\n00:00:05,000 --> 00:00:06,000\r\n" +
                                            zhong + "\r\n" + si + "\r\n\r\n");
    EXPECT_NE(r.err.find("code page Big5"), std::string::npos) << r.err;

    r = Run({"--to", "subviewer", "--center", in, Path("out.ssub")});
    EXPECT_EQ(r.exit, 0) << r.err;
    const std::string viewer = ReadAll(Path("out.ssub"));
    EXPECT_NE(viewer.find("00:00:01.00,00:00:02.00\r\n" + si + "\r\n\r\n"), std::string::npos);
    EXPECT_NE(viewer.find("00:00:05.00,00:00:06.00\r\n" + zhong + "[br]" + si + "\r\n\r\n"),
              std::string::npos);

    // A1 A1 is the full-width space in GBK only.
    struct Case {
        const char* codePage;
        const char* summary;
    };
    for (const Case& c : {Case{"950", "wrote 3 entries"}, Case{"936", "wrote 2 entries"}}) {
        SCOPED_TRACE(c.codePage);
        r = Run({"--skip-blank", "--codepage", c.codePage, "--force", in, Path("skip.sub")});
        EXPECT_EQ(r.exit, 0) << r.err;
        EXPECT_NE(r.err.find(c.summary), std::string::npos) << r.err;
        EXPECT_EQ(ReadAll(Path("skip.sub")).find(a1a1) != std::string::npos,
                  std::string(c.codePage) == "950");
    }
    EXPECT_NE(r.err.find("code page GBK"), std::string::npos) << r.err;
}

TEST_F(Convert, DocumentWithoutEntriesGivesAnEmptyStretch) {
    WriteAll(Path("blank.srt"), "\r\n  \r\n\r\n");
    Result r = Run({Path("blank.srt"), Path("out.srt")});
    EXPECT_EQ(r.exit, 0) << r.err;
    EXPECT_EQ(ReadAll(Path("out.srt")), "");
    EXPECT_NE(r.err.find("read 0 entries (SubRip), wrote 0 entries"), std::string::npos) << r.err;

    r = Run({"--range", "1-1", Path("blank.srt"), Path("range.srt")});
    EXPECT_EQ(r.exit, 2);
    EXPECT_FALSE(fs::exists(Path("range.srt")));
}

TEST_F(Convert, BadArgumentsExitTwoWithOneLine) {
    const std::string in = Input("basic.srt");
    const std::string out = Path("out.srt");
    const std::vector<std::vector<std::string>> cases = {
        {},
        {in},
        {in, out, Path("third.srt")},
        {"--bogus", in, out},
        {"--to", "sami", in, out},
        {in, Path("out.txt")},
        {in, Path("out")},
        {"--fps", "abc", in, out},
        {"--fps", "0", in, out},
        {"--fps", "-25", in, out},
        {"--fps", "inf", in, out},
        {in, out, "--fps"},
        {"--range", "0-2", in, out},
        {"--range", "3-1", in, out},
        {"--range", "2", in, out},
        {"--range", "a-b", in, out},
        {"--range", "1-5", in, out}, // the file has 4 entries
        {"--renumber", "0", in, out},
        {"--renumber", "x", in, out},
        {"--start", "1:30", in, out},
        {"--codepage", "utf-8", in, out},
        {"--codepage", "437", in, out},
        {"--center", in, out},
        {"--renumber", "2", in, Path("out.sub")},
        {"--force=yes", in, out},
    };
    for (const auto& args : cases) {
        std::string shown;
        for (const auto& a : args)
            shown += a + " ";
        SCOPED_TRACE(shown);
        Result r = Run(args);
        EXPECT_EQ(r.exit, 2);
        EXPECT_TRUE(OneLine(r.err)) << r.err;
        EXPECT_TRUE(r.out.empty()) << r.out;
        EXPECT_EQ(Files(), std::vector<std::string>{"basic.srt"});
    }
}

TEST_F(Convert, HelpGoesToStandardOutput) {
    Result r = Run({"--help"});
    EXPECT_EQ(r.exit, 0);
    EXPECT_EQ(r.out.rfind("Usage: velitra-convert", 0), 0u) << r.out;
    for (const char* option : {"--to", "--fps", "--range", "--renumber", "--start", "--skip-blank",
                               "--center", "--codepage", "--encoding", "--force", "--help"})
        EXPECT_NE(r.out.find(option), std::string::npos) << option;
    EXPECT_TRUE(r.err.empty());
}

TEST_F(Convert, UnusableInputExitsOneWithTheReason) {
    WriteAll(Path("empty.srt"), "");
    // A text file that is no subtitle by its content nor by its name (a SubRip file named .txt
    // opens as SubRip).
    WriteAll(Path("notes.txt"), "Shopping list\nmilk\n");
    fs::create_directory(Path("folder.srt"));
    struct Case {
        std::string input;
        const char* reason;
    };
    const std::vector<Case> cases = {
        {Path("missing.srt"), "no such file"},
        {Path("empty.srt"), "holds no text"},
        {Path("notes.txt"), "neither a subtitle file"},
        {Path("folder.srt"), "folder"},
    };
    const std::vector<std::string> before = Files();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input);
        Result r = Run({c.input, Path("out.srt")});
        EXPECT_EQ(r.exit, 1);
        EXPECT_TRUE(OneLine(r.err)) << r.err;
        EXPECT_NE(r.err.find(c.input + ": "), std::string::npos) << r.err;
        EXPECT_NE(r.err.find(c.reason), std::string::npos) << r.err;
        EXPECT_EQ(Files(), before);
    }
}

TEST_F(Convert, ExistingOutputNeedsForce) {
    const std::string in = Input("basic.srt");
    WriteAll(Path("out.srt"), "keep me");
    Result r = Run({in, Path("out.srt")});
    EXPECT_EQ(r.exit, 1);
    EXPECT_TRUE(OneLine(r.err)) << r.err;
    EXPECT_NE(r.err.find("--force"), std::string::npos) << r.err;
    EXPECT_EQ(ReadAll(Path("out.srt")), "keep me");

    r = Run({"--force", in, Path("out.srt")});
    EXPECT_EQ(r.exit, 0) << r.err;
    EXPECT_EQ(ReadAll(Path("out.srt")), kBasicSrt);

    // In place: the input is read whole before the output replaces it.
    r = Run({"--force", "--renumber", "7", in, in});
    EXPECT_EQ(r.exit, 0) << r.err;
    EXPECT_EQ(ReadAll(in).rfind("7\r\n00:00:01,000", 0), 0u);
    EXPECT_EQ(Files(), (std::vector<std::string>{"basic.srt", "out.srt"}));
}

TEST_F(Convert, FailedWriteLeavesNothingBehind) {
    const std::string in = Input("basic.srt");
    Result r = Run({in, Path("no-such-folder/out.srt")});
    EXPECT_EQ(r.exit, 1);
    EXPECT_TRUE(OneLine(r.err)) << r.err;
    EXPECT_EQ(Files(), std::vector<std::string>{"basic.srt"});

    // A folder in the output's place cannot be replaced by a file.
    fs::create_directory(Path("out.srt"));
    r = Run({"--force", in, Path("out.srt")});
    EXPECT_EQ(r.exit, 1);
    EXPECT_TRUE(OneLine(r.err)) << r.err;
    EXPECT_TRUE(fs::is_directory(Path("out.srt")));
    EXPECT_TRUE(fs::is_empty(Path("out.srt")));
    EXPECT_EQ(Files(), (std::vector<std::string>{"basic.srt", "out.srt"}));
}

} // namespace

namespace {

// ffmpeg's SubRip with the font tags it adds for an ASS style taken out, and LF line ends.
std::string Plain(std::string srt) {
    std::string out;
    for (std::size_t i = 0; i < srt.size();) {
        if (srt.compare(i, 5, "<font") == 0 || srt.compare(i, 6, "</font") == 0) {
            i = srt.find('>', i) + 1;
        } else if (srt[i] == '\r') {
            ++i;
        } else {
            out += srt[i++];
        }
    }
    return out;
}

bool HaveFfmpeg() {
    return std::system("ffmpeg -version >/dev/null 2>&1") == 0;
}

} // namespace

// Into WebVTT, ASS and SSA and back: the output's format from its name, the tags carried over
// (SubRip's <i> as ASS's {\i1}), the count of those left out, an ASS file byte for byte.
TEST_F(Convert, WebVttAndAss) {
    const std::string in = Path("in.srt");
    WriteAll(in, Block(1, "00:00:01,000", "00:00:02,500", "<i>It</i>|<font color=red>x</font>") +
                     Block(2, "00:00:03,000", "00:00:04,000", "b"));
    Result r = Run({in, Path("out.ass")});
    ASSERT_EQ(r.exit, 0) << r.err;
    EXPECT_NE(r.err.find("wrote 2 entries (ASS)"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("style tags left out, having no counterpart in ASS: 1"),
              std::string::npos)
        << r.err;
    const std::string ass = ReadAll(Path("out.ass"));
    EXPECT_NE(ass.find("Dialogue: 0,0:00:01.00,0:00:02.50,Default,,0,0,0,,{\\i1}It{\\i0}\\Nx\r\n"),
              std::string::npos)
        << ass;
    r = Run({"--to", "vtt", Path("out.ass"), Path("back.txt")});
    ASSERT_EQ(r.exit, 0) << r.err;
    EXPECT_EQ(ReadAll(Path("back.txt")),
              "WEBVTT\n\n00:00:01.000 --> 00:00:02.500\n<i>It</i>\nx\n\n"
              "00:00:03.000 --> 00:00:04.000\nb\n");
    r = Run({Path("back.txt"), Path("back.srt")}); // a .txt that is WebVTT reads as WebVTT
    ASSERT_EQ(r.exit, 0) << r.err;
    EXPECT_NE(r.err.find("read 2 entries (WebVTT)"), std::string::npos) << r.err;

    // Unchanged, an ASS file comes back byte for byte, its broken line reported once.
    const std::string fixture = std::string(VELITRA_FIXTURES) + "/model/roundtrip/ass_full_crlf_bom.ass";
    r = Run({fixture, Path("same.ass")});
    ASSERT_EQ(r.exit, 0) << r.err;
    EXPECT_EQ(ReadAll(Path("same.ass")), ReadAll(fixture));
    EXPECT_NE(r.err.find("line 23 cannot be read; kept as it is"), std::string::npos) << r.err;
}

// What ffmpeg reads of the WebVTT and ASS files we write: every entry, its times and its text.
TEST_F(Convert, FfmpegReadsWhatWeWrite) {
    if (!HaveFfmpeg()) GTEST_SKIP() << "ffmpeg is not installed: what it reads of ours is not checked";
    const std::string srt = Block(1, "00:00:01,000", "00:00:02,500", "<i>Hello</i> there|第二行 & <b>bold</b>") +
                            Block(2, "00:00:03,000", "00:00:04,000", "A < B") +
                            Block(3, "01:02:03,450", "01:02:04,000", "last");
    const std::string in = Path("in.srt");
    WriteAll(in, srt);
    std::string expected = Plain(srt);
    for (const char* ext : {".vtt", ".ass", ".ssa"}) {
        SCOPED_TRACE(ext);
        const std::string ours = Path(std::string("ours") + ext);
        const std::string theirs = Path(std::string("theirs") + ext + ".srt");
        ASSERT_EQ(Run({in, ours}).exit, 0);
        const std::string command =
            "ffmpeg -nostdin -v error -y -i '" + ours + "' '" + theirs + "' 2>&1";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
        EXPECT_EQ(Plain(ReadAll(theirs)), expected);
    }
}
