// WebVTT: a "WEBVTT" header, then blocks apart by blank lines: cues (an optional identifier
// line, a timing line "start --> end settings", the text lines), NOTE, STYLE and REGION blocks.
#include "FormatRecords.h"
#include "TimeFormat.h"

#include <algorithm>
#include <string>

namespace {

constexpr int32_t kLatest = 99 * 3600000 + 59 * 60000 + 59 * 1000 + 999;

void WriteVttTime(const TFormatData& data, int32_t ms, std::string& out) {
    ms = std::clamp(ms, 0, kLatest); // WebVTT has no negative times
    const int h = ms / 3600000, m = ms / 60000 % 60, s = ms / 1000 % 60, f = ms % 1000;
    char buf[16];
    char* p = buf;
    if (h > 0 || !data.ShortTimes) {
        *p++ = static_cast<char>('0' + h / 10);
        *p++ = static_cast<char>('0' + h % 10);
        *p++ = ':';
    }
    *p++ = static_cast<char>('0' + m / 10);
    *p++ = static_cast<char>('0' + m % 10);
    *p++ = ':';
    *p++ = static_cast<char>('0' + s / 10);
    *p++ = static_cast<char>('0' + s % 10);
    *p++ = '.';
    *p++ = static_cast<char>('0' + f / 100);
    *p++ = static_cast<char>('0' + f / 10 % 10);
    *p++ = static_cast<char>('0' + f % 10);
    out.append(buf, static_cast<std::size_t>(p - buf));
}

// HH:MM:SS.mmm or MM:SS.mmm, every digit in its place: nearly every time of a file, read at once.
bool PlainVttTime(std::string_view t) {
    if (t.size() != 12 && t.size() != 9) return false;
    const char* p = t.data() + t.size() - 9; // at the minutes
    auto digit = [](char c) { return c >= '0' && c <= '9'; };
    return p[2] == ':' && p[5] == '.' && digit(p[0]) && digit(p[1]) && digit(p[3]) && digit(p[4]) &&
           digit(p[6]) && digit(p[7]) && digit(p[8]) &&
           (t.size() == 9 || (t[2] == ':' && digit(t[0]) && digit(t[1])));
}

// Whether WriteVttTime gives back a plain time as it stands, without writing it.
bool WrittenAsRead(const TFormatData& data, std::string_view t) {
    if (!PlainVttTime(t) || t[t.size() - 9] > '5' || t[t.size() - 6] > '5') return false;
    return t.size() == 9 ? data.ShortTimes : !data.ShortTimes || t[0] != '0' || t[1] != '0';
}

// [HH:]MM:SS.mmm; a "," before the milliseconds, as some programs write, is taken too. Hours
// past 99 are refused.
std::optional<int32_t> ReadVttTime(std::string_view t) {
    if (PlainVttTime(t)) {
        const char* p = t.data() + t.size() - 9;
        auto two = [](const char* q) { return (q[0] - '0') * 10 + (q[1] - '0'); };
        const int m = two(p), s = two(p + 3);
        if (m > 59 || s > 59) return std::nullopt;
        return (t.size() == 12 ? two(t.data()) * 3600000 : 0) + m * 60000 + s * 1000 +
               (p[6] - '0') * 100 + two(p + 7);
    }
    std::size_t dot = t.find_last_of(".,");
    if (dot == std::string_view::npos) return std::nullopt;
    int64_t fraction = 0;
    const std::string_view frac = t.substr(dot + 1);
    if (frac.empty() || frac.size() > 3 || !ReadDigits(frac, fraction)) return std::nullopt;
    for (std::size_t k = frac.size(); k < 3; ++k)
        fraction *= 10;
    std::string_view rest = t.substr(0, dot);
    int64_t parts[3] = {0, 0, 0};
    int count = 0;
    while (!rest.empty()) {
        if (count == 3) return std::nullopt;
        const std::size_t colon = rest.rfind(':');
        const std::string_view field =
            colon == std::string_view::npos ? rest : rest.substr(colon + 1);
        if (!ReadDigits(field, parts[count++])) return std::nullopt;
        if (colon == std::string_view::npos) break;
        rest = rest.substr(0, colon);
        if (rest.empty()) return std::nullopt;
    }
    if (count < 2 || parts[0] > 59 || parts[1] > 59 || parts[2] > 99) return std::nullopt;
    return static_cast<int32_t>(parts[2] * 3600000 + parts[1] * 60000 + parts[0] * 1000 +
                                fraction);
}

// A text as the panes hold it: lines joined by "|", a "|" of the text itself as "\|".
void VttTextIn(std::string_view raw, int codePage, std::string& out) {
    out.clear();
    out.reserve(raw.size() + 4);
    const bool runs = AsciiSafe(codePage);
    for (std::size_t i = 0; i < raw.size();) {
        if (runs) {
            const std::size_t next = FindAny(raw, i, '\r', '\n', '|');
            out.append(raw.substr(i, next - i));
            if ((i = next) == raw.size()) break;
        }
        const char c = raw[i];
        if (c == '\r' || c == '\n') {
            out += '|';
            i += c == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n' ? 2 : 1;
        } else if (c == '|') {
            out += "\\|";
            ++i;
        } else {
            const std::size_t n = static_cast<unsigned char>(c) < 0x80 ? 1 : CharLength(codePage, raw, i);
            out.append(raw.substr(i, n));
            i += n;
        }
    }
}

void VttTextOut(std::string_view held, const TFormatData& data, int codePage, std::string& out) {
    HeldToRaw(held, codePage, data.Eol, out);
}

const TRecordFormat kVtt{WriteVttTime, ReadVttTime, VttTextOut, VttTextIn, {'\r', '\n', '|'}};

bool IsSpace(char c) {
    return c == ' ' || c == '\t';
}

bool IsBlank(std::string_view line) {
    return std::all_of(line.begin(), line.end(), IsSpace);
}

// The keyword of a block that is no cue, followed by nothing, a space, a tab.
bool IsBlockKeyword(std::string_view line, std::string_view word) {
    return line.substr(0, word.size()) == word &&
           (line.size() == word.size() || IsSpace(line[word.size()]));
}

struct Line {
    std::string_view text, eol;
    int number;
};

// The timing line of a cue as a record's part: the two times as marks, all else as it is.
bool ReadTiming(const Line& line, TFormatData& data, bool first, std::string& rec,
                int32_t& start, int32_t& end) {
    const std::string_view t = line.text;
    const std::size_t arrow = t.find("-->");
    if (arrow == std::string_view::npos) return false;
    std::size_t a = 0;
    while (a < arrow && IsSpace(t[a]))
        ++a;
    std::size_t b = arrow;
    while (b > a && IsSpace(t[b - 1]))
        --b;
    std::size_t c = arrow + 3;
    while (c < t.size() && IsSpace(t[c]))
        ++c;
    std::size_t d = c;
    while (d < t.size() && !IsSpace(t[d]))
        ++d;
    const std::optional<int32_t> s = ReadVttTime(t.substr(a, b - a));
    const std::optional<int32_t> e = ReadVttTime(t.substr(c, d - c));
    if (!s || !e) return false;
    // The first cue tells how the file writes times under an hour.
    if (first) data.ShortTimes = t.substr(a, b - a).find(':') == t.substr(a, b - a).rfind(':');
    start = *s;
    end = *e;
    auto time = [&](std::string_view raw, int32_t ms, bool isStart) {
        if (WrittenAsRead(data, raw))
            AppendMark(rec, isStart ? record::kStart : record::kEnd);
        else
            AppendTimeMark(rec, kVtt, data, raw, ms, isStart);
    };
    AppendPlain(rec, t.substr(0, a));
    time(t.substr(a, b - a), start, true);
    AppendPlain(rec, t.substr(b, c - b));
    time(t.substr(c, d - c), end, false);
    AppendPlain(rec, t.substr(d));
    rec.append(line.eol);
    return true;
}

void AppendLine(std::string& to, const Line& line) {
    to.append(line.text);
    to.append(line.eol);
}

// Whether a cue identifier could be a cue's number: the number of no cue has leading zeros.
bool CouldBeNumber(std::string_view id) {
    if (id.empty() || id.size() > 18 || id[0] == '0') return false;
    return std::all_of(id.begin(), id.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The reader's state between blocks. A stretch read beside the rest starts at a blank line,
// where nothing but the lines since the last cue is carried from the lines before.
struct VttReader {
    VttReader(TFormatData* d, int page) : data(d), codePage(page) {}

    TFormatData* data;
    int codePage;
    bool before = true;           // no cue read yet: the lines so far are the file's head
    std::string pending;          // what belongs to no cue since the last one
    std::size_t pendingSolid = 0; // up to the last line of pending that is not blank
    std::vector<PerTitle> entries;
    // The number of the cues before this reader's first: known for the whole file's reader;
    // a stretch's reader takes it from its first identifier that could be a number, and says
    // whether any identifier asked.
    int64_t base = 0;
    bool baseKnown = true;
    bool askedBase = false;
    std::string rec, raw, held, id, cue; // one cue's, their memory kept
    std::vector<Line> block;

    void Bad(int number) {
        if (data->BadLines++ == 0) data->BadLine = number;
    }

    // Reads the blocks of lines from line (the current line, have false for none) to the end,
    // or up to and with the first block that holds a cue when untilCue. False when the lines ran
    // out.
    bool Read(TRawLines& lines, Line& line, bool have, bool untilCue) {
        auto next = [&] {
            if (!lines.Next(line.text, line.eol)) return false;
            line.number = lines.Number();
            return true;
        };
        while (have) {
            if (IsBlank(line.text)) {
                AppendLine(pending, line);
                have = next();
                continue;
            }
            // A block: its lines up to a blank line.
            block.clear();
            do {
                block.push_back(line);
                have = next();
            } while (have && !IsBlank(line.text));
            const std::size_t had = entries.size();
            Block();
            if (untilCue && entries.size() > had) {
                // The line after the block is blank: it goes with the lines before the next.
                if (have) AppendLine(pending, line);
                return have;
            }
        }
        return false;
    }

    void Block() {
        std::size_t at = 0;
        const std::string_view opening = block[0].text;
        if (IsBlockKeyword(opening, "NOTE") || IsBlockKeyword(opening, "STYLE") ||
            IsBlockKeyword(opening, "REGION"))
            at = block.size(); // kept as it is, in place
        for (std::size_t k = 0; k < at; ++k)
            AppendLine(pending, block[k]);
        if (at > 0) pendingSolid = pending.size();
        while (at < block.size()) {
            // A cue's timing line is its first or second line.
            std::size_t timing = block.size();
            if (block[at].text.find("-->") != std::string_view::npos)
                timing = at;
            else if (at + 1 < block.size() &&
                     block[at + 1].text.find("-->") != std::string_view::npos)
                timing = at + 1;
            int32_t start = 0, end = 0;
            rec.clear();
            if (timing == block.size() ||
                !ReadTiming(block[timing], *data, before, rec, start, end)) {
                // Neither a cue nor a block of the header's kinds: kept as it is, and reported.
                Bad(block[timing == block.size() ? at : timing].number);
                for (; at < block.size(); ++at)
                    AppendLine(pending, block[at]);
                pendingSolid = pending.size();
                break;
            }
            // The cue's text: up to the block's end, or to a line that is another timing line.
            std::size_t stop = timing + 1;
            while (stop < block.size() && block[stop].text.find("-->") == std::string_view::npos)
                ++stop;
            id.clear();
            if (timing == at + 1) {
                const Line& idLine = block[at];
                if (CouldBeNumber(idLine.text)) {
                    askedBase = true;
                    if (!baseKnown) { // this cue's number, if the identifier is one
                        base = std::stoll(std::string(idLine.text)) - 1 -
                               static_cast<int64_t>(entries.size());
                        baseKnown = true;
                    }
                }
                char digits[24];
                const char* numberEnd =
                    WriteInteger(digits, base + static_cast<int64_t>(entries.size()) + 1);
                if (idLine.text ==
                    std::string_view(digits, static_cast<std::size_t>(numberEnd - digits))) {
                    AppendMark(id, record::kNumber);
                } else {
                    AppendPlain(id, idLine.text);
                }
                id.append(idLine.eol);
            }
            raw.clear();
            for (std::size_t k = timing + 1; k < stop; ++k) {
                raw.append(block[k].text);
                if (k + 1 < stop) raw.append(block[k].eol);
            }
            cue.clear();
            if (before) {
                // Blank lines right before the first cue are its own; what is before them
                // is the file's head.
                data->Head.assign(pending, 0, pendingSolid);
                AppendPlain(cue, std::string_view(pending).substr(pendingSolid));
                before = false;
            } else {
                AppendPlain(cue, pending);
            }
            pending.clear();
            pendingSolid = 0;
            cue += id;
            cue += rec;
            if (timing + 1 < stop) {
                AppendTextMark(cue, kVtt, *data, codePage, raw, held, record::kText);
                cue.append(block[stop - 1].eol);
            } else {
                held.clear();
                // No text: one given later is followed by a line end of its own.
                AppendMark(cue, block[timing].eol.empty() ? record::kText : record::kTextLine);
            }
            entries.emplace_back(start, end, std::move(held), data->Intern(cue)); // held made anew
            at = stop;
        }
    }
};

// Reads the rest of the blocks after the first cue: the second half beside the first on
// another thread when there is much of it, from a blank line on; one reading otherwise. With
// utf8, each thread checks whether its stretch is valid UTF-8 before it reads it.
void ReadRest(const TextSource& source, TRawLines& lines, VttReader& reader, bool* utf8) {
    const std::string_view text = source.Text();
    const std::size_t from = lines.Position();
    std::size_t split = text.size();
    if (text.size() - from > SplitReadingAbove()) {
        // Right after a line feed a line begins; a blank one ends any block before it.
        for (std::size_t nl = text.find('\n', from + (text.size() - from) / 2);
             nl != std::string_view::npos; nl = text.find('\n', nl + 1)) {
            const std::string_view after = text.substr(nl + 1, 2);
            if (!after.empty() && (after[0] == '\n' || after == "\r\n")) {
                split = nl + 1;
                break;
            }
        }
    }
    // Each reading starts with its stretch's first line in hand.
    auto readFrom = [](VttReader& into, TRawLines& stretch) {
        Line l{};
        const bool have = stretch.Next(l.text, l.eol);
        l.number = stretch.Number();
        into.Read(stretch, l, have, false);
    };
    if (split >= text.size()) {
        if (utf8) *utf8 = IsValidUtf8(text);
        readFrom(reader, lines);
        return;
    }
    TFormatData own;
    own.Eol = reader.data->Eol;
    own.ShortTimes = reader.data->ShortTimes;
    VttReader part(&own, reader.codePage);
    part.before = false;
    part.baseKnown = false;
    ReserveShare(part.entries, source.LineBound() / 3, text.size(), split);
    int firstLines = 0;
    const int tooLong = ReadBeside(
        source, from, split, lines.Number(), utf8,
        [&](TRawLines& first) { readFrom(reader, first); },
        [&](TRawLines& second) { readFrom(part, second); }, firstLines);
    if (part.askedBase && part.base != static_cast<int64_t>(reader.entries.size())) {
        // The second half took its cues for others' numbers: read it again behind the first.
        TRawLines again(source, split, text.size(), firstLines);
        readFrom(reader, again);
        return;
    }
    if (tooLong > 0) throw LineTooLong(firstLines + tooLong);
    JoinStretch(*reader.data, reader.entries, reader.pending, *part.data, part.entries,
                part.pending, firstLines);
}

std::vector<PerTitle> ReadWebVtt(const TextSource& source, int codePage, TFormatData& data,
                                 bool* utf8) {
    TRawLines lines(source);
    data = TFormatData();
    data.Eol.assign(1, '\n');
    VttReader reader(&data, codePage);
    reader.entries.reserve(source.LineBound() / 3 + 1);
    PreferBigPages(reader.entries);

    Line line{};
    auto next = [&] {
        if (!lines.Next(line.text, line.eol)) return false;
        line.number = lines.Number();
        return true;
    };
    if (!next() || !IsBlockKeyword(line.text, "WEBVTT"))
        throw SubtitleError("This is not a WebVTT file: its first line is not \"WEBVTT\".");
    if (!line.eol.empty()) data.Eol = std::string(line.eol);

    // The header block is the first of the lines that belong to no cue.
    std::string& pending = reader.pending;
    AppendLine(pending, line);
    reader.pendingSolid = pending.size();
    bool have = next();
    while (have && !IsBlank(line.text)) { // the rest of the header block
        AppendLine(pending, line);
        reader.pendingSolid = pending.size();
        have = next();
    }
    // Up to the first cue in one reading: it decides how times under an hour are written.
    if (reader.Read(lines, line, have, true))
        ReadRest(source, lines, reader, utf8);
    else if (utf8)
        *utf8 = IsValidUtf8(source.Text());

    if (reader.entries.empty()) {
        data.Head = std::move(pending);
    } else {
        data.Tail = std::move(pending);
    }
    return std::move(reader.entries);
}

} // namespace

std::vector<PerTitle> ParseWebVtt(const TextSource& source, TFormatData& data) {
    // As for ASS: a big file's UTF-8 check, when still to come, is made by the reading threads.
    return ReadCheckingUtf8(source, [&](int codePage, bool* utf8) {
        return ReadWebVtt(source, codePage, data, utf8);
    });
}

bool WriteWebVtt(const SubTitle& doc, std::ostream& out, int first, bool skipBlank,
                 int32_t offset, int numberBase, int last) {
    const std::string& eol = doc.FormatData().Eol;
    std::string defaultRecord = eol;
    AppendMark(defaultRecord, record::kStart);
    defaultRecord += " --> ";
    AppendMark(defaultRecord, record::kEnd);
    defaultRecord += eol;
    AppendMark(defaultRecord, record::kTextLine);
    return WriteRecords(doc, out, first, last, skipBlank, offset, numberBase, kVtt, defaultRecord,
                        {});
}
