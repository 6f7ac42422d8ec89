#pragma once
// Finding, replacing and repairing entries of a document, as the panes' commands do them.
// Texts to find and put in are bytes of the document's code page (the window encodes what the
// user typed first); matches begin only on whole characters.
#include "Subtitle.h"

#include <string>
#include <string_view>

// The changes the commands make, as data for SubTitle::Apply. Each answers an empty change when
// its range or index lies outside the document or nothing would change, so that a command which
// changes nothing leaves no step in a history.

// Building a change entry by entry, in increasing index order: an entry's new times, or its
// replacement, joined to the hunk of the entry before when that is of the same kind and next to it.
void AddTimes(TChange& change, int index, TEntryTimes times);
void AddReplacement(TChange& change, int index, PerTitle entry);

// Entries first..last move by delta (saturating).
TChange ShiftChange(const SubTitle& doc, int first, int last, int32_t delta);
// Linear re-timing: the first entry starts at newStartOfFirst, the last at newStartOfLast.
// Throws SubtitleError when the first and last entries start together.
TChange RescaleChange(const SubTitle& doc, int first, int last, int32_t newStartOfLast,
                      int32_t newStartOfFirst);
// Of a re-timing (ShiftChange, RescaleChange), only the new times of the given entries (sorted
// indexes); every other entry keeps its times, and an entry whose times stay is left out.
TChange RetimeOnlyChange(const SubTitle& doc, const TChange& retiming,
                         const std::vector<int>& entries);
// The entries before index.
TChange InsertChange(const SubTitle& doc, int index, std::vector<PerTitle> entries);
// n entries with empty text before index, all at the end of the entry before index plus 10 ms
// (0 at index 0).
TChange InsertBlankChange(const SubTitle& doc, int index, int n);
// A text that a document's code page cannot hold, found while copying texts into it, or one that
// is no valid text of the source's own page (Unreadable): Number is the 1-based number of the
// source entry or, for a text file, of its line (Line true). Nothing has changed when it is
// thrown.
class TextConversionError : public SubtitleError {
public:
    TextConversionError(const std::string& message, int number, bool line, int codePage,
                        bool unreadable = false)
        : SubtitleError(message), Number(number), Line(line), CodePage(codePage),
          Unreadable(unreadable) {}
    int Number;
    bool Line;
    int CodePage;    // the page that cannot hold it, or the source's page that cannot read it
    bool Unreadable; // the source's fault, not the target's
};

// Copies of source entries first..last, their text converted into doc's code page when the source
// has another. They keep their fields (PerTitle::Fields) when both documents are of one format
// and read them alike, and take doc's format's defaults otherwise. Throws TextConversionError when a text cannot be held there; an empty range or one
// outside the source gives none.
std::vector<PerTitle> CopyEntries(const SubTitle& doc, const SubTitle& source, int first, int last);

// Copies of source entries first..last before position, their text converted when the source has
// another code page. Throws TextConversionError when a text cannot be held in doc's code page.
TChange InsertFromChange(const SubTitle& doc, int position, const SubTitle& source, int last,
                         int first);
TChange EraseChange(const SubTitle& doc, int first, int last);
// The entries at the given indexes, which need not be next to each other; indexes outside the
// document and repeats are passed over.
TChange EraseEntriesChange(const SubTitle& doc, std::vector<int> indexes);
// One entry takes new times and text, keeping its other fields; empty when it already has them.
TChange SetEntryChange(const SubTitle& doc, int index, const PerTitle& entry);
// Every occurrence of what by with in entries first..last (see ReplaceText); replaced, when
// given, receives the number of replacements. Without matchCase, letters match in either case
// (see FindInText).
TChange ReplaceChange(const SubTitle& doc, std::string_view what, std::string_view with, int first,
                      int last, int* replaced = nullptr, bool matchCase = true);
// See RepairOverlaps; repaired, when given, receives the number of entries repaired.
TChange RepairOverlapsChange(const SubTitle& doc, int* repaired = nullptr);

// The first entry of first..last whose text holds what, or -1. An empty text or a range outside
// the document finds nothing.
int FindText(const SubTitle& doc, std::string_view what, int first, int last,
             bool matchCase = true);
// Where what first stands in text at or after from, walking whole characters of the code page;
// npos when nowhere. Without matchCase the letters A-Z match a-z, and in Windows-1252 and UTF-8
// texts the Latin-1 letters À-Þ match à-þ (× and ÷ are no letters); no other character folds.
std::size_t FindInText(int codePage, std::string_view text, std::string_view what,
                       std::size_t from, bool matchCase);

// Replaces every occurrence of what by with in entries first..last, left to right, not
// overlapping, the replaced text not searched again. Marks the document modified whether or not
// anything changed; an empty range or one outside the document does nothing. Answers the number
// of replacements.
int ReplaceText(SubTitle& doc, std::string_view what, std::string_view with, int first, int last);

// Where an entry ends after the next one starts, ends it 1 ms before that start; starts never
// move. Marks the document modified when anything was repaired; answers how many were.
int RepairOverlaps(SubTitle& doc);

// The entry whose start is nearest to t, the earlier one on a tie, found by halving over starts
// in time order; -1 for a document without entries.
int NearestStart(const SubTitle& doc, int32_t t);

// The entry showing at film moment t (milliseconds with their fraction): the one with
// start <= t < end, or -1 in a gap, before the first entry or after the last. shown is where the
// look-up starts and what it leaves: the entry showing or, between entries, the last one passed;
// -1 before the first. The entry at shown and the one after it are tried before halving, which
// is what a playing film almost always needs. filmEnd (milliseconds) stands in for the start and
// end of an entry after the last one. Entries are taken in document order; a document out of
// time order gives some entry, never an index outside it.
int CaptionAt(const SubTitle& doc, int& shown, double t, double filmEnd);
