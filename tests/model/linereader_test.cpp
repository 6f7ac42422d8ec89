// The line reader: line ends, Ctrl-Z, NUL, byte-order marks and UTF-16, from memory and from
// files.
#include "ModelTestUtil.h"
#include "Subtitle.h"
#include "TextFile.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace {

using testutil::FixturePath;
using testutil::TempDir;
using Lines = std::vector<std::string>;

Lines LinesOf(const TextSource& source) {
    Lines lines;
    for (std::string_view l : source.Lines())
        lines.emplace_back(l);
    return lines;
}

Lines LinesOf(const std::string& bytes) {
    return LinesOf(TextSource::FromBytes(bytes));
}

// The bytes of a UTF-16 file holding these code units, with its byte-order mark.
std::string Utf16(const std::u16string& text, bool bigEndian) {
    std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char16_t c : text) {
        char hi = static_cast<char>(c >> 8), lo = static_cast<char>(c & 0xFF);
        out += bigEndian ? std::string{hi, lo} : std::string{lo, hi};
    }
    return out;
}

TEST(LineReader, LineRules) {
    struct Case {
        const char* what;
        std::string bytes;
        Lines lines;
    };
    const std::vector<Case> cases = {
        {"CR LF", "a\r\nb\r\n", {"a", "b"}},
        {"LF", "a\nb\n", {"a", "b"}},
        {"mixed CR LF and LF", "a\r\nb\nc\r\n", {"a", "b", "c"}},
        {"stray CR stays in its line", "a\rb\nc\n", {"a\rb", "c"}},
        {"CR at the end of a line before CR LF", "a\r\r\nb\n", {"a\r", "b"}},
        {"as many lone CRs as LFs is not a Mac file", "a\rb\nc", {"a\rb", "c"}},
        {"old Mac line ends", "a\rb\rc\r", {"a", "b", "c"}},
        {"old Mac without a final CR", "a\rb", {"a", "b"}},
        {"Ctrl-Z ends the file",
         "a\nb\x1A"
         "c\nd\n",
         {"a", "b"}},
        {"Ctrl-Z first",
         "\x1A"
         "a\n",
         {}},
        {"NUL cuts its line only", std::string("ab\0cd\nef\n", 9), {"ab", "ef"}},
        {"NUL first", std::string("\0x\ny", 4), {"", "y"}},
        {"final line without a line end", "a\nb", {"a", "b"}},
        {"no empty line after the final LF", "a\n", {"a"}},
        {"an empty line before the final LF", "a\n\n", {"a", ""}},
        {"a lone LF", "\n", {""}},
        {"empty", "", {}},
        {"blank lines kept", "\n\na\n\n", {"", "", "a", ""}},
        {"UTF-8 mark set aside",
         "\xEF\xBB\xBF"
         "1\nb",
         {"1", "b"}},
        {"only a mark", "\xEF\xBB\xBF", {}},
        {"Big5 bytes unchanged", "\xA5\x7C|\xA4\x7C\r\n", {"\xA5\x7C|\xA4\x7C"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LinesOf(c.bytes), c.lines) << c.what;
}

// The one pass over a text (sixteen bytes at a time) counts as a look at every byte would, with
// each of the bytes that matter at every place, across the blocks' edges too.
TEST(LineReader, ScanCountsEveryByte) {
    auto slow = [](std::string_view t) {
        TextScan s;
        for (std::size_t i = 0; i < t.size(); ++i) {
            if (t[i] == 0x1A) {
                s.ctrlZ = i;
                break;
            }
            s.nul |= t[i] == '\0';
            s.ends.cr += t[i] == '\r';
            s.ends.lf += t[i] == '\n';
            s.crlf += t[i] == '\r' && i + 1 < t.size() && t[i + 1] == '\n';
        }
        return s;
    };
    for (const std::string& put :
         std::vector<std::string>{"\r", "\n", "\r\n", std::string(1, '\0'), "\x1A", "\r\x1A"}) {
        for (std::size_t at = 0; at <= 68; ++at) {
            std::string text = "ab\r\ncd\nef\rgh\r\n" + std::string(50, 'x') + "\r\n\r\n";
            text.insert(at, put);
            const TextScan fast = ScanText(text), want = slow(text);
            EXPECT_EQ(std::tie(fast.ends.cr, fast.ends.lf, fast.crlf, fast.nul, fast.ctrlZ),
                      std::tie(want.ends.cr, want.ends.lf, want.crlf, want.nul, want.ctrlZ))
                << "at " << at;
        }
    }
}

TEST(LineReader, EncodingAndCodePage) {
    struct Case {
        const char* what;
        std::string bytes;
        FileEncoding encoding;
        int codePage;
    };
    const std::vector<Case> cases = {
        {"ASCII", "a\n", FileEncoding::Plain, kCodePageUtf8},
        {"UTF-8", "\xE5\x9B\x9B\n", FileEncoding::Plain, kCodePageUtf8},
        {"UTF-8 with mark", "\xEF\xBB\xBF\xE5\x9B\x9B\n", FileEncoding::Utf8Bom, kCodePageUtf8},
        {"Big5", "\xA5\x7C\n", FileEncoding::Plain, kCodePageBig5},
        {"UTF-16 LE", Utf16(u"a\n", false), FileEncoding::Utf16LE, kCodePageUtf8},
        {"UTF-16 BE", Utf16(u"a\n", true), FileEncoding::Utf16BE, kCodePageUtf8},
    };
    for (const auto& c : cases) {
        TextSource s = TextSource::FromBytes(c.bytes);
        EXPECT_EQ(s.Encoding(), c.encoding) << c.what;
        EXPECT_EQ(s.CodePage(), c.codePage) << c.what;
    }
}

TEST(LineReader, Utf16IsReadAsUtf8) {
    for (bool bigEndian : {false, true}) {
        TextSource s = TextSource::FromBytes(Utf16(u"1\r\n\u56DB|\u3000\r\nb", bigEndian));
        EXPECT_EQ(LinesOf(s), (Lines{"1", "\xE5\x9B\x9B|\xE3\x80\x80", "b"}))
            << (bigEndian ? "BE" : "LE");
    }
    // A surrogate pair becomes one four-byte UTF-8 character.
    const std::string le("\xFF\xFE\x3D\xD8\x00\xDE\x0A\x00", 8);
    EXPECT_EQ(LinesOf(le), (Lines{"\xF0\x9F\x98\x80"}));
}

// Text too short to detect a page from is read in the page handed in; by default the program's.
TEST(LineReader, HandedPageDecidesWhatDetectionCannotTell) {
    EXPECT_EQ(TextSource::FromBytes("\x81\x7C\n", kCodePageGbk).CodePage(), kCodePageGbk);
    EXPECT_EQ(TextSource::FromBytes("\x81\x7C\n", kCodePageBig5).CodePage(), kCodePageBig5);
    testutil::LegacyCodePageGuard gbk(kCodePageGbk);
    EXPECT_EQ(TextSource::FromBytes("\x81\x7C\n").CodePage(), kCodePageGbk);
}

// A page the user chooses to reopen a file in holds even over text that would pass as UTF-8;
// a byte-order mark still says what the file is.
TEST(LineReader, ChosenPageHoldsOverUtf8) {
    struct Case {
        const char* what;
        std::string bytes;
        int chosen;
        int want;
    };
    const std::vector<Case> cases = {
        // 中 in UTF-8 is also three Windows-1252 characters.
        {"UTF-8 as 1252", "\xE4\xB8\xAD\n", kCodePageWindows1252, kCodePageWindows1252},
        {"Big5 as GBK", "\xA4\xA4\xA4\xE5\n", kCodePageGbk, kCodePageGbk},
        {"Big5 as UTF-8", "\xA4\xA4\xA4\xE5\n", kCodePageUtf8, kCodePageUtf8},
        {"marked UTF-8 stays", "\xEF\xBB\xBF\xE4\xB8\xAD\n", kCodePageBig5, kCodePageUtf8},
        {"no such page", "\xA4\xA4\xA4\xE5\n", 12345, kCodePageBig5},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TextSource::FromBytes(c.bytes, LegacyPage::Chosen(c.chosen)).CodePage(), c.want)
            << c.what;
}

// A big file's page is found as a small one's: at once when its first lines are not UTF-8, beside
// the reader when they are; the detector reads from its first line above ASCII.
TEST(LineReader, BigFilesAreDetectedToo) {
    const std::string sjis =
        testutil::ReadBytes(testutil::FixturePath("roundtrip/srt_cp932_shift_jis.srt"));
    std::string english;
    while (english.size() < (std::size_t{100} << 10))
        english += "1\r\n00:00:01,000 --> 00:00:02,000\r\nWhere are you going?\r\n\r\n";
    for (const std::string& head : {std::string(), english}) {
        std::string big = head;
        while (big.size() < (std::size_t{5} << 20))
            big += sjis;
        // GBK could hold this text too: only the detector tells.
        EXPECT_EQ(TextSource::FromBytes(big, kCodePageGbk).CodePage(), kCodePageShiftJis);
        EXPECT_EQ(TextSource::FromBytes(big, LegacyPage::Forced(kCodePageBig5)).CodePage(),
                  kCodePageBig5);
        // A byte no page can hold near the end: nothing fits, and the page handed in is taken.
        big += "\xFF\r\n";
        EXPECT_EQ(TextSource::FromBytes(big, kCodePageEucKr).CodePage(), kCodePageEucKr);
    }
    std::string utf8 = english;
    while (utf8.size() < (std::size_t{5} << 20))
        utf8 += "\xE5\x9B\x9B\r\n";
    EXPECT_EQ(TextSource::FromBytes(utf8, kCodePageBig5).CodePage(), kCodePageUtf8);
}

TEST(LineReader, CursorWalksTheSameLines) {
    TextSource s = TextSource::FromBytes("a\r\nb\n\nc");
    TextSource::Cursor cursor(s);
    Lines seen;
    std::string_view line;
    while (cursor.Next(line))
        seen.emplace_back(line);
    EXPECT_EQ(seen, (Lines{"a", "b", "", "c"}));
    EXPECT_TRUE(cursor.AtEnd());

    cursor.Seek(0);
    ASSERT_TRUE(cursor.Next(line));
    std::size_t afterFirst = cursor.Position();
    ASSERT_TRUE(cursor.Next(line));
    EXPECT_EQ(line, "b");
    cursor.Seek(afterFirst);
    ASSERT_TRUE(cursor.Next(line));
    EXPECT_EQ(line, "b");
}

TEST(LineReader, ReadLinesFromFiles) {
    TempDir dir;
    EXPECT_EQ(ReadLines(dir.Write("crlf.txt", "1\r\n2\r\n")), (Lines{"1", "2"}));
    EXPECT_EQ(ReadLines(dir.Write("empty.txt", "")), Lines{});
    EXPECT_EQ(ReadLines(dir.File("missing.txt")), Lines{});
    EXPECT_EQ(ReadLines(dir.Path().string()), Lines{}); // a folder is no text file

    EXPECT_EQ(ReadLines(dir.Write("bom.txt", "\xEF\xBB\xBF"
                                             "a\r\nb")),
              (Lines{"a", "b"}));
    EXPECT_EQ(ReadLines(dir.Write("utf16.txt", Utf16(u"\u56DB\r\nb\r\n", true))),
              (Lines{"\xE5\x9B\x9B", "b"}));
    EXPECT_EQ(ReadLines(FixturePath("lines_ctrlz_nul.txt")),
              (Lines{"first", "cut", "a\rb", "last"}));
    EXPECT_EQ(ReadLines(FixturePath("lines_old_mac_cr.txt")), (Lines{"one", "two", "three"}));
}

// A long line is one line, whatever its length.
TEST(LineReader, NoLengthLimit) {
    std::string big(3'000'000, 'x');
    Lines lines = LinesOf(big + "\nend");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].size(), big.size());
}

} // namespace
