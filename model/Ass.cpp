// Advanced SubStation (ASS) and SubStation (SSA): sections in brackets; in [Events] a Format
// line naming the fields and one Dialogue or Comment line per entry, the text last.
#include "FormatRecords.h"
#include "TimeFormat.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr int32_t kLatest = 99 * 3600000 + 59 * 60000 + 59 * 1000 + 990;

// H:MM:SS.cc, the milliseconds rounded to the nearest hundredth.
void WriteAssTime(const TFormatData& data, int32_t ms, std::string& out) {
    ms = std::clamp(ms, 0, kLatest);
    const int32_t cs = (ms + 5) / 10;
    const int h = cs / 360000, m = cs / 6000 % 60, s = cs / 100 % 60, c = cs % 100;
    char buf[16];
    char* p = buf;
    if (h >= 10 || data.HourDigits >= 2) *p++ = static_cast<char>('0' + h / 10);
    *p++ = static_cast<char>('0' + h % 10);
    *p++ = ':';
    *p++ = static_cast<char>('0' + m / 10);
    *p++ = static_cast<char>('0' + m % 10);
    *p++ = ':';
    *p++ = static_cast<char>('0' + s / 10);
    *p++ = static_cast<char>('0' + s % 10);
    *p++ = '.';
    *p++ = static_cast<char>('0' + c / 10);
    *p++ = static_cast<char>('0' + c % 10);
    out.append(buf, static_cast<std::size_t>(p - buf));
}

// H:MM:SS.cc or HH:MM:SS.cc, every digit in its place: nearly every time of a file, read at once.
bool PlainTime(std::string_view t) {
    if (t.size() != 10 && t.size() != 11) return false;
    const char* p = t.data() + t.size() - 10;
    auto digit = [](char c) { return c >= '0' && c <= '9'; };
    return p[1] == ':' && p[4] == ':' && p[7] == '.' && digit(p[0]) && digit(p[2]) && digit(p[3]) &&
           digit(p[5]) && digit(p[6]) && digit(p[8]) && digit(p[9]) &&
           (t.size() == 10 || digit(t[0]));
}

// H:MM:SS.cc with spaces around; one or two digits of hundredths as the other programs read
// them, three as milliseconds. Hours past 99 are refused.
std::optional<int32_t> ReadAssTime(std::string_view text) {
    if (PlainTime(text)) {
        const char* p = text.data() + text.size() - 10; // at the hour's last digit
        const int h = (text.size() == 11 ? (text[0] - '0') * 10 : 0) + (p[0] - '0');
        auto two = [p](int at) { return (p[at] - '0') * 10 + (p[at + 1] - '0'); };
        return h * 3600000 + two(2) * 60000 + two(5) * 1000 + two(8) * 10;
    }
    const std::string_view t = TrimText(text);
    const std::size_t c1 = t.find(':');
    const std::size_t c2 = c1 == std::string_view::npos ? c1 : t.find(':', c1 + 1);
    const std::size_t dot = c2 == std::string_view::npos ? c2 : t.find('.', c2 + 1);
    if (dot == std::string_view::npos) return std::nullopt;
    int64_t h = 0, m = 0, s = 0, f = 0;
    const std::string_view mm = t.substr(c1 + 1, c2 - c1 - 1), ss = t.substr(c2 + 1, dot - c2 - 1),
                           ff = t.substr(dot + 1);
    if (!ReadDigits(t.substr(0, c1), h) || !ReadDigits(mm, m) || !ReadDigits(ss, s) ||
        !ReadDigits(ff, f) || mm.size() > 2 || ss.size() > 2 || ff.size() > 3 || h > 99)
        return std::nullopt;
    const int64_t ms = ff.size() == 3 ? f : f * 10;
    return static_cast<int32_t>(h * 3600000 + m * 60000 + s * 1000 + ms);
}

// Whether WriteAssTime gives back this time read at once by ReadAssTime, without writing it.
bool WrittenAsRead(const TFormatData& data, std::string_view raw) {
    if (!PlainTime(raw)) return false;
    const char* p = raw.data() + raw.size() - 10;
    const bool hourAsWritten =
        raw.size() == 10 ? data.HourDigits < 2 : raw[0] != '0' || data.HourDigits >= 2;
    return hourAsWritten && p[2] < '6' && p[5] < '6';
}

std::size_t Step(int codePage, std::string_view text, std::size_t i) {
    return codePage == kCodePageUtf8 || static_cast<unsigned char>(text[i]) < 0x80
               ? 1
               : CharLength(codePage, text, i);
}

// \N and \n are line breaks, held as "|"; a "|" of the text itself is held as "\|".
void AssTextIn(std::string_view raw, int codePage, std::string& out) {
    out.clear();
    out.reserve(raw.size() + 4);
    const bool runs = AsciiSafe(codePage);
    for (std::size_t i = 0; i < raw.size();) {
        if (runs) {
            const std::size_t next = FindAny(raw, i, '\\', '|');
            out.append(raw.substr(i, next - i));
            if ((i = next) == raw.size()) break;
        }
        const char c = raw[i];
        if (c == '\\' && i + 1 < raw.size() && (raw[i + 1] == 'N' || raw[i + 1] == 'n')) {
            out += '|';
            i += 2;
        } else if (c == '|') {
            out += "\\|";
            ++i;
        } else {
            const std::size_t n = Step(codePage, raw, i);
            out.append(raw.substr(i, n));
            i += n;
        }
    }
}

void AssTextOut(std::string_view held, const TFormatData&, int codePage, std::string& out) {
    HeldToRaw(held, codePage, "\\N", out);
}

// Every "\" of a text begins a line break "\N" or "\n", or stands for itself; the held form gives
// back all but "\n" (written "\N") and a "\" right before a line break (whose "|" it then escapes).
bool AssKeptAsRead(std::string_view raw) {
    for (std::size_t i = FindAny(raw, 0, '\\', '\\'); i + 1 < raw.size();
         i = FindAny(raw, i + 1, '\\', '\\')) {
        const char next = raw[i + 1];
        if (next == 'n' ||
            (next == '\\' && i + 2 < raw.size() && (raw[i + 2] == 'N' || raw[i + 2] == 'n')))
            return false;
    }
    return true;
}

const TRecordFormat kAss{WriteAssTime, ReadAssTime,       AssTextOut,
                         AssTextIn,    {'\\', '|', '\0'}, AssKeptAsRead};

const std::vector<std::string>& StandardFields(bool ssa) {
    static const std::vector<std::string> ass{"layer",   "start",   "end",     "style",  "name",
                                              "marginl", "marginr", "marginv", "effect", "text"};
    static const std::vector<std::string> sub{"marked",  "start",   "end",     "style",  "name",
                                              "marginl", "marginr", "marginv", "effect", "text"};
    return ssa ? sub : ass;
}

std::vector<std::string> FieldNames(std::string_view list) {
    std::vector<std::string> names;
    for (;;) {
        const std::size_t comma = list.find(',');
        std::string name(TrimText(list.substr(0, comma)));
        for (char& c : name)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        names.push_back(std::move(name));
        if (comma == std::string_view::npos) break;
        list.remove_prefix(comma + 1);
    }
    return names;
}

bool IsSection(std::string_view t) {
    return t.size() >= 2 && t.front() == '[' && t.back() == ']';
}

// Where the times stand among the fields of the Format line in use.
struct EventLayout {
    const std::vector<std::string>* fields = nullptr;
    std::size_t count = 0, startAt = 0, endAt = 0;

    void Use(const std::vector<std::string>& names) {
        if (fields == &names && count == names.size()) return;
        fields = &names;
        count = names.size();
        auto index = [&](std::string_view name) {
            return static_cast<std::size_t>(std::find(names.begin(), names.end(), name) -
                                            names.begin());
        };
        startAt = index("start");
        endAt = index("end");
    }
};

// A Dialogue or Comment line as a record: the key, the fields with the times as marks and the
// text mark. False when the line does not hold its fields or times.
bool ReadEvent(std::string_view line, std::string_view eol, const EventLayout& layout,
               TFormatData& data, bool first, int codePage, std::string& rec, PerTitle& entry,
               std::string& held) {
    const std::size_t colon = line.find(':');
    const std::size_t n = layout.count;
    const std::size_t startAt = layout.startAt, endAt = layout.endAt;
    if (startAt >= n || endAt >= n || n < 2) return false;
    std::size_t pos = colon + 1;
    // The bytes between the times go into the record in runs, the commas with them.
    std::size_t plain = 0;
    std::optional<int32_t> start, end;
    for (std::size_t k = 0; k + 1 < n; ++k) {
        // Fields are short: looked at byte by byte.
        std::size_t comma = pos;
        while (comma < line.size() && line[comma] != ',')
            ++comma;
        if (comma == line.size()) return false;
        if (k == startAt || k == endAt) {
            const std::string_view value = line.substr(pos, comma - pos);
            const std::optional<int32_t> t = ReadAssTime(value);
            if (!t) return false;
            // The first entry tells how many digits the file gives an hour.
            if (first && k == startAt) {
                const std::string_view v = TrimText(value);
                data.HourDigits = v.find(':') >= 2 ? 2 : 1;
            }
            (k == startAt ? start : end) = t;
            AppendPlain(rec, line.substr(plain, pos - plain));
            if (WrittenAsRead(data, value))
                AppendMark(rec, k == startAt ? record::kStart : record::kEnd);
            else
                AppendTimeMark(rec, kAss, data, value, *t, k == startAt);
            plain = comma;
        }
        pos = comma + 1;
    }
    AppendPlain(rec, line.substr(plain, pos - plain));
    if (!start || !end) return false;
    AppendTextMark(rec, kAss, data, codePage, line.substr(pos), held, record::kText);
    rec.append(eol);
    entry.Start = *start;
    entry.End = *end;
    return true;
}

// The reader's state between lines. A stretch read beside the rest starts from a copy.
struct AssReader {
    AssReader(TFormatData* d, int page, bool s) : data(d), codePage(page), ssa(s) {}

    TFormatData* data;
    int codePage;
    bool ssa;
    bool inEvents = false;
    bool sawFormat = false;
    std::optional<std::size_t> insertAt; // where entries go in a file without any
    bool before = true;                  // no entry read yet: the lines so far are the file's head
    std::string pending;                 // the lines since the last entry
    std::vector<PerTitle> entries;
    EventLayout layout;
    std::string rec, held;

    // What a stretch read beside needs to be read as in one go.
    struct State {
        bool ssa, inEvents, sawFormat;
        std::vector<std::string> fields;
        bool operator==(const State&) const = default;
    };
    State Now() const { return {ssa, inEvents, sawFormat, data->EventFields}; }

    // Reads lines to the end of lines, or up to and with the first entry when untilEntry.
    // False when the lines ran out.
    bool Read(TRawLines& lines, bool untilEntry) {
        std::string_view line, eol;
        while (lines.Next(line, eol)) {
            if (Take(lines, line, eol) && untilEntry) return true;
        }
        return false;
    }

    // True when the line was an entry.
    bool Take(const TRawLines& lines, std::string_view line, std::string_view eol) {
        const std::string_view t = TrimText(line);
        if (IsSection(t)) {
            inEvents = EqualsNoCase(t, "[Events]");
            if (EqualsNoCase(t, "[V4 Styles]")) ssa = true;
            if (EqualsNoCase(t, "[V4+ Styles]")) ssa = false;
            pending.append(line).append(eol);
            if (inEvents && !insertAt) insertAt = pending.size();
            return false;
        }
        if (!inEvents) {
            if (StartsWithNoCase(t, "ScriptType:")) {
                const std::string_view type = TrimText(t.substr(11));
                if (EqualsNoCase(type, "v4.00")) ssa = true;
                if (EqualsNoCase(type, "v4.00+")) ssa = false;
            }
            pending.append(line).append(eol);
            return false;
        }
        // Nearly every line of the events is a Dialogue line, spelt so.
        const bool dialogue = t.substr(0, 9) == "Dialogue:";
        if (!dialogue && StartsWithNoCase(t, "Format:")) {
            if (!sawFormat) {
                data->EventFields = FieldNames(t.substr(7));
                sawFormat = true;
                insertAt = pending.size() + line.size() + eol.size();
            }
            pending.append(line).append(eol);
            return false;
        }
        if (dialogue || StartsWithNoCase(t, "Dialogue:") || StartsWithNoCase(t, "Comment:")) {
            layout.Use(data->EventFields.empty() ? StandardFields(ssa) : data->EventFields);
            rec.clear();
            PerTitle entry;
            if (ReadEvent(line, eol, layout, *data, before, codePage, rec, entry, held)) {
                if (before) {
                    data->Head = std::move(pending);
                    before = false;
                } else if (!pending.empty()) {
                    std::string leading;
                    AppendPlain(leading, pending);
                    rec.insert(0, leading);
                }
                pending.clear();
                entry.Text = std::move(held); // held is made anew for the next line
                entry.Fields = data->Intern(rec);
                entries.push_back(std::move(entry));
                return true;
            }
            if (data->BadLines++ == 0) data->BadLine = lines.Number();
        }
        pending.append(line).append(eol);
        return false;
    }
};

// The second stretch, read beside the first, joined behind it as one reading would have read
// it: numbered after firstLines lines, its records in the first one's table.
void Join(AssReader& whole, AssReader& part, int firstLines) {
    // What the second stretch's sections and Format line made of the state is the end's.
    whole.ssa = part.ssa;
    whole.inEvents = part.inEvents;
    whole.sawFormat = part.sawFormat;
    whole.data->EventFields = part.data->EventFields;
    JoinStretch(*whole.data, whole.entries, whole.pending, *part.data, part.entries, part.pending,
                firstLines);
}

// Reads the rest of the lines after the first entry: the second half beside the first on
// another thread when there is much of it, one reading otherwise. With utf8, each thread checks
// whether its stretch is valid UTF-8 before it reads it, and the answer for the whole text goes
// there.
void ReadRest(const TextSource& source, TRawLines& lines, AssReader& reader, bool* utf8) {
    const std::string_view text = source.Text();
    const std::size_t from = lines.Position();
    std::size_t split = text.size();
    if (text.size() - from > SplitReadingAbove()) {
        // Right after a line feed a line always begins.
        const std::size_t nl = text.find('\n', from + (text.size() - from) / 2);
        if (nl != std::string_view::npos) split = nl + 1;
    }
    if (split >= text.size()) {
        if (utf8) *utf8 = IsValidUtf8(text);
        reader.Read(lines, false);
        return;
    }
    TFormatData own;
    own.EventFields = reader.data->EventFields;
    own.HourDigits = reader.data->HourDigits;
    AssReader part(&own, reader.codePage, reader.ssa);
    part.inEvents = reader.inEvents;
    part.sawFormat = reader.sawFormat;
    part.before = false;
    ReserveShare(part.entries, source.LineBound(), text.size(), split);
    const AssReader::State start = reader.Now();
    int firstLines = 0;
    const int tooLong = ReadBeside(
        source, from, split, lines.Number(), utf8,
        [&](TRawLines& first) { reader.Read(first, false); },
        [&](TRawLines& second) { part.Read(second, false); }, firstLines);
    if (reader.Now() != start) {
        // A section or Format line in the first half changed how the second reads: read it
        // again behind the first.
        TRawLines again(source, split, text.size(), firstLines);
        reader.Read(again, false);
        return;
    }
    if (tooLong > 0) throw LineTooLong(firstLines + tooLong);
    Join(reader, part, firstLines);
}

// One reading of the whole text in the code page given.
std::vector<PerTitle> ReadAss(const TextSource& source, int codePage, TFormatData& data, bool& ssa,
                              bool* utf8) {
    TRawLines lines(source);
    data = TFormatData();
    AssReader reader(&data, codePage, ssa);
    reader.entries.reserve(source.LineBound() + 1);
    PreferBigPages(reader.entries);

    std::string_view line, eol;
    bool have;
    // Comment lines may come before the first section.
    while ((have = lines.Next(line, eol)) && (TrimText(line).empty() || TrimText(line)[0] == ';'))
        reader.pending.append(line).append(eol);
    if (!have || !EqualsNoCase(TrimText(line), "[Script Info]"))
        throw SubtitleError(
            "This is not an ASS or SSA file: its first section is not \"[Script Info]\".");
    if (!eol.empty()) data.Eol = std::string(eol);

    // Up to the first entry in one reading: it decides how hours are written.
    reader.Take(lines, line, eol);
    if (reader.Read(lines, true))
        ReadRest(source, lines, reader, utf8);
    else if (utf8)
        *utf8 = IsValidUtf8(source.Text());

    std::string& pending = reader.pending;
    if (!reader.entries.empty()) {
        data.Tail = std::move(pending);
    } else if (reader.insertAt) {
        data.Head = pending.substr(0, *reader.insertAt);
        data.Tail = pending.substr(*reader.insertAt);
    } else {
        data.Head = std::move(pending);
        data.NeedEvents = true;
    }
    ssa = reader.ssa;
    return std::move(reader.entries);
}

} // namespace

std::size_t& SplitReadingAbove() {
    static std::size_t bytes = std::size_t{4} << 20;
    return bytes;
}

std::vector<PerTitle> ParseAss(const TextSource& source, TFormatData& data, bool& ssa) {
    // A big file's UTF-8 check, when still to come, is made by the reading threads, each over
    // the stretch it reads; till then the text is read as UTF-8: for every page in which an
    // ASCII byte is a character of its own the reading is the same.
    const bool entrySsa = ssa;
    return ReadCheckingUtf8(source, [&](int codePage, bool* utf8) {
        ssa = entrySsa;
        return ReadAss(source, codePage, data, ssa, utf8);
    });
}

namespace {

std::string DefaultRecord(const TFormatData& data, bool ssa) {
    const std::vector<std::string>& fields =
        data.EventFields.empty() ? StandardFields(ssa) : data.EventFields;
    std::string rec = "Dialogue: ";
    for (std::size_t k = 0; k < fields.size(); ++k) {
        const std::string& f = fields[k];
        if (k > 0) rec += ',';
        if (k + 1 == fields.size()) {
            AppendMark(rec, record::kText);
        } else if (f == "start") {
            AppendMark(rec, record::kStart);
        } else if (f == "end") {
            AppendMark(rec, record::kEnd);
        } else if (f == "layer") {
            rec += '0';
        } else if (f == "marked") {
            rec += "Marked=0";
        } else if (f == "style") {
            rec += "Default";
        } else if (f == "marginl" || f == "marginr" || f == "marginv") {
            rec += ssa ? "0000" : "0";
        }
    }
    rec += data.Eol;
    return rec;
}

std::string EventsHead(const TFormatData& data, bool ssa) {
    return "[Events]" + data.Eol + "Format: " +
           (ssa ? "Marked" : "Layer") +
           ", Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text" + data.Eol;
}

} // namespace

bool WriteAss(const SubTitle& doc, std::ostream& out, int first, bool skipBlank, int32_t offset,
              int last) {
    const TFormatData& data = doc.FormatData();
    const bool ssa = doc.FormatIndex() == FormatSSA;
    // A head without events gets them before its first entry, and the standard order.
    const std::string before = data.NeedEvents ? data.Eol + EventsHead(data, ssa) : std::string();
    TFormatData fields;
    fields.Eol = data.Eol;
    return WriteRecords(doc, out, first, last, skipBlank, offset, 0, kAss,
                        DefaultRecord(data.NeedEvents ? fields : data, ssa), before);
}

bool IsAssComment(std::string_view rec) {
    while (!rec.empty() && (rec.back() == '\n' || rec.back() == '\r'))
        rec.remove_suffix(1);
    const std::size_t nl = rec.find_last_of("\r\n");
    if (nl != std::string_view::npos) rec.remove_prefix(nl + 1);
    return StartsWithNoCase(TrimText(rec), "Comment:");
}

namespace {

std::string AssColour(uint32_t rgb, bool ssa) {
    const uint32_t bgr = (rgb & 0xFF) << 16 | (rgb & 0xFF00) | (rgb >> 16 & 0xFF);
    char buf[24];
    if (ssa)
        std::snprintf(buf, sizeof buf, "%u", bgr);
    else
        std::snprintf(buf, sizeof buf, "&H00%06X", bgr);
    return buf;
}

} // namespace

TFormatData NewFormatData(int32_t format, const TAssStyle& style) {
    TFormatData data;
    if (format == FormatWebVTT) {
        data.Eol = "\n";
        data.Head = "WEBVTT\n";
        return data;
    }
    if (format != FormatASS && format != FormatSSA) return data;
    const bool ssa = format == FormatSSA;
    const std::string& e = data.Eol;
    const std::string bold = style.Bold ? "-1" : "0";
    const std::string italic = style.Italic ? "-1" : "0";
    std::string h = "[Script Info]" + e + "; Written by Velitra" + e + "Title: " + e +
                    "ScriptType: " + (ssa ? "v4.00" : "v4.00+") + e +
                    "PlayResX: " + std::to_string(style.PlayResX) + e +
                    "PlayResY: " + std::to_string(style.PlayResY) + e;
    if (!ssa) h += "WrapStyle: 0" + e + "ScaledBorderAndShadow: yes" + e;
    h += e;
    if (ssa) {
        h += "[V4 Styles]" + e +
             "Format: Name, Fontname, Fontsize, PrimaryColour, SecondaryColour, TertiaryColour, "
             "BackColour, Bold, Italic, BorderStyle, Outline, Shadow, Alignment, MarginL, "
             "MarginR, MarginV, AlphaLevel, Encoding" +
             e + "Style: Default," + style.FontName + "," + std::to_string(style.FontSize) + "," +
             AssColour(style.Colour, true) + ",65535,65535,0," + bold + "," + italic +
             ",1,2,2,2,10,10,10,0,1" + e;
    } else {
        h += "[V4+ Styles]" + e +
             "Format: Name, Fontname, Fontsize, PrimaryColour, SecondaryColour, OutlineColour, "
             "BackColour, Bold, Italic, Underline, StrikeOut, ScaleX, ScaleY, Spacing, Angle, "
             "BorderStyle, Outline, Shadow, Alignment, MarginL, MarginR, MarginV, Encoding" +
             e + "Style: Default," + style.FontName + "," + std::to_string(style.FontSize) + "," +
             AssColour(style.Colour, false) + ",&H000000FF,&H00000000,&H00000000," + bold + "," +
             italic + ",0,0,100,100,0,0,1,2,2,2,10,10,10,1" + e;
    }
    h += e + EventsHead(data, ssa);
    data.Head = std::move(h);
    return data;
}
