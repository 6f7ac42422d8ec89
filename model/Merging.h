#pragma once
// Bringing entries from elsewhere into a document: combining (copies of another document's
// entries inserted, spliced into the timeline or not), importing times and texts entry by entry,
// and pouring a plain text file into entries, one paragraph each. Each answers one change for
// SubTitle::Apply; a range that is empty or that a document does not hold contributes nothing.
// Texts are converted into the target's code page; a text it cannot hold throws
// TextConversionError before anything changes.
#include "Editing.h"
#include "Subtitle.h"

#include <cstddef>
#include <string>
#include <vector>

// Copies of source entries first..last before position (0..doc.Count()). With autoAdjust they are
// spliced into doc's timeline: each copy moves by prev - srcPrev and each entry of doc from
// position on by lastStart - srcPrev, where prev is the start of doc's entry before position,
// srcPrev that of the source entry before first (both 0 when there is none) and lastStart that of
// source entry last. So the copies keep their spacing and the entries after them keep theirs.
// Without autoAdjust every entry keeps its own times.
TChange CombineChange(const SubTitle& doc, const SubTitle& source, int first, int last,
                      int position, bool autoAdjust);

// Source entries sourceFirst.. give their times (times) and texts (texts) to doc's entries
// targetFirst.., pairwise, until either range (inclusive, cut to what each document holds) ends.
// Nothing is inserted or removed.
TChange ImportChange(const SubTitle& doc, const SubTitle& source, int sourceFirst, int sourceLast,
                     int targetFirst, int targetLast, bool times, bool texts);

// One paragraph of a text file, as an entry's text: its lines joined by "|".
struct TParagraph {
    std::string Text;
    int Line = 0; // the file's line it starts at, from 1
};

// The first max paragraphs of a text. A line is blank when nothing but characters of code 32 and
// below is left; a paragraph is the run of lines up to the next blank line, joined untrimmed with
// "|", and the run of blank lines after it is skipped. Blank lines at the very start give one
// paragraph with an empty text. Text in the source's code page.
std::vector<TParagraph> TextParagraphs(const TextSource& text, std::size_t max);

// The paragraphs of the text become the texts of doc's entries targetFirst..targetLast, in order,
// until either runs out; times stay. Converted from the text's code page into doc's; a
// TextConversionError names the line the paragraph starts at.
TChange PourTextChange(const SubTitle& doc, const TextSource& text, int targetFirst,
                       int targetLast);

// What an import dialog does with a file, by its extension in any letter case.
enum class TImportKind { Subtitle, Text, Other };
TImportKind ImportKindOf(const std::string& fileName);
