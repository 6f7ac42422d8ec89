#include "Convert.h"

#include "Chinese.h"
#include "CodePage.h"
#include "SaveAs.h"
#include "Subtitle.h"
#include "SubtitleError.h"
#include "TextFile.h"

#include <cctype>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>

namespace fs = std::filesystem;

namespace {

constexpr const char* kProgram = "velitra-convert: ";

const char* InputFormatName(int32_t index) {
    switch (index) {
    case FormatSubRip:
        return "SubRip";
    case FormatMicroDVD:
        return "MicroDVD";
    case FormatSubViewer:
        return "SubViewer";
    case FormatWebVTT:
        return "WebVTT";
    case FormatASS:
        return "ASS";
    case FormatSSA:
        return "SSA";
    default:
        return "none";
    }
}

const char* OutputFormatTitle(OutputFormat format) {
    switch (format) {
    case OutputFormat::SubRip:
        return "SubRip";
    case OutputFormat::MicroDVD:
        return "MicroDVD";
    case OutputFormat::SubViewer:
        return "SubViewer";
    case OutputFormat::WebVTT:
        return "WebVTT";
    case OutputFormat::ASS:
        return "ASS";
    case OutputFormat::SSA:
        return "SSA";
    }
    return "";
}

std::string RateText(double rate) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%g", rate);
    return buf;
}

// Why a document did not load: the model only says that it did not.
std::string WhyNotLoaded(const std::string& path) {
    std::error_code ec;
    fs::file_status status = fs::status(path, ec);
    if (!fs::exists(status)) return "no such file";
    if (fs::is_directory(status)) return "is a folder";
    const std::string ext = FileExtension(path);
    if (ext != ".srt" && ext != ".sub" && ext != ".vtt" && ext != ".ass" && ext != ".ssa")
        return "neither a subtitle file (SubRip, WebVTT, ASS) by its content nor by its name "
               "(.srt, .sub, .vtt, .ass, .ssa)";
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
        std::fclose(f);
        return "holds no text";
    }
    return std::string("cannot be read: ") + std::strerror(errno);
}

} // namespace

int RunConvert(const ConvertOptions& o, std::ostream& err, std::unique_ptr<SubTitle>* keep) {
    // Refused before reading anything, so that a long read is not wasted.
    std::error_code ec;
    if (!o.force && fs::exists(fs::symlink_status(o.output, ec))) {
        err << kProgram << o.output << " exists; give --force to replace it\n";
        return ExitFailed;
    }

    std::unique_ptr<SubTitle> doc;
    try {
        // A page the user names is taken as it is; otherwise it is detected, Big5 on a tie.
        const LegacyPage legacy =
            o.codePage ? LegacyPage::Forced(*o.codePage) : LegacyPage(kCodePageBig5);
        // A MicroDVD file is read at --fps, else at the rate its first line states, else at 25.
        const FrameRateQuestionWithProposal rate =
            [&o](std::optional<double> stated) -> std::optional<std::string> {
            char text[32];
            const auto end =
                std::to_chars(text, text + sizeof text, o.fps.value_or(stated.value_or(25.0))).ptr;
            return std::string(text, end);
        };
        doc = std::make_unique<SubTitle>(o.input, o.fps.value_or(25.0), rate, legacy);
    } catch (const SubtitleError& e) {
        err << kProgram << o.input << ": " << e.what() << '\n';
        return ExitFailed;
    }
    if (!doc->IsLoaded()) {
        err << kProgram << o.input << ": " << WhyNotLoaded(o.input) << '\n';
        return ExitFailed;
    }

    const int count = doc->Count();
    int first = 0, last = count - 1;
    if (o.rangeFirst) {
        if (*o.rangeLast > count) {
            err << kProgram << "--range " << *o.rangeFirst << '-' << *o.rangeLast << ": " << o.input
                << " has " << count << " entries\n";
            return ExitUsage;
        }
        first = *o.rangeFirst - 1;
        last = *o.rangeLast - 1;
    }

    // The conversion goes straight into the page the output is written in, so that a Big5 file
    // turned Simplified can become UTF-8 or GBK; a text that page cannot hold stops the run.
    const std::string inputEncoding = EncodingName(doc->CodePage(), doc->Encoding());
    int changed = 0;
    if (o.chinese) {
        try {
            const TChineseConverter converter(*o.chinese);
            std::optional<int> page;
            if (o.encoding) page = o.encoding->codePage;
            TChineseResult result = ChineseChange(*doc, converter, first, last, page);
            if (result.Unfit > 0) {
                err << kProgram << o.output << ": not written: after --chinese "
                    << ChineseDirectionName(*o.chinese) << ", entry " << result.FirstUnfit + 1
                    << " cannot be written in " << CodePageName(result.CodePage) << " ("
                    << result.Unfit << " entries); name another with --encoding\n";
                return ExitFailed;
            }
            changed = result.Changed;
            doc->Apply(std::move(result.Change));
        } catch (const SubtitleError& e) {
            err << kProgram << e.what() << '\n';
            return ExitFailed;
        }
    }

    SaveAsOptions save;
    switch (o.format) {
    case OutputFormat::SubRip:
        save.format = FormatSubRip;
        break;
    case OutputFormat::MicroDVD:
        save.format = FormatMicroDVD;
        break;
    case OutputFormat::SubViewer:
        save.format = FormatSubViewer;
        break;
    case OutputFormat::WebVTT:
        save.format = FormatWebVTT;
        break;
    case OutputFormat::ASS:
        save.format = FormatASS;
        break;
    case OutputFormat::SSA:
        save.format = FormatSSA;
        break;
    }
    save.first = first;
    save.last = last;
    save.newStart = o.start;
    save.renumberFrom = o.renumber;
    save.skipBlank = o.skipBlank;
    save.centre = o.center;
    const double rate = doc->FrameRate(); // --fps went into the document when it was read
    save.frameRate = rate;
    save.encoding = o.encoding;
    save.lineEnd = o.lineEnd;
    const SaveAsResult saved = SaveAs(*doc, o.output, save);
    if (!saved.ok) {
        err << kProgram << o.output << ": not written: " << saved.why << '\n';
        if (saved.unheldEntry) return ExitFailed;
        return ExitFailed;
    }
    const int written = saved.written;
    if (doc->BadLines() > 0)
        err << kProgram << o.input << ": line " << doc->BadLine() << " cannot be read; kept as it is"
            << (doc->BadLines() > 1 ? " (" + std::to_string(doc->BadLines()) + " such lines)" : "")
            << '\n';
    if (saved.droppedTags > 0)
        err << kProgram << "style tags left out, having no counterpart in "
            << OutputFormatTitle(o.format) << ": " << saved.droppedTags << '\n';

    err << kProgram << "read " << count << " entries (" << InputFormatName(doc->FormatIndex());
    if (doc->FormatIndex() == FormatMicroDVD) err << " at " << RateText(rate) << " fps";
    err << "), wrote " << written << " entries (" << OutputFormatTitle(o.format);
    if (o.format == OutputFormat::MicroDVD) err << " at " << RateText(rate) << " fps";
    err << "), code page " << inputEncoding;
    if (o.encoding)
        err << ", written as " << EncodingName(o.encoding->codePage, o.encoding->encoding);
    if (o.chinese)
        err << ", Chinese " << ChineseDirectionName(*o.chinese) << ": " << changed
            << " entries changed";
    err << '\n';
    if (keep) *keep = std::move(doc);
    return ExitDone;
}
