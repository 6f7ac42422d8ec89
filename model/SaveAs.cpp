#include "SaveAs.h"

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

SaveAsResult SaveAs(const SubTitle& doc, const std::string& fileName, const SaveAsOptions& o) {
    if (!doc.IsLoaded()) return Refused("the document is not loaded");
    const int count = doc.Count();
    if (o.first <= o.last && (o.first < 0 || o.last >= count))
        return Refused("entries " + std::to_string(int64_t{o.first} + 1) + " to " +
                       std::to_string(int64_t{o.last} + 1) + " are not all in a document of " +
                       std::to_string(count) + " entries");
    if (o.format != FormatSubRip && o.format != FormatMicroDVD && o.format != FormatSubViewer)
        return Refused("unknown subtitle format " + std::to_string(o.format));
    if (o.format == FormatMicroDVD && (!std::isfinite(o.frameRate) || o.frameRate <= 0))
        return Refused("the frame rate must be a number above 0");

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
        default:
            return WriteSubViewer(doc, out, o.first, o.skipBlank, offset, o.centre, o.last);
        }
    };
    SaveAsResult result;
    if (!WriteFileAtomically(fileName, doc.Encoding(), write, &result.why)) {
        if (result.why.empty()) result.why = "cannot write " + fileName;
        return result;
    }
    result.ok = true;
    const int codePage = doc.CodePage();
    for (int k = o.first; k <= o.last; ++k)
        if (!o.skipBlank || !IsBlankText(doc.Item(k)->Text, codePage)) ++result.written;
    return result;
}
