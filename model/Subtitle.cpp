#include "Subtitle.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <ostream>

namespace {

const char* const kFormatTags[] = {"SRT", "MSUB", "SSUB"};

// The extension decides the reader: from the last "." of the file's own name, in lower case.
std::string LowerExtension(const std::string& fileName) {
    const std::size_t slash = fileName.find_last_of("/\\");
    const std::size_t dot = fileName.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
    std::string ext = fileName.substr(dot);
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) {
        return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    });
    return ext;
}

void RequireUsableRate(double rate, const std::string& text) {
    if (!std::isfinite(rate) || rate <= 0)
        throw SubtitleError("\"" + text +
                            "\" is not a frame rate: type the number of frames per second, "
                            "a number above 0 such as 23.976");
}

} // namespace

double ParseFrameRate(std::string_view text) {
    std::string_view t = TrimText(text);
    if (!t.empty() && t.front() == '+') t.remove_prefix(1);
    double rate = 0;
    const auto [end, error] = std::from_chars(t.data(), t.data() + t.size(), rate);
    if (t.empty() || error != std::errc() || end != t.data() + t.size()) rate = std::nan("");
    RequireUsableRate(rate, std::string(text));
    return rate;
}

namespace {

// The question without a proposal ignores it.
FrameRateQuestionWithProposal IgnoringProposal(FrameRateQuestion ask) {
    if (!ask) return {};
    return [ask = std::move(ask)](std::optional<double>) { return ask(); };
}

} // namespace

SubTitle::SubTitle(const std::string& fileName, double frameRate, FrameRateQuestion ask,
                   LegacyPage legacy)
    : SubTitle(fileName, frameRate, IgnoringProposal(std::move(ask)), legacy) {}

SubTitle::SubTitle(const std::string& fileName, double frameRate, FrameRateQuestionWithProposal ask,
                   LegacyPage legacy) {
    Load(TextSource::FromFile(fileName, legacy), fileName, frameRate, ask);
}

SubTitle SubTitle::FromBytes(std::string bytes, const std::string& fileName, double frameRate,
                             FrameRateQuestion ask, LegacyPage legacy) {
    return FromBytes(std::move(bytes), fileName, frameRate, IgnoringProposal(std::move(ask)),
                     legacy);
}

SubTitle SubTitle::FromBytes(std::string bytes, const std::string& fileName, double frameRate,
                             FrameRateQuestionWithProposal ask, LegacyPage legacy) {
    SubTitle doc;
    doc.Load(TextSource::FromBytes(std::move(bytes), legacy), fileName, frameRate, ask);
    return doc;
}

void SubTitle::Load(TextSource source, const std::string& fileName, double frameRate,
                    const FrameRateQuestionWithProposal& ask) {
    if (source.Empty()) return;
    const std::string ext = LowerExtension(fileName);
    int32_t format = FormatNone;
    double rate = frameRate;
    if (ext == ".srt") {
        entries_ = ParseSubRip(source);
        format = FormatSubRip;
    } else if (ext == ".sub") {
        TextSource::Cursor cursor(source);
        std::string_view first;
        cursor.Next(first);
        if (FindMarker(source.CodePage(), first, "[INFORMATION]") != std::string_view::npos) {
            entries_ = ParseSubViewer(source);
            format = FormatSubViewer;
        } else {
            if (ask) {
                std::optional<std::string> answer = ask(StatedFrameRate(source));
                if (!answer) return; // the user cancelled: nothing is loaded
                rate = ParseFrameRate(*answer);
            } else {
                RequireUsableRate(rate, std::to_string(rate));
            }
            entries_ = ParseMicroDVD(source, rate);
            format = FormatMicroDVD;
        }
    } else {
        return;
    }
    loaded_ = true;
    format_ = format;
    fileName_ = fileName;
    frameRate_ = rate;
    codePage_ = source.CodePage();
    encoding_ = source.Encoding();
    modified_ = false;
}

std::string SubTitle::FormatName() const {
    if (!loaded_ || format_ < 0 || format_ > 2) return {};
    return kFormatTags[format_];
}

PerTitle* SubTitle::Item(int index) {
    if (!loaded_ || index < 0 || index >= static_cast<int>(entries_.size())) return nullptr;
    return &entries_[static_cast<std::size_t>(index)];
}

const PerTitle* SubTitle::Item(int index) const {
    return const_cast<SubTitle*>(this)->Item(index);
}

bool SubTitle::InRange(int first, int last) const {
    return first >= 0 && first <= last && last < static_cast<int>(entries_.size());
}

void SubTitle::ShiftRange(int first, int last, int32_t delta) {
    if (!loaded_) return;
    if (last < first) {
        modified_ = true;
        return;
    }
    if (!InRange(first, last)) return;
    for (int i = first; i <= last; ++i)
        entries_[static_cast<std::size_t>(i)].Shift(delta);
    modified_ = true;
}

void SubTitle::RescaleRange(int first, int last, int32_t newStartOfLast, int32_t newStartOfFirst) {
    if (!loaded_) return;
    if (last < first) {
        modified_ = true;
        return;
    }
    if (!InRange(first, last)) return;
    const int64_t a = entries_[static_cast<std::size_t>(first)].Start;
    const int64_t b = entries_[static_cast<std::size_t>(last)].Start;
    if (a == b)
        throw SubtitleError("The first and the last entry start at the same time (" +
                            MsToTimeText(static_cast<int32_t>(a)) +
                            "), so they cannot be spread to new times.");
    // The straight line through (a, q) and (b, p), in exact integer arithmetic: the last entry
    // starts exactly at p and every time is truncated toward zero once.
    const __int128 p = newStartOfLast, q = newStartOfFirst, span = b - a;
    auto line = [&](int64_t offset, __int128 anchor) {
        const __int128 value = (static_cast<__int128>(offset) * (p - q) + anchor * span) / span;
        return value < INT32_MIN   ? INT32_MIN
               : value > INT32_MAX ? INT32_MAX
                                   : static_cast<int32_t>(value);
    };
    for (int i = first; i <= last; ++i) {
        PerTitle& e = entries_[static_cast<std::size_t>(i)];
        e.Start = line(e.Start - a, q);
        e.End = line(e.End - b, p);
    }
    modified_ = true;
}

void SubTitle::Insert(int index, const PerTitle& entry) {
    if (!loaded_ || index < 0 || index > static_cast<int>(entries_.size())) return;
    entries_.insert(entries_.begin() + index, entry);
    modified_ = true;
}

void SubTitle::InsertFrom(int position, const SubTitle& source, int last, int first) {
    if (!loaded_) return;
    if (last < first) {
        modified_ = true;
        return;
    }
    if (!source.loaded_ || !source.InRange(first, last) || position < 0 ||
        position > static_cast<int>(entries_.size()))
        return;
    // Copied first, so that a document can take entries from itself and a text that does not
    // fit this code page stops the whole insertion before anything changes.
    std::vector<PerTitle> copies(source.entries_.begin() + first,
                                 source.entries_.begin() + last + 1);
    if (source.codePage_ != codePage_) {
        for (std::size_t k = 0; k < copies.size(); ++k) {
            std::optional<std::string> text =
                ConvertText(source.codePage_, codePage_, copies[k].Text);
            if (!text)
                throw SubtitleError("Entry " + std::to_string(first + 1 + static_cast<int>(k)) +
                                    " of " + source.fileName_ + " cannot be written in " +
                                    CodePageName(codePage_) + ": nothing was inserted.");
            copies[k].Text = std::move(*text);
        }
    }
    entries_.insert(entries_.begin() + position, std::make_move_iterator(copies.begin()),
                    std::make_move_iterator(copies.end()));
    modified_ = true;
}

void SubTitle::InsertBlank(int index, int n) {
    if (!loaded_ || n < 0 || index < 0 || index > static_cast<int>(entries_.size())) return;
    const int32_t t = index > 0 ? AddMs(entries_[static_cast<std::size_t>(index) - 1].End, 10) : 0;
    entries_.insert(entries_.begin() + index, static_cast<std::size_t>(n), PerTitle(t, t, ""));
    modified_ = true;
}

void SubTitle::EraseRange(int first, int last) {
    if (!loaded_) return;
    if (last < first) {
        modified_ = true;
        return;
    }
    if (!InRange(first, last)) return;
    entries_.erase(entries_.begin() + first, entries_.begin() + last + 1);
    modified_ = true;
}

bool SubTitle::Save() {
    return Save(nullptr);
}

bool SubTitle::Save(std::string* why) {
    if (!loaded_ || entries_.empty()) {
        if (why) *why = "the document has no entries to save";
        return false;
    }
    const int last = Count() - 1;
    const bool ok = WriteFileAtomically(
        fileName_, encoding_,
        [&](std::ostream& out) {
            switch (format_) {
            case FormatSubRip:
                return WriteSubRip(*this, out, 0, false, 0, 0, last);
            case FormatMicroDVD:
                return WriteMicroDVD(*this, out, 0, false, 0, frameRate_, last);
            case FormatSubViewer:
                return WriteSubViewer(*this, out, 0, false, 0, false, last);
            default:
                return false;
            }
        },
        why);
    if (ok) modified_ = false;
    return ok;
}

std::vector<std::string> ReadLines(const std::string& fileName) {
    const TextSource source = TextSource::FromFile(fileName);
    std::vector<std::string> lines;
    TextSource::Cursor cursor(source);
    std::string_view line;
    while (cursor.Next(line))
        lines.emplace_back(line);
    return lines;
}
