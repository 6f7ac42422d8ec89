#include "Merging.h"

#include "CodePage.h"
#include "TextConverter.h"

#include <algorithm>
#include <cctype>

namespace {

int32_t StartOf(const SubTitle& doc, int index) {
    return doc.Item(index)->Start;
}

} // namespace

TChange CombineChange(const SubTitle& doc, const SubTitle& source, int first, int last,
                      int position, bool autoAdjust) {
    const int n = doc.Count();
    // An empty range inserts nothing, and then nothing moves either.
    if (!doc.IsLoaded() || position < 0 || position > n || first < 0 || first > last ||
        last >= source.Count())
        return {};
    std::vector<PerTitle> copies = CopyEntries(doc, source, first, last);
    TChange change;
    if (autoAdjust) {
        const int32_t prev = position > 0 ? StartOf(doc, position - 1) : 0;
        const int32_t srcPrev = first > 0 ? StartOf(source, first - 1) : 0;
        const int32_t lastStart = StartOf(source, last);
        // The two moves the later entries make, each saturating as a shift does.
        const int32_t toLast = SaturateMs(int64_t{lastStart} - prev);
        const int32_t toPrev = SaturateMs(int64_t{prev} - srcPrev);
        for (PerTitle& copy : copies) {
            copy.Start = AddMs(copy.Start, toPrev);
            copy.End = AddMs(copy.End, toPrev);
        }
        TRetime later{position, {}};
        later.Times.reserve(static_cast<std::size_t>(n - position));
        bool moved = false;
        for (int i = position; i < n; ++i) {
            const PerTitle& e = *doc.Item(i);
            const TEntryTimes t{AddMs(AddMs(e.Start, toLast), toPrev),
                                AddMs(AddMs(e.End, toLast), toPrev)};
            moved = moved || t.Start != e.Start || t.End != e.End;
            later.Times.push_back(t);
        }
        // The later entries move by their old indexes, before the copies go in.
        if (moved) change.Hunks.emplace_back(std::move(later));
    }
    change.Hunks.emplace_back(TSplice{position, 0, std::move(copies)});
    return change;
}

TChange ImportChange(const SubTitle& doc, const SubTitle& source, int sourceFirst, int sourceLast,
                     int targetFirst, int targetLast, bool times, bool texts) {
    sourceLast = std::min(sourceLast, source.Count() - 1);
    targetLast = std::min(targetLast, doc.Count() - 1);
    if (!doc.IsLoaded() || (!times && !texts) || sourceFirst < 0 || targetFirst < 0 ||
        sourceFirst > sourceLast || targetFirst > targetLast)
        return {};
    const int pairs = std::min(sourceLast - sourceFirst, targetLast - targetFirst) + 1;
    TChange change;
    if (!texts) {
        TRetime retime{targetFirst, {}};
        retime.Times.reserve(static_cast<std::size_t>(pairs));
        bool moved = false;
        for (int k = 0; k < pairs; ++k) {
            const PerTitle& from = *source.Item(sourceFirst + k);
            const PerTitle& to = *doc.Item(targetFirst + k);
            moved = moved || from.Start != to.Start || from.End != to.End;
            retime.Times.push_back({from.Start, from.End});
        }
        if (moved) change.Hunks.emplace_back(std::move(retime));
        return change;
    }
    std::vector<PerTitle> entries = CopyEntries(doc, source, sourceFirst, sourceFirst + pairs - 1);
    bool changed = false;
    for (int k = 0; k < pairs; ++k) {
        PerTitle& e = entries[static_cast<std::size_t>(k)];
        const PerTitle& now = *doc.Item(targetFirst + k);
        if (!times) {
            e.Start = now.Start;
            e.End = now.End;
        }
        // Times and texts come in; the entry's other fields stay its own.
        e.Fields = now.Fields;
        changed = changed || e.Start != now.Start || e.End != now.End || e.Text != now.Text;
    }
    if (changed) change.Hunks.emplace_back(TSplice{targetFirst, pairs, std::move(entries)});
    return change;
}

std::vector<TParagraph> TextParagraphs(const TextSource& text, std::size_t max) {
    std::vector<TParagraph> paragraphs;
    TextSource::Cursor cursor(text);
    std::string_view line;
    int number = 0;
    auto blank = [](std::string_view l) { return TrimText(l).empty(); };
    bool have = cursor.Next(line);
    if (have) ++number;
    while (have && paragraphs.size() < max) {
        TParagraph paragraph;
        paragraph.Line = number;
        if (!blank(line)) {
            paragraph.Text.assign(line);
            while ((have = cursor.Next(line)) && (++number, !blank(line))) {
                paragraph.Text += '|';
                paragraph.Text.append(line);
            }
        }
        paragraphs.push_back(std::move(paragraph));
        // The blank line that ended the paragraph (or began the text) and the blank lines after it.
        while (have && blank(line) && (have = cursor.Next(line)))
            ++number;
    }
    return paragraphs;
}

TChange PourTextChange(const SubTitle& doc, const TextSource& text, int targetFirst,
                       int targetLast) {
    targetLast = std::min(targetLast, doc.Count() - 1);
    if (!doc.IsLoaded() || targetFirst < 0 || targetFirst > targetLast) return {};
    std::vector<TParagraph> paragraphs =
        TextParagraphs(text, static_cast<std::size_t>(targetLast - targetFirst) + 1);
    if (paragraphs.empty()) return {};
    const int from = text.CodePage();
    const int to = doc.CodePage();
    TextConverter converter(from, to);
    std::string converted;
    std::vector<PerTitle> entries;
    entries.reserve(paragraphs.size());
    bool changed = false;
    for (std::size_t k = 0; k < paragraphs.size(); ++k) {
        const PerTitle& now = *doc.Item(targetFirst + static_cast<int>(k));
        TParagraph& p = paragraphs[k];
        if (converter.Converts()) {
            if (!converter.Convert(p.Text, converted)) {
                if (converter.LastFault() == TextConverter::Fault::Unreadable)
                    throw TextConversionError("Line " + std::to_string(p.Line) +
                                                  " of the text is not valid " +
                                                  CodePageName(from) + ": nothing was imported.",
                                              p.Line, true, from, true);
                throw TextConversionError("Line " + std::to_string(p.Line) +
                                              " of the text cannot be written in " +
                                              CodePageName(to) + ": nothing was imported.",
                                          p.Line, true, to);
            }
            p.Text.swap(converted);
        }
        changed = changed || p.Text != now.Text;
        entries.emplace_back(now.Start, now.End, std::move(p.Text), now.Fields);
    }
    TChange change;
    if (changed)
        change.Hunks.emplace_back(
            TSplice{targetFirst, static_cast<int32_t>(entries.size()), std::move(entries)});
    return change;
}

TImportKind ImportKindOf(const std::string& fileName) {
    const std::size_t dot = fileName.find_last_of('.');
    const std::size_t slash = fileName.find_last_of("/\\");
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return TImportKind::Other;
    std::string ext = fileName.substr(dot + 1);
    for (char& c : ext)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (ext == "srt" || ext == "sub" || ext == "vtt" || ext == "ass" || ext == "ssa")
        return TImportKind::Subtitle;
    if (ext == "txt" || ext == "csv") return TImportKind::Text;
    return TImportKind::Other;
}
