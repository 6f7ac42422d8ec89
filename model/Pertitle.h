#pragma once
// One subtitle entry and the time texts the panes, the dialogs and the file formats use.
//
// Times are whole milliseconds in a signed 32-bit value. Arithmetic on them saturates at the
// ends of that range instead of wrapping: a time can never turn from very late into very early.
#include <cstdint>
#include <string>
#include <string_view>

class PerTitle {
public:
    PerTitle() = default;
    PerTitle(int32_t start, int32_t end, std::string text, uint32_t fields = 0)
        : Start(start), End(end), Fields(fields), Text(std::move(text)) {}

    int32_t Start = 0;
    int32_t End = 0;
    // What the entry's format keeps for it beside times and text (WebVTT's cue identifier and
    // settings, ASS's layer, style, actor, margins, effect, Comment): an index into its
    // document's table of such records (SubTitle::Record), 0 for none: the format's defaults, and
    // all that SubRip, MicroDVD and SubViewer entries ever have. Entries that hold the same
    // fields share one record, so a million entries cost 8 bytes each (48 instead of 40).
    uint32_t Fields = 0;
    std::string Text; // bytes of the document's code page; caption lines joined by "|"

    std::string StartText() const;
    std::string EndText() const;
    int32_t Duration() const;
    std::string DurationText() const;
    void Shift(int32_t delta);
};

// HH:MM:SS,mmm; hours do not wrap, and a negative time is its magnitude with a minus in front
// ("-00:00:03,000"). The other time texts write their sign the same way.
std::string MsToTimeText(int32_t ms);
// Reads "%d:%d:%d,%d"; the last number counts milliseconds whatever its digits. Fields the text
// does not supply count as 0. A minus in front and none after it negates the whole time, so that
// every time text reads back as the time it was written from; otherwise each field keeps its own
// sign. The other readers take signs the same way.
int32_t TimeTextToMs(std::string_view text);
// SS:mmm, seconds not carried into minutes.
std::string MsToDelayText(int32_t ms);
int32_t DelayTextToMs(std::string_view text);
// HH:MM:SS.cc (hundredths, truncated).
std::string MsToSubViewerTime(int32_t ms);
int32_t SubViewerTimeToMs(std::string_view text);
// The frame showing at ms: ms × rate / 1000, truncated toward zero and computed exactly.
std::string MsToFrameText(int32_t ms, double rate);
// The film position (seconds, single precision) as HH:MM:SS,mmm.
std::string SecondsToTimeText(float seconds);

// A caption is blank when nothing but spaces, control characters and full-width spaces is left.
// This form decides the code page without a document: valid UTF-8 is UTF-8, anything else is the
// program's legacy code page (one caption is too little text to detect a page from).
bool IsBlankText(std::string_view text);
bool IsBlankText(std::string_view text, int codePage);

// Without leading and trailing characters of code 32 and below.
std::string_view TrimText(std::string_view text);

// Saturating time arithmetic, shared by every place that moves times.
int32_t SaturateMs(int64_t ms);
inline int32_t AddMs(int32_t a, int32_t b) {
    return SaturateMs(int64_t{a} + b);
}
