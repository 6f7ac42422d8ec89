#pragma once
// Small helpers shared by the model tests: scratch folders, whole-file reads and writes, and
// documents built from bytes with a chosen list of entries.
#include "Subtitle.h"

#include <gtest/gtest.h>

#include <atomic>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <tuple>
#include <unistd.h>
#include <vector>

namespace testutil {

namespace fs = std::filesystem;

inline std::string FixturePath(const std::string& name) {
    return std::string(VELITRA_FIXTURES) + "/model/" + name;
}

inline std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good()) << "cannot write " << path;
}

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempDir {
public:
    TempDir() {
        static std::atomic<int> counter{0};
        path_ = fs::temp_directory_path() / ("velitra-model-test-" + std::to_string(::getpid()) +
                                             "-" + std::to_string(counter++));
        fs::remove_all(path_);
        fs::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ec;
        fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const fs::path& Path() const { return path_; }
    std::string File(const std::string& name) const { return (path_ / name).string(); }
    std::string Write(const std::string& name, const std::string& bytes) const {
        WriteBytes(path_ / name, bytes);
        return File(name);
    }
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(path_))
            names.push_back(e.path().filename().string());
        return names;
    }

private:
    fs::path path_;
};

// Sets the program's legacy code page for one scope and puts the old one back however the scope
// ends, so that a failing test leaves the next one the page it expects.
class LegacyCodePageGuard {
public:
    explicit LegacyCodePageGuard(int codePage) : old_(LegacyCodePage()) {
        EXPECT_TRUE(SetLegacyCodePage(codePage)) << codePage;
    }
    ~LegacyCodePageGuard() { SetLegacyCodePage(old_); }
    LegacyCodePageGuard(const LegacyCodePageGuard&) = delete;
    LegacyCodePageGuard& operator=(const LegacyCodePageGuard&) = delete;

private:
    int old_;
};

// A document's entries as (start, end, text), to compare with a table.
using Entry = std::tuple<int32_t, int32_t, std::string>;
using Entries = std::vector<Entry>;
inline Entries EntriesOf(const SubTitle& doc) {
    Entries out;
    for (const PerTitle& e : doc.Entries())
        out.emplace_back(e.Start, e.End, e.Text);
    return out;
}

// A document read from bytes as if it were a file of that name; no frame-rate question.
inline SubTitle Doc(const std::string& bytes, const std::string& name = "test.srt",
                    double rate = 25.0) {
    return SubTitle::FromBytes(bytes, name, rate);
}

// A loaded document of the given format and code page whose entries are exactly these. The
// source bytes only choose the code page: "\n" reads as UTF-8; a lone Big5 byte pair as Big5.
inline SubTitle DocWith(std::vector<PerTitle> entries, const std::string& name = "test.srt",
                        bool big5 = false, double rate = 25.0) {
    std::string seed;
    if (name.size() >= 4 && name.substr(name.size() - 4) == ".sub")
        seed = big5 ? "[INFORMATION]\xA5\x7C\r\n" : "[INFORMATION]\r\n";
    else
        seed = big5 ? "\xA5\x7C\r\n" : "\r\n";
    // The seed's CR LF is what the document writes (a save keeps the file's line ends).
    SubTitle doc = SubTitle::FromBytes(seed, name, rate);
    EXPECT_TRUE(doc.IsLoaded());
    TChange fill;
    fill.Hunks.emplace_back(TSplice{0, doc.Count(), std::move(entries)});
    doc.Apply(std::move(fill));
    doc.SetModified(false);
    return doc;
}

inline std::string WrittenSubRip(const SubTitle& doc, int first, bool skipBlank, int32_t offset,
                                 int numberBase, int last, bool* ok = nullptr) {
    std::ostringstream out;
    bool r = WriteSubRip(doc, out, first, skipBlank, offset, numberBase, last);
    if (ok) *ok = r;
    return out.str();
}

// While it lives, no file of this process may grow beyond limit bytes: a write past it fails
// (with SIGXFSZ ignored) as on a full disc, also for root.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t limit) {
        active_ = ::getrlimit(RLIMIT_FSIZE, &old_) == 0;
        EXPECT_TRUE(active_) << "cannot read the file-size limit";
        if (!active_) return;
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = old_;
        small.rlim_cur = limit;
        active_ = ::setrlimit(RLIMIT_FSIZE, &small) == 0;
        EXPECT_TRUE(active_) << "cannot set the file-size limit";
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;
    bool Active() const { return active_; }

private:
    rlimit old_{};
    void (*oldHandler_)(int) = SIG_DFL;
    bool active_ = false;
};

// A stream that takes the first `limit` bytes and then fails, to see a writer stop.
class LimitedBuf : public std::streambuf {
public:
    explicit LimitedBuf(std::size_t limit) : limit_(limit) {}
    std::string data;

protected:
    int_type overflow(int_type ch) override {
        if (traits_type::eq_int_type(ch, traits_type::eof())) return traits_type::not_eof(ch);
        if (data.size() >= limit_) return traits_type::eof();
        data.push_back(traits_type::to_char_type(ch));
        return ch;
    }
    std::streamsize xsputn(const char* s, std::streamsize n) override {
        std::streamsize done = 0;
        while (done < n && data.size() < limit_)
            data.push_back(s[done++]);
        return done;
    }

private:
    std::size_t limit_;
};

} // namespace testutil
