#include "Subtitle.h"

#include "Editing.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <ostream>

namespace {

const char* const kFormatTags[] = {"SRT", "MSUB", "SSUB", "VTT", "ASS", "SSA"};

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

SubTitle SubTitle::Restore(std::vector<PerTitle> entries, const std::string& fileName,
                           int32_t format, double frameRate, int codePage, FileEncoding encoding,
                           LineEnd lineEnd) {
    return Restore(std::move(entries), fileName, format, frameRate, codePage, encoding,
                   TFormatData(), lineEnd);
}

SubTitle SubTitle::Restore(std::vector<PerTitle> entries, const std::string& fileName,
                           int32_t format, double frameRate, int codePage, FileEncoding encoding,
                           TFormatData data, LineEnd lineEnd) {
    SubTitle doc;
    doc.entries_ = std::move(entries);
    doc.loaded_ = true;
    doc.fileName_ = fileName;
    doc.format_ = format >= FormatSubRip && format <= FormatSSA ? format : FormatSubRip;
    // A field format's document always has a head to write its entries under.
    if (IsFieldFormat(doc.format_) && data.Head.empty()) data = NewFormatData(doc.format_);
    if (data.Records.empty()) data.Records.emplace_back();
    data.Reindex();
    // Entries of records the table lacks take the defaults.
    for (PerTitle& e : doc.entries_)
        if (e.Fields >= data.Records.size() || !KeepsRecords(doc.format_)) e.Fields = 0;
    doc.data_ = std::move(data);
    doc.frameRate_ = std::isfinite(frameRate) && frameRate > 0 ? frameRate : 25.0;
    doc.codePage_ = codePage;
    doc.encoding_ = encoding;
    doc.lineEnd_ = lineEnd;
    doc.modified_ = true;
    return doc;
}

namespace {

bool IsNumberText(std::string_view t) {
    if (t.empty() || t.size() > 10) return false;
    for (char c : t)
        if (c < '0' || c > '9') return false;
    return true;
}

// What the content says the file is: WebVTT, ASS/SSA or SubRip by their first lines, or
// nothing.
int32_t FormatByContent(const TextSource& source) {
    const std::string_view text = source.Text();
    if (text.substr(0, 6) == "WEBVTT" &&
        (text.size() == 6 || text[6] == ' ' || text[6] == '\t' || text[6] == '\r' ||
         text[6] == '\n'))
        return FormatWebVTT;
    TextSource::Cursor cursor(source);
    std::string_view line;
    // Lines of ASS comments may come before its first section.
    while (cursor.Next(line) && (TrimText(line).empty() || TrimText(line).front() == ';')) {
    }
    const std::string_view first = TrimText(line);
    if (first.size() == 13) {
        std::string lower(first);
        for (char& c : lower)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (lower == "[script info]") return FormatASS;
    }
    if (first.find("-->") != std::string_view::npos) return FormatSubRip;
    std::string_view second;
    if (IsNumberText(first) && cursor.Next(second) && second.find("-->") != std::string_view::npos)
        return FormatSubRip;
    return FormatNone;
}

} // namespace

void SubTitle::Load(TextSource source, const std::string& fileName, double frameRate,
                    const FrameRateQuestionWithProposal& ask) {
    if (source.Empty()) return;
    const std::string ext = LowerExtension(fileName);
    int32_t format = FormatByContent(source);
    if (format == FormatNone) {
        if (ext == ".srt") format = FormatSubRip;
        else if (ext == ".vtt") format = FormatWebVTT;
        else if (ext == ".ass" || ext == ".ssa") format = FormatASS;
        else if (ext == ".sub") format = FormatMicroDVD; // or SubViewer, by its first line
        else return;
    }
    // The ASS and WebVTT readers check a big text's UTF-8 on their own threads as they read; for
    // the others it is checked beside them.
    if (format != FormatASS && format != FormatWebVTT) source.CheckCodePageBeside();
    // Counted by the source before the readers: they hand the mapped pages they are done with
    // back, and a pass after them would bring the whole file in again beside the document.
    const LineEnd lineEnd = source.LineEnds();
    double rate = frameRate;
    if (format == FormatSubRip) {
        entries_ = ParseSubRip(source);
    } else if (format == FormatWebVTT) {
        entries_ = ParseWebVtt(source, data_);
    } else if (format == FormatASS) {
        bool ssa = ext == ".ssa";
        entries_ = ParseAss(source, data_, ssa);
        if (ssa) format = FormatSSA;
    } else {
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
            entries_ = ParseMicroDVD(source, rate, &data_);
            format = FormatMicroDVD;
        }
    }
    loaded_ = true;
    format_ = format;
    fileName_ = fileName;
    frameRate_ = rate;
    codePage_ = source.CodePage();
    encoding_ = source.Encoding();
    lineEnd_ = lineEnd;
    modified_ = false;
}

std::string_view SubTitle::Record(uint32_t fields) const {
    return fields < data_.Records.size() ? std::string_view(data_.Records[fields])
                                         : std::string_view();
}

uint32_t SubTitle::InternRecord(std::string_view record) const {
    return data_.Intern(record);
}

std::string SubTitle::FormatName() const {
    if (!loaded_ || format_ < 0 || format_ > FormatSSA) return {};
    return kFormatTags[format_];
}

const PerTitle* SubTitle::Item(int index) const {
    if (!loaded_ || index < 0 || index >= static_cast<int>(entries_.size())) return nullptr;
    return &entries_[static_cast<std::size_t>(index)];
}

int SubTitle::CheckHunk(const THunk& hunk, int count) {
    if (const auto* splice = std::get_if<TSplice>(&hunk)) {
        if (splice->First < 0 || splice->Count < 0 || splice->First > count ||
            splice->Count > count - splice->First)
            throw SubtitleError("A change reaches past the entries of the document.");
        const std::size_t after =
            static_cast<std::size_t>(count - splice->Count) + splice->Entries.size();
        if (after > static_cast<std::size_t>(std::numeric_limits<int32_t>::max()))
            throw SubtitleError("A document holds at most 2147483647 entries.");
        return static_cast<int>(after);
    }
    if (const auto* recode = std::get_if<TRecode>(&hunk)) {
        const bool unicode = recode->CodePage == kCodePageUtf8;
        if (!IsSupportedCodePage(recode->CodePage) ||
            (!unicode && recode->Encoding != FileEncoding::Plain))
            throw SubtitleError("A change names an encoding the document cannot be stored in.");
        return count;
    }
    const auto& retime = std::get<TRetime>(hunk);
    if (retime.First < 0 || retime.First > count ||
        retime.Times.size() > static_cast<std::size_t>(count - retime.First))
        throw SubtitleError("A change reaches past the entries of the document.");
    return count;
}

THunk SubTitle::Apply(THunk hunk) {
    CheckHunk(hunk, Count());
    if (auto* splice = std::get_if<TSplice>(&hunk)) {
        const auto at = entries_.begin() + splice->First;
        const std::size_t n = splice->Entries.size();
        const std::size_t common =
            std::min<std::size_t>(n, static_cast<std::size_t>(splice->Count));
        // The entries that go are swapped out, so a change of a few texts moves a few texts.
        std::swap_ranges(splice->Entries.begin(), splice->Entries.begin() + common, at);
        TSplice back{splice->First, static_cast<int32_t>(n), std::move(splice->Entries)};
        if (n > common) {
            entries_.insert(at + common, std::make_move_iterator(back.Entries.begin() + common),
                            std::make_move_iterator(back.Entries.end()));
            back.Entries.resize(common);
        } else if (static_cast<std::size_t>(splice->Count) > common) {
            const auto from = at + common, to = at + splice->Count;
            back.Entries.insert(back.Entries.end(), std::make_move_iterator(from),
                                std::make_move_iterator(to));
            entries_.erase(from, to);
        }
        if (n > 0 || splice->Count > 0) modified_ = true;
        return back;
    }
    if (auto* recode = std::get_if<TRecode>(&hunk)) {
        if (recode->CodePage != codePage_ || recode->Encoding != encoding_) modified_ = true;
        std::swap(codePage_, recode->CodePage);
        std::swap(encoding_, recode->Encoding);
        return hunk;
    }
    auto& retime = std::get<TRetime>(hunk);
    for (std::size_t k = 0; k < retime.Times.size(); ++k) {
        PerTitle& e = entries_[static_cast<std::size_t>(retime.First) + k];
        std::swap(e.Start, retime.Times[k].Start);
        std::swap(e.End, retime.Times[k].End);
    }
    if (!retime.Times.empty()) modified_ = true;
    return hunk;
}

void SubTitle::Check(const TChange& change) const {
    int count = Count();
    for (const THunk& hunk : change.Hunks)
        count = CheckHunk(hunk, count);
}

TChange SubTitle::Apply(TChange change) {
    Check(change);
    TChange back;
    back.Hunks.reserve(change.Hunks.size());
    for (THunk& hunk : change.Hunks)
        back.Hunks.push_back(Apply(std::move(hunk)));
    std::reverse(back.Hunks.begin(), back.Hunks.end());
    return back;
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
        WithLineEnd(lineEnd_, [&](std::ostream& out) {
            switch (format_) {
            case FormatSubRip:
                return WriteSubRip(*this, out, 0, false, 0, 0, last);
            case FormatMicroDVD:
                return WriteMicroDVD(*this, out, 0, false, 0, frameRate_, last);
            case FormatSubViewer:
                return WriteSubViewer(*this, out, 0, false, 0, false, last);
            case FormatWebVTT:
                return WriteWebVtt(*this, out, 0, false, 0, 0, last);
            case FormatASS:
            case FormatSSA:
                return WriteAss(*this, out, 0, false, 0, last);
            default:
                return false;
            }
        }),
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

std::size_t TChange::Bytes() const {
    std::size_t bytes = sizeof(TChange) + Hunks.capacity() * sizeof(THunk);
    for (const THunk& hunk : Hunks) {
        if (const auto* splice = std::get_if<TSplice>(&hunk)) {
            bytes += splice->Entries.capacity() * sizeof(PerTitle);
            for (const PerTitle& e : splice->Entries)
                if (e.Text.capacity() > 15) bytes += e.Text.capacity() + 1;
        } else if (const auto* retime = std::get_if<TRetime>(&hunk)) {
            bytes += retime->Times.capacity() * sizeof(TEntryTimes);
        }
    }
    return bytes;
}
