#include "Editing.h"

#include "CodePage.h"
#include "TextConverter.h"

#include <algorithm>

namespace {

bool InDocument(const SubTitle& doc, int first, int last) {
    return first >= 0 && first <= last && last < doc.Count();
}

// A Latin-1 letter's lower-case form (its byte in Windows-1252, its second byte after C3 in
// UTF-8); any other byte as it is.
unsigned char LowerLatin1(unsigned char c) {
    return c >= 0xC0 && c <= 0xDE && c != 0xD7 ? static_cast<unsigned char>(c + 0x20) : c;
}

// The characters of a and b at their starts are one letter in either case (or the same bytes).
bool SameCharacterFolded(int codePage, std::string_view a, std::size_t la, std::string_view b,
                         std::size_t lb) {
    if (la != lb) return false;
    if (la == 1) {
        const auto x = static_cast<unsigned char>(a[0]), y = static_cast<unsigned char>(b[0]);
        auto lowerAscii = [](unsigned char c) {
            return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + 0x20) : c;
        };
        if (x < 0x80 || y < 0x80) return lowerAscii(x) == lowerAscii(y);
        return codePage == kCodePageWindows1252 ? LowerLatin1(x) == LowerLatin1(y) : x == y;
    }
    if (codePage == kCodePageUtf8 && la == 2 && a[0] == '\xC3' && b[0] == '\xC3') {
        // U+00C0..U+00DE are C3 80..9E, their lower forms C3 A0..BE.
        auto lower = [](unsigned char c) {
            return c >= 0x80 && c <= 0x9E && c != 0x97 ? static_cast<unsigned char>(c + 0x20) : c;
        };
        return lower(static_cast<unsigned char>(a[1])) == lower(static_cast<unsigned char>(b[1]));
    }
    return a.substr(0, la) == b.substr(0, lb);
}

} // namespace

std::size_t FindInText(int codePage, std::string_view text, std::string_view what,
                       std::size_t from, bool matchCase) {
    if (matchCase) return FindMarker(codePage, text, what, from);
    if (what.empty()) return from <= text.size() ? from : std::string_view::npos;
    for (std::size_t i = from; i < text.size(); i += CharLength(codePage, text, i)) {
        std::size_t t = i, w = 0;
        while (w < what.size() && t < text.size()) {
            const std::size_t lt = CharLength(codePage, text, t);
            const std::size_t lw = CharLength(codePage, what, w);
            if (!SameCharacterFolded(codePage, text.substr(t), lt, what.substr(w), lw)) break;
            t += lt;
            w += lw;
        }
        if (w == what.size()) return i;
    }
    return std::string_view::npos;
}

int FindText(const SubTitle& doc, std::string_view what, int first, int last, bool matchCase) {
    if (what.empty() || !InDocument(doc, first, last)) return -1;
    for (int i = first; i <= last; ++i) {
        if (FindInText(doc.CodePage(), doc.Item(i)->Text, what, 0, matchCase) !=
            std::string_view::npos)
            return i;
    }
    return -1;
}

int ReplaceText(SubTitle& doc, std::string_view what, std::string_view with, int first, int last) {
    if (!InDocument(doc, first, last)) return 0;
    int replaced = 0;
    doc.Apply(ReplaceChange(doc, what, with, first, last, &replaced));
    doc.SetModified();
    return replaced;
}

int RepairOverlaps(SubTitle& doc) {
    int repaired = 0;
    doc.Apply(RepairOverlapsChange(doc, &repaired));
    return repaired;
}

namespace {

int32_t Index32(std::size_t k) {
    return static_cast<int32_t>(k);
}

TChange OneSplice(int first, int count, std::vector<PerTitle> entries) {
    TChange change;
    if (count > 0 || !entries.empty())
        change.Hunks.emplace_back(TSplice{first, count, std::move(entries)});
    return change;
}

} // namespace

void AddTimes(TChange& change, int index, TEntryTimes times) {
    if (!change.Hunks.empty()) {
        if (auto* last = std::get_if<TRetime>(&change.Hunks.back());
            last && last->First + Index32(last->Times.size()) == index) {
            last->Times.push_back(times);
            return;
        }
    }
    change.Hunks.emplace_back(TRetime{index, {times}});
}

void AddReplacement(TChange& change, int index, PerTitle entry) {
    if (!change.Hunks.empty()) {
        if (auto* last = std::get_if<TSplice>(&change.Hunks.back());
            last && last->First + last->Count == index) {
            ++last->Count;
            last->Entries.push_back(std::move(entry));
            return;
        }
    }
    std::vector<PerTitle> one;
    one.push_back(std::move(entry));
    change.Hunks.emplace_back(TSplice{index, 1, std::move(one)});
}

TChange ShiftChange(const SubTitle& doc, int first, int last, int32_t delta) {
    TChange change;
    if (!InDocument(doc, first, last) || delta == 0) return change;
    TRetime retime{first, {}};
    retime.Times.reserve(static_cast<std::size_t>(last - first) + 1);
    bool moved = false;
    for (int i = first; i <= last; ++i) {
        const PerTitle& e = *doc.Item(i);
        const TEntryTimes t{AddMs(e.Start, delta), AddMs(e.End, delta)};
        moved = moved || t.Start != e.Start || t.End != e.End;
        retime.Times.push_back(t);
    }
    if (moved) change.Hunks.emplace_back(std::move(retime));
    return change;
}

TChange RescaleChange(const SubTitle& doc, int first, int last, int32_t newStartOfLast,
                      int32_t newStartOfFirst) {
    TChange change;
    if (!InDocument(doc, first, last)) return change;
    const int64_t a = doc.Item(first)->Start;
    const int64_t b = doc.Item(last)->Start;
    if (a == b)
        throw SubtitleError("The first and the last entry start at the same time (" +
                            MsToTimeText(static_cast<int32_t>(a)) +
                            "), so they cannot be spread to new times.");
    // The straight line through (a, q) and (b, p), in exact integer arithmetic: the last entry
    // starts exactly at p and every time is truncated toward zero once.
    const __int128 p = newStartOfLast, q = newStartOfFirst, span = b - a;
    auto line = [&](int64_t offset, __int128 anchor) {
        const __int128 value = (static_cast<__int128>(offset) * (p - q) + anchor * span) / span;
        return value < INT32_MIN   ? INT32_MIN
               : value > INT32_MAX ? INT32_MAX
                                   : static_cast<int32_t>(value);
    };
    TRetime retime{first, {}};
    retime.Times.reserve(static_cast<std::size_t>(last - first) + 1);
    bool moved = false;
    for (int i = first; i <= last; ++i) {
        const PerTitle& e = *doc.Item(i);
        const TEntryTimes t{line(e.Start - a, q), line(e.End - b, p)};
        moved = moved || t.Start != e.Start || t.End != e.End;
        retime.Times.push_back(t);
    }
    if (moved) change.Hunks.emplace_back(std::move(retime));
    return change;
}

TChange RetimeOnlyChange(const SubTitle& doc, const TChange& retiming,
                         const std::vector<int>& entries) {
    TChange change;
    for (const THunk& hunk : retiming.Hunks) {
        const auto* retime = std::get_if<TRetime>(&hunk);
        if (!retime) continue;
        const int first = retime->First;
        const int end = first + Index32(retime->Times.size());
        for (auto it = std::lower_bound(entries.begin(), entries.end(), first);
             it != entries.end() && *it < end; ++it) {
            const TEntryTimes& times = retime->Times[static_cast<std::size_t>(*it - first)];
            const PerTitle* now = doc.Item(*it);
            if (now && (times.Start != now->Start || times.End != now->End))
                AddTimes(change, *it, times);
        }
    }
    return change;
}

TChange InsertChange(const SubTitle& doc, int index, std::vector<PerTitle> entries) {
    if (!doc.IsLoaded() || index < 0 || index > doc.Count()) return {};
    return OneSplice(index, 0, std::move(entries));
}

TChange InsertBlankChange(const SubTitle& doc, int index, int n) {
    if (!doc.IsLoaded() || n <= 0 || index < 0 || index > doc.Count()) return {};
    const int32_t t = index > 0 ? AddMs(doc.Item(index - 1)->End, 10) : 0;
    return OneSplice(index, 0, std::vector<PerTitle>(static_cast<std::size_t>(n), {t, t, ""}));
}

namespace {

bool IsAscii(std::string_view text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

// The copies' fields: kept between documents of one format whose records read alike (the same
// ASS field order, the same code page or records of ASCII alone), else the target's defaults.
void CarryFields(const SubTitle& doc, const SubTitle& source, std::vector<PerTitle>& copies) {
    if (&doc == &source) return;
    const bool alike = doc.FormatIndex() == source.FormatIndex() &&
                       KeepsRecords(doc.FormatIndex()) &&
                       doc.FormatData().EventFields == source.FormatData().EventFields;
    const bool samePage = doc.CodePage() == source.CodePage();
    for (PerTitle& e : copies) {
        const std::string_view rec = source.Record(e.Fields);
        e.Fields = alike && (samePage || IsAscii(rec)) ? doc.InternRecord(rec) : 0;
    }
}

} // namespace

std::vector<PerTitle> CopyEntries(const SubTitle& doc, const SubTitle& source, int first,
                                  int last) {
    if (!InDocument(source, first, last)) return {};
    // Copied first, so that a document can take entries from itself and a text that does not
    // fit this code page stops the whole copy before anything changes.
    if (source.CodePage() == doc.CodePage()) {
        std::vector<PerTitle> copies(source.Entries().begin() + first,
                                     source.Entries().begin() + last + 1);
        CarryFields(doc, source, copies);
        return copies;
    }
    std::vector<PerTitle> copies;
    copies.reserve(static_cast<std::size_t>(last - first) + 1);
    TextConverter converter(source.CodePage(), doc.CodePage());
    std::string text;
    for (int i = first; i <= last; ++i) {
        const PerTitle& e = *source.Item(i);
        if (!converter.Convert(e.Text, text)) {
            const int number = i + 1;
            if (converter.LastFault() == TextConverter::Fault::Unreadable)
                throw TextConversionError("Entry " + std::to_string(number) + " of " +
                                              source.FileName() + " is not valid " +
                                              CodePageName(source.CodePage()) +
                                              ": nothing was inserted.",
                                          number, false, source.CodePage(), true);
            throw TextConversionError("Entry " + std::to_string(number) + " of " +
                                          source.FileName() + " cannot be written in " +
                                          CodePageName(doc.CodePage()) + ": nothing was inserted.",
                                      number, false, doc.CodePage());
        }
        copies.emplace_back(e.Start, e.End, text, e.Fields);
    }
    CarryFields(doc, source, copies);
    return copies;
}

TChange InsertFromChange(const SubTitle& doc, int position, const SubTitle& source, int last,
                         int first) {
    if (!doc.IsLoaded() || !InDocument(source, first, last) || position < 0 ||
        position > doc.Count())
        return {};
    return OneSplice(position, 0, CopyEntries(doc, source, first, last));
}

TChange EraseChange(const SubTitle& doc, int first, int last) {
    if (!InDocument(doc, first, last)) return {};
    return OneSplice(first, last - first + 1, {});
}

TChange EraseEntriesChange(const SubTitle& doc, std::vector<int> indexes) {
    std::sort(indexes.begin(), indexes.end());
    indexes.erase(std::unique(indexes.begin(), indexes.end()), indexes.end());
    TChange change;
    // From the bottom up, so that each run's index still holds when it is applied.
    for (std::size_t k = indexes.size(); k-- > 0;) {
        const int index = indexes[k];
        if (index < 0 || index >= doc.Count()) continue;
        if (!change.Hunks.empty()) {
            auto& run = std::get<TSplice>(change.Hunks.back());
            if (run.First == index + 1) {
                run.First = index;
                ++run.Count;
                continue;
            }
        }
        change.Hunks.emplace_back(TSplice{index, 1, {}});
    }
    return change;
}

TChange SetEntryChange(const SubTitle& doc, int index, const PerTitle& entry) {
    const PerTitle* now = doc.Item(index);
    if (!now || (now->Start == entry.Start && now->End == entry.End && now->Text == entry.Text))
        return {};
    // The fields its format keeps beside times and text stay the entry's own.
    PerTitle changed = entry;
    changed.Fields = now->Fields;
    return OneSplice(index, 1, {std::move(changed)});
}

TChange ReplaceChange(const SubTitle& doc, std::string_view what, std::string_view with, int first,
                      int last, int* replaced, bool matchCase) {
    TChange change;
    int count = 0;
    if (!what.empty() && InDocument(doc, first, last)) {
        const int codePage = doc.CodePage();
        for (int i = first; i <= last; ++i) {
            const PerTitle& e = *doc.Item(i);
            std::string out;
            std::size_t from = 0;
            // Folded letters keep their byte lengths: a match is as long as what.
            for (std::size_t at;
                 (at = FindInText(codePage, e.Text, what, from, matchCase)) != std::string::npos;
                 from = at + what.size()) {
                out.append(e.Text, from, at - from);
                out.append(with);
                ++count;
            }
            if (from == 0) continue;
            out.append(e.Text, from);
            // Replacing a text by itself changes nothing, and is no step.
            if (out != e.Text) AddReplacement(change, i, PerTitle(e.Start, e.End, std::move(out), e.Fields));
        }
    }
    if (replaced) *replaced = count;
    return change;
}

TChange RepairOverlapsChange(const SubTitle& doc, int* repaired) {
    TChange change;
    int count = 0;
    for (int i = 1; i < doc.Count(); ++i) {
        const PerTitle& prev = *doc.Item(i - 1);
        const int32_t start = doc.Item(i)->Start;
        if (prev.End > start) {
            AddTimes(change, i - 1, {prev.Start, AddMs(start, -1)});
            ++count;
        }
    }
    if (repaired) *repaired = count;
    return change;
}

int NearestStart(const SubTitle& doc, int32_t t) {
    if (doc.Count() == 0) return -1;
    int lo = 0, hi = doc.Count() - 1;
    while (lo != hi && hi - lo != 1) {
        const int mid = lo + (hi - lo) / 2;
        if (t < doc.Item(mid)->Start)
            hi = mid;
        else
            lo = mid;
    }
    const int64_t after = int64_t{doc.Item(hi)->Start} - t;
    const int64_t before = int64_t{t} - doc.Item(lo)->Start;
    return after < before ? hi : lo;
}

int CaptionAt(const SubTitle& doc, int& shown, double t, double filmEnd) {
    const int n = doc.Count();
    // The document may have lost entries since the index was taken.
    int c = shown >= 0 && shown < n ? shown : -1;
    const double cs = c >= 0 ? doc.Item(c)->Start : 0;
    const double ce = c >= 0 ? doc.Item(c)->End : 0;
    if (cs < t) {
        if (t < ce) {
            shown = c;
            return c;
        }
        const bool last = c == n - 1;
        const double ns = last ? filmEnd : doc.Item(c + 1)->Start;
        const double ne = last ? filmEnd : doc.Item(c + 1)->End;
        if (ns > t) { // a gap after entry c
            shown = c;
            return -1;
        }
        if (!last && ne > t) {
            shown = c + 1;
            return c + 1;
        }
    }
    if (n == 0 || doc.Item(0)->Start > t) {
        shown = -1;
        return -1;
    }
    if (doc.Item(n - 1)->End <= t) {
        shown = n - 1;
        return -1;
    }
    // start(lo) <= t always holds, and hi only ever takes an index whose start is after t, or
    // the last: so mid + 1 stays inside the document and the search ends.
    int lo = 0, hi = n - 1;
    for (;;) {
        const int mid = lo + (hi - lo) / 2;
        if (doc.Item(mid)->Start > t) {
            hi = mid;
        } else if (doc.Item(mid)->End > t) {
            shown = mid;
            return mid;
        } else if (mid == n - 1 || doc.Item(mid + 1)->Start > t) {
            shown = mid;
            return -1;
        } else {
            lo = mid + 1;
        }
    }
}
