#include "Convert.h"

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
    if (ext != ".srt" && ext != ".sub") return "not a subtitle file name (.srt or .sub)";
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

    err << kProgram << "read " << count << " entries (" << InputFormatName(doc->FormatIndex());
    if (doc->FormatIndex() == FormatMicroDVD) err << " at " << RateText(rate) << " fps";
    err << "), wrote " << written << " entries (" << OutputFormatTitle(o.format);
    if (o.format == OutputFormat::MicroDVD) err << " at " << RateText(rate) << " fps";
    err << "), code page " << EncodingName(doc->CodePage(), doc->Encoding());
    if (o.encoding)
        err << ", written as " << EncodingName(o.encoding->codePage, o.encoding->encoding);
    err << '\n';
    if (keep) *keep = std::move(doc);
    return ExitDone;
}
