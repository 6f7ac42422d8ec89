#pragma once
// Finding, replacing and repairing entries of a document, as the panes' commands do them.
// Texts to find and put in are bytes of the document's code page (the window encodes what the
// user typed first); matches begin only on whole characters.
#include "Subtitle.h"

#include <string_view>

// The first entry of first..last whose text holds what, or -1. An empty text or a range outside
// the document finds nothing.
int FindText(const SubTitle& doc, std::string_view what, int first, int last);

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
