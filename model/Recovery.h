#pragma once
// Recovery copies: a document written so that it comes back exactly (every entry's times and
// text bytes, the file it belongs to, its format, code page, encoding and frame rate), which no
// subtitle format does (SubViewer keeps hundredths, MicroDVD frames). The editor writes one for
// every changed document now and then, and offers them after a run that did not end cleanly.
#include "Subtitle.h"

#include <cstdint>
#include <optional>
#include <string>

struct TRecoveryInfo {
    std::string FileName; // the document's own file
    int32_t Format = FormatNone;
    double FrameRate = 25.0;
    int CodePage = kCodePageUtf8;
    FileEncoding Encoding = FileEncoding::Plain;
    LineEnd LineEnds = LineEnd::CrLf;
    int Side = 0;
    int64_t SavedAt = 0; // seconds since 1970
    int Count = 0;
};

// The copy's bytes for a document shown on a side.
std::string RecoveryBytes(const SubTitle& doc, int side, int64_t savedAt);
// The same written into out (emptied first), which keeps its storage: a copy made again and
// again into the same buffer touches no new memory.
void RecoveryBytes(const SubTitle& doc, int side, int64_t savedAt, std::string& out);
// At least the size of the copy's bytes.
std::size_t RecoveryBytesBound(const SubTitle& doc);
// What a copy holds, read from its head only; nothing for a file that is no whole recovery copy.
std::optional<TRecoveryInfo> ReadRecoveryInfo(const std::string& path);
// The document back, modified (it differs from its file); nothing for a damaged copy.
std::optional<SubTitle> ReadRecovery(const std::string& path, TRecoveryInfo* info = nullptr);
