#include "FormatCommon.h"

#include <ctime>

namespace {

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
    // The title is a path of this system, held as UTF-8; the file holds it in its own code page
    // where it fits.
    const std::string name = doc.FileName();
    const std::string title = FromUtf8(codePage, name).value_or(name);
    const std::string font = FromUtf8(codePage, "標楷體").value_or("標楷體");
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

    // The header is every line at the top that begins with "["; the line that ends it (or the
    // last line, when all begin with "[") is read again as an entry line.
    std::size_t lastLine = 0;
    for (int number = 1;; ++number) {
        const std::size_t before = cursor.Position();
        if (!cursor.Next(line)) break;
        lastLine = before;
        if (line.empty())
            throw SubtitleError("Line " + std::to_string(number) +
                                " of the SubViewer header is empty: every line before the first "
                                "entry must begin with \"[\".");
        if (line.front() != '[') break;
    }
    cursor.Seek(lastLine);

    while (cursor.Next(line)) {
        if (TrimText(line).empty()) continue;
        const std::size_t comma = FindMarker(codePage, line, ",");
        if (comma == std::string_view::npos) continue;
        const int32_t start = SubViewerTimeToMs(line.substr(0, comma));
        const int32_t end = SubViewerTimeToMs(line.substr(comma + 1));
        std::string t;
        std::string_view textLine;
        if (cursor.Next(textLine)) t = TrimText(textLine);
        t = RemoveFullWidthSpaces(codePage, ReplaceMarker(codePage, t, "[br]", "[BR]"));
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
                if (i > 0) text += "[BR]";
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
