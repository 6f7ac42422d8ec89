#include "Chinese.h"

#include "CodePage.h"
#include "Editing.h"
#include "TextConverter.h"
#include "TextTags.h"

#include <opencc/SimpleConverter.hpp>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <exception>
#include <filesystem>

#ifndef VELITRA_OPENCC_DATA
#define VELITRA_OPENCC_DATA "/usr/share/opencc"
#endif

namespace {

constexpr std::array<std::string_view, 6> kNames = {"s2twp", "s2t", "s2hk", "t2s", "tw2sp", "hk2s"};

std::filesystem::path ConfigPath(TChineseDirection direction) {
    return std::filesystem::path(ChineseDataFolder()) /
           (std::string(ChineseDirectionName(direction)) + ".json");
}

bool HasHighByte(std::string_view text) {
    return std::any_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

// The end (one past) of a tag or kept mark starting at pos, or pos when none starts there: a
// tag, the "|" line break, and line ends.
std::size_t KeptEnd(std::string_view text, std::size_t pos) {
    const char c = text[pos];
    if (c == '|' || c == '\n' || c == '\r') return pos + 1;
    return TagEnd(text, pos);
}

// Calls run(begin, end, convert) for the pieces of a text in order: the pieces to convert (text
// outside tags that holds a character above ASCII) and those kept as they are.
template <class Run> void ForEachPiece(std::string_view text, Run run) {
    std::size_t pieceStart = 0, pos = 0;
    auto flush = [&](std::size_t end) {
        if (end > pieceStart)
            run(pieceStart, end, HasHighByte(text.substr(pieceStart, end - pieceStart)));
    };
    while (pos < text.size()) {
        const std::size_t kept = KeptEnd(text, pos);
        if (kept == pos) {
            ++pos;
            continue;
        }
        flush(pos);
        run(pos, kept, false);
        pieceStart = pos = kept;
    }
    flush(text.size());
}

// OpenCC works best on large texts: pieces are joined by line feeds (which no phrase crosses)
// into batches of about this many bytes.
constexpr std::size_t kBatchBytes = 1 << 22;

} // namespace

const std::vector<std::string_view>& ChineseDirectionNames() {
    static const std::vector<std::string_view> names(kNames.begin(), kNames.end());
    return names;
}

std::string_view ChineseDirectionName(TChineseDirection direction) {
    return kNames[static_cast<std::size_t>(direction)];
}

std::optional<TChineseDirection> ChineseDirectionFromName(std::string_view name) {
    for (std::size_t k = 0; k < kNames.size(); ++k)
        if (kNames[k] == name) return static_cast<TChineseDirection>(k);
    return std::nullopt;
}

bool ToSimplified(TChineseDirection direction) {
    return direction == TChineseDirection::T2s || direction == TChineseDirection::Tw2sp ||
           direction == TChineseDirection::Hk2s;
}

std::string ChineseDataFolder() {
    const char* folder = std::getenv("VELITRA_OPENCC_DATA");
    return folder && *folder ? folder : VELITRA_OPENCC_DATA;
}

std::vector<TChineseDirection> AvailableChineseDirections() {
    std::vector<TChineseDirection> found;
    for (std::size_t k = 0; k < kNames.size(); ++k) {
        const auto direction = static_cast<TChineseDirection>(k);
        std::error_code error;
        if (std::filesystem::is_regular_file(ConfigPath(direction), error))
            found.push_back(direction);
    }
    return found;
}

struct TChineseConverter::Impl {
    explicit Impl(const std::string& config) : opencc(config) {}
    opencc::SimpleConverter opencc;
};

TChineseConverter::TChineseConverter(TChineseDirection direction) : direction_(direction) {
    const std::filesystem::path config = ConfigPath(direction);
    std::error_code error;
    if (!std::filesystem::is_regular_file(config, error))
        throw SubtitleError("The Chinese conversion " + std::string(ChineseDirectionName(direction)) +
                            " is not installed: " + config.string() +
                            " is missing (Debian package libopencc-data).");
    try {
        impl_ = std::make_unique<Impl>(config.string());
    } catch (const std::exception& e) {
        throw SubtitleError("The Chinese conversion " + std::string(ChineseDirectionName(direction)) +
                            " cannot be read from " + config.string() + ": " + e.what());
    }
}

TChineseConverter::~TChineseConverter() = default;

std::string TChineseConverter::Convert(std::string_view utf8) const {
    std::vector<std::string> one{std::string(utf8)};
    ConvertMany(one);
    return std::move(one.front());
}

void TChineseConverter::ConvertMany(std::vector<std::string>& texts) const {
    struct Piece {
        std::size_t Text;
        std::size_t Begin, End;
        bool Convert;
    };
    std::vector<Piece> pieces;
    std::string batch, rebuilt;
    std::size_t firstText = 0;
    // Converts the batch and rebuilds texts firstText..lastText from their pieces.
    auto run = [&](std::size_t endText) {
        if (firstText == endText) return;
        std::string converted;
        try {
            converted = impl_->opencc.Convert(batch.data(), batch.size());
        } catch (const std::exception& e) {
            throw SubtitleError(std::string("The Chinese conversion failed: ") + e.what());
        }
        std::size_t at = 0, p = 0;
        for (std::size_t t = firstText; t < endText; ++t) {
            std::string& text = texts[t];
            if (p == pieces.size() || pieces[p].Text != t) continue; // nothing to convert
            rebuilt.clear();
            for (; p < pieces.size() && pieces[p].Text == t; ++p) {
                const Piece& piece = pieces[p];
                if (!piece.Convert) {
                    rebuilt.append(text, piece.Begin, piece.End - piece.Begin);
                    continue;
                }
                std::size_t lineEnd = converted.find('\n', at);
                if (lineEnd == std::string::npos) lineEnd = converted.size();
                rebuilt.append(converted, at, lineEnd - at);
                at = lineEnd + 1;
            }
            text.swap(rebuilt);
        }
        pieces.clear();
        batch.clear();
        firstText = endText;
    };
    for (std::size_t t = 0; t < texts.size(); ++t) {
        const std::string_view text = texts[t];
        if (!HasHighByte(text)) continue;
        ForEachPiece(text, [&](std::size_t begin, std::size_t end, bool convert) {
            pieces.push_back({t, begin, end, convert});
            if (convert) {
                batch.append(text.substr(begin, end - begin));
                batch.push_back('\n');
            }
        });
        if (batch.size() >= kBatchBytes) run(t + 1);
    }
    run(texts.size());
}

std::vector<int> ChineseRecodePages(TChineseDirection direction) {
    return {kCodePageUtf8, ToSimplified(direction) ? kCodePageGbk : kCodePageBig5};
}

namespace {

constexpr int kBlock = 1 << 16;

} // namespace

TChineseResult ChineseChange(const SubTitle& doc, const TChineseConverter& converter, int first,
                             int last, std::optional<int> recodeTo,
                             const TChineseProgress& progress) {
    const int page = doc.CodePage();
    const bool recode = recodeTo && *recodeTo != page;
    TChineseResult result;
    result.CodePage = recode ? *recodeTo : page;
    first = std::max(first, 0);
    last = std::min(last, doc.Count() - 1);
    const int from = recode ? 0 : first;
    const int to = recode ? doc.Count() - 1 : last;
    if (from > to && !recode) return result;

    TextConverter decoder(page, kCodePageUtf8);
    TextConverter encoder(kCodePageUtf8, result.CodePage);
    if (recode) result.Change.Hunks.emplace_back(TRecode{result.CodePage, FileEncoding::Plain});

    auto unfit = [&](int index) {
        if (result.Unfit++ == 0) result.FirstUnfit = index;
    };
    // Block by block: the texts above ASCII decoded, those of the stretch converted in one call,
    // then every one encoded into the page in entry order, so that neighbours join one splice.
    std::vector<int> indexes;
    std::vector<std::string> texts, work;
    std::string bytes;
    for (int blockStart = from; blockStart <= to; blockStart += kBlock) {
        const int blockEnd =
            static_cast<int>(std::min<int64_t>(int64_t{blockStart} + kBlock - 1, to));
        indexes.clear();
        texts.clear();
        work.clear();
        for (int i = blockStart; i <= blockEnd; ++i) {
            const PerTitle& e = *doc.Item(i);
            if (!HasHighByte(e.Text)) continue;
            std::string utf8;
            if (!decoder.Convert(e.Text, utf8)) {
                if (recode) unfit(i);
                continue;
            }
            if (i >= first && i <= last) work.push_back(utf8);
            indexes.push_back(i);
            texts.push_back(std::move(utf8));
        }
        converter.ConvertMany(work);
        for (std::size_t k = 0, w = 0; k < indexes.size(); ++k) {
            const int i = indexes[k];
            const PerTitle& e = *doc.Item(i);
            bool changed = false;
            if (i >= first && i <= last) {
                changed = work[w] != texts[k];
                if (changed) texts[k].swap(work[w]);
                ++w;
            }
            if (!changed && !recode) continue;
            if (!encoder.Convert(texts[k], bytes)) {
                unfit(i);
                continue;
            }
            if (changed) ++result.Changed;
            if (bytes != e.Text) AddReplacement(result.Change, i, PerTitle(e.Start, e.End, bytes));
        }
        if (progress && !progress(blockEnd - from + 1, to - from + 1)) return {};
    }
    if (result.Unfit > 0 || (result.Changed == 0 && !recode)) result.Change = {};
    return result;
}

std::vector<TChinesePreviewRow> ChinesePreview(const SubTitle& doc,
                                               const TChineseConverter& converter, int first,
                                               int last, int count) {
    std::vector<TChinesePreviewRow> rows;
    first = std::max(first, 0);
    last = std::min(last, doc.Count() - 1);
    TextConverter decoder(doc.CodePage(), kCodePageUtf8);
    std::vector<int> indexes;
    std::vector<std::string> before, after;
    // Small blocks first: the first changed entries are usually near the start.
    int block = 64;
    for (int start = first; start <= last && static_cast<int>(rows.size()) < count;
         start += block, block = std::min(block * 4, kBlock)) {
        const int end = static_cast<int>(std::min<int64_t>(int64_t{start} + block - 1, last));
        indexes.clear();
        before.clear();
        for (int i = start; i <= end; ++i) {
            std::string utf8;
            if (!HasHighByte(doc.Item(i)->Text) || !decoder.Convert(doc.Item(i)->Text, utf8))
                continue;
            indexes.push_back(i);
            before.push_back(std::move(utf8));
        }
        after = before;
        converter.ConvertMany(after);
        for (std::size_t k = 0; k < indexes.size() && static_cast<int>(rows.size()) < count; ++k)
            if (after[k] != before[k]) rows.push_back({indexes[k], before[k], after[k]});
    }
    return rows;
}
