#include "Checks.h"

#include "CodePage.h"
#include "Editing.h"
#include "TextConverter.h"
#include "TextTags.h"

#include <unicode/utf8.h>

#include <algorithm>

namespace {

// Chinese and Japanese characters: Han, kana, bopomofo, and the full-width and CJK punctuation.
bool IsCjk(UChar32 c) {
    return (c >= 0x3000 && c <= 0x30FF) || (c >= 0x3100 && c <= 0x312F) ||
           (c >= 0x31F0 && c <= 0x31FF) || (c >= 0x3400 && c <= 0x4DBF) ||
           (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF) ||
           (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFFEF) ||
           (c >= 0x20000 && c <= 0x3FFFF);
}

// The texts of a document as UTF-8, one at a time, through one opened converter.
class TUtf8Texts {
public:
    explicit TUtf8Texts(int codePage) : page_(codePage), converter_(codePage, kCodePageUtf8) {}
    std::string_view operator()(const std::string& text) {
        if (page_ == kCodePageUtf8) return text;
        if (!converter_.Convert(text, buffer_)) buffer_ = ToUtf8(page_, text);
        return buffer_;
    }

private:
    int page_;
    TextConverter converter_;
    std::string buffer_;
};

bool Chosen(int index, const SubTitle& doc) {
    return index >= 0 && index < doc.Count();
}

std::vector<int> SortedUnique(std::vector<int> indexes) {
    std::sort(indexes.begin(), indexes.end());
    indexes.erase(std::unique(indexes.begin(), indexes.end()), indexes.end());
    return indexes;
}

} // namespace

TReadingText MeasureReading(std::string_view text) {
    TReadingText r;
    int line = 0;
    const auto* s = reinterpret_cast<const uint8_t*>(text.data());
    const std::size_t n = text.size();
    std::size_t pos = 0;
    while (pos < n) {
        const uint8_t b = s[pos];
        if (b < 0x80) {
            // ASCII byte by byte (most Latin text): marks, tags, then characters.
            if (b == '|' || b == '\n') {
                r.WidestLine = std::max(r.WidestLine, line);
                line = 0;
                ++r.Lines;
                ++pos;
                continue;
            }
            if (b == '{' || b == '<') {
                if (const std::size_t tag = TagEnd(text, pos); tag != pos) {
                    pos = tag;
                    continue;
                }
            }
            ++pos;
            if (b < 0x20 && b != '\t') continue; // a control character takes no column
            ++line;
            ++r.Characters;
            if (b != ' ' && b != '\t') r.Visible = true;
            continue;
        }
        // Other characters in runs, measured by the display widths of the model.
        std::size_t end = pos;
        while (end < n && s[end] >= 0x80)
            ++end;
        line += DisplayWidth(kCodePageUtf8, text.substr(pos, end - pos));
        for (auto i = static_cast<int32_t>(pos); i < static_cast<int32_t>(end);) {
            UChar32 cp;
            U8_NEXT(s, i, static_cast<int32_t>(end), cp);
            ++r.Characters;
            if (cp != 0x3000) r.Visible = true;
            if (cp >= 0 && IsCjk(cp)) r.Cjk = true;
        }
        pos = end;
    }
    r.WidestLine = std::max(r.WidestLine, line);
    return r;
}

std::vector<TCheckProblem> CheckDocument(const SubTitle& doc, const TCheckLimits& limits) {
    return CheckEntries(doc, 0, doc.Count() - 1, limits);
}

std::vector<TCheckProblem> CheckEntries(const SubTitle& doc, int first, int last,
                                        const TCheckLimits& limits) {
    std::vector<TCheckProblem> problems;
    const std::vector<PerTitle>& entries = doc.Entries();
    const auto n = static_cast<int32_t>(entries.size());
    first = std::max(first, 0);
    last = std::min(last, n - 1);
    TUtf8Texts utf8(doc.CodePage());
    auto add = [&](int32_t i, TCheckKind kind, double value, double limit = 0) {
        problems.push_back({i, kind, value, limit});
    };
    for (int32_t i = first; i <= last; ++i) {
        const PerTitle& e = entries[static_cast<std::size_t>(i)];
        const int64_t duration = int64_t{e.End} - e.Start;
        if (duration < 0) add(i, TCheckKind::StartAfterEnd, static_cast<double>(-duration));
        if (i > 0 && e.Start < entries[static_cast<std::size_t>(i) - 1].Start)
            add(i, TCheckKind::OutOfOrder,
                static_cast<double>(int64_t{entries[static_cast<std::size_t>(i) - 1].Start} - e.Start));
        if (i + 1 < n) {
            const PerTitle& next = entries[static_cast<std::size_t>(i) + 1];
            // A next entry out of order is told there; its distance means nothing here.
            if (next.Start >= e.Start) {
                const int64_t gap = int64_t{next.Start} - e.End;
                if (gap < 0) add(i, TCheckKind::Overlap, static_cast<double>(-gap));
                else if (gap < limits.MinGap)
                    add(i, TCheckKind::GapTooSmall, static_cast<double>(gap), limits.MinGap);
            }
        }
        if (duration >= 0 && duration < limits.MinDuration)
            add(i, TCheckKind::TooShort, static_cast<double>(duration), limits.MinDuration);
        if (duration > limits.MaxDuration)
            add(i, TCheckKind::TooLong, static_cast<double>(duration), limits.MaxDuration);
        const TReadingText reading = MeasureReading(utf8(e.Text));
        if (!reading.Visible) {
            add(i, TCheckKind::EmptyText, 0);
            continue;
        }
        if (duration > 0) {
            const double speed = reading.Characters * 1000.0 / static_cast<double>(duration);
            const double limit = reading.Cjk ? limits.CjkSpeed : limits.OtherSpeed;
            if (speed > limit) add(i, TCheckKind::ReadingSpeed, speed, limit);
        }
        if (reading.WidestLine > limits.MaxColumns)
            add(i, TCheckKind::LineTooLong, reading.WidestLine, limits.MaxColumns);
        if (reading.Lines > limits.MaxLines)
            add(i, TCheckKind::TooManyLines, reading.Lines, limits.MaxLines);
    }
    return problems;
}

TChange ExtendShortChange(const SubTitle& doc, const std::vector<int>& indexes,
                          const TCheckLimits& limits) {
    TChange change;
    for (int i : SortedUnique(indexes)) {
        if (!Chosen(i, doc)) continue;
        const PerTitle& e = *doc.Item(i);
        if (e.End < e.Start || int64_t{e.End} - e.Start >= limits.MinDuration) continue;
        int64_t end = int64_t{e.Start} + limits.MinDuration;
        if (const PerTitle* next = doc.Item(i + 1); next && next->Start >= e.Start)
            end = std::min(end, int64_t{next->Start} - limits.MinGap);
        if (end > e.End) AddTimes(change, i, {e.Start, SaturateMs(end)});
    }
    return change;
}

TChange ShortenOverlapChange(const SubTitle& doc, const std::vector<int>& indexes,
                             const TCheckLimits& limits) {
    TChange change;
    for (int i : SortedUnique(indexes)) {
        const PerTitle* e = doc.Item(i);
        const PerTitle* next = doc.Item(i + 1);
        if (!e || !next || next->Start < e->Start || e->End <= next->Start) continue;
        const int32_t end = std::max(e->Start, SaturateMs(int64_t{next->Start} - limits.MinGap));
        if (end < e->End) AddTimes(change, i, {e->Start, end});
    }
    return change;
}

TChange RemoveEmptyChange(const SubTitle& doc, const std::vector<int>& indexes) {
    TUtf8Texts utf8(doc.CodePage());
    std::vector<int> empty;
    for (int i : indexes)
        if (Chosen(i, doc) && !MeasureReading(utf8(doc.Item(i)->Text)).Visible) empty.push_back(i);
    return EraseEntriesChange(doc, std::move(empty));
}
