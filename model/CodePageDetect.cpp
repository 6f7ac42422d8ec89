// Detection of a file's legacy code page: ICU's charset detector proposes pages, and the rule of
// ChooseLegacyCodePage picks among them by confidence and by the structure each page finds.
#include "CodePage.h"
#include "CodePageBytes.h"

#include <unicode/ucsdet.h>

#include <algorithm>
#include <functional>
#include <utility>

using namespace codepage;

int ChooseLegacyCodePage(const std::vector<CodePageCandidate>& proposed, int fallback,
                         const std::function<bool(int)>& fits, int highBytes) {
    std::vector<CodePageCandidate> sorted = proposed;
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const CodePageCandidate& a, const CodePageCandidate& b) {
                         return a.confidence > b.confidence;
                     });
    const CodePageCandidate* latin = nullptr; // Windows-1252
    const CodePageCandidate* best = nullptr;  // the most confident double-byte page that fits
    for (const CodePageCandidate& c : sorted) {
        if (c.codePage == kCodePageWindows1252) {
            if (!latin) latin = &c;
        } else if (!best && fits(c.codePage)) {
            best = &c;
        }
    }
    // The detector's verdict on a single-byte page rests mostly on the ASCII around few
    // characters: it counts against a double-byte page that fits only with as much text above
    // ASCII as the double-byte verdicts need.
    if (latin && latin->confidence >= kDetectionThreshold &&
        (!best || (highBytes >= kSingleByteEvidence &&
                   latin->confidence >= best->confidence + kSingleByteMargin)) &&
        fits(kCodePageWindows1252))
        return kCodePageWindows1252;
    if (best && best->confidence >= kDetectionThreshold) {
        // Another page as sure as the best: the detector cannot tell them apart.
        for (const CodePageCandidate& c : sorted)
            if (&c != best && c.codePage != kCodePageWindows1252 &&
                c.confidence == best->confidence && fits(c.codePage))
                return fits(fallback) ? fallback : best->codePage;
        return best->codePage;
    }
    // Nothing sure enough: the language's page, unless it cannot even hold the text; then a
    // double-byte page that can, else Windows-1252, which holds any text without the five bytes
    // it leaves undefined (an English or French file of a few accents).
    if (fits(fallback)) return fallback;
    if (best) return best->codePage;
    if (fits(kCodePageWindows1252)) return kCodePageWindows1252;
    return fallback;
}

namespace {

// The detector's names of the pages read here. GB18030 stands for the whole GB family.
int CodePageOfDetectorName(std::string_view name) {
    if (name == "Big5") return kCodePageBig5;
    if (name == "GB18030") return kCodePageGbk;
    if (name == "Shift_JIS") return kCodePageShiftJis;
    if (name == "EUC-KR") return kCodePageEucKr;
    if (name == "ISO-8859-1" || name == "windows-1252") return kCodePageWindows1252;
    return 0;
}

// The detector reads this much of the text at most: enough for its statistics, and a fixed cost
// however long the file.
constexpr std::size_t kDetectionSample = std::size_t{64} << 10;

std::string_view DetectionSample(std::string_view text) {
    // From the line of the first byte above ASCII: lines of ASCII alone (numbers, times, English
    // credits) tell the detector nothing.
    const auto* s = reinterpret_cast<const unsigned char*>(text.data());
    std::size_t first = SkipAscii(s, 0, text.size());
    while (first < text.size() && s[first] < 0x80)
        ++first;
    const std::size_t lineStart = text.rfind('\n', first);
    text.remove_prefix(lineStart == std::string_view::npos ? 0 : lineStart + 1);
    std::string_view sample = text.substr(0, kDetectionSample);
    // Cut at a line end, so that the sample does not end inside a character.
    if (sample.size() < text.size()) {
        const std::size_t eol = sample.rfind('\n');
        if (eol != std::string_view::npos) sample = sample.substr(0, eol + 1);
    }
    return sample;
}

std::vector<CodePageCandidate> DetectorProposals(std::string_view sample) {
    std::vector<CodePageCandidate> proposed;
    UErrorCode status = U_ZERO_ERROR;
    UCharsetDetector* detector = ucsdet_open(&status);
    if (U_FAILURE(status)) return proposed;
    ucsdet_setText(detector, sample.data(), static_cast<int32_t>(sample.size()), &status);
    int32_t count = 0;
    const UCharsetMatch** matches = ucsdet_detectAll(detector, &count, &status);
    for (int32_t k = 0; U_SUCCESS(status) && k < count; ++k) {
        const char* name = ucsdet_getName(matches[k], &status);
        const int confidence = ucsdet_getConfidence(matches[k], &status);
        const int codePage = U_SUCCESS(status) && name ? CodePageOfDetectorName(name) : 0;
        if (codePage == 0) continue;
        bool known = false;
        for (CodePageCandidate& c : proposed)
            if (c.codePage == codePage) {
                c.confidence = std::max(c.confidence, confidence);
                known = true;
            }
        if (!known) proposed.push_back({codePage, confidence});
    }
    ucsdet_close(detector);
    return proposed;
}

} // namespace

int DetectLegacyCodePage(std::string_view text, const LegacyPage& legacy) {
    const int fallback = IsLegacyCodePage(legacy.fallback) ? legacy.fallback : kCodePageBig5;
    if (!legacy.detect) return fallback;
    // Each page's scan runs at most once; GBK stands for GB18030 too, which it becomes when only
    // the four-byte characters make the text fit.
    std::vector<std::pair<int, bool>> scanned;
    auto fitsPage = [&](int codePage) {
        for (const auto& [page, fits] : scanned)
            if (page == codePage) return fits;
        const bool fits = FitsCodePage(codePage, text);
        scanned.emplace_back(codePage, fits);
        return fits;
    };
    auto fits = [&](int codePage) {
        return fitsPage(codePage) || (codePage == kCodePageGbk && fitsPage(kCodePageGb18030));
    };
    std::string_view sample = DetectionSample(text);
    int highBytes = 0;
    for (char c : sample)
        highBytes += static_cast<unsigned char>(c) >= 0x80;
    int chosen = ChooseLegacyCodePage(DetectorProposals(sample), fallback, fits, highBytes);
    if (chosen == kCodePageGbk && !fitsPage(kCodePageGbk) && fitsPage(kCodePageGb18030))
        chosen = kCodePageGb18030;
    return chosen;
}
