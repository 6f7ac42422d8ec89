// libFuzzer target: arbitrary bytes through the three readers, then the document through the
// three writers. A reader must never crash, hang, read out of bounds or overflow a time on any
// input; the writers must cope with whatever a reader made.
//
// The first byte chooses how the rest is read:
//   bits 0-1  0 "x.srt"; 1 "x.sub" as it is (MicroDVD unless it starts like SubViewer);
//             2 "x.sub" behind a SubViewer header; 3 "x.sub" with the frame rate asked ("23.976")
//   bit 2     legacy code page 936 instead of 950
//   bit 3     skip blank entries when writing
//   bits 4-5  offset 0, -2000, the largest and the smallest time
//   bit 6     centre SubViewer captions
//   bit 7     write a stretch in the middle instead of everything
#include "CodePage.h"
#include "Subtitle.h"
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
        name = "x.srt";
        break;
    case 1:
        break;
    case 2:
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
    return 0;
}
