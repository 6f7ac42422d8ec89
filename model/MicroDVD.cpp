#include "FormatCommon.h"
#include "TimeFormat.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace {

// Reads "{n}" at pos; on success moves pos past it.
bool ScanFrameField(std::string_view line, std::size_t& pos, int64_t& frame) {
    if (pos >= line.size() || line[pos] != '{') return false;
    std::size_t stop = 0;
    int64_t value = 0;
    if (ScanNumbersAt(line.substr(pos + 1), "", &value, 1, std::numeric_limits<int64_t>::min(),
                      std::numeric_limits<int64_t>::max(), &stop) != 1)
        return false;
    const std::size_t close = pos + 1 + stop;
    if (close >= line.size() || line[close] != '}') return false;
    frame = value;
    pos = close + 1;
    return true;
}

} // namespace

int32_t FrameToMs(int64_t frame, double rate) {
    const RationalRate r = ToRational(rate);
    if (r.num <= 0) return 0;
    // The first whole millisecond inside the frame (away from zero for negative frames), so that
    // the writer's truncation gives the same frame back.
    const __int128 numerator = static_cast<__int128>(frame) * 1000 * r.den;
    __int128 ms = numerator / r.num;
    if (numerator % r.num != 0) ms += frame > 0 ? 1 : -1;
    return ms < INT32_MIN ? INT32_MIN : ms > INT32_MAX ? INT32_MAX : static_cast<int32_t>(ms);
}

std::optional<double> StatedFrameRate(const TextSource& source) {
    TextSource::Cursor cursor(source);
    std::string_view line;
    while (cursor.Next(line) && TrimText(line).empty()) {
    }
    std::size_t pos = 0;
    int64_t start = -1, end = -1;
    if (!ScanFrameField(line, pos, start) || !ScanFrameField(line, pos, end) || start != end ||
        (start != 0 && start != 1))
        return std::nullopt;
    const std::string_view text = TrimText(line.substr(pos));
    double rate = 0;
    const auto [stop, error] = std::from_chars(text.data(), text.data() + text.size(), rate);
    if (text.empty() || error != std::errc() || stop != text.data() + text.size() ||
        !std::isfinite(rate) || rate <= 0)
        return std::nullopt;
    return rate;
}

std::vector<PerTitle> ParseMicroDVD(const TextSource& source, double frameRate,
                                    TFormatData* data) {
    const int codePage = source.CodePage();
    std::vector<PerTitle> entries;
    TextSource::Cursor cursor(source);
    std::string_view line;
    while (cursor.Next(line)) {
        if (TrimText(line).empty()) continue;
        // Fields the line does not supply count as frame 0.
        int64_t startFrame = 0, endFrame = 0;
        std::size_t pos = 0;
        if (ScanFrameField(line, pos, startFrame)) ScanFrameField(line, pos, endFrame);
        // Style codes in braces right after the frames belong to no caption line; braces later
        // in the line are the caption's own.
        const std::size_t codes = pos;
        while (pos < line.size() && line[pos] == '{') {
            const std::size_t close = FindMarker(codePage, line, "}", pos + 1);
            if (close == std::string_view::npos) break;
            pos = close + 1;
        }
        const uint32_t fields = data && pos > codes ? data->Intern(line.substr(codes, pos - codes)) : 0;
        entries.emplace_back(FrameToMs(startFrame, frameRate), FrameToMs(endFrame, frameRate),
                             std::string(line.substr(pos)), fields);
    }
    return entries;
}

bool WriteMicroDVD(const SubTitle& doc, std::ostream& out, int first, bool skipBlank,
                   int32_t offset, double frameRate, int last) {
    if (!WritableRange(doc, first, last)) return false;
    const int codePage = doc.CodePage();
    // The style codes read after the frames, put back where they were.
    const bool codes = doc.FormatIndex() == FormatMicroDVD;
    std::string line;
    for (int k = first; k <= last; ++k) {
        const PerTitle& e = *doc.Item(k);
        if (skipBlank && IsBlankText(e.Text, codePage)) continue;
        line.clear();
        line += '{';
        line += MsToFrameText(AddMs(offset, e.Start), frameRate);
        line += "}{";
        line += MsToFrameText(AddMs(offset, e.End), frameRate);
        line += "}";
        if (codes) line.append(doc.Record(e.Fields));
        line += e.Text;
        line += "\r\n";
        if (!Put(out, line)) return false;
    }
    return true;
}
