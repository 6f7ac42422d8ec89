#pragma once
// Simplified and Traditional Chinese: converting the texts of a document between them with
// OpenCC's phrase tables (Taiwan's and Hong Kong's words, not only their characters).
//
// Texts are converted as text: decoded from the document's code page, converted, encoded back.
// ASS override tags ("{\fn微软雅黑}") and SubRip/WebVTT tags ("<font ...>") are kept as they
// are, and so are the "|" line breaks.
#include "Change.h"
#include "Subtitle.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The conversions offered, by OpenCC's configuration names.
enum class TChineseDirection { S2twp, S2t, S2hk, T2s, Tw2sp, Hk2s };

// "s2twp", "s2t", "s2hk", "t2s", "tw2sp", "hk2s", in the order of the enum.
const std::vector<std::string_view>& ChineseDirectionNames();
std::string_view ChineseDirectionName(TChineseDirection direction);
std::optional<TChineseDirection> ChineseDirectionFromName(std::string_view name);
// Whether the direction's result is Simplified text.
bool ToSimplified(TChineseDirection direction);

// Where OpenCC's configurations are read from: $VELITRA_OPENCC_DATA when set, else the folder
// the build found them in.
std::string ChineseDataFolder();
// The directions whose configuration file exists there, in the order of the enum.
std::vector<TChineseDirection> AvailableChineseDirections();

// One opened OpenCC converter. Throws SubtitleError, with a message naming the file, when its
// configuration is missing or cannot be read.
class TChineseConverter {
public:
    explicit TChineseConverter(TChineseDirection direction);
    ~TChineseConverter();
    TChineseConverter(const TChineseConverter&) = delete;
    TChineseConverter& operator=(const TChineseConverter&) = delete;

    TChineseDirection Direction() const { return direction_; }
    // One UTF-8 text converted, tags and "|" kept.
    std::string Convert(std::string_view utf8) const;
    // Many UTF-8 texts converted in place, handed to OpenCC in large batches.
    void ConvertMany(std::vector<std::string>& utf8) const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
    TChineseDirection direction_;
};

// The conversion of entries first..last of a document, ready to apply.
struct TChineseResult {
    // One step: the texts that change and, when asked, the document's new code page. Empty when
    // nothing changes or some text cannot be held in the page (Unfit > 0).
    TChange Change;
    int Changed = 0;     // entries whose text changes
    int Unfit = 0;       // entries whose text the page cannot hold
    int FirstUnfit = -1; // the first of them (0-based), or -1
    int CodePage = 0;    // the page the texts are judged in
};

// Called now and then with the entries done of the total; false stops the work (the result is
// then empty).
using TChineseProgress = std::function<bool(int done, int total)>;

// Converts entries first..last (clamped to the document). With recodeTo, the document takes that
// code page in the same change (stored without byte-order mark), and every other text is
// re-encoded into it too. A text that does not decode in the document's page stays as it is
// without recodeTo, and cannot be held with it.
TChineseResult ChineseChange(const SubTitle& doc, const TChineseConverter& converter, int first,
                             int last, std::optional<int> recodeTo = std::nullopt,
                             const TChineseProgress& progress = {});

// The pages offered when the result cannot be held in the document's: UTF-8, then GBK for a
// Simplified result or Big5 for a Traditional one.
std::vector<int> ChineseRecodePages(TChineseDirection direction);

// One entry of a preview, in UTF-8.
struct TChinesePreviewRow {
    int Index;
    std::string Before;
    std::string After;
};
// The first count entries of first..last whose text the conversion changes.
std::vector<TChinesePreviewRow> ChinesePreview(const SubTitle& doc,
                                               const TChineseConverter& converter, int first,
                                               int last, int count);
