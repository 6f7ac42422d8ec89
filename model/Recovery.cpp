#include "Recovery.h"

#include <charconv>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string_view>

namespace {

constexpr std::string_view kMagic = "VELITRA-RECOVERY 1\n";
constexpr std::size_t kHeadLimit = 1 << 20; // a head longer than this is no copy of ours

// Reads the copy's lines and byte runs from the front, refusing anything out of shape.
class Reader {
public:
    explicit Reader(std::string_view bytes) : rest_(bytes) {}

    bool Literal(std::string_view text) {
        if (rest_.substr(0, text.size()) != text) return false;
        rest_.remove_prefix(text.size());
        return true;
    }
    template <class T> bool Number(T& value, char end) {
        const auto [ptr, error] = std::from_chars(rest_.data(), rest_.data() + rest_.size(), value);
        if (error != std::errc() || ptr == rest_.data() + rest_.size() || *ptr != end) return false;
        rest_.remove_prefix(static_cast<std::size_t>(ptr - rest_.data()) + 1);
        return true;
    }
    bool Field(std::string_view name, auto& value) {
        return Literal(name) && Literal(" ") && Number(value, '\n');
    }
    bool Bytes(std::size_t n, std::string& out) {
        if (rest_.size() < n + 1 || rest_[n] != '\n') return false;
        out.assign(rest_.data(), n);
        rest_.remove_prefix(n + 1);
        return true;
    }
    bool AtEnd() const { return rest_.empty(); }

private:
    std::string_view rest_;
};

// Copies made before documents knew their line ends have no such line: they end lines with CR LF.
bool ReadLineEnd(Reader& in, TRecoveryInfo& info) {
    info.LineEnds = LineEnd::CrLf;
    if (!in.Literal("eol ")) return true;
    int lf = 0;
    if (!in.Number(lf, '\n') || lf < 0 || lf > 1) return false;
    info.LineEnds = lf ? LineEnd::Lf : LineEnd::CrLf;
    return true;
}

bool ReadHead(Reader& in, TRecoveryInfo& info) {
    int encoding = 0;
    std::size_t nameLength = 0;
    if (!in.Literal(kMagic) || !in.Field("side", info.Side) || !in.Field("time", info.SavedAt) ||
        !in.Field("format", info.Format) || !in.Literal("rate ") ||
        !in.Number(info.FrameRate, '\n') || !in.Field("codepage", info.CodePage) ||
        !in.Field("encoding", encoding) || !ReadLineEnd(in, info) || !in.Field("count", info.Count) ||
        !in.Field("file", nameLength) || nameLength > kHeadLimit ||
        !in.Bytes(nameLength, info.FileName) || !in.Literal("entries\n"))
        return false;
    if (encoding < 0 || encoding > static_cast<int>(FileEncoding::Utf16BE) || info.Count < 0 ||
        info.Side < 0 || info.Side > 1)
        return false;
    info.Encoding = static_cast<FileEncoding>(encoding);
    return true;
}

std::string ReadFile(const std::string& path, std::size_t limit) {
    std::ifstream file(path, std::ios::binary);
    std::string bytes;
    if (!file) return bytes;
    if (limit == std::string::npos) return {std::istreambuf_iterator<char>(file), {}};
    bytes.resize(limit);
    file.read(bytes.data(), static_cast<std::streamsize>(limit));
    bytes.resize(static_cast<std::size_t>(file.gcount()));
    return bytes;
}

} // namespace

std::size_t RecoveryBytesBound(const SubTitle& doc) {
    std::size_t size = 512 + doc.FileName().size();
    for (const PerTitle& e : doc.Entries())
        size += e.Text.size() + 36; // two times of 11 characters, a length of 20, four marks
    return size;
}

void RecoveryBytes(const SubTitle& doc, int side, int64_t savedAt, std::string& out) {
    char rate[64];
    std::snprintf(rate, sizeof rate, "%.17g", doc.FrameRate());
    out.clear();
    out.reserve(RecoveryBytesBound(doc));
    out += kMagic;
    out += "side " + std::to_string(side) + "\ntime " + std::to_string(savedAt) + "\nformat " +
           std::to_string(doc.FormatIndex()) + "\nrate " + rate + "\ncodepage " +
           std::to_string(doc.CodePage()) + "\nencoding " +
           std::to_string(static_cast<int>(doc.Encoding())) + "\neol " +
           (doc.LineEnds() == LineEnd::Lf ? "1" : "0") + "\ncount " +
           std::to_string(doc.Count()) + "\nfile " + std::to_string(doc.FileName().size()) + "\n" +
           doc.FileName() + "\nentries\n";
    // Written in place into storage sized once (and, made again, already there).
    const std::size_t head = out.size();
    out.resize(RecoveryBytesBound(doc));
    char* p = out.data() + head;
    char* const end = out.data() + out.size();
    for (const PerTitle& e : doc.Entries()) {
        p = std::to_chars(p, end, e.Start).ptr;
        *p++ = ' ';
        p = std::to_chars(p, end, e.End).ptr;
        *p++ = ' ';
        p = std::to_chars(p, end, e.Text.size()).ptr;
        *p++ = '\n';
        std::memcpy(p, e.Text.data(), e.Text.size());
        p += e.Text.size();
        *p++ = '\n';
    }
    out.resize(static_cast<std::size_t>(p - out.data()));
    out += "end\n";
}

std::string RecoveryBytes(const SubTitle& doc, int side, int64_t savedAt) {
    std::string out;
    RecoveryBytes(doc, side, savedAt, out);
    return out;
}

std::optional<TRecoveryInfo> ReadRecoveryInfo(const std::string& path) {
    const std::string head = ReadFile(path, kHeadLimit + 512);
    Reader in(head);
    TRecoveryInfo info;
    if (!ReadHead(in, info)) return std::nullopt;
    return info;
}

std::optional<SubTitle> ReadRecovery(const std::string& path, TRecoveryInfo* infoOut) {
    const std::string bytes = ReadFile(path, std::string::npos);
    Reader in(bytes);
    TRecoveryInfo info;
    if (!ReadHead(in, info)) return std::nullopt;
    std::vector<PerTitle> entries;
    // Every entry takes at least six bytes: a count past that is damage, not a reason to reserve.
    entries.reserve(std::min<std::size_t>(static_cast<std::size_t>(info.Count), bytes.size() / 6));
    for (int i = 0; i < info.Count; ++i) {
        PerTitle e;
        std::size_t length = 0;
        if (!in.Number(e.Start, ' ') || !in.Number(e.End, ' ') || !in.Number(length, '\n') ||
            !in.Bytes(length, e.Text))
            return std::nullopt;
        entries.push_back(std::move(e));
    }
    if (!in.Literal("end\n") || !in.AtEnd()) return std::nullopt;
    if (infoOut) *infoOut = info;
    return SubTitle::Restore(std::move(entries), info.FileName, info.Format, info.FrameRate,
                             info.CodePage, info.Encoding, info.LineEnds);
}
