#include "FormatRecords.h"

#include "TimeFormat.h"

#include <algorithm>
#include <cstring>

#if defined(__linux__)
#include <sys/mman.h>
#endif
#include <deque>
#include <exception>
#include <future>
#include <iterator>
#include <thread>
#include <vector>

uint32_t TFormatData::Intern(std::string_view rec) {
    if (rec.empty()) return 0;
    if (index_.empty() && Records.size() > 1) Reindex();
    // Entries mostly share a few records: the two found last are compared before any hashing.
    for (int k = 0; k < 2; ++k) {
        const uint32_t id = recent_[k];
        if (id != 0 && id < Records.size() && Records[id] == rec) {
            recent_[1 - k] = recent_[0] == id ? recent_[1] : recent_[0];
            recent_[0] = id;
            return id;
        }
    }
    uint32_t id;
    if (const auto found = index_.find(rec); found != index_.end()) {
        id = found->second;
    } else {
        id = static_cast<uint32_t>(Records.size());
        Records.emplace_back(rec);
        index_.emplace(std::string(rec), id);
    }
    recent_[1] = recent_[0];
    recent_[0] = id;
    return id;
}

void TFormatData::Reindex() {
    index_.clear();
    recent_[0] = recent_[1] = 0;
    if (Records.empty()) Records.emplace_back();
    for (std::size_t k = 1; k < Records.size(); ++k)
        index_.emplace(Records[k], static_cast<uint32_t>(k));
}

void PreferBigPages(const void* data, std::size_t bytes) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    constexpr uintptr_t kBig = uintptr_t{1} << 21;
    const auto begin = (reinterpret_cast<uintptr_t>(data) + kBig - 1) & ~(kBig - 1);
    const auto end = (reinterpret_cast<uintptr_t>(data) + bytes) & ~(kBig - 1);
    if (end > begin) ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
#else
    (void)data;
    (void)bytes;
#endif
}

SubtitleError LineTooLong(int number) {
    return SubtitleError("Line " + std::to_string(number) + " is longer than " +
                         std::to_string(kLongestLine >> 20) + " MB: this is not a subtitle file.");
}

bool TRawLines::Next(std::string_view& line, std::string_view& eol) {
    if (pos_ >= text_.size()) return false;
    const char* begin = text_.data() + pos_;
    const std::size_t left = text_.size() - pos_;
    // A line feed is found word by word by memchr; a lone carriage return ends a line too, but
    // most texts hold none, and there a line ends at its line feed alone.
    const void* nl = std::memchr(begin, '\n', left);
    const std::size_t lf =
        nl ? static_cast<std::size_t>(static_cast<const char*>(nl) - begin) : left;
    std::size_t n = lf;
    std::size_t endLength = 0;
    if (loneCr_) {
        const void* cr = std::memchr(begin, '\r', lf);
        if (cr) n = static_cast<std::size_t>(static_cast<const char*>(cr) - begin);
        if (n < left) endLength = begin[n] == '\r' && n + 1 < left && begin[n + 1] == '\n' ? 2 : 1;
    } else if (nl) {
        endLength = 1;
        if (n > 0 && begin[n - 1] == '\r') {
            --n;
            endLength = 2;
        }
    }
    ++number_;
    if (n > kLongestLine) throw LineTooLong(number_);
    line = std::string_view(begin, n);
    eol = std::string_view(begin + n, endLength);
    pos_ += n + endLength;
    // The pages read long ago go back now and then: a reader looks back a few lines at most.
    if (pos_ - released_ >= (std::size_t{1} << 22)) {
        source_->ReleaseBefore(pos_, from_);
        released_ = pos_;
    }
    return true;
}

void HeldToRaw(std::string_view held, int codePage, std::string_view lineBreak, std::string& out) {
    const bool runs = AsciiSafe(codePage);
    for (std::size_t i = 0; i < held.size();) {
        if (runs) {
            const std::size_t next = FindAny(held, i, '\\', '|');
            out.append(held.substr(i, next - i));
            if ((i = next) == held.size()) break;
        }
        const char c = held[i];
        if (c == '\\' && i + 1 < held.size() && held[i + 1] == '|') {
            out += '|';
            i += 2;
        } else if (c == '|') {
            out.append(lineBreak);
            ++i;
        } else {
            const std::size_t n =
                static_cast<unsigned char>(c) < 0x80 ? 1 : CharLength(codePage, held, i);
            out.append(held.substr(i, n));
            i += n;
        }
    }
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

bool ReadDigits(std::string_view text, int64_t& value) {
    if (text.empty() || text.size() > 12) return false;
    value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    return true;
}

void AppendPlain(std::string& rec, std::string_view part) {
    // Most parts are a few bytes of a field: a look at each beats a call to search them.
    std::size_t mark = 0;
    while (mark < part.size() && part[mark] != record::kMark)
        ++mark;
    if (mark == part.size()) {
        rec.append(part);
        return;
    }
    for (;;) {
        rec.append(part.substr(0, mark + 1));
        rec += record::kMark;
        part.remove_prefix(mark + 1);
        mark = part.find(record::kMark);
        if (mark == std::string_view::npos) {
            rec.append(part);
            return;
        }
    }
}

namespace {

void AppendRaw(std::string& rec, char mark, std::string_view raw) {
    AppendMark(rec, mark);
    rec += std::to_string(raw.size());
    rec += ':';
    rec.append(raw);
}

// Reads the length and text after a raw mark at pos (just past the mark); moves pos past them.
std::string_view TakeRaw(std::string_view rec, std::size_t& pos) {
    std::size_t length = 0;
    while (pos < rec.size() && rec[pos] >= '0' && rec[pos] <= '9')
        length = length * 10 + static_cast<std::size_t>(rec[pos++] - '0');
    if (pos < rec.size() && rec[pos] == ':') ++pos;
    const std::string_view raw = rec.substr(pos, length);
    pos += raw.size();
    return raw;
}

} // namespace

void AppendTimeMark(std::string& rec, const TRecordFormat& format, const TFormatData& data,
                    std::string_view raw, int32_t ms, bool start) {
    std::string written;
    format.WriteTime(data, ms, written);
    if (written == raw)
        AppendMark(rec, start ? record::kStart : record::kEnd);
    else
        AppendRaw(rec, start ? record::kRawStart : record::kRawEnd, raw);
}

void AppendTextMark(std::string& rec, const TRecordFormat& format, const TFormatData& data,
                    int codePage, std::string_view raw, std::string& held, char mark) {
    if (FindAny(raw, 0, format.Special[0], format.Special[1], format.Special[2]) == raw.size()) {
        held.assign(raw);
        AppendMark(rec, mark);
        return;
    }
    format.TextIn(raw, codePage, held);
    if (format.KeptAsRead && AsciiSafe(codePage) && format.KeptAsRead(raw)) {
        AppendMark(rec, mark);
        return;
    }
    thread_local std::string back; // one for every text read: its memory kept
    back.clear();
    format.TextOut(held, data, codePage, back);
    if (back == raw)
        AppendMark(rec, mark);
    else
        AppendRaw(rec, record::kRawText, raw);
}

namespace {

// Appends one entry as its record makes it, the line end the text before it lacks included.
struct EntryWriter {
    const SubTitle& doc;
    const TFormatData& data;
    const TRecordFormat& format;
    std::string_view defaultRecord;
    int codePage;
    int32_t offset;
    std::string text; // scratch

    void Write(const PerTitle& e, int64_t number, bool atLineStart, std::string& buffer) {
        if (!atLineStart) buffer += data.Eol;
        std::string_view rec = doc.Record(e.Fields);
        if (rec.empty()) rec = defaultRecord;
        const int32_t start = AddMs(offset, e.Start);
        const int32_t end = AddMs(offset, e.End);
        for (std::size_t i = 0; i < rec.size();) {
            const std::size_t mark = rec.find(record::kMark, i);
            if (mark != i) {
                // A run of the file's own bytes at once.
                buffer.append(rec.substr(i, mark - i));
                if (mark == std::string_view::npos) break;
                i = mark;
            }
            if (i + 1 >= rec.size()) break;
            const char c = rec[i + 1];
            i += 2;
            switch (c) {
            case record::kMark:
                buffer += record::kMark;
                break;
            case record::kStart:
                format.WriteTime(data, start, buffer);
                break;
            case record::kEnd:
                format.WriteTime(data, end, buffer);
                break;
            case record::kRawStart:
            case record::kRawEnd: {
                const std::string_view raw = TakeRaw(rec, i);
                const int32_t value = c == record::kRawStart ? start : end;
                if (format.ReadTime(raw) == value)
                    buffer.append(raw);
                else
                    format.WriteTime(data, value, buffer);
                break;
            }
            case record::kNumber: {
                char digits[24];
                buffer.append(digits, WriteInteger(digits, number));
                break;
            }
            case record::kRawText: {
                const std::string_view raw = TakeRaw(rec, i);
                format.TextIn(raw, codePage, text);
                if (text == e.Text) {
                    buffer.append(raw);
                } else {
                    text.clear();
                    format.TextOut(e.Text, data, codePage, text);
                    buffer += text;
                }
                break;
            }
            case record::kText:
            case record::kTextLine:
                text.clear();
                format.TextOut(e.Text, data, codePage, text);
                buffer += text;
                if (c == record::kTextLine && !text.empty()) buffer += data.Eol;
                break;
            default:
                break;
            }
        }
    }
};

bool EndsLine(char c) {
    return c == '\n' || c == '\r';
}

} // namespace

std::size_t& SplitWritingAbove() {
    static std::size_t entries = std::size_t{1} << 16;
    return entries;
}

bool WriteRecords(const SubTitle& doc, std::ostream& out, int first, int last, bool skipBlank,
                  int32_t offset, int numberBase, const TRecordFormat& format,
                  std::string_view defaultRecord, std::string_view beforeFirst) {
    if (!WritableRange(doc, first, last)) return false;
    const TFormatData& data = doc.FormatData();
    const int codePage = doc.CodePage();
    EntryWriter writer{doc, data, format, defaultRecord, codePage, offset, {}};
    std::string buffer;
    buffer.reserve(1 << 16);
    buffer += data.Head;
    char lastFlushed = '\n'; // the last byte already handed to the stream
    // Whether what was written so far ends a line: a record begins one.
    auto atLineStart = [&] { return EndsLine(buffer.empty() ? lastFlushed : buffer.back()); };
    auto flush = [&] {
        if (buffer.empty()) return true;
        lastFlushed = buffer.back();
        const bool ok = Put(out, buffer);
        buffer.clear();
        return ok;
    };
    bool firstWritten = true;
    int64_t number = numberBase;
    int k = first;
    for (; k <= last; ++k) {
        const PerTitle& e = *doc.Item(k);
        if (skipBlank && IsBlankText(e.Text, codePage)) continue;
        ++number;
        if (firstWritten) {
            if (!beforeFirst.empty()) {
                if (!atLineStart()) buffer += data.Eol;
                buffer += beforeFirst;
            }
            firstWritten = false;
        }
        writer.Write(e, number, atLineStart(), buffer);
        if (buffer.size() >= (1 << 16) && !flush()) return false;
        // Many entries written in full: the rest in chunks, made three at a time on other
        // threads and handed to the stream in order.
        if (!skipBlank && k == first &&
            static_cast<std::size_t>(last - first) >= SplitWritingAbove()) {
            ++k;
            break;
        }
    }
    if (k <= last) {
        // Whether the entry before a chunk leaves the text at a line's start: its own bytes
        // say so, and an entry that writes none leaves it there (or puts a line end first).
        auto makeChunk = [&doc, &data, &format, defaultRecord, codePage, offset, first,
                          numberBase](int from, int to, std::string chunk) {
            EntryWriter w{doc, data, format, defaultRecord, codePage, offset, {}};
            std::string before;
            w.Write(*doc.Item(from - 1), numberBase + (from - 1 - first) + 1, true, before);
            bool lineStart = before.empty() || EndsLine(before.back());
            chunk.clear();
            chunk.reserve(static_cast<std::size_t>(to - from + 1) * 128);
            for (int j = from; j <= to; ++j) {
                w.Write(*doc.Item(j), numberBase + (j - first) + 1, lineStart, chunk);
                lineStart = true; // a record begins a line: only the first may need a line end
                if (!chunk.empty()) lineStart = EndsLine(chunk.back());
            }
            return chunk;
        };
        if (!flush()) return false;
        // Chunks of 16,384 entries (smaller under a lowered threshold, so that tests meet
        // their edges).
        const int chunkEntries =
            static_cast<int>(std::clamp<std::size_t>(SplitWritingAbove() / 4, 1, 1 << 14));
        std::deque<std::future<std::string>> ahead;
        std::vector<std::string> spare; // chunks written, their memory kept for the next ones
        int next = k;
        for (;;) {
            while (ahead.size() < 3 && next <= last) {
                const int to = std::min(last, next + chunkEntries - 1);
                std::string chunk;
                if (!spare.empty()) {
                    chunk = std::move(spare.back());
                    spare.pop_back();
                }
                ahead.push_back(
                    std::async(std::launch::async, makeChunk, next, to, std::move(chunk)));
                next = to + 1;
            }
            if (ahead.empty()) break;
            std::string chunk = ahead.front().get();
            ahead.pop_front();
            if (!chunk.empty()) {
                lastFlushed = chunk.back();
                if (!Put(out, chunk)) return false;
            }
            spare.push_back(std::move(chunk));
        }
    }
    if (!data.Tail.empty() && !atLineStart() && !firstWritten) buffer += data.Eol;
    buffer += data.Tail;
    return flush();
}

void JoinStretch(TFormatData& data, std::vector<PerTitle>& entries, std::string& pending,
                 const TFormatData& own, std::vector<PerTitle>& later, std::string& laterPending,
                 int firstLines) {
    if (own.BadLines > 0) {
        if (data.BadLines == 0) data.BadLine = firstLines + own.BadLine;
        data.BadLines += own.BadLines;
    }
    if (later.empty()) {
        pending += laterPending;
        return;
    }
    // The records go into the table in the order one reading would have added them.
    std::vector<uint32_t> to(own.Records.size(), 0);
    auto move = [&](PerTitle& e) {
        if (to[e.Fields] == 0) to[e.Fields] = data.Intern(own.Records[e.Fields]);
        e.Fields = to[e.Fields];
    };
    PerTitle& front = later.front();
    if (!pending.empty()) {
        // The lines between the stretches lead the first entry of the later one.
        std::string rec;
        AppendPlain(rec, pending);
        rec += own.Records[front.Fields];
        front.Fields = data.Intern(rec);
    } else {
        move(front);
    }
    for (std::size_t k = 1; k < later.size(); ++k)
        move(later[k]);
    entries.insert(entries.end(), std::make_move_iterator(later.begin()),
                   std::make_move_iterator(later.end()));
    pending = std::move(laterPending);
}

int ReadBeside(const TextSource& source, std::size_t from, std::size_t split, int number,
               bool* utf8, const std::function<void(TRawLines&)>& readFirst,
               const std::function<void(TRawLines&)>& readSecond, int& firstLines) {
    const std::string_view text = source.Text();
    std::exception_ptr failed;
    int tooLong = 0;
    bool secondUtf8 = true;
    std::thread beside([&] {
        TRawLines second(source, split, text.size(), 0);
        try {
            if (utf8) secondUtf8 = IsValidUtf8(text.substr(split));
            readSecond(second);
        } catch (const SubtitleError&) {
            tooLong = second.Number();
        } catch (...) {
            failed = std::current_exception();
        }
    });
    TRawLines first(source, from, split, number);
    try {
        if (utf8) *utf8 = IsValidUtf8(text.substr(0, split));
        readFirst(first);
    } catch (...) {
        beside.join();
        throw;
    }
    beside.join();
    if (failed) std::rethrow_exception(failed);
    if (utf8) *utf8 = *utf8 && secondUtf8;
    firstLines = first.Number();
    return tooLong;
}

void ReserveShare(std::vector<PerTitle>& entries, std::size_t count, std::size_t textSize,
                  std::size_t from) {
    const double share = textSize == 0 ? 0 : double(textSize - from) / double(textSize);
    entries.reserve(static_cast<std::size_t>(double(count) * share * 1.05 + 64));
    PreferBigPages(entries);
}

std::vector<PerTitle> ReadCheckingUtf8(
    const TextSource& source, const std::function<std::vector<PerTitle>(int, bool*)>& read) {
    const bool check = source.Utf8CheckPending();
    const int known = check ? 0 : source.CodePageIfKnown();
    bool utf8 = true;
    std::vector<PerTitle> entries = read(known ? known : kCodePageUtf8, check ? &utf8 : nullptr);
    if (check) source.TakeUtf8Check(utf8);
    if (!known && !AsciiSafe(source.CodePage())) entries = read(source.CodePage(), nullptr);
    return entries;
}
