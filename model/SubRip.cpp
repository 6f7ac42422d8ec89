#include "FormatCommon.h"
#include "TimeFormat.h"

#include <cstring>
#include <limits>

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// A number line: a whole number that fits in 32 bits, decimal or hexadecimal ($1F, 0x1F, x1F),
// with an optional sign and nothing else.
bool IsNumberLine(std::string_view t) {
    std::size_t i = 0;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    bool hex = false;
    if (i < t.size() && (t[i] == '$' || t[i] == 'x' || t[i] == 'X')) {
        hex = true;
        ++i;
    } else if (i + 1 < t.size() && t[i] == '0' && (t[i + 1] == 'x' || t[i + 1] == 'X')) {
        hex = true;
        i += 2;
    }
    if (i >= t.size()) return false;
    const bool negative = t[0] == '-';
    uint64_t value = 0;
    for (; i < t.size(); ++i) {
        const int d = hex ? HexDigit(t[i]) : (t[i] >= '0' && t[i] <= '9' ? t[i] - '0' : -1);
        if (d < 0) return false;
        value = value * (hex ? 16 : 10) + static_cast<uint64_t>(d);
        if (value > 0xFFFFFFFFull) return false;
    }
    if (hex) return true;
    return value <= (negative ? 0x80000000ull : 0x7FFFFFFFull);
}

std::size_t FindArrow(std::string_view line) {
    // "-" and ">" are never part of a double-byte character, so a plain search is safe.
    return line.find("-->");
}

// Some programs put a "." before the milliseconds; it counts as the ",".
int64_t DotOrCommaTimeToMs(std::string_view text) {
    constexpr int64_t low = std::numeric_limits<int32_t>::min();
    constexpr int64_t high = std::numeric_limits<int32_t>::max();
    int64_t v[4] = {0, 0, 0, 0};
    std::size_t stop = 0;
    if (ScanNumbersAt(text, "::,", v, 4, low, high, &stop) == 3 && stop < text.size() &&
        text[stop] == '.')
        ScanNumbers(text, "::.", v, 4, low, high);
    // Unsaturated: ReadSignedTime saturates once the sign is known.
    return v[0] * 3600000 + v[1] * 60000 + v[2] * 1000 + v[3];
}

// A time as SubRip files hold it.
int32_t SubRipTimeToMs(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    // The usual 00:00:01,000 (millions of them in a big file) needs neither the sign's nor the
    // dot's reading.
    const std::string_view t = text.substr(i);
    if (t.size() >= 12 && t[0] >= '0' && t[0] <= '9' && t[2] == ':' && t[5] == ':' && t[8] == ',')
        return TimeTextToMs(text);
    return ReadSignedTime(text, DotOrCommaTimeToMs);
}

} // namespace

// Blocks are separated by blank lines, but a caption may hold blank lines too (a translation
// under the original, set apart by one): after blank lines, only a line that begins a block (a
// time line, or a number line followed by one) ends the entry. Anything else belongs to the entry
// before it, the blank lines included, so that the file writes back as it was read. Lines before
// the first block belong to no entry and are dropped.
std::vector<PerTitle> ParseSubRip(const TextSource& source) {
    std::vector<PerTitle> entries;
    // An entry takes at least two lines (its time line, then a blank line or the end), so this
    // bounds the list, which is then allocated once; room that stays unused is never touched.
    entries.reserve(source.LineBound() / 2 + 1);
    std::vector<std::string_view> textLines;
    std::vector<std::string_view> blankLines;
    TextSource::Cursor cursor(source);
    std::string_view line;
    std::string_view timeLine;
    std::size_t arrow = 0;
    // Set when the look-ahead after an entry has already found the next block's time line.
    bool haveTimeLine = false;
    for (;;) {
        if (!haveTimeLine) {
            if (!cursor.Next(line)) break;
            const std::string_view trimmed = TrimText(line);
            if (trimmed.empty()) continue;
            if (IsNumberLine(trimmed)) {
                const std::size_t mark = cursor.Position();
                if (!cursor.Next(timeLine)) break;
                arrow = FindArrow(timeLine);
                if (arrow == std::string_view::npos) {
                    cursor.Seek(mark); // perhaps it is the next block's number line
                    continue;
                }
            } else {
                // A block without its number line still counts when this is its time line.
                arrow = FindArrow(line);
                if (arrow == std::string_view::npos) continue;
                timeLine = line;
            }
        }
        haveTimeLine = false;
        const int32_t start = SubRipTimeToMs(timeLine.substr(0, arrow));
        const int32_t end = SubRipTimeToMs(timeLine.substr(arrow + 3));

        textLines.clear();
        for (;;) {
            bool more;
            while ((more = cursor.Next(line)) && !TrimText(line).empty())
                textLines.push_back(line);
            if (!more) break;
            blankLines.assign(1, line);
            while ((more = cursor.Next(line)) && TrimText(line).empty())
                blankLines.push_back(line);
            if (!more) break; // blank lines at the end of the file belong to nothing
            if (IsNumberLine(TrimText(line))) {
                const std::size_t mark = cursor.Position();
                if (cursor.Next(timeLine) &&
                    (arrow = FindArrow(timeLine)) != std::string_view::npos) {
                    haveTimeLine = true;
                    break;
                }
                cursor.Seek(mark);
            } else if ((arrow = FindArrow(line)) != std::string_view::npos) {
                timeLine = line;
                haveTimeLine = true;
                break;
            }
            textLines.insert(textLines.end(), blankLines.begin(), blankLines.end());
            textLines.push_back(line);
        }
        std::size_t size = 0;
        for (std::string_view textLine : textLines)
            size += textLine.size() + 1;
        std::string text;
        text.reserve(size);
        for (std::size_t k = 0; k < textLines.size(); ++k) {
            if (k > 0) text += '|';
            text.append(textLines[k]);
        }
        entries.emplace_back(start, end, std::move(text));
    }
    return entries;
}

bool WriteSubRip(const SubTitle& doc, std::ostream& out, int first, bool skipBlank, int32_t offset,
                 int numberBase, int last) {
    if (!WritableRange(doc, first, last)) return false;
    const int codePage = doc.CodePage();
    int64_t number = numberBase;
    std::string text;
    char line[64];
    for (int k = first; k <= last; ++k) {
        const PerTitle& e = *doc.Item(k);
        if (skipBlank && IsBlankText(e.Text, codePage)) continue;
        ++number;
        char* p = WriteInteger(line, number);
        *p++ = '\r';
        *p++ = '\n';
        if (!Put(out, std::string_view(line, static_cast<std::size_t>(p - line)))) return false;
        p = WriteTimeText(line, AddMs(offset, e.Start));
        std::memcpy(p, " --> ", 5);
        p = WriteTimeText(p + 5, AddMs(offset, e.End));
        *p++ = '\r';
        *p++ = '\n';
        if (!Put(out, std::string_view(line, static_cast<std::size_t>(p - line)))) return false;
        text.clear();
        std::string_view rest = e.Text;
        for (std::size_t bar; (bar = FindMarker(codePage, rest, "|")) != std::string_view::npos;) {
            text.append(rest.substr(0, bar));
            text += "\r\n";
            rest.remove_prefix(bar + 1);
        }
        text.append(rest);
        text += "\r\n\r\n";
        if (!Put(out, text)) return false;
    }
    return true;
}
