#include "SoundCache.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace {

// "VWF1" and the byte order it was written in: a file from another machine's order is no hit.
constexpr uint32_t kMagic = 0x31465756;
constexpr uint32_t kVersion = 1;
constexpr const char* kSuffix = ".vsound";
// No field of a good entry comes near this; a damaged length must not ask for gigabytes.
constexpr uint64_t kMostItems = uint64_t{1} << 32;

uint64_t Fnv1a(const std::string& text) {
    uint64_t h = 1469598103934665603ull;
    for (unsigned char c : text) {
        h ^= c;
        h *= 1099511628211ull;
    }
    return h;
}

class TWriter {
public:
    explicit TWriter(std::ostream& out) : out_(out) {}
    template <class T> void Put(const T& v) { out_.write(reinterpret_cast<const char*>(&v), sizeof v); }
    template <class T> void PutVector(const std::vector<T>& v) {
        Put<uint64_t>(v.size());
        out_.write(reinterpret_cast<const char*>(v.data()), std::streamsize(v.size() * sizeof(T)));
    }
    void PutString(const std::string& s) {
        Put<uint64_t>(s.size());
        out_.write(s.data(), std::streamsize(s.size()));
    }

private:
    std::ostream& out_;
};

class TReader {
public:
    TReader(const char* data, size_t size) : p_(data), end_(data + size) {}
    template <class T> bool Get(T& v) {
        if (size_t(end_ - p_) < sizeof v) return false;
        std::memcpy(&v, p_, sizeof v);
        p_ += sizeof v;
        return true;
    }
    template <class T> bool GetVector(std::vector<T>& v) {
        uint64_t n = 0;
        if (!Get(n) || n > kMostItems || n * sizeof(T) > size_t(end_ - p_)) return false;
        v.resize(n);
        std::memcpy(v.data(), p_, n * sizeof(T));
        p_ += n * sizeof(T);
        return true;
    }
    bool GetString(std::string& s) {
        uint64_t n = 0;
        if (!Get(n) || n > size_t(end_ - p_)) return false;
        s.assign(p_, n);
        p_ += n;
        return true;
    }
    bool AtEnd() const { return p_ == end_; }

private:
    const char* p_;
    const char* end_;
};

} // namespace

TSoundCache::TSoundCache(std::string folder, uint64_t limitBytes)
    : folder_(std::move(folder)), limit_(limitBytes) {}

bool TSoundCache::Locate(const std::string& filmPath, std::string* file, std::string* key) const {
    std::error_code ec;
    const fs::path film = fs::absolute(filmPath, ec);
    if (ec) return false;
    const uint64_t size = fs::file_size(film, ec);
    if (ec) return false;
    const auto mtime = fs::last_write_time(film, ec);
    if (ec) return false;
    *key = film.string() + '\n' + std::to_string(size) + '\n' +
           std::to_string(mtime.time_since_epoch().count());
    char name[32];
    std::snprintf(name, sizeof name, "%016llx", static_cast<unsigned long long>(Fnv1a(*key)));
    *file = (fs::path(folder_) / (std::string(name) + kSuffix)).string();
    return true;
}

std::optional<TSound> TSoundCache::Load(const std::string& filmPath) const {
    std::string file, key;
    if (!Locate(filmPath, &file, &key)) return std::nullopt;
    std::ifstream in(file, std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    TReader r(bytes.data(), bytes.size());
    uint32_t magic = 0, version = 0;
    std::string storedKey;
    TSound s;
    int32_t bucketMs = 0, columnMs = 0, bins = 0, maxHz = 0;
    if (!r.Get(magic) || magic != kMagic || !r.Get(version) || version != kVersion ||
        !r.GetString(storedKey) || storedKey != key || !r.Get(bucketMs) ||
        !r.Get(s.Wave.DurationMs) || !r.GetVector(s.Wave.Min) || !r.GetVector(s.Wave.Max) ||
        !r.Get(columnMs) || !r.Get(bins) || !r.Get(maxHz) || !r.GetVector(s.Spectrum.Cells) ||
        !r.GetVector(s.Keyframes) || !r.AtEnd())
        return std::nullopt;
    if (bucketMs <= 0 || columnMs <= 0 || bins <= 0 || maxHz <= 0 ||
        s.Wave.Min.size() != s.Wave.Max.size() || s.Spectrum.Cells.size() % bins != 0)
        return std::nullopt;
    s.Wave.BucketMs = bucketMs;
    s.Spectrum.ColumnMs = columnMs;
    s.Spectrum.Bins = bins;
    s.Spectrum.MaxHz = maxHz;
    // Used now: the trimming takes the entries used longest ago first.
    std::error_code ec;
    fs::last_write_time(file, fs::file_time_type::clock::now(), ec);
    return s;
}

bool TSoundCache::Store(const std::string& filmPath, const TSound& s, std::string* why) const {
    std::string file, key;
    if (!Locate(filmPath, &file, &key)) {
        if (why) *why = "the film cannot be looked at: " + filmPath;
        return false;
    }
    std::error_code ec;
    fs::create_directories(folder_, ec);
    const std::string temp = file + ".part";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        TWriter w(out);
        w.Put(kMagic);
        w.Put(kVersion);
        w.PutString(key);
        w.Put<int32_t>(s.Wave.BucketMs);
        w.Put<int64_t>(s.Wave.DurationMs);
        w.PutVector(s.Wave.Min);
        w.PutVector(s.Wave.Max);
        w.Put<int32_t>(s.Spectrum.ColumnMs);
        w.Put<int32_t>(s.Spectrum.Bins);
        w.Put<int32_t>(s.Spectrum.MaxHz);
        w.PutVector(s.Spectrum.Cells);
        w.PutVector(s.Keyframes);
        out.flush();
        if (!out) {
            out.close();
            fs::remove(temp, ec);
            if (why) *why = "the cache cannot be written: " + temp;
            return false;
        }
    }
    fs::rename(temp, file, ec);
    if (ec) {
        fs::remove(temp, ec);
        if (why) *why = "the cache cannot be written: " + file;
        return false;
    }
    Trim();
    return true;
}

void TSoundCache::Trim() const {
    struct Item {
        fs::path Path;
        uint64_t Size;
        fs::file_time_type Used;
    };
    std::vector<Item> items;
    uint64_t total = 0;
    std::error_code ec;
    for (fs::directory_iterator it(folder_, ec), end; !ec && it != end; it.increment(ec)) {
        if (!it->is_regular_file(ec) || it->path().extension() != kSuffix) continue;
        const uint64_t size = it->file_size(ec);
        if (ec) continue;
        items.push_back({it->path(), size, it->last_write_time(ec)});
        total += size;
    }
    std::sort(items.begin(), items.end(),
              [](const Item& a, const Item& b) { return a.Used < b.Used; });
    for (const Item& item : items) {
        if (total <= limit_) break;
        if (fs::remove(item.Path, ec)) total -= item.Size;
    }
}
