#include "TextFile.h"

#include "CodePage.h"

#include <unicode/ustring.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <ostream>
#include <sstream>
#include <streambuf>
#include <thread>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {
constexpr std::size_t kReleaseStep = std::size_t{1} << 22;
constexpr std::size_t kParallelCheck = std::size_t{1} << 22;
constexpr std::size_t kHeadCheck = std::size_t{1} << 16;
} // namespace

// The bytes of a source: a read-only mapping of a regular file, or a buffer of our own (bytes
// handed in, a pipe, or text converted from UTF-16).
struct TextSource::Storage {
    std::string bytes;
    void* map = nullptr;
    std::size_t mapLength = 0;
    ~Storage() {
        if (map) ::munmap(map, mapLength);
    }
    std::string_view View() const {
        return map ? std::string_view(static_cast<const char*>(map), mapLength)
                   : std::string_view(bytes);
    }
    // Lets the kernel take back mapped pages that lie wholly inside [from, to): a big file is
    // read once from front to back, and the pages already read need not count against memory.
    // Two readers of one file each hand back only pages of their own stretch.
    void Release(std::size_t from, std::size_t to) {
        if (!map) return;
        static const std::size_t page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
        const std::size_t begin = (from + page - 1) / page * page;
        const std::size_t end = to / page * page;
        if (end > begin) ::madvise(static_cast<char*>(map) + begin, end - begin, MADV_DONTNEED);
    }
};

TextSource::TextSource(TextSource&&) noexcept = default;
TextSource& TextSource::operator=(TextSource&&) noexcept = default;
TextSource::~TextSource() = default;

namespace {

// Maps a regular file; reads anything else (a pipe) into the buffer.
bool ReadWholeFile(const std::string& fileName, std::string& bytes, void*& map,
                   std::size_t& mapLength) {
    const int fd = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        ::close(fd);
        return false;
    }
    if (S_ISREG(st.st_mode) && st.st_size > 0) {
        const auto length = static_cast<std::size_t>(st.st_size);
        void* p = ::mmap(nullptr, length, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
        if (p != MAP_FAILED) {
            ::close(fd);
            map = p;
            mapLength = length;
            return true;
        }
    }
    bytes.resize(65536);
    std::size_t used = 0;
    for (;;) {
        if (used == bytes.size()) bytes.resize(bytes.size() * 2);
        const ssize_t n = ::read(fd, bytes.data() + used, bytes.size() - used);
        if (n < 0) {
            if (errno == EINTR) continue;
            ::close(fd);
            return false;
        }
        if (n == 0) break;
        used += static_cast<std::size_t>(n);
    }
    ::close(fd);
    bytes.resize(used);
    return true;
}

std::string Utf16ToUtf8(std::string_view bytes, bool bigEndian) {
    std::u16string wide(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < wide.size(); ++i) {
        const auto a = static_cast<unsigned char>(bytes[2 * i]);
        const auto b = static_cast<unsigned char>(bytes[2 * i + 1]);
        wide[i] = static_cast<char16_t>(bigEndian ? (a << 8 | b) : (b << 8 | a));
    }
    std::string out(wide.size() * 3, '\0');
    int32_t length = 0;
    UErrorCode status = U_ZERO_ERROR;
    // A lone surrogate cannot be held as UTF-8; it is shown as U+FFFD.
    u_strToUTF8WithSub(out.data(), static_cast<int32_t>(out.size()), &length, wide.data(),
                       static_cast<int32_t>(wide.size()), 0xFFFD, nullptr, &status);
    out.resize(U_SUCCESS(status) ? length : 0);
    return out;
}

bool Utf8ToUtf16(std::string_view text, bool bigEndian, std::string& out) {
    std::u16string wide(text.size() + 1, u'\0');
    int32_t length = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strFromUTF8WithSub(wide.data(), static_cast<int32_t>(wide.size()), &length, text.data(),
                         static_cast<int32_t>(text.size()), 0xFFFD, nullptr, &status);
    if (U_FAILURE(status)) return false;
    out.resize(static_cast<std::size_t>(length) * 2);
    for (int32_t i = 0; i < length; ++i) {
        const auto c = static_cast<unsigned>(wide[i]);
        out[2 * i] = static_cast<char>(bigEndian ? c >> 8 : c & 0xFF);
        out[2 * i + 1] = static_cast<char>(bigEndian ? c & 0xFF : c >> 8);
    }
    return true;
}

} // namespace

namespace {

constexpr uint64_t kOnes = 0x0101010101010101ULL;

} // namespace

TextScan ScanText(std::string_view text) {
    TextScan scan;
    const char* p = text.data();
    const std::size_t n = text.size();
    std::size_t i = 0;
    // One byte looked at alone: false at the Ctrl-Z that ends the text.
    auto byte = [&](std::size_t k) {
        const char c = p[k];
        if (c == 0x1A) {
            scan.ctrlZ = k;
            return false;
        }
        scan.nul |= c == '\0';
        scan.ends.cr += c == '\r';
        scan.ends.lf += c == '\n';
        scan.crlf += c == '\r' && k + 1 < n && p[k + 1] == '\n';
        return true;
    };
#if defined(__SSE2__)
    // Sixteen bytes at a time; the counts gather in bytes, summed before any can overflow.
    const __m128i cr = _mm_set1_epi8('\r'), lf = _mm_set1_epi8('\n');
    const __m128i zero = _mm_setzero_si128(), ctrlZ = _mm_set1_epi8(0x1A);
    while (i + 17 <= n) {
        const std::size_t blocks = std::min<std::size_t>((n - i - 1) / 16, 255);
        __m128i crs = zero, lfs = zero, pairs = zero;
        bool special = false;
        for (std::size_t b = 0; b < blocks; ++b) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
            const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i + 1));
            const __m128i isCr = _mm_cmpeq_epi8(v, cr);
            const __m128i odd = _mm_or_si128(_mm_cmpeq_epi8(v, zero), _mm_cmpeq_epi8(v, ctrlZ));
            if (_mm_movemask_epi8(odd) != 0) {
                special = true; // a NUL or Ctrl-Z: this block byte by byte below
                break;
            }
            crs = _mm_sub_epi8(crs, isCr);
            lfs = _mm_sub_epi8(lfs, _mm_cmpeq_epi8(v, lf));
            pairs = _mm_sub_epi8(pairs, _mm_and_si128(isCr, _mm_cmpeq_epi8(next, lf)));
            i += 16;
        }
        auto total = [zero](__m128i bytes) {
            const __m128i sums = _mm_sad_epu8(bytes, zero);
            return static_cast<std::size_t>(_mm_cvtsi128_si64(sums)) +
                   static_cast<std::size_t>(_mm_cvtsi128_si64(_mm_unpackhi_epi64(sums, sums)));
        };
        scan.ends.cr += total(crs);
        scan.ends.lf += total(lfs);
        scan.crlf += total(pairs);
        if (special)
            for (const std::size_t stop = i + 16; i < stop; ++i)
                if (!byte(i)) return scan;
    }
#endif
    for (; i < n; ++i)
        if (!byte(i)) return scan;
    return scan;
}

namespace {

LineEnd LineEndOf(const LineEndCount& count) {
    // Every carriage return is taken for one before a line feed: the bare line feeds are what is
    // left, and they must be the most.
    return count.lf > 2 * count.cr ? LineEnd::Lf : LineEnd::CrLf;
}

} // namespace

LineEnd DetectLineEnd(std::string_view text) {
    return LineEndOf(ScanText(text).ends);
}

LineEnd TextSource::LineEnds() const {
    return LineEndOf(ends_);
}

namespace {

// Passes bytes on to another stream, dropping each carriage return right before a line feed. A
// carriage return at the end of one write waits for the next byte.
class LfBuffer : public std::streambuf {
public:
    explicit LfBuffer(std::ostream& out) : out_(out) {}
    bool Finish() {
        if (pendingCr_) out_.put('\r');
        pendingCr_ = false;
        return bool(out_);
    }

protected:
    int_type overflow(int_type c) override {
        if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
        const char ch = traits_type::to_char_type(c);
        return xsputn(&ch, 1) == 1 ? c : traits_type::eof();
    }
    std::streamsize xsputn(const char* s, std::streamsize n) override {
        const char* p = s;
        const char* const end = s + n;
        while (p < end) {
            if (pendingCr_) {
                if (*p != '\n') out_.put('\r');
                pendingCr_ = false;
            }
            const char* cr = static_cast<const char*>(std::memchr(p, '\r', std::size_t(end - p)));
            const char* stop = cr ? cr : end;
            out_.write(p, stop - p);
            if (!cr) break;
            pendingCr_ = true;
            p = cr + 1;
        }
        return out_ ? n : 0;
    }

private:
    std::ostream& out_;
    bool pendingCr_ = false;
};

} // namespace

std::function<bool(std::ostream&)> WithLineEnd(LineEnd lineEnd,
                                               std::function<bool(std::ostream&)> write) {
    if (lineEnd == LineEnd::CrLf) return write;
    return [write = std::move(write)](std::ostream& out) {
        LfBuffer buffer(out);
        std::ostream filtered(&buffer);
        const bool ok = write(filtered) && filtered.good();
        return buffer.Finish() && ok;
    };
}

TextSource TextSource::FromFile(const std::string& fileName, LegacyPage legacy) {
    TextSource source;
    source.storage_ = std::make_unique<Storage>();
    Storage& storage = *source.storage_;
    if (!ReadWholeFile(fileName, storage.bytes, storage.map, storage.mapLength))
        storage.bytes.clear();
    source.Prepare(legacy);
    return source;
}

TextSource TextSource::FromBytes(std::string bytes, LegacyPage legacy) {
    TextSource source;
    source.storage_ = std::make_unique<Storage>();
    source.storage_->bytes = std::move(bytes);
    source.Prepare(legacy);
    return source;
}

std::string EncodingName(int codePage, FileEncoding encoding) {
    switch (encoding) {
    case FileEncoding::Utf8Bom:
        return "UTF-8 with BOM";
    case FileEncoding::Utf16LE:
        return "UTF-16LE";
    case FileEncoding::Utf16BE:
        return "UTF-16BE";
    default:
        return CodePageName(codePage);
    }
}

void TextSource::Prepare(LegacyPage legacy) {
    std::string_view text = storage_->View();
    codePage_ = 0;
    if (text.substr(0, 3) == "\xEF\xBB\xBF") {
        encoding_ = FileEncoding::Utf8Bom;
        codePage_ = kCodePageUtf8;
        text.remove_prefix(3);
    } else if (text.substr(0, 2) == "\xFF\xFE" || text.substr(0, 2) == "\xFE\xFF") {
        const bool bigEndian = text[0] == '\xFE';
        encoding_ = bigEndian ? FileEncoding::Utf16BE : FileEncoding::Utf16LE;
        codePage_ = kCodePageUtf8;
        storage_->bytes = Utf16ToUtf8(text.substr(2), bigEndian);
        if (storage_->map) {
            ::munmap(storage_->map, storage_->mapLength);
            storage_->map = nullptr;
        }
        text = storage_->bytes;
    }
    // One pass finds what the line rules need: the line ends, a NUL, the Ctrl-Z that ends a
    // text file (nothing after it is read); over a big text in two halves at once.
    TextScan scan;
    const std::size_t half =
        text.size() < kParallelCheck ? std::string_view::npos : text.find('\n', text.size() / 2);
    if (half == std::string_view::npos) {
        scan = ScanText(text);
    } else {
        // Right after a line feed: no carriage return before a line feed lies across.
        TextScan second;
        std::thread beside([&] { second = ScanText(text.substr(half + 1)); });
        scan = ScanText(text.substr(0, half + 1));
        beside.join();
        if (scan.ctrlZ == std::string_view::npos) {
            scan.ends.cr += second.ends.cr;
            scan.ends.lf += second.ends.lf;
            scan.crlf += second.crlf;
            scan.nul |= second.nul;
            if (second.ctrlZ != std::string_view::npos) scan.ctrlZ = half + 1 + second.ctrlZ;
        }
    }
    text = text.substr(0, scan.ctrlZ);
    if (codePage_ == 0 && legacy.chosen && IsSupportedCodePage(legacy.fallback))
        codePage_ = legacy.fallback;
    if (codePage_ == 0) {
        // Detection runs only for text that is not UTF-8: a UTF-8 file costs the check alone.
        auto find = [text, legacy] {
            return IsValidUtf8(text) ? kCodePageUtf8 : DetectLegacyCodePage(text, legacy);
        };
        if (text.size() < kParallelCheck) {
            codePage_ = find();
        } else {
            // A legacy file nearly always shows itself in its first lines; its page is then
            // found at once, its one scan costing less than a thread beside the reader.
            std::string_view head = text.substr(0, kHeadCheck);
            head = head.substr(0, head.rfind('\n') + 1); // a line end is never inside a character
            if (!IsValidUtf8(head)) {
                codePage_ = DetectLegacyCodePage(text, legacy);
            } else {
                // The check waits for the reader: beside it (CheckCodePageBeside), or in its
                // own threads as it reads (TakeUtf8Check).
                checkPending_ = true;
                legacy_ = legacy;
            }
        }
    }
    text_ = text;

    // Old Mac files end their lines with a carriage return alone; anywhere else a lone one is
    // just a character of its line.
    const std::size_t loneCr = scan.ends.cr - scan.crlf;
    hasNul_ = scan.nul;
    loneCr_ = loneCr > 0;
    macLineEnds_ = loneCr > scan.ends.lf;
    ends_ = scan.ends;
    lineCount_ = (macLineEnds_ ? scan.ends.cr : scan.ends.lf) + 1;
}

namespace {

// Lines are short: a word-at-a-time search beats a call to memchr for each.
inline const char* FindNewline(const char* p, std::size_t n) {
    constexpr uint64_t kLow7 = 0x7F7F7F7F7F7F7F7FULL;
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        uint64_t word;
        std::memcpy(&word, p + i, 8);
        const uint64_t x = word ^ (kOnes * '\n');
        const uint64_t match = ~(((x & kLow7) + kLow7) | x) & ~kLow7;
        if (match) return p + i + (__builtin_ctzll(match) >> 3);
    }
    for (; i < n; ++i)
        if (p[i] == '\n') return p + i;
    return nullptr;
}

} // namespace

int TextSource::CodePage() const {
    if (checkPending_) TakeUtf8Check(IsValidUtf8(text_));
    if (codePageCheck_.valid()) codePage_ = codePageCheck_.get();
    return codePage_;
}

int TextSource::CodePageIfKnown() const {
    if (checkPending_) return 0;
    if (codePageCheck_.valid() &&
        codePageCheck_.wait_for(std::chrono::seconds(0)) != std::future_status::ready)
        return 0;
    return CodePage();
}

void TextSource::CheckCodePageBeside() const {
    if (!checkPending_) return;
    checkPending_ = false;
    codePageCheck_ = std::async(std::launch::async, [text = text_, legacy = legacy_] {
        return IsValidUtf8(text) ? kCodePageUtf8 : DetectLegacyCodePage(text, legacy);
    });
}

void TextSource::TakeUtf8Check(bool valid) const {
    if (!checkPending_) return;
    checkPending_ = false;
    codePage_ = valid ? kCodePageUtf8 : DetectLegacyCodePage(text_, legacy_);
}

bool TextSource::Cursor::Next(std::string_view& line) {
    const std::string_view text = source_->text_;
    if (pos_ >= text.size()) return false;
    const char* begin = text.data() + pos_;
    const std::size_t left = text.size() - pos_;
    std::size_t length;
    std::size_t advance;
    if (!source_->macLineEnds_) {
        const char* nl = FindNewline(begin, left);
        length = nl ? static_cast<std::size_t>(nl - begin) : left;
        advance = nl ? length + 1 : length;
        if (nl && length > 0 && begin[length - 1] == '\r') --length;
    } else {
        length = 0;
        while (length < left && begin[length] != '\r' && begin[length] != '\n')
            ++length;
        advance = length;
        if (length < left) {
            advance +=
                (begin[length] == '\r' && length + 1 < left && begin[length + 1] == '\n') ? 2 : 1;
        }
    }
    // Mapped pages far behind the cursor are handed back now and then; a reader steps back at
    // most one line.
    if ((pos_ ^ (pos_ + advance)) >= kReleaseStep)
        source_->storage_->Release(0, pos_ > kReleaseStep ? pos_ - kReleaseStep : 0);
    pos_ += advance;
    if (source_->hasNul_) {
        if (const void* nul = std::memchr(begin, '\0', length))
            length = static_cast<std::size_t>(static_cast<const char*>(nul) - begin);
    }
    line = std::string_view(begin, length);
    return true;
}

void TextSource::ReleaseBefore(std::size_t position, std::size_t from) const {
    const std::size_t offset = static_cast<std::size_t>(text_.data() - storage_->View().data());
    if (position > from + kReleaseStep)
        storage_->Release(offset + from, offset + position - kReleaseStep);
}

std::vector<std::string_view> TextSource::Lines() const {
    std::vector<std::string_view> lines;
    Cursor cursor(*this);
    std::string_view line;
    while (cursor.Next(line))
        lines.push_back(line);
    return lines;
}

namespace {

// An output stream buffer over a file descriptor that remembers its first error.
class FileBuffer : public std::streambuf {
public:
    explicit FileBuffer(int fd) : fd_(fd), buffer_(1 << 20) {
        setp(buffer_.data(), buffer_.data() + buffer_.size());
    }
    int Error() const { return error_; }

protected:
    int_type overflow(int_type c) override {
        if (!Drain()) return traits_type::eof();
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(c);
            pbump(1);
        }
        return traits_type::not_eof(c);
    }
    std::streamsize xsputn(const char* s, std::streamsize n) override {
        if (n > epptr() - pptr()) {
            if (!Drain()) return 0;
            if (n >= static_cast<std::streamsize>(buffer_.size()))
                return WriteAll(s, static_cast<std::size_t>(n)) ? n : 0;
        }
        std::memcpy(pptr(), s, static_cast<std::size_t>(n));
        pbump(static_cast<int>(n));
        return n;
    }
    int sync() override { return Drain() ? 0 : -1; }

private:
    bool Drain() {
        const std::size_t n = static_cast<std::size_t>(pptr() - pbase());
        setp(buffer_.data(), buffer_.data() + buffer_.size());
        return WriteAll(buffer_.data(), n);
    }
    bool WriteAll(const char* s, std::size_t n) {
        if (error_) return false;
        while (n > 0) {
            const ssize_t w = ::write(fd_, s, n);
            if (w < 0) {
                if (errno == EINTR) continue;
                error_ = errno;
                return false;
            }
            s += w;
            n -= static_cast<std::size_t>(w);
            written_ += static_cast<std::size_t>(w);
        }
#if defined(__linux__)
        // The disk gets what is written every few megabytes, while the rest is made: the fsync
        // at the end then waits for the last stretch alone.
        if (written_ - synced_ >= kSyncStep) {
            ::sync_file_range(fd_, static_cast<off_t>(synced_),
                              static_cast<off_t>(written_ - synced_), SYNC_FILE_RANGE_WRITE);
            synced_ = written_;
        }
#endif
        return true;
    }

    static constexpr std::size_t kSyncStep = std::size_t{8} << 20;
    int fd_;
    std::vector<char> buffer_;
    int error_ = 0;
    std::size_t written_ = 0, synced_ = 0;
};

std::string Reason(const std::string& what, int error) {
    return what + ": " + std::strerror(error);
}

} // namespace

bool WriteFileAtomically(const std::string& fileName, FileEncoding encoding,
                         const std::function<bool(std::ostream&)>& write, std::string* why) {
    auto fail = [why](const std::string& reason) {
        if (why) *why = reason;
        return false;
    };
    if (fileName.empty()) return fail("no file name");

    // A link is followed, so that the file it names is replaced and the link stays.
    std::error_code ec;
    fs::path target(fileName);
    if (fs::is_symlink(target, ec)) {
        fs::path resolved = fs::weakly_canonical(target, ec);
        if (!ec) target = resolved;
    }
    struct stat old {};
    const bool existed = ::stat(target.c_str(), &old) == 0;
    if (existed && !S_ISREG(old.st_mode)) return fail(fileName + " is not a regular file");
    // Replacing by rename would pass over a file the user made read-only.
    if (existed && ::access(target.c_str(), W_OK) != 0)
        return fail(Reason("cannot write " + fileName, errno));

    fs::path folder = target.parent_path();
    if (folder.empty()) folder = ".";
    // A hidden name beside the target, so that the rename stays inside one file system.
    std::string hidden(1, '.');
    hidden += target.filename().string();
    hidden += ".velitra-XXXXXX";
    std::string temp = (folder / hidden).string();
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) return fail(Reason("cannot create a file in " + folder.string(), errno));
    auto abandon = [&](const std::string& reason) {
        ::close(fd);
        ::unlink(temp.c_str());
        return fail(reason);
    };

    // The new file gets the permissions of the one it replaces, or the usual ones for a new file.
    mode_t mode = old.st_mode & 07777;
    if (!existed) {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    ::fchmod(fd, mode);

    FileBuffer buffer(fd);
    std::ostream out(&buffer);
    bool written;
    if (encoding == FileEncoding::Utf16LE || encoding == FileEncoding::Utf16BE) {
        const bool bigEndian = encoding == FileEncoding::Utf16BE;
        std::ostringstream text;
        written = write(text);
        std::string wide;
        if (written && !Utf8ToUtf16(text.view(), bigEndian, wide))
            return abandon("the text cannot be written as UTF-16");
        out.write(bigEndian ? "\xFE\xFF" : "\xFF\xFE", 2);
        out.write(wide.data(), static_cast<std::streamsize>(wide.size()));
    } else {
        if (encoding == FileEncoding::Utf8Bom) out.write("\xEF\xBB\xBF", 3);
        written = write(out);
    }
    out.flush();
    if (buffer.Error()) return abandon(Reason("cannot write " + fileName, buffer.Error()));
    if (!written || !out) return abandon("cannot write " + fileName);
    if (::fsync(fd) != 0) return abandon(Reason("cannot write " + fileName, errno));
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(temp.c_str());
        return fail(Reason("cannot write " + fileName, error));
    }
    if (::rename(temp.c_str(), target.c_str()) != 0) {
        const int error = errno;
        ::unlink(temp.c_str());
        return fail(Reason("cannot replace " + fileName, error));
    }
    // Make the rename itself durable; a folder that cannot be synced is no reason to fail.
    const int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}
