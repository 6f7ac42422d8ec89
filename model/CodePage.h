#pragma once
// Code pages of subtitle text. Documents keep their text as the bytes read from the file; these
// helpers walk those bytes as whole characters, so that a marker such as "|" or "}" is never
// found inside a double-byte character, and convert to and from UTF-8 for display and typing.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

constexpr int kCodePageBig5 = 950; // Traditional Chinese (the default legacy code page)
constexpr int kCodePageGbk = 936;  // Simplified Chinese
constexpr int kCodePageUtf8 = 65001;

// The code page of files that are neither UTF-8 nor UTF-16: a setting of the whole program.
int LegacyCodePage();
// Accepts 950 and 936; returns false (and changes nothing) for any other value.
bool SetLegacyCodePage(int codePage);
bool IsSupportedCodePage(int codePage);
// A short name for messages: "UTF-8", "Big5", "GBK".
const char* CodePageName(int codePage);

bool IsValidUtf8(std::string_view bytes);

// Length in bytes of the character that starts at pos (at least 1, never past the end).
std::size_t CharLength(int codePage, std::string_view text, std::size_t pos);
// First occurrence of an ASCII marker at a character boundary at or after from, or npos.
std::size_t FindMarker(int codePage, std::string_view text, std::string_view marker,
                       std::size_t from = 0);
// Every occurrence of an ASCII marker replaced, walking whole characters.
std::string ReplaceMarker(int codePage, std::string_view text, std::string_view marker,
                          std::string_view replacement);

// The full-width space (U+3000) in the code page: A1 40 in Big5, A1 A1 in GBK.
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
