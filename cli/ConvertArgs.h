#pragma once
// The command line of velitra-convert, parsed apart from the conversion so that both can be
// tested on their own.
#include "Chinese.h"
#include "SaveAs.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

enum class OutputFormat { SubRip, MicroDVD, SubViewer, WebVTT, ASS, SSA };

struct ConvertOptions {
    std::string input;
    std::string output;
    OutputFormat format = OutputFormat::SubRip;
    // Frames per second for reading a MicroDVD input and writing a MicroDVD output; without it
    // the document's own rate (25 for other inputs).
    std::optional<double> fps;
    // One-based, inclusive entry numbers; without it every entry.
    std::optional<int> rangeFirst;
    std::optional<int> rangeLast;
    // The number of the first written entry; without it the numbers follow the entries'
    // positions, as the Save As dialog does.
    std::optional<int> renumber;
    // Where the range's first entry starts in the output (milliseconds).
    std::optional<int32_t> start;
    bool skipBlank = false;
    bool center = false;
    bool force = false;
    // Code page for input that is neither UTF-8 nor UTF-16; without it the page is detected.
    std::optional<int> codePage;
    // The output's encoding; without it the input's.
    std::optional<OutputEncoding> encoding;
    // The written entries' text turned Simplified or Traditional first.
    std::optional<TChineseDirection> chinese;
    // The output's line ends; without it the input's.
    std::optional<LineEnd> lineEnd;
};

struct ParsedArguments {
    enum Kind { Run, Help, Error };
    Kind kind = Error;
    ConvertOptions options;
    std::string error; // one line, without the program name
};

// args without the program name.
ParsedArguments ParseConvertArguments(const std::vector<std::string>& args);

// The text of --help.
const char* ConvertUsage();

// The extension as a document sees it: from the last "." after the last path separator, in lower
// case; empty when there is none.
std::string FileExtension(const std::string& path);

// "srt", "microdvd", "subviewer", "vtt", "ass", "ssa" as named on the command line.
const char* OutputFormatName(OutputFormat format);
