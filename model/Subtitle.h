#pragma once
// One subtitle document: the entries of a SubRip, MicroDVD, SubViewer, WebVTT or ASS/SSA file,
// the file they came from, and what is needed to write them back the way they were read.
#include "Change.h"
#include "CodePage.h"
#include "FormatData.h"
#include "Pertitle.h"
#include "SubtitleError.h"
#include "TextFile.h"

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

// The MicroDVD reader's question: the text typed in the frame-rate box, or nothing when the user
// cancelled.
using FrameRateQuestion = std::function<std::optional<std::string>()>;
// The same question told the rate the file states for itself (StatedFrameRate), if it states one,
// so that the box can offer it.
using FrameRateQuestionWithProposal =
    std::function<std::optional<std::string>(std::optional<double> proposed)>;

enum SubtitleFormat : int32_t {
    FormatNone = -1,
    FormatSubRip = 0,
    FormatMicroDVD = 1,
    FormatSubViewer = 2,
    FormatWebVTT = 3,
    FormatASS = 4,
    FormatSSA = 5,
};

// WebVTT, ASS and SSA: the formats whose files keep a head and fields for every entry.
inline bool IsFieldFormat(int32_t format) {
    return format == FormatWebVTT || format == FormatASS || format == FormatSSA;
}

// The formats whose entries may have records: the field formats, and MicroDVD, whose leading
// style codes are kept as one.
inline bool KeepsRecords(int32_t format) {
    return IsFieldFormat(format) || format == FormatMicroDVD;
}

class SubTitle {
public:
    // Reads the file by its content first: "WEBVTT" at its start is WebVTT, a first line
    // "[Script Info]" ASS or SSA, a first block of a number and a time line (or a time line) with
    // "-->" SubRip. Otherwise by its extension: ".srt" SubRip, ".vtt" WebVTT, ".ass" and ".ssa"
    // ASS/SSA, ".sub" SubViewer when its first line holds "[INFORMATION]", else MicroDVD after
    // asking for the frame rate (with no question, frameRate is used). Any other file gives a
    // document that is not loaded. Throws SubtitleError when the frame rate is not a number above
    // 0, when a WebVTT or ASS file lacks its first line, or holds a line longer than
    // kLongestLine. legacy says how the code page of a file that is neither UTF-8 nor UTF-16 is
    // found (by default detected, with the program's legacy page on a tie).
    SubTitle(const std::string& fileName, double frameRate, FrameRateQuestion ask = {},
             LegacyPage legacy = LegacyPage());
    SubTitle(const std::string& fileName, double frameRate, FrameRateQuestionWithProposal ask,
             LegacyPage legacy = LegacyPage());
    // The same from bytes already in memory; fileName gives the format and the save target.
    static SubTitle FromBytes(std::string bytes, const std::string& fileName, double frameRate,
                              FrameRateQuestion ask = {}, LegacyPage legacy = LegacyPage());
    static SubTitle FromBytes(std::string bytes, const std::string& fileName, double frameRate,
                              FrameRateQuestionWithProposal ask, LegacyPage legacy = LegacyPage());

    // A document brought back from a recovery copy: these entries, belonging to fileName, to be
    // saved in that format, code page and encoding. It is modified: it differs from its file.
    static SubTitle Restore(std::vector<PerTitle> entries, const std::string& fileName,
                            int32_t format, double frameRate, int codePage, FileEncoding encoding,
                            LineEnd lineEnd = LineEnd::CrLf);
    // The same with the file's own head, tail and field records (WebVTT, ASS, SSA).
    static SubTitle Restore(std::vector<PerTitle> entries, const std::string& fileName,
                            int32_t format, double frameRate, int codePage, FileEncoding encoding,
                            TFormatData data, LineEnd lineEnd = LineEnd::CrLf);

    SubTitle(SubTitle&&) noexcept = default;
    SubTitle& operator=(SubTitle&&) noexcept = default;
    SubTitle(const SubTitle&) = delete;
    SubTitle& operator=(const SubTitle&) = delete;

    bool IsLoaded() const { return loaded_; }
    // Whether entries changed since the file was read or last saved through this document, for
    // the converter and other users of the model alone. The editor neither asks nor sets it: its
    // history knows whether an undo led back to the saved state.
    bool IsModified() const { return loaded_ && modified_; }
    void SetModified() { modified_ = true; }
    void SetModified(bool modified) { modified_ = modified; }
    std::string FormatName() const;
    int32_t FormatIndex() const { return format_; }
    int Count() const { return loaded_ ? static_cast<int>(entries_.size()) : 0; }
    std::string FileName() const { return loaded_ ? fileName_ : std::string(); }
    const PerTitle* Item(int index) const;
    double FrameRate() const { return frameRate_; }
    // Code page of the entries' text, and how the file stores it.
    int CodePage() const { return codePage_; }
    FileEncoding Encoding() const { return encoding_; }
    // How the file ended its lines; a save ends them the same way.
    LineEnd LineEnds() const { return lineEnd_; }

    // The one door through which entries change: applies a hunk or a whole change and answers
    // what takes it back. Throws SubtitleError, changing nothing, when a hunk reaches outside the
    // document (a whole change is checked before its first hunk is applied). Marks the document
    // modified when it holds anything.
    THunk Apply(THunk hunk);
    TChange Apply(TChange change);
    // Throws SubtitleError when Apply would refuse the change.
    void Check(const TChange& change) const;

    // Writes the document to its file in its format, atomically. False (and still modified) when
    // it is not loaded, has no entries, or the file cannot be written; why then says why.
    bool Save();
    bool Save(std::string* why);

    const std::vector<PerTitle>& Entries() const { return entries_; }

    // WebVTT and ASS/SSA: the file's head, tail and the records of its entries' fields.
    const TFormatData& FormatData() const { return data_; }
    // The record of an entry's fields (PerTitle::Fields), empty for 0 or an index it lacks.
    std::string_view Record(uint32_t fields) const;
    // The index of this record in the table, added when new. The table only grows, so that
    // entries kept by a history or a change not yet applied keep their records; it is no part of
    // what the document shows, hence const.
    uint32_t InternRecord(std::string_view record) const;
    // The first line a reader could not read and kept as it was (from 1; 0 for none), and how
    // many such lines there were.
    int BadLine() const { return data_.BadLine; }
    int BadLines() const { return data_.BadLines; }

private:
    // Throws unless the hunk fits a document of count entries; answers the count after it.
    static int CheckHunk(const THunk& hunk, int count);
    SubTitle() = default;
    void Load(TextSource source, const std::string& fileName, double frameRate,
              const FrameRateQuestionWithProposal& ask);

    std::vector<PerTitle> entries_;
    bool loaded_ = false;
    std::string fileName_;
    int32_t format_ = FormatNone;
    bool modified_ = false;
    double frameRate_ = 25.0;
    int codePage_ = kCodePageUtf8;
    FileEncoding encoding_ = FileEncoding::Plain;
    mutable TFormatData data_;
    LineEnd lineEnd_ = LineEnd::CrLf;

    friend class SubtitleReaders;
};

// The line reader: every line of the file as bytes (see TextSource for the rules). An
// unreadable or empty file gives no lines.
std::vector<std::string> ReadLines(const std::string& fileName);

// The writers: entries first..last (inclusive) to an open stream, each line ended with CR LF.
// Blank entries are left out when skipBlank; offset moves every time written. They return false
// at the first failed write, or when the range lies outside the document.
bool WriteSubRip(const SubTitle& doc, std::ostream& out, int first, bool skipBlank, int32_t offset,
                 int numberBase, int last);
bool WriteMicroDVD(const SubTitle& doc, std::ostream& out, int first, bool skipBlank,
                   int32_t offset, double frameRate, int last);
bool WriteSubViewer(const SubTitle& doc, std::ostream& out, int first, bool skipBlank,
                    int32_t offset, bool centre, int last);

// The readers, over the lines of a source; each returns the entry list it read.
std::vector<PerTitle> ParseSubRip(const TextSource& source);
// Frames are converted at frameRate. The style codes in braces right after the frames ("{y:i}")
// are no part of the text; with data they are kept as the entry's record, which the writer puts
// back and conversions read as the caption's style.
std::vector<PerTitle> ParseMicroDVD(const TextSource& source, double frameRate,
                                    TFormatData* data = nullptr);
// The frame rate a MicroDVD file states in its first line, as in "{1}{1}23.976" (frames 0 or 1,
// then a rate above 0 and nothing else); nothing when it states none.
std::optional<double> StatedFrameRate(const TextSource& source);
std::vector<PerTitle> ParseSubViewer(const TextSource& source);

// WebVTT and ASS/SSA. The readers fill data with the file's head, tail and records; the writers
// write the head, the entries first..last through their records, and the tail (the ASS writer
// for either ASS or SSA, as the document is). numberBase + 1 is the number of the first entry
// written where a WebVTT cue is numbered by its position.
std::vector<PerTitle> ParseWebVtt(const TextSource& source, TFormatData& data);
std::vector<PerTitle> ParseAss(const TextSource& source, TFormatData& data, bool& ssa);
bool WriteWebVtt(const SubTitle& doc, std::ostream& out, int first, bool skipBlank,
                 int32_t offset, int numberBase, int last);
bool WriteAss(const SubTitle& doc, std::ostream& out, int first, bool skipBlank, int32_t offset,
              int last);

// The frame rate typed in a box: a decimal number, finite and above 0, or SubtitleError.
double ParseFrameRate(std::string_view text);
// A frame number of a MicroDVD file as the first whole millisecond inside that frame (counted
// away from zero for negative frames), so that MsToFrameText gives the same frame back.
int32_t FrameToMs(int64_t frame, double rate);
