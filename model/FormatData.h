#pragma once
// What a WebVTT or ASS/SSA document keeps of its file beside the entries' times and texts, so
// that it is written back byte for byte as it was read: the bytes before the first entry and
// after the last, and for every entry a record of what its format holds for it.
//
// A record is the entry's own lines as the file held them (with their line ends, and the lines
// before them that belong to no entry: comments, NOTE blocks, blank lines, lines that could not
// be read), the times, the text and a WebVTT cue number standing as marks. Entries with the same
// record share it, so the table stays small however many entries there are.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// The marks of a record: the byte 01 and a letter. A byte 01 of the file itself is held as
// two of them. A time or text the format's writing would not give back exactly is kept as it
// was read, behind its mark, its length in digits and ':' ("\x01s10:0:00:01.5"), and written as
// read while the entry's value is still the one it stands for.
namespace record {
constexpr char kMark = '\x01';
constexpr char kStart = 'S';
constexpr char kEnd = 'E';
constexpr char kText = 'T';
constexpr char kNumber = 'N';   // WebVTT: a cue identifier that is the cue's number
constexpr char kRawStart = 's'; // followed by the length, ':' and the text
constexpr char kRawEnd = 'e';
constexpr char kRawText = 't';
constexpr char kTextLine = 'L'; // WebVTT: the text, then a line end when there is text
} // namespace record

struct TFormatData {
    std::string Head;
    std::string Tail;
    // Records[0] is empty: the format's defaults.
    std::vector<std::string> Records{std::string()};
    // The file's line end, used where the file gives none (new entries, lines of a new text).
    std::string Eol = "\r\n";
    // ASS/SSA: the field names of the [Events] Format line in lower case; empty for the
    // standard order.
    std::vector<std::string> EventFields;
    // ASS/SSA: the head has no [Events] Format line, written before a first entry.
    bool NeedEvents = false;
    // WebVTT: times written as MM:SS.mmm while under an hour, as the file did.
    bool ShortTimes = false;
    // ASS/SSA: the fewest digits of an hour, as the file wrote them.
    int HourDigits = 1;
    // Lines kept as they were because they could not be read: the first (from 1) and how many.
    int BadLine = 0;
    int BadLines = 0;

    // The record's index, added when it is new.
    uint32_t Intern(std::string_view record);
    // Builds the look-up anew after Records was filled from elsewhere.
    void Reindex();

private:
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    std::unordered_map<std::string, uint32_t, Hash, std::equal_to<>> index_;
    uint32_t recent_[2] = {0, 0}; // the records Intern found last, the latest first
};

// The longest line a WebVTT or ASS file may hold; a longer one is no subtitle and refuses the file.
constexpr std::size_t kLongestLine = std::size_t{16} << 20;

// The style a document written as ASS or SSA from another format gets: the picture's size (the
// film's when one is open) and a style "Default" in the caption's font and colour (0xRRGGBB).
struct TAssStyle {
    int PlayResX = 384;
    int PlayResY = 288;
    std::string FontName = "Arial"; // UTF-8
    int FontSize = 20;              // in the picture's pixels
    uint32_t Colour = 0xFFFFFF;
    bool Bold = false;
    bool Italic = false;
};

// The head of a new file of a format (FormatWebVTT, FormatASS or FormatSSA; empty for others),
// in UTF-8.
TFormatData NewFormatData(int32_t format, const TAssStyle& style = TAssStyle());
