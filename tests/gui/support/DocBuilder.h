#pragma once
// Small documents for the dialog tests, written as SubRip and read the way a file is.
#include "Subtitle.h"

#include <memory>
#include <string>
#include <vector>

struct TEntrySpec {
    int Start;
    int End;
    std::string Text;
};

inline std::string SubRipText(const std::vector<TEntrySpec>& entries) {
    // A file of one empty line is a document without entries.
    std::string text = entries.empty() ? "\r\n" : "";
    for (size_t i = 0; i < entries.size(); ++i)
        text += std::to_string(i + 1) + "\r\n" + MsToTimeText(entries[i].Start) + " --> " +
                MsToTimeText(entries[i].End) + "\r\n" + entries[i].Text + "\r\n\r\n";
    return text;
}

inline std::unique_ptr<SubTitle> MakeDoc(const std::vector<TEntrySpec>& entries,
                                         const std::string& name = "doc.srt",
                                         double frameRate = 25.0) {
    return std::make_unique<SubTitle>(SubTitle::FromBytes(SubRipText(entries), name, frameRate));
}

// n entries, entry i (from 0) at i × step ms for duration ms, its text "line i+1".
inline std::unique_ptr<SubTitle> EvenDoc(int n, int step = 1000, int duration = 800) {
    std::vector<TEntrySpec> entries;
    entries.reserve(size_t(n));
    for (int i = 0; i < n; ++i)
        entries.push_back({i * step, i * step + duration, "line " + std::to_string(i + 1)});
    return MakeDoc(entries);
}

// The start and end of every entry, for comparing documents before and after.
inline std::vector<std::pair<int, int>> Times(const SubTitle& doc) {
    std::vector<std::pair<int, int>> times;
    for (const PerTitle& e : doc.Entries())
        times.emplace_back(e.Start, e.End);
    return times;
}
