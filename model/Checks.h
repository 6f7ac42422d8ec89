#pragma once
// Checks of what a viewer can read: the entries shown too briefly, too long, too fast to read,
// too wide or in too many lines, too close to or over the next one, empty, or out of time
// order; and the fixes that are unambiguous, as changes.
#include "Change.h"
#include "Subtitle.h"

#include <cstdint>
#include <vector>

struct TCheckLimits {
    int32_t MinDuration = 700;  // ms
    int32_t MaxDuration = 7000; // ms
    double CjkSpeed = 15;       // characters per second, Chinese and Japanese text
    double OtherSpeed = 20;     // characters per second, any other text
    int MaxColumns = 32;        // display columns of one line: 16 full-width or 32 half-width
    int MaxLines = 2;
    int32_t MinGap = 80; // ms to the next entry
    bool operator==(const TCheckLimits&) const = default;
};

// In the order the problems of one entry are listed.
enum class TCheckKind : int8_t {
    StartAfterEnd,
    OutOfOrder,   // starts before the entry before it
    Overlap,      // ends after the next entry starts
    GapTooSmall,  // the next entry starts less than MinGap after its end
    TooShort,
    TooLong,
    ReadingSpeed,
    LineTooLong,
    TooManyLines,
    EmptyText,
};
constexpr int kCheckKindCount = 10;

struct TCheckProblem {
    int32_t Index; // the entry, 0-based
    TCheckKind Kind;
    // What was found: ms (the overlap, the gap, the duration, how far a start lies after its end
    // or before the previous start), characters per second, columns of the widest line, lines.
    double Value;
    double Limit; // the limit it crosses (0 for the kinds without one)
};

// What one caption gives to read, tags, "|" and line ends left out.
struct TReadingText {
    int Characters = 0;  // every character counts one, a CJK one as well as a Latin one
    bool Cjk = false;    // holds Chinese or Japanese characters (full-width punctuation included)
    bool Visible = false; // holds anything but spaces
    int Lines = 1;
    int WidestLine = 0; // display columns
};
// text is UTF-8.
TReadingText MeasureReading(std::string_view utf8);

// Every problem of the document, sorted by entry (and by kind within one).
std::vector<TCheckProblem> CheckDocument(const SubTitle& doc, const TCheckLimits& limits);
// The problems of entries first..last only (clamped), their neighbours taken into account: what a
// view that marks problems needs again after a change of a few rows (the changed rows and the one
// before them).
std::vector<TCheckProblem> CheckEntries(const SubTitle& doc, int first, int last,
                                        const TCheckLimits& limits);

// The fixes, each over the chosen entries (others and repeats passed over); each answers an empty
// change when none of them needs it.
// Too-short entries end at MinDuration after their start, but never later than MinGap before
// the next entry starts (and never earlier than they end now).
TChange ExtendShortChange(const SubTitle& doc, const std::vector<int>& indexes,
                          const TCheckLimits& limits);
// Entries that end after the next one starts end MinGap before it (not before their own start).
TChange ShortenOverlapChange(const SubTitle& doc, const std::vector<int>& indexes,
                             const TCheckLimits& limits);
// The entries without visible text go.
TChange RemoveEmptyChange(const SubTitle& doc, const std::vector<int>& indexes);
