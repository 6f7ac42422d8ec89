#include "Recovery.h"

#include <charconv>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string_view>

namespace {

// Version 2 adds a field format's head, tail and records, and each entry's record; copies of
// version 1, left by an earlier build, are still read.
constexpr std::string_view kMagic = "VELITRA-RECOVERY 2\n";
constexpr std::string_view kMagic1 = "VELITRA-RECOVERY 1\n";
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
    std::size_t Left() const { return rest_.size(); }
    // "name <length>\n<bytes>\n"
    bool Block(std::string_view name, std::string& out) {
        std::size_t n = 0;
        return Literal(name) && Literal(" ") && Number(n, '\n') && n <= rest_.size() &&
               Bytes(n, out);
    }

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

bool ReadHead(Reader& in, TRecoveryInfo& info, int* version = nullptr) {
    int encoding = 0;
    std::size_t nameLength = 0;
    const int v = in.Literal(kMagic) ? 2 : in.Literal(kMagic1) ? 1 : 0;
    if (version) *version = v;
    if (v == 0 || !in.Field("side", info.Side) || !in.Field("time", info.SavedAt) ||
        !in.Field("format", info.Format) || !in.Literal("rate ") ||
        !in.Number(info.FrameRate, '\n') || !in.Field("codepage", info.CodePage) ||
        !in.Field("encoding", encoding) || !ReadLineEnd(in, info) || !in.Field("count", info.Count) ||
        !in.Field("file", nameLength) || nameLength > kHeadLimit ||
        !in.Bytes(nameLength, info.FileName))
        return false;
    if (v == 1 && !in.Literal("entries\n")) return false;
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
    const TFormatData& data = doc.FormatData();
    std::size_t size = 512 + doc.FileName().size() + data.Head.size() + data.Tail.size() +
                       data.Eol.size();
    for (const std::string& f : data.EventFields)
        size += f.size() + 1;
    for (const std::string& r : data.Records)
        size += r.size() + 24;
    for (const PerTitle& e : doc.Entries())
        size += e.Text.size() + 47; // two times of 11 characters, lengths of 20 and 10, five marks
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
           doc.FileName() + "\n";
    // The field format's own parts, each as its length and bytes.
    const TFormatData& data = doc.FormatData();
    auto block = [&out](std::string_view name, std::string_view bytes) {
        out += name;
        out += ' ';
        out += std::to_string(bytes.size());
        out += '\n';
        out += bytes;
        out += '\n';
    };
    std::string fields;
    for (std::size_t k = 0; k < data.EventFields.size(); ++k)
        fields += (k > 0 ? "," : "") + data.EventFields[k];
    block("head", data.Head);
    block("tail", data.Tail);
    block("eol", data.Eol);
    block("fields", fields);
    out += "flags " + std::to_string(data.NeedEvents) + " " + std::to_string(data.ShortTimes) +
           " " + std::to_string(data.HourDigits) + "\nrecords " +
           std::to_string(data.Records.size()) + "\n";
    for (const std::string& r : data.Records)
        block("r", r);
    out += "entries\n";
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
        p = std::to_chars(p, end, e.Fields).ptr;
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

namespace {

// The field format's parts of a copy of version 2.
bool ReadFormatData(Reader& in, TFormatData& data) {
    std::string fields;
    int needEvents = 0, shortTimes = 0;
    std::size_t records = 0;
    if (!in.Block("head", data.Head) || !in.Block("tail", data.Tail) ||
        !in.Block("eol", data.Eol) || !in.Block("fields", fields) || !in.Literal("flags ") ||
        !in.Number(needEvents, ' ') || !in.Number(shortTimes, ' ') ||
        !in.Number(data.HourDigits, '\n') || !in.Literal("records ") ||
        !in.Number(records, '\n') || records == 0 || records > in.Left())
        return false;
    data.NeedEvents = needEvents != 0;
    data.ShortTimes = shortTimes != 0;
    data.EventFields.clear();
    for (std::size_t from = 0; !fields.empty();) {
        const std::size_t comma = fields.find(',', from);
        data.EventFields.push_back(fields.substr(from, comma - from));
        if (comma == std::string::npos) break;
        from = comma + 1;
    }
    data.Records.assign(records, std::string());
    for (std::string& r : data.Records)
        if (!in.Block("r", r)) return false;
    return in.Literal("entries\n");
}

} // namespace

std::optional<SubTitle> ReadRecovery(const std::string& path, TRecoveryInfo* infoOut) {
    const std::string bytes = ReadFile(path, std::string::npos);
    Reader in(bytes);
    TRecoveryInfo info;
    int version = 0;
    if (!ReadHead(in, info, &version)) return std::nullopt;
    TFormatData data;
    if (version == 2 && !ReadFormatData(in, data)) return std::nullopt;
    std::vector<PerTitle> entries;
    // Every entry takes at least six bytes: a count past that is damage, not a reason to reserve.
    entries.reserve(std::min<std::size_t>(static_cast<std::size_t>(info.Count), bytes.size() / 6));
    for (int i = 0; i < info.Count; ++i) {
        PerTitle e;
        std::size_t length = 0;
        if (!in.Number(e.Start, ' ') || !in.Number(e.End, ' ') ||
            (version == 2 && !in.Number(e.Fields, ' ')) || !in.Number(length, '\n') ||
            !in.Bytes(length, e.Text))
            return std::nullopt;
        if (e.Fields >= data.Records.size()) return std::nullopt;
        entries.push_back(std::move(e));
    }
    if (!in.Literal("end\n") || !in.AtEnd()) return std::nullopt;
    if (infoOut) *infoOut = info;
    return SubTitle::Restore(std::move(entries), info.FileName, info.Format, info.FrameRate,
                             info.CodePage, info.Encoding, std::move(data), info.LineEnds);
}
