#pragma once
// Code pages of subtitle text. Documents keep their text as the bytes read from the file; these
// helpers walk those bytes as whole characters, so that a marker such as "|" or "}" is never
// found inside a double-byte character, and convert to and from UTF-8 for display and typing.
//
// Built from one file per concern: CodePageNames.cpp (numbers, names, the legacy page),
// CodePageScan.cpp (the structural scans), CodePageDetect.cpp (detection), CodePageChars.cpp
// (characters, markers, display widths), CodePageConvert.cpp (conversion).
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

constexpr int kCodePageBig5 = 950;         // Traditional Chinese (the default legacy code page)
constexpr int kCodePageGbk = 936;          // Simplified Chinese
constexpr int kCodePageShiftJis = 932;     // Japanese
constexpr int kCodePageEucKr = 949;        // Korean (EUC-KR and its Windows extension)
constexpr int kCodePageWindows1252 = 1252; // Western European
constexpr int kCodePageGb18030 = 54936;    // GBK with four-byte characters for all of Unicode
constexpr int kCodePageUtf8 = 65001;

// The code page the program hands to readers by default for files that are neither UTF-8 nor
// UTF-16: the one that goes with the user's language. A reader takes it on a tie of detection.
int LegacyCodePage();
// Accepts any legacy code page; returns false (and changes nothing) for any other value.
bool SetLegacyCodePage(int codePage);
// One of the pages above other than UTF-8.
bool IsLegacyCodePage(int codePage);
bool IsSupportedCodePage(int codePage);
// A short name for messages: "UTF-8", "Big5", "GBK", "Shift-JIS", "EUC-KR", "Windows-1252",
// "GB18030".
const char* CodePageName(int codePage);
// A code page named on a command line: its number or a usual name ("big5", "gbk", "shift_jis",
// "euc-kr", "windows-1252", "cp1252", "gb18030", ...), in any case; nothing for anything else and
// for UTF-8.
std::optional<int> LegacyCodePageFromName(std::string_view name);

// How a reader picks the code page of a file that has no byte-order mark and is not valid UTF-8.
// Converts from a page number, so that a caller can simply hand the language's page.
struct LegacyPage {
    // The page taken when detection cannot tell; an unknown page counts as Big5.
    LegacyPage(int codePage = LegacyCodePage()) : fallback(codePage) {}
    // Every such file is read in this page, without detection (the user named it).
    static LegacyPage Forced(int codePage) {
        LegacyPage page(codePage);
        page.detect = false;
        return page;
    }
    // Every file without byte-order mark is read in this page, UTF-8 included, even one whose
    // bytes would pass as UTF-8 (the user reopened it in the page they chose).
    static LegacyPage Chosen(int codePage) {
        LegacyPage page = Forced(codePage);
        page.fallback = codePage;
        page.chosen = true;
        return page;
    }
    int fallback;
    bool detect = true;
    bool chosen = false;
};

// The code page of text that is not valid UTF-8 (see LegacyPage). ICU's charset detector reads
// 64 KB from the first line above ASCII and proposes pages with a confidence (0 to 100). The most
// confident double-byte page whose byte structure holds for the whole text is taken when it
// reaches kDetectionThreshold, or the fallback when another page is just as sure (a tie).
// Windows-1252 is taken when it reaches the threshold and no double-byte page fits, or when it is
// kSingleByteMargin ahead of the best one that fits with at least kSingleByteEvidence bytes above
// ASCII read. When nothing reaches the threshold the fallback is taken, unless it cannot hold the
// text: then a proposed double-byte page that can, else Windows-1252 when it can.
int DetectLegacyCodePage(std::string_view text, const LegacyPage& legacy);

constexpr int kDetectionThreshold = 50;
constexpr int kSingleByteMargin = 20;
// The detector judges a single-byte page mostly by the ASCII around few characters; it needs this
// many bytes above ASCII to count against a double-byte page that fits, as many as the detector
// needs to judge a double-byte page at all.
constexpr int kSingleByteEvidence = 20;

// One page the detector proposes, with its confidence (0 to 100).
struct CodePageCandidate {
    int codePage;
    int confidence;
};
// The rule of DetectLegacyCodePage without the detector and the scans: fits tells whether a page's
// structure holds for the whole text, highBytes how many bytes above ASCII the detector read.
int ChooseLegacyCodePage(const std::vector<CodePageCandidate>& proposed, int fallback,
                         const std::function<bool(int codePage)>& fits, int highBytes);

// True when every byte at or above 0x80 forms a whole character of the legacy page by its lead and
// trail byte ranges (for Windows-1252: no byte the page leaves undefined). A character cut off by
// the end of the text (a file cut short) does not count against the page.
bool FitsCodePage(int codePage, std::string_view text);

bool IsValidUtf8(std::string_view bytes);

// Length in bytes of the character that starts at pos (at least 1, never past the end).
std::size_t CharLength(int codePage, std::string_view text, std::size_t pos);
// First occurrence of an ASCII marker at a character boundary at or after from, or npos.
std::size_t FindMarker(int codePage, std::string_view text, std::string_view marker,
                       std::size_t from = 0);
// Every occurrence of an ASCII marker replaced, walking whole characters.
std::string ReplaceMarker(int codePage, std::string_view text, std::string_view marker,
                          std::string_view replacement);

// The full-width space (U+3000) in the code page: A1 40 in Big5, A1 A1 in GBK, GB18030 and EUC-KR,
// 81 40 in Shift-JIS; empty in Windows-1252, which has none.
std::string_view FullWidthSpace(int codePage);
// The text without any full-width space.
std::string RemoveFullWidthSpaces(int codePage, std::string_view text);

// Columns the text takes on screen: a double-width character counts 2, any other 1.
int DisplayWidth(int codePage, std::string_view text);

// For display: bytes that do not decode become U+FFFD.
std::string ToUtf8(int codePage, std::string_view bytes);
// For typed or copied text: nothing when the UTF-8 is malformed or the code page cannot hold
// every character. Nothing is ever replaced.
std::optional<std::string> FromUtf8(int codePage, std::string_view utf8);
// Between two code pages, strictly: nothing when a character does not decode or does not fit.
std::optional<std::string> ConvertText(int fromCodePage, int toCodePage, std::string_view bytes);

// ICU's name of the converter for a supported code page ("windows-950-2000" for Big5; ICU's own
// "cp950" is another table).
const char* IcuConverterName(int codePage);
