#pragma once
// What the WebVTT and ASS/SSA readers and writers share: lines with their own line ends, the
// records of FormatData.h, the texts as the panes hold them, and the one writer of records.
#include "FormatCommon.h"
#include "FormatData.h"

#include <bit>
#include <cstdint>
#include <cstring>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

// The raw lines of a text: each with the line end it has ("\r\n", "\n", a lone "\r" or none at
// the very end), so that lines put back together give the text byte for byte.
class TRawLines {
public:
    explicit TRawLines(const TextSource& source)
        : source_(&source), text_(source.Text()), loneCr_(source.HasLoneCr()) {}
    // The lines of the stretch [from, to) of the text, to at a line's start; number is that of
    // the line before from.
    TRawLines(const TextSource& source, std::size_t from, std::size_t to, int number)
        : source_(&source), text_(source.Text().substr(0, to)), pos_(from), from_(from),
          released_(from), number_(number), loneCr_(source.HasLoneCr()) {}
    // The next line without its end, and the end; false at the end of the text. Throws
    // SubtitleError for a line longer than kLongestLine.
    bool Next(std::string_view& line, std::string_view& eol);
    int Number() const { return number_; } // of the line last handed out, from 1
    std::size_t Position() const { return pos_; }

private:
    const TextSource* source_;
    std::string_view text_;
    std::size_t pos_ = 0;
    std::size_t from_ = 0;
    std::size_t released_ = 0;
    int number_ = 0;
    bool loneCr_;
};

// The error of a line longer than kLongestLine.
SubtitleError LineTooLong(int number);

// How one format writes and reads its times and holds its texts.
struct TRecordFormat {
    // The time as the format writes it for this document.
    void (*WriteTime)(const TFormatData& data, int32_t ms, std::string& out);
    std::optional<int32_t> (*ReadTime)(std::string_view text);
    // The file's text from the text the panes hold ("|" between lines), and back.
    void (*TextOut)(std::string_view held, const TFormatData& data, int codePage, std::string& out);
    void (*TextIn)(std::string_view raw, int codePage, std::string& out);
    // The bytes of a file's text that its held form writes otherwise; a text without any of
    // them is held as it is.
    char Special[3];
    // When given: true only for a text that TextOut(TextIn(raw)) gives back as it is in a page
    // where an ASCII byte is a character of its own (false sends it to the full comparison).
    bool (*KeptAsRead)(std::string_view raw) = nullptr;
};

// Appends to a record the time mark, or the time as read when the format would write it
// otherwise (see record::kRawStart).
void AppendTimeMark(std::string& rec, const TRecordFormat& format, const TFormatData& data,
                    std::string_view raw, int32_t ms, bool start);
// The same for the text; held receives the text as the panes hold it.
void AppendTextMark(std::string& rec, const TRecordFormat& format, const TFormatData& data,
                    int codePage, std::string_view raw, std::string& held, char mark);
// Appends bytes of the file to a record, a byte 01 doubled; and a mark.
void AppendPlain(std::string& rec, std::string_view part);
inline void AppendMark(std::string& rec, char kind) {
    rec += record::kMark;
    rec += kind;
}

// Head, the entries first..last through their records (defaultRecord for those without one),
// and tail. beforeFirst is written between the head and the first entry when there is one.
bool WriteRecords(const SubTitle& doc, std::ostream& out, int first, int last, bool skipBlank,
                  int32_t offset, int numberBase, const TRecordFormat& format,
                  std::string_view defaultRecord, std::string_view beforeFirst);

// Where the next of the bytes a or b (or c) is at or after from; the size when there is none.
// Eight bytes at a time: every text of a file written passes through here.
inline std::size_t FindAny(std::string_view text, std::size_t from, char a, char b, char c = '\0') {
    const char* p = text.data();
    const std::size_t n = text.size();
    std::size_t i = from;
    if constexpr (std::endian::native == std::endian::little) {
        constexpr uint64_t ones = 0x0101010101010101ULL;
        constexpr uint64_t highs = 0x8080808080808080ULL;
        const uint64_t wa = ones * static_cast<unsigned char>(a);
        const uint64_t wb = ones * static_cast<unsigned char>(b);
        const uint64_t wc = ones * static_cast<unsigned char>(c);
        // (x - ones) & ~x & highs marks a zero byte of x exactly up to its first one (what lies
        // above may be marked falsely): the lowest mark of the three is the first match.
        for (; i + 8 <= n; i += 8) {
            uint64_t w;
            std::memcpy(&w, p + i, 8);
            const uint64_t xa = w ^ wa, xb = w ^ wb;
            uint64_t hit = ((xa - ones) & ~xa) | ((xb - ones) & ~xb);
            if (c != '\0') {
                const uint64_t xc = w ^ wc;
                hit |= (xc - ones) & ~xc;
            }
            hit &= highs;
            if (hit != 0) return i + static_cast<std::size_t>(std::countr_zero(hit) >> 3);
        }
    }
    for (; i < n; ++i) {
        const char x = p[i];
        if (x == a || x == b || (c != '\0' && x == c)) return i;
    }
    return n;
}

// Pages in which an ASCII byte is always a character of its own, so that runs between the bytes
// that matter can be copied whole.
inline bool AsciiSafe(int codePage) {
    return codePage == kCodePageUtf8 || codePage == kCodePageWindows1252;
}

// A text the panes hold as the file holds it: each "|" as lineBreak, each "\|" as "|".
void HeldToRaw(std::string_view held, int codePage, std::string_view lineBreak, std::string& out);

// Case-insensitive ASCII comparisons.
bool StartsWithNoCase(std::string_view text, std::string_view prefix);
bool EqualsNoCase(std::string_view a, std::string_view b);

// Digits of a time field: a whole number of count digits at least (no sign, no spaces).
bool ReadDigits(std::string_view text, int64_t& value);

// Asks the system for big pages under the vector's reserved room: a million entries then cost a
// few dozen page faults instead of tens of thousands. Only a hint.
void PreferBigPages(const void* data, std::size_t bytes);
template <typename T> void PreferBigPages(const std::vector<T>& v) {
    PreferBigPages(v.data(), v.capacity() * sizeof(T));
}

// Room in entries for the share of count entries that the stretch of the text from from to its
// end may hold, a little over, on big pages.
void ReserveShare(std::vector<PerTitle>& entries, std::size_t count, std::size_t textSize,
                  std::size_t from);

// A reading of the whole text by read(codePage, utf8) while a big text's UTF-8 check is still
// to come: read as UTF-8 with the check made by the reading threads (utf8 given), and read
// again in the page found at the end when an ASCII byte is not always a character of its own
// there. Otherwise one reading in the source's page.
std::vector<PerTitle> ReadCheckingUtf8(
    const TextSource& source, const std::function<std::vector<PerTitle>(int, bool*)>& read);

// Texts with more than this many bytes after their head are read in two halves at once, on two
// threads. Tests lower it to read small files so.
std::size_t& SplitReadingAbove();

// Reads the text from from to split with readFirst on this thread and from split to its end
// with readSecond on another, each stretch checked for valid UTF-8 first when utf8 is given
// (the answer for the whole text goes there). A line too long in the second stretch is not
// thrown but given back as its number from the stretch's start (0: none), to be told only if
// the second stretch is kept; firstLines becomes the number of the first stretch's last line.
int ReadBeside(const TextSource& source, std::size_t from, std::size_t split, int number,
               bool* utf8, const std::function<void(TRawLines&)>& readFirst,
               const std::function<void(TRawLines&)>& readSecond, int& firstLines);

// Entries read from the later of two stretches of a text on their own (own: that reading's
// record table and bad lines, numbered from the stretch's start), joined behind those of the
// earlier one as one reading would have made them: records added to data's table in the same
// order, the lines left pending after the earlier stretch's last entry leading the later one's
// first, bad lines counted on after firstLines lines. pending becomes what the later stretch
// left pending after its last entry.
void JoinStretch(TFormatData& data, std::vector<PerTitle>& entries, std::string& pending,
                 const TFormatData& own, std::vector<PerTitle>& later, std::string& laterPending,
                 int firstLines);

// Writes of more than this many entries (all of them, none left out as blank) make the rest
// after the first in chunks on three other threads. Tests lower it.
std::size_t& SplitWritingAbove();

// ASS/SSA: the record is that of a Comment line, which no player shows.
bool IsAssComment(std::string_view rec);
