#include "SaveAs.h"

#include "FormatRecords.h"
#include "Tags.h"
#include "TextConverter.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <ostream>

namespace {

SaveAsResult Refused(std::string why) {
    SaveAsResult result;
    result.why = std::move(why);
    return result;
}

} // namespace

const std::vector<OutputEncoding>& OutputEncodings() {
    static const std::vector<OutputEncoding> encodings{
        {kCodePageUtf8, FileEncoding::Plain},        {kCodePageUtf8, FileEncoding::Utf8Bom},
        {kCodePageUtf8, FileEncoding::Utf16LE},      {kCodePageBig5, FileEncoding::Plain},
        {kCodePageGbk, FileEncoding::Plain},         {kCodePageGb18030, FileEncoding::Plain},
        {kCodePageShiftJis, FileEncoding::Plain},    {kCodePageEucKr, FileEncoding::Plain},
        {kCodePageWindows1252, FileEncoding::Plain},
    };
    return encodings;
}

std::optional<OutputEncoding> OutputEncodingFromName(std::string_view name) {
    std::string key;
    for (char c : name) {
        if (c == '-' || c == '_' || c == ' ') continue;
        key += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    }
    if (key == "utf8" || key == "65001") return OutputEncoding{kCodePageUtf8, FileEncoding::Plain};
    if (key == "utf8bom" || key == "utf8sig")
        return OutputEncoding{kCodePageUtf8, FileEncoding::Utf8Bom};
    if (key == "utf16" || key == "utf16le")
        return OutputEncoding{kCodePageUtf8, FileEncoding::Utf16LE};
    if (key == "utf16be") return OutputEncoding{kCodePageUtf8, FileEncoding::Utf16BE};
    if (std::optional<int> page = LegacyCodePageFromName(name))
        return OutputEncoding{*page, FileEncoding::Plain};
    return std::nullopt;
}

SaveAsResult SaveAs(const SubTitle& doc, const std::string& fileName, const SaveAsOptions& o) {
    if (!doc.IsLoaded()) return Refused("the document is not loaded");
    const int count = doc.Count();
    if (o.first <= o.last && (o.first < 0 || o.last >= count))
        return Refused("entries " + std::to_string(int64_t{o.first} + 1) + " to " +
                       std::to_string(int64_t{o.last} + 1) + " are not all in a document of " +
                       std::to_string(count) + " entries");
    if (o.format < FormatSubRip || o.format > FormatSSA)
        return Refused("unknown subtitle format " + std::to_string(o.format));
    if (o.format == FormatMicroDVD && (!std::isfinite(o.frameRate) || o.frameRate <= 0))
        return Refused("the frame rate must be a number above 0");

    // Into or out of a field format: the stretch with its tags carried over and the new
    // format's head, written as that format's own document.
    if (o.format != doc.FormatIndex() &&
        (IsFieldFormat(o.format) || IsFieldFormat(doc.FormatIndex()))) {
        const int page = doc.CodePage();
        std::vector<PerTitle> converted;
        std::vector<int> origin; // the document's index of each copy
        int dropped = 0;
        // Entry first goes to the new start (even when it is a comment left out).
        const int32_t offset = o.newStart && o.first <= o.last
                                   ? SaturateMs(int64_t{*o.newStart} - doc.Item(o.first)->Start)
                                   : 0;
        if (o.first <= o.last) {
            converted.reserve(static_cast<std::size_t>(o.last - o.first + 1));
            const bool ass = doc.FormatIndex() == FormatASS || doc.FormatIndex() == FormatSSA;
            const bool microDvd = doc.FormatIndex() == FormatMicroDVD;
            std::string styled;
            for (int k = o.first; k <= o.last; ++k) {
                const PerTitle& e = *doc.Item(k);
                // An ASS Comment line is shown by no player: another format would show it.
                if (ass && IsAssComment(doc.Record(e.Fields))) continue;
                origin.push_back(k);
                // MicroDVD's codes after the frames ({y:i}) style the caption they stand before.
                std::string_view text = e.Text;
                if (microDvd && e.Fields != 0) {
                    styled.assign(doc.Record(e.Fields));
                    styled += e.Text;
                    text = styled;
                }
                converted.emplace_back(AddMs(e.Start, offset), AddMs(e.End, offset),
                                       ConvertTags(text, doc.FormatIndex(), o.format, page, dropped));
            }
        }
        TFormatData data = NewFormatData(o.format, o.assStyle);
        if (page != kCodePageUtf8) {
            std::optional<std::string> head = FromUtf8(page, ToUtf8(kCodePageUtf8, data.Head));
            if (!head) { // a font name the page cannot hold
                TAssStyle plain = o.assStyle;
                plain.FontName = "Arial";
                data = NewFormatData(o.format, plain);
            } else {
                data.Head = std::move(*head);
            }
        }
        const SubTitle copy =
            SubTitle::Restore(std::move(converted), doc.FileName(), o.format, doc.FrameRate(),
                              page, doc.Encoding(), std::move(data));
        SaveAsOptions rest = o;
        rest.first = 0;
        rest.last = static_cast<int>(copy.Count()) - 1;
        if (!rest.renumberFrom) rest.renumberFrom = o.first + 1;
        rest.newStart.reset(); // the times were moved on the way
        SaveAsResult result = SaveAs(copy, fileName, rest);
        result.droppedTags += dropped;
        if (result.unheldEntry && *result.unheldEntry >= 0 &&
            *result.unheldEntry < static_cast<int>(origin.size())) {
            result.unheldEntry = origin[static_cast<std::size_t>(*result.unheldEntry)];
            result.why = "the text of entry " + std::to_string(*result.unheldEntry + 1) +
                         " cannot be written in " +
                         CodePageName(o.encoding ? o.encoding->codePage : page);
        }
        return result;
    }

    // Another code page: the stretch's texts converted first, so that a text the page cannot
    // hold stops the save before a byte is written. The copy holds the stretch alone.
    const int fromPage = doc.CodePage();
    const OutputEncoding target = o.encoding.value_or(OutputEncoding{fromPage, doc.Encoding()});
    if (!IsSupportedCodePage(target.codePage) ||
        (target.encoding != FileEncoding::Plain && target.codePage != kCodePageUtf8))
        return Refused("unknown encoding");
    if (target.codePage != fromPage && o.first <= o.last) {
        std::vector<PerTitle> converted;
        converted.reserve(static_cast<std::size_t>(o.last - o.first + 1));
        TextConverter converter(fromPage, target.codePage);
        std::string text;
        for (int k = o.first; k <= o.last; ++k) {
            const PerTitle& e = *doc.Item(k);
            if (!converter.Convert(e.Text, text)) {
                // A text the document's own page cannot read is the document's fault, not the
                // target's.
                const bool unreadable = converter.LastFault() == TextConverter::Fault::Unreadable;
                SaveAsResult result =
                    Refused(unreadable ? "entry " + std::to_string(k + 1) + " is not valid " +
                                             CodePageName(fromPage)
                                       : "the text of entry " + std::to_string(k + 1) +
                                             " cannot be written in " +
                                             CodePageName(target.codePage));
                (unreadable ? result.unreadableEntry : result.unheldEntry) = k;
                return result;
            }
            converted.emplace_back(e.Start, e.End, text, e.Fields);
        }
        // The head, tail and records go along; they are converted as a whole, or given up for
        // the format's defaults where the page cannot hold them.
        TFormatData data = doc.FormatData();
        if (doc.FormatIndex() == FormatMicroDVD) {
            // The style codes in the new page; an entry whose codes it cannot hold goes without.
            std::vector<bool> lost(data.Records.size(), false);
            for (std::size_t r = 1; r < data.Records.size(); ++r) {
                if (converter.Convert(data.Records[r], text))
                    data.Records[r] = text;
                else
                    lost[r] = true;
            }
            for (PerTitle& e : converted)
                if (e.Fields < lost.size() && lost[e.Fields]) e.Fields = 0;
        }
        if (IsFieldFormat(doc.FormatIndex())) {
            bool held = true;
            auto convert = [&](std::string& bytes) {
                if (!held || bytes.empty()) return;
                if (!converter.Convert(bytes, text)) {
                    held = false;
                    return;
                }
                bytes = text;
            };
            convert(data.Head);
            convert(data.Tail);
            // A record keeps the lengths of times and texts as read: one with bytes beyond
            // ASCII would need them counted anew, and takes the defaults instead.
            for (PerTitle& e : converted) {
                const std::string_view rec = doc.Record(e.Fields);
                for (char c : rec)
                    if (static_cast<unsigned char>(c) >= 0x80) {
                        e.Fields = 0;
                        break;
                    }
            }
            if (!held) {
                TFormatData fresh = NewFormatData(doc.FormatIndex());
                fresh.Eol = data.Eol;
                data = std::move(fresh);
                for (PerTitle& e : converted)
                    e.Fields = 0;
            }
        }
        const SubTitle copy =
            SubTitle::Restore(std::move(converted), doc.FileName(), doc.FormatIndex(),
                              doc.FrameRate(), target.codePage, target.encoding, std::move(data),
                              doc.LineEnds());
        SaveAsOptions rest = o;
        rest.first = 0;
        rest.last = o.last - o.first;
        rest.encoding.reset();
        // The numbers and the new start stay those of the stretch in the document.
        if (!rest.renumberFrom) rest.renumberFrom = o.first + 1;
        if (!rest.newStart) rest.newStart = doc.Item(o.first)->Start;
        return SaveAs(copy, fileName, rest);
    }

    // Entry first goes to the new start; every other entry keeps its distance to it.
    int32_t offset = 0;
    if (o.newStart && o.first >= 0 && o.first < count)
        offset = SaturateMs(int64_t{*o.newStart} - doc.Item(o.first)->Start);
    // The writer numbers entries numberBase + 1, + 2, ...
    const int numberBase =
        o.renumberFrom ? static_cast<int>(std::max<int64_t>(int64_t{*o.renumberFrom} - 1, INT_MIN))
                       : o.first;

    auto write = [&](std::ostream& out) {
        switch (o.format) {
        case FormatSubRip:
            return WriteSubRip(doc, out, o.first, o.skipBlank, offset, numberBase, o.last);
        case FormatMicroDVD:
            return WriteMicroDVD(doc, out, o.first, o.skipBlank, offset, o.frameRate, o.last);
        case FormatWebVTT:
            return WriteWebVtt(doc, out, o.first, o.skipBlank, offset, numberBase, o.last);
        case FormatASS:
        case FormatSSA:
            return WriteAss(doc, out, o.first, o.skipBlank, offset, o.last);
        default:
            return WriteSubViewer(doc, out, o.first, o.skipBlank, offset, o.centre, o.last);
        }
    };
    SaveAsResult result;
    if (!WriteFileAtomically(fileName, target.encoding,
                             WithLineEnd(o.lineEnd.value_or(doc.LineEnds()), write), &result.why)) {
        if (result.why.empty()) result.why = "cannot write " + fileName;
        return result;
    }
    result.ok = true;
    const int codePage = doc.CodePage();
    for (int k = o.first; k <= o.last; ++k)
        if (!o.skipBlank || !IsBlankText(doc.Item(k)->Text, codePage)) ++result.written;
    return result;
}
