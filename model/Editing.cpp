#include "Editing.h"

#include "CodePage.h"

namespace {

bool InDocument(const SubTitle& doc, int first, int last) {
    return first >= 0 && first <= last && last < doc.Count();
}

} // namespace

int FindText(const SubTitle& doc, std::string_view what, int first, int last) {
    if (what.empty() || !InDocument(doc, first, last)) return -1;
    for (int i = first; i <= last; ++i) {
        if (FindMarker(doc.CodePage(), doc.Item(i)->Text, what) != std::string_view::npos) return i;
    }
    return -1;
}

int ReplaceText(SubTitle& doc, std::string_view what, std::string_view with, int first, int last) {
    if (!InDocument(doc, first, last)) return 0;
    int replaced = 0;
    if (!what.empty()) {
        const int codePage = doc.CodePage();
        for (int i = first; i <= last; ++i) {
            std::string& text = doc.Item(i)->Text;
            std::string out;
            std::size_t from = 0;
            for (std::size_t at; (at = FindMarker(codePage, text, what, from)) != std::string::npos;
                 from = at + what.size()) {
                out.append(text, from, at - from);
                out.append(with);
                ++replaced;
            }
            if (from > 0) {
                out.append(text, from);
                text = std::move(out);
            }
        }
    }
    doc.SetModified();
    return replaced;
}

int RepairOverlaps(SubTitle& doc) {
    int repaired = 0;
    for (int i = 1; i < doc.Count(); ++i) {
        PerTitle& prev = *doc.Item(i - 1);
        const int32_t start = doc.Item(i)->Start;
        if (prev.End > start) {
            prev.End = AddMs(start, -1);
            ++repaired;
        }
    }
    if (repaired > 0) doc.SetModified();
    return repaired;
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
