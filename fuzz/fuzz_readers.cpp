// libFuzzer target: arbitrary bytes through the readers (SubRip, MicroDVD, SubViewer, WebVTT,
// ASS/SSA), then the document through every writer, its own format's and the others' through
// the Save As conversion of tags, and through a recovery copy and back. A reader must never crash, hang, read out of bounds or overflow a time on any
// input; the writers must cope with whatever a reader made.
//
// The first byte chooses how the rest is read:
//   bits 0-1  0 "x.srt"; 1 "x.sub" as it is (MicroDVD unless it starts like SubViewer);
//             2 "x.sub" behind a SubViewer header; 3 "x.sub" with the frame rate asked ("23.976")
//             (content comes first: bytes that begin "WEBVTT" or "[Script Info]" are read as
//             WebVTT or ASS under any name; with bits 0-1 at 0 and bit 6 set the name is "x.vtt",
//             with bits 0-1 at 2 and bit 6 set "x.ass" without the SubViewer header)
//   bit 2     legacy code page 936 instead of 950
//   bit 3     skip blank entries when writing
//   bits 4-5  offset 0, -2000, the largest and the smallest time
//   bit 6     centre SubViewer captions
//   bit 7     write a stretch in the middle instead of everything
#include "CodePage.h"
#include "Recovery.h"
#include "Subtitle.h"
#include "Tags.h"
#include "SubtitleError.h"

#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <sstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const uint8_t choice = data[0];
    std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);

    SetLegacyCodePage(choice & 4 ? kCodePageGbk : kCodePageBig5);
    std::string name = "x.sub";
    FrameRateQuestion ask;
    switch (choice & 3) {
    case 0:
        name = choice & 64 ? "x.vtt" : "x.srt";
        break;
    case 1:
        break;
    case 2:
        if (choice & 64)
            name = "x.ass";
        else
            bytes = "[INFORMATION]\r\n[TITLE]fuzz\r\n[END INFORMATION]\r\n" + bytes;
        break;
    case 3:
        ask = [] { return std::optional<std::string>("23.976"); };
        break;
    }

    std::optional<SubTitle> doc;
    try {
        doc.emplace(SubTitle::FromBytes(std::move(bytes), name, 25.0, ask));
    } catch (const SubtitleError&) {
        return 0; // a refused file is a correct answer
    }
    if (!doc->IsLoaded()) return 0;

    const bool skipBlank = choice & 8;
    const int32_t offsets[] = {0, -2000, std::numeric_limits<int32_t>::max(),
                               std::numeric_limits<int32_t>::min()};
    const int32_t offset = offsets[(choice >> 4) & 3];
    const bool centre = choice & 64;
    const int count = doc->Count();
    int first = 0, last = count - 1;
    if (choice & 128) {
        first = count / 3;
        last = count - 1 - count / 3;
    }

    std::ostringstream out;
    WriteSubRip(*doc, out, first, skipBlank, offset, first, last);
    WriteMicroDVD(*doc, out, first, skipBlank, offset, doc->FrameRate(), last);
    WriteSubViewer(*doc, out, first, skipBlank, offset, centre, last);
    // Frame rates at the edges of what a reader accepts.
    WriteMicroDVD(*doc, out, first, skipBlank, offset, 1e-3, last);
    WriteMicroDVD(*doc, out, first, skipBlank, offset, 1e6, last);
    WriteWebVtt(*doc, out, first, skipBlank, offset, first, last);
    WriteAss(*doc, out, first, skipBlank, offset, last);

    // A document of its own format written back unchanged is the very text that was read.
    if (IsFieldFormat(doc->FormatIndex()) && doc->Encoding() == FileEncoding::Plain) {
        std::ostringstream same;
        if (doc->FormatIndex() == FormatWebVTT)
            WriteWebVtt(*doc, same, 0, false, 0, 0, count - 1);
        else
            WriteAss(*doc, same, 0, false, 0, count - 1);
        std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
        if (const std::size_t z = text.find('\x1A'); z != std::string::npos) text.resize(z);
        if (same.str() != text) __builtin_trap();
    }
    // Every entry's text through every other format's tags, and as a caption.
    int dropped = 0;
    for (int k = first; k <= last && k < first + 64; ++k) {
        const std::string& text = doc->Item(k)->Text;
        for (int32_t to = FormatSubRip; to <= FormatSSA; ++to)
            ConvertTags(text, doc->FormatIndex(), to, doc->CodePage(), dropped);
        CaptionOf(*doc, k);
    }
    // A recovery copy and back.
    std::string copy;
    RecoveryBytes(*doc, 0, 0, copy);
    return 0;
}
