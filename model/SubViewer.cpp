#include "FormatCommon.h"

#include <ctime>

namespace {

// The end of the empty entry the header ends with.
constexpr int32_t kPlaceholderEnd = 100;

// Where the next line break "[br]" begins, in any case (other programs write "[BR]", "[br]" or
// "[Br]"), or npos.
std::size_t FindBreak(int codePage, std::string_view t, std::size_t from = 0) {
    for (std::size_t at; (at = FindMarker(codePage, t, "[", from)) != std::string_view::npos;
         from = at + 1) {
        // The letters after a "[" that starts a character are characters of their own.
        if (t.size() - at >= 4 && (t[at + 1] | 0x20) == 'b' && (t[at + 2] | 0x20) == 'r' &&
            t[at + 3] == ']')
            return at;
    }
    return std::string_view::npos;
}

// Every line break as "[BR]".
std::string NormaliseBreaks(int codePage, std::string_view t) {
    std::string out;
    std::size_t from = 0;
    for (std::size_t br; (br = FindBreak(codePage, t, from)) != std::string_view::npos;
         from = br + 4) {
        out.append(t.substr(from, br - from));
        out += "[BR]";
    }
    out.append(t.substr(from));
    return out;
}

// A time line: two times of digits, ":", "." and signs around the first ",".
bool IsTimeLine(std::string_view line) {
    const std::size_t comma = line.find(',');
    if (comma == std::string_view::npos) return false;
    auto isTime = [](std::string_view t) {
        t = TrimText(t);
        if (t.empty()) return false;
        for (char c : t)
            if (!((c >= '0' && c <= '9') || c == ':' || c == '.' || c == '-' || c == '+'))
                return false;
        return true;
    };
    return isTime(line.substr(0, comma)) && isTime(line.substr(comma + 1));
}

// The caption's pieces between "[BR]" marks, each trimmed, joined by "|"; an empty piece adds
// no joint while nothing has been gathered yet.
std::string JoinPieces(int codePage, std::string_view t) {
    std::string text;
    for (std::size_t br; (br = FindMarker(codePage, t, "[BR]")) != std::string_view::npos;) {
        if (!text.empty()) text += '|';
        text.append(TrimText(t.substr(0, br)));
        t.remove_prefix(br + 4);
    }
    if (!text.empty()) text += '|';
    text.append(TrimText(t));
    return text;
}

std::string Header(const SubTitle& doc) {
    const int codePage = doc.CodePage();
    // The title is a path of this system, held as UTF-8, and the font name is Chinese: the file
    // holds them in its own code page, or leaves them empty where the page cannot hold them
    // (bytes of another page would show as garbage).
    const std::string title = FromUtf8(codePage, doc.FileName()).value_or(std::string());
    const std::string font = FromUtf8(codePage, "標楷體").value_or(std::string());
    char date[32] = "";
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (localtime_r(&now, &local)) std::strftime(date, sizeof date, "%Y-%m-%d", &local);
    std::string header;
    header += "[INFORMATION]\r\n";
    header += "[TITLE]" + title + "\r\n";
    header += "[AUTHOR]Output By Velitra v0.5\r\n";
    header += "[SOURCE]\r\n";
    header += std::string("[DATE]") + date + "\r\n";
    header += "[VERSION]\r\n";
    header += "[PRG]\r\n";
    header += "[FILEPATH]\r\n";
    header += "[DELAY]0\r\n";
    header += "[CD TRACK]0\r\n";
    header += "[COMMENT]Kestrow Group.\r\n";
    header += "[END INFORMATION]\r\n";
    header += "[SUBTITLE]\r\n";
    header += "[COLF]&HFFFFFF,[STYLE]bd,[SIZE]24,[FONT]" + font + "\r\n";
    // The placeholder the reader knows and passes over (kPlaceholderEnd).
    header += "00:00:00.00,00:00:00.10\r\n";
    header += "\r\n";
    header += "\r\n";
    return header;
}

} // namespace

std::vector<PerTitle> ParseSubViewer(const TextSource& source) {
    const int codePage = source.CodePage();
    std::vector<PerTitle> entries;
    TextSource::Cursor cursor(source);
    std::string_view line;

    // The header is every line at the top that begins with "[", blank lines among and after them
    // skipped (other programs put them there); the line that ends it (or the last line, when all
    // begin with "[") is read again as an entry line.
    std::size_t lastLine = 0;
    for (;;) {
        const std::size_t before = cursor.Position();
        if (!cursor.Next(line)) break;
        if (TrimText(line).empty()) continue;
        lastLine = before;
        if (line.front() != '[') break;
    }
    cursor.Seek(lastLine);

    bool firstTimeLine = true;
    while (cursor.Next(line)) {
        if (TrimText(line).empty()) continue;
        const std::size_t comma = FindMarker(codePage, line, ",");
        if (comma == std::string_view::npos) continue;
        const int32_t start = SubViewerTimeToMs(line.substr(0, comma));
        const int32_t end = SubViewerTimeToMs(line.substr(comma + 1));
        std::string t;
        std::string_view textLine;
        if (cursor.Next(textLine)) t = TrimText(textLine);
        // Some programs break a caption into lines of the file instead of "[br]": the lines up to
        // the blank line that are no time lines are read as if "[br]" joined them.
        for (std::size_t mark = cursor.Position(); cursor.Next(textLine);
             mark = cursor.Position()) {
            if (TrimText(textLine).empty() || IsTimeLine(textLine)) {
                cursor.Seek(mark);
                break;
            }
            t += "[BR]";
            t += TrimText(textLine);
        }
        t = RemoveFullWidthSpaces(codePage, NormaliseBreaks(codePage, t));
        // The header's fixed placeholder (the first time line, 0 to 100 ms, without text, as the
        // writer puts it there) is part of the header, not an entry.
        const bool placeholder = firstTimeLine && start == 0 && end == kPlaceholderEnd && t.empty();
        firstTimeLine = false;
        if (placeholder) continue;
        entries.emplace_back(start, end, JoinPieces(codePage, t));
    }
    return entries;
}

bool WriteSubViewer(const SubTitle& doc, std::ostream& out, int first, bool skipBlank,
                    int32_t offset, bool centre, int last) {
    if (!WritableRange(doc, first, last)) return false;
    if (!Put(out, Header(doc))) return false;
    const int codePage = doc.CodePage();
    std::vector<std::string_view> pieces;
    std::string text;
    for (int k = first; k <= last; ++k) {
        const PerTitle& e = *doc.Item(k);
        if (skipBlank && IsBlankText(e.Text, codePage)) continue;
        if (!Put(out, MsToSubViewerTime(AddMs(offset, e.Start)) + "," +
                          MsToSubViewerTime(AddMs(offset, e.End)) + "\r\n"))
            return false;
        std::string_view rest = e.Text;
        if (FindMarker(codePage, rest, "|") == std::string_view::npos) {
            text = rest; // a single line goes out as it is: not trimmed, not centred
        } else {
            pieces.clear();
            for (std::size_t bar;
                 (bar = FindMarker(codePage, rest, "|")) != std::string_view::npos;) {
                pieces.push_back(TrimText(rest.substr(0, bar)));
                rest.remove_prefix(bar + 1);
            }
            pieces.push_back(TrimText(rest));
            int widest = 0;
            for (std::string_view piece : pieces)
                widest = std::max(widest, DisplayWidth(codePage, piece));
            text.clear();
            for (std::size_t i = 0; i < pieces.size(); ++i) {
                if (i > 0) text += "[br]";
                if (centre)
                    text.append(static_cast<std::size_t>(
                                    (widest - DisplayWidth(codePage, pieces[i]) + 1) / 2),
                                ' ');
                text.append(pieces[i]);
            }
        }
        text += "\r\n\r\n";
        if (!Put(out, text)) return false;
    }
    return true;
}
