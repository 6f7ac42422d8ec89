#pragma once
// A change of a document, as data: the one form in which entries change. A change is a list of
// hunks applied in order; applying it answers the change that takes it back, so every change can
// be undone exactly and redone exactly.
//
// A hunk keeps only what it touches: a splice the entries it puts in, a re-timing the times of
// the entries it moves (texts stay where they are, so shifting a million entries keeps no text).
#include "Pertitle.h"
#include "TextFile.h"

#include <cstddef>
#include <cstdint>
#include <variant>
#include <vector>

// Count entries at First give way to Entries (either may be empty).
struct TSplice {
    int32_t First = 0;
    int32_t Count = 0;
    std::vector<PerTitle> Entries;
};

struct TEntryTimes {
    int32_t Start = 0;
    int32_t End = 0;
    bool operator==(const TEntryTimes&) const = default;
};

// Entries First .. First + Times.size() - 1 take these times.
struct TRetime {
    int32_t First = 0;
    std::vector<TEntryTimes> Times;
};

// The document's text takes this code page and is stored in this encoding from here on. It goes
// with the splices that re-encode the texts, in the same change, so that one undo brings back the
// texts and the page they were in.
struct TRecode {
    int CodePage = kCodePageUtf8;
    FileEncoding Encoding = FileEncoding::Plain;
};

using THunk = std::variant<TSplice, TRetime, TRecode>;

struct TChange {
    std::vector<THunk> Hunks;

    bool Empty() const { return Hunks.empty(); }
    // What the change holds in memory, for capping a history.
    std::size_t Bytes() const;
};
