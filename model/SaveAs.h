#pragma once
// Writing all or a stretch of a document to another file, in any of the formats: what the
// editor's Save As dialog and velitra-convert both do. The document itself is not changed.
#include "Subtitle.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The way a saved file holds its text: a code page and, for Unicode, its byte-order mark.
struct OutputEncoding {
    int codePage = kCodePageUtf8;
    FileEncoding encoding = FileEncoding::Plain;
    bool operator==(const OutputEncoding&) const = default;
};
// The encodings a file can be saved in, in the order the user is offered them: UTF-8, UTF-8
// with BOM, UTF-16 (little-endian, with BOM), then the legacy pages.
const std::vector<OutputEncoding>& OutputEncodings();
// An encoding named on a command line: "utf-8", "utf-8-bom", "utf-16" (also "utf-16le",
// "utf-16be") or any name LegacyCodePageFromName knows, in any case; nothing for anything else.
std::optional<OutputEncoding> OutputEncodingFromName(std::string_view name);

struct SaveAsOptions {
    // Any SubtitleFormat but FormatNone. A document written in another format has its style
    // tags carried over (ConvertTags); written as WebVTT, ASS or SSA from another format it gets
    // that format's head and the defaults for every entry's fields.
    int32_t format = FormatSubRip;
    // The picture size and the style "Default" of a document written as ASS or SSA from another
    // format.
    TAssStyle assStyle;
    // Zero-based and inclusive; a range with last < first writes a file without entries.
    int first = 0;
    int last = -1;
    // Where entry first starts in the output; every other time keeps its distance to it. Without
    // it (or when entry first does not exist) the times are written as they are.
    std::optional<int32_t> newStart;
    // SubRip: the number of the first written entry. Without it the written entries keep the
    // numbers of their positions (entry first is numbered first + 1).
    std::optional<int> renumberFrom;
    // Leaves out entries whose text is blank; the numbers stay consecutive.
    bool skipBlank = false;
    // SubViewer: lines of multi-line captions centred with spaces.
    bool centre = false;
    // MicroDVD: frames per second the times are converted at; a finite number above 0.
    double frameRate = 25.0;
    // Without it, the document's own encoding.
    std::optional<OutputEncoding> encoding;
    // Without it, the document's own line ends.
    std::optional<LineEnd> lineEnd;
};

struct SaveAsResult {
    bool ok = false;
    std::string why; // on failure, what went wrong
    int written = 0; // entries written
    // When the chosen encoding cannot hold a text: the first such entry (zero-based).
    std::optional<int> unheldEntry;
    // When a text is no valid text of the document's own code page (bytes of another page read
    // into it): the first such entry (zero-based). Whatever the encoding, it cannot be converted.
    std::optional<int> unreadableEntry;
    // Style tags the chosen format has no counterpart for, left out.
    int droppedTags = 0;
};

// Writes the stretch to fileName in the document's encoding (UTF-8 with or without byte-order
// mark, UTF-16, or its legacy code page) or the one chosen, replacing the file in one step: on
// failure an existing file is left as it was and nothing else stays behind. Refused before anything
// is written: a document that is not loaded, a non-empty range outside the document, an unknown
// format, a MicroDVD frame rate that is not a finite number above 0, an entry whose text is not
// valid in the document's page or that the chosen encoding cannot hold (SubViewer's header texts
// are left empty where it cannot hold them).
SaveAsResult SaveAs(const SubTitle& doc, const std::string& fileName, const SaveAsOptions& options);
