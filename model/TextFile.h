#pragma once
// Reading a text file into lines, and writing a file so that it is either wholly replaced or left
// as it was.
#include "CodePage.h"

#include <cstddef>
#include <functional>
#include <future>
#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// How the bytes of a file stand for its text, so that a save writes it back the same way.
enum class FileEncoding {
    Plain,   // the text's own code page, no byte-order mark
    Utf8Bom, // UTF-8 behind EF BB BF
    Utf16LE, // UTF-16 behind FF FE; held as UTF-8 in memory
    Utf16BE, // UTF-16 behind FE FF; held as UTF-8 in memory
};

// How a file stores its text, for the user: CodePageName, or "UTF-8 with BOM", "UTF-16LE",
// "UTF-16BE" for files with a byte-order mark.
std::string EncodingName(int codePage, FileEncoding encoding);

// The text of one file, held once. Lines are handed out as views into it, in order, by a cursor.
//
// Line rules: a carriage return right before a line feed is dropped; any other carriage return
// stays in its line, except in files with old Mac line ends (more lone carriage returns than line
// feeds), which are split at them; the byte 1A (Ctrl-Z) ends the text; a line ends at its first
// NUL byte; a last line without a line end is still a line, and a final line end makes no empty
// line after it.
// Carriage returns and line feeds in the text.
struct LineEndCount {
    std::size_t cr = 0;
    std::size_t lf = 0;
};

// How a file ends its lines, so that a save keeps them: CR LF, or LF alone.
enum class LineEnd { CrLf, Lf };

class TextSource {
public:
    // Reads the file; an unreadable file gives an empty source (no lines). legacy says how the
    // code page of a file without byte-order mark that is not UTF-8 is found.
    static TextSource FromFile(const std::string& fileName, LegacyPage legacy = LegacyPage());
    // Takes the bytes as a file would hold them (byte-order mark included).
    static TextSource FromBytes(std::string bytes, LegacyPage legacy = LegacyPage());

    TextSource(TextSource&&) noexcept;
    TextSource& operator=(TextSource&&) noexcept;
    ~TextSource();

    bool Empty() const { return text_.empty(); }
    FileEncoding Encoding() const { return encoding_; }
    // UTF-8 (65001) for files with a byte-order mark and valid UTF-8, else the legacy code page
    // detected for this text (DetectLegacyCodePage).
    int CodePage() const;
    // The same when it is known already; 0 while a big file's check is still to come.
    int CodePageIfKnown() const;
    // A big file whose first lines are UTF-8 has its whole text checked only when the reader
    // asks: CodePage() checks it then and there; this starts the check on a thread beside the
    // reader, which needs the answer only at its end.
    void CheckCodePageBeside() const;
    // Whether that check is still to come, for a reader that checks the text itself as it reads
    // and gives the answer (valid UTF-8 or not) with TakeUtf8Check.
    bool Utf8CheckPending() const { return checkPending_; }
    void TakeUtf8Check(bool valid) const;
    // The text after the byte-order mark and the Ctrl-Z cut (UTF-16 already as UTF-8).
    std::string_view Text() const { return text_; }
    // At least as many as the lines the cursor will hand out.
    std::size_t LineBound() const { return lineCount_; }
    // How the text ends its lines (DetectLineEnd), from the count the source made of them.
    LineEnd LineEnds() const;
    // Some carriage return stands without a line feed after it (and so ends a line of its own
    // for the readers that take one as a line end).
    bool HasLoneCr() const { return loneCr_; }

    class Cursor {
    public:
        explicit Cursor(const TextSource& source) : source_(&source) {}
        // The next line, or false at the end.
        bool Next(std::string_view& line);
        bool AtEnd() const { return pos_ >= source_->text_.size(); }
        std::size_t Position() const { return pos_; }
        void Seek(std::size_t position) { pos_ = position; }

    private:
        const TextSource* source_;
        std::size_t pos_ = 0;
    };

    std::vector<std::string_view> Lines() const;
    // A reader that walks Text() itself says how far it is: mapped pages wholly before position
    // (less a margin of a few megabytes) are handed back, as the cursor does; those from from
    // on only, for a reader of a stretch that begins there.
    void ReleaseBefore(std::size_t position, std::size_t from = 0) const;

    struct Storage;

private:
    TextSource() = default;
    void Prepare(LegacyPage legacy);

    std::unique_ptr<Storage> storage_; // owns the bytes text_ views
    std::string_view text_;
    FileEncoding encoding_ = FileEncoding::Plain;
    mutable int codePage_ = 0;
    bool macLineEnds_ = false;
    bool hasNul_ = false;
    bool loneCr_ = false;
    std::size_t lineCount_ = 0;
    LineEndCount ends_;
    // A big file's UTF-8 check, and the detection of its legacy page when it fails, run beside
    // the reader, which needs the answer only at the end.
    mutable std::future<int> codePageCheck_;
    mutable bool checkPending_ = false;
    LegacyPage legacy_;
};

// What one pass over a text finds for the line rules: its line ends (up to a Ctrl-Z), how many
// carriage returns stand right before a line feed, whether it holds a NUL, where its first
// Ctrl-Z is (npos for none).
struct TextScan {
    LineEndCount ends;
    std::size_t crlf = 0;
    bool nul = false;
    std::size_t ctrlZ = std::string_view::npos;
};
TextScan ScanText(std::string_view text);

// LF when most line feeds of the text stand without a carriage return before them; CR LF
// otherwise (old Mac files and files without line ends included); up to a Ctrl-Z.
LineEnd DetectLineEnd(std::string_view text);
// The writers end lines with CR LF; this writes through them with the line ends asked for.
std::function<bool(std::ostream&)> WithLineEnd(LineEnd lineEnd,
                                               std::function<bool(std::ostream&)> write);

// Writes a file through a temporary file beside it that is renamed over the target only after
// every byte is written and flushed; on any failure the target stays as it was. The writer gets a
// stream of UTF-8 or code-page bytes; the encoding adds the byte-order mark and, for UTF-16,
// converts the whole text. On failure why (when given) says what went wrong.
bool WriteFileAtomically(const std::string& fileName, FileEncoding encoding,
                         const std::function<bool(std::ostream&)>& write,
                         std::string* why = nullptr);
