#include "ConvertArgs.h"

#include "Pertitle.h"
#include "Subtitle.h"

#include <cctype>
#include <charconv>
#include <climits>
#include <string_view>

namespace {

// A whole decimal number from first to last character, nothing else.
std::optional<int> ParseCount(std::string_view text) {
    int value = 0;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end) return std::nullopt;
    return value;
}

bool AllDigits(std::string_view text, std::size_t minLength, std::size_t maxLength) {
    if (text.size() < minLength || text.size() > maxLength) return false;
    for (char c : text)
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    return true;
}

// HH:MM:SS,mmm strictly: the model's own reading is lenient ("1:30" would be an hour and a
// half), which on a command line only hides typing mistakes.
std::optional<int32_t> ParseStart(std::string_view text) {
    std::size_t c1 = text.find(':');
    std::size_t c2 = c1 == std::string_view::npos ? c1 : text.find(':', c1 + 1);
    std::size_t comma = c2 == std::string_view::npos ? c2 : text.find(',', c2 + 1);
    if (comma == std::string_view::npos) return std::nullopt;
    std::string_view h = text.substr(0, c1), m = text.substr(c1 + 1, c2 - c1 - 1),
                     s = text.substr(c2 + 1, comma - c2 - 1), ms = text.substr(comma + 1);
    if (!AllDigits(h, 1, 3) || !AllDigits(m, 2, 2) || !AllDigits(s, 2, 2) || !AllDigits(ms, 3, 3))
        return std::nullopt;
    if (*ParseCount(m) > 59 || *ParseCount(s) > 59) return std::nullopt;
    // Times are signed 32-bit milliseconds: about 596 hours at most.
    int64_t total = ((int64_t{*ParseCount(h)} * 60 + *ParseCount(m)) * 60 + *ParseCount(s)) * 1000 +
                    *ParseCount(ms);
    if (total > INT32_MAX) return std::nullopt;
    return TimeTextToMs(text);
}

std::string Lower(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

ParsedArguments Fail(std::string message) {
    ParsedArguments result;
    result.kind = ParsedArguments::Error;
    result.error = std::move(message);
    return result;
}

} // namespace

std::string FileExtension(const std::string& path) {
    std::size_t dot = path.rfind('.');
    std::size_t slash = path.find_last_of("/\\");
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
    return Lower(std::string_view(path).substr(dot));
}

const char* OutputFormatName(OutputFormat format) {
    switch (format) {
    case OutputFormat::SubRip:
        return "srt";
    case OutputFormat::MicroDVD:
        return "microdvd";
    case OutputFormat::SubViewer:
        return "subviewer";
    case OutputFormat::WebVTT:
        return "vtt";
    case OutputFormat::ASS:
        return "ass";
    case OutputFormat::SSA:
        return "ssa";
    }
    return "";
}

const char* ConvertUsage() {
    return "Usage: velitra-convert [options] INPUT OUTPUT\n"
           "Reads a SubRip (.srt), MicroDVD or SubViewer (.sub), WebVTT (.vtt) or ASS/SSA\n"
           "(.ass, .ssa) file and writes it as one of them.\n"
           "\n"
           "  --to srt|microdvd|subviewer|vtt|ass|ssa\n"
           "                      output format (default from OUTPUT: .srt SubRip, .sub\n"
           "                      MicroDVD, .vtt WebVTT, .ass ASS, .ssa SSA)\n"
           "  --fps RATE          frame rate for a MicroDVD input and a MicroDVD output\n"
           "                      (default: the rate a MicroDVD input states in its first\n"
           "                      line, else 25)\n"
           "  --range FIRST-LAST  write entries FIRST to LAST only (1-based, inclusive)\n"
           "  --renumber N        number the written entries from N (SubRip; default: the\n"
           "                      entries keep the numbers of their positions)\n"
           "  --start HH:MM:SS,mmm  move all times so that the first written entry starts here\n"
           "  --skip-blank        leave out entries without visible text\n"
           "  --center            centre the lines of multi-line captions (SubViewer)\n"
           "  --codepage PAGE     code page of input that is not UTF-8 or UTF-16: 950 (big5),\n"
           "                      936 (gbk), 932 (shift_jis), 949 (euc-kr), 1252\n"
           "                      (windows-1252) or 54936 (gb18030); default: detected\n"
           "                      among these, 950 when it cannot be told\n"
           "  --encoding NAME     write OUTPUT in utf-8, utf-8-bom, utf-16 (with BOM),\n"
           "                      utf-16be, big5, gbk, gb18030, shift_jis, euc-kr or\n"
           "                      windows-1252; a text it cannot hold stops the run\n"
           "  --chinese CONV      turn the text Simplified or Traditional Chinese first:\n"
           "                      s2twp (Taiwan's words), s2t, s2hk, t2s, tw2sp or hk2s\n"
           "  --eol lf|crlf       end OUTPUT's lines with LF or CR LF (default: as INPUT)\n"
           "  --force             replace OUTPUT when it exists\n"
           "  --help              show this text\n"
           "\n"
           "The output keeps the input's encoding (byte-order mark, UTF-16, code page) unless\n"
           "--encoding names another. It is written through a temporary file, so a failed run\n"
           "leaves no half-written file.\n"
           "Exit status: 0 done, 1 input unreadable or unrecognised, output exists or cannot be\n"
           "written, 2 bad arguments. A summary line goes to standard error, with the style\n"
           "tags the output format cannot hold and the input lines kept as they were.\n";
}

ParsedArguments ParseConvertArguments(const std::vector<std::string>& args) {
    ConvertOptions o;
    std::optional<OutputFormat> to;
    std::vector<std::string> positional;
    bool optionsEnded = false;

    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            positional.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        std::string name = arg;
        std::optional<std::string> inlineValue;
        if (std::size_t eq = arg.find('='); arg.rfind("--", 0) == 0 && eq != std::string::npos) {
            name = arg.substr(0, eq);
            inlineValue = arg.substr(eq + 1);
        }
        auto flag = [&](bool& field) {
            if (inlineValue) return false;
            field = true;
            return true;
        };
        if ((name == "--help" && !inlineValue) || arg == "-h") {
            ParsedArguments help;
            help.kind = ParsedArguments::Help;
            return help;
        }
        if (name == "--skip-blank" || name == "--center" || name == "--force") {
            bool& field = name == "--skip-blank" ? o.skipBlank
                          : name == "--center"   ? o.center
                                                 : o.force;
            if (!flag(field)) return Fail(name + " takes no value");
            continue;
        }
        static const char* const kValued[] = {"--to",    "--fps",      "--range",   "--renumber",
                                              "--start", "--codepage", "--encoding",
                                              "--chinese", "--eol"};
        bool valued = false;
        for (const char* v : kValued)
            valued = valued || name == v;
        if (!valued) return Fail("unknown option " + arg);

        std::string value;
        if (inlineValue) {
            value = *inlineValue;
        } else if (i + 1 < args.size()) {
            value = args[++i];
        } else {
            return Fail(name + " needs a value");
        }

        if (name == "--to") {
            if (value == "srt")
                to = OutputFormat::SubRip;
            else if (value == "microdvd")
                to = OutputFormat::MicroDVD;
            else if (value == "subviewer")
                to = OutputFormat::SubViewer;
            else if (value == "vtt")
                to = OutputFormat::WebVTT;
            else if (value == "ass")
                to = OutputFormat::ASS;
            else if (value == "ssa")
                to = OutputFormat::SSA;
            else
                return Fail("--to: '" + value +
                            "' is not srt, microdvd, subviewer, vtt, ass or ssa");
        } else if (name == "--fps") {
            try {
                o.fps = ParseFrameRate(value);
            } catch (const SubtitleError&) {
                return Fail("--fps: '" + value + "' is not a frame rate above 0");
            }
        } else if (name == "--range") {
            std::size_t dash = value.find('-');
            std::optional<int> first, last;
            if (dash != std::string::npos) {
                first = ParseCount(std::string_view(value).substr(0, dash));
                last = ParseCount(std::string_view(value).substr(dash + 1));
            }
            if (!first || !last || *first < 1 || *last < *first)
                return Fail("--range: '" + value + "' is not FIRST-LAST with 1 <= FIRST <= LAST");
            o.rangeFirst = first;
            o.rangeLast = last;
        } else if (name == "--renumber") {
            std::optional<int> n = ParseCount(value);
            if (!n || *n < 1) return Fail("--renumber: '" + value + "' is not a number from 1");
            o.renumber = n;
        } else if (name == "--start") {
            o.start = ParseStart(value);
            if (!o.start) return Fail("--start: '" + value + "' is not a time HH:MM:SS,mmm");
        } else if (name == "--codepage") {
            o.codePage = LegacyCodePageFromName(value);
            if (!o.codePage)
                return Fail("--codepage: '" + value +
                            "' is not 950 (big5), 936 (gbk), 932 (shift_jis), 949 (euc-kr), "
                            "1252 (windows-1252) or 54936 (gb18030)");
        } else if (name == "--encoding") {
            o.encoding = OutputEncodingFromName(value);
            if (!o.encoding)
                return Fail("--encoding: '" + value +
                            "' is not utf-8, utf-8-bom, utf-16, utf-16be, big5, gbk, gb18030, "
                            "shift_jis, euc-kr or windows-1252");
        } else if (name == "--chinese") {
            o.chinese = ChineseDirectionFromName(value);
            if (!o.chinese)
                return Fail("--chinese: '" + value + "' is not s2twp, s2t, s2hk, t2s, tw2sp or hk2s");
        } else if (name == "--eol") {
            if (value == "lf")
                o.lineEnd = LineEnd::Lf;
            else if (value == "crlf")
                o.lineEnd = LineEnd::CrLf;
            else
                return Fail("--eol: '" + value + "' is not lf or crlf");
        }
    }

    if (positional.size() != 2)
        return Fail(positional.size() < 2 ? "INPUT and OUTPUT are needed"
                                          : "more than INPUT and OUTPUT given: " + positional[2]);
    o.input = positional[0];
    o.output = positional[1];
    if (to) {
        o.format = *to;
    } else {
        std::string ext = FileExtension(o.output);
        if (ext == ".srt")
            o.format = OutputFormat::SubRip;
        else if (ext == ".sub")
            o.format = OutputFormat::MicroDVD;
        else if (ext == ".vtt")
            o.format = OutputFormat::WebVTT;
        else if (ext == ".ass")
            o.format = OutputFormat::ASS;
        else if (ext == ".ssa")
            o.format = OutputFormat::SSA;
        else
            return Fail("cannot tell the format of " + o.output + "; give --to");
    }
    // Options that the chosen format has no use for are mistakes, not wishes to ignore.
    if (o.renumber && o.format != OutputFormat::SubRip)
        return Fail("--renumber applies to SubRip output only");
    if (o.center && o.format != OutputFormat::SubViewer)
        return Fail("--center applies to SubViewer output only");

    ParsedArguments result;
    result.kind = ParsedArguments::Run;
    result.options = std::move(o);
    return result;
}
