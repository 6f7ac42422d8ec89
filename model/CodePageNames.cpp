// Code page names and numbers: the program's legacy page, the pages supported, their names for
// messages and on the command line, and ICU's converter names.
#include "CodePage.h"
#include "CodePageBytes.h"

#include <atomic>
#include <string>

namespace {

std::atomic<int> legacyCodePage{kCodePageBig5};

} // namespace

// ICU's "cp950" is a different table; these are the code pages as Windows defines them.
const char* IcuConverterName(int codePage) {
    switch (codePage) {
    case kCodePageBig5:
        return "windows-950-2000";
    case kCodePageGbk:
        return "windows-936-2000";
    case kCodePageShiftJis:
        return "windows-932";
    case kCodePageEucKr:
        return "windows-949-2000";
    case kCodePageWindows1252:
        return "ibm-5348_P100-1997"; // windows-1252
    case kCodePageGb18030:
        return "gb18030";
    default:
        return "UTF-8";
    }
}

int LegacyCodePage() {
    return legacyCodePage.load(std::memory_order_relaxed);
}

bool SetLegacyCodePage(int codePage) {
    if (!IsLegacyCodePage(codePage)) return false;
    legacyCodePage.store(codePage, std::memory_order_relaxed);
    return true;
}

bool IsLegacyCodePage(int codePage) {
    return codepage::IsDoubleByte(codePage) || codePage == kCodePageWindows1252;
}

bool IsSupportedCodePage(int codePage) {
    return codePage == kCodePageUtf8 || IsLegacyCodePage(codePage);
}

const char* CodePageName(int codePage) {
    switch (codePage) {
    case kCodePageBig5:
        return "Big5";
    case kCodePageGbk:
        return "GBK";
    case kCodePageShiftJis:
        return "Shift-JIS";
    case kCodePageEucKr:
        return "EUC-KR";
    case kCodePageWindows1252:
        return "Windows-1252";
    case kCodePageGb18030:
        return "GB18030";
    case kCodePageUtf8:
        return "UTF-8";
    default:
        return "unknown";
    }
}

std::optional<int> LegacyCodePageFromName(std::string_view name) {
    std::string key;
    for (char c : name) {
        // "Shift_JIS", "shift-jis" and "ShiftJIS" are one name.
        if (c == '-' || c == '_' || c == ' ') continue;
        key += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    }
    static const struct {
        const char* name;
        int codePage;
    } kNames[] = {
        {"950", kCodePageBig5},
        {"big5", kCodePageBig5},
        {"cp950", kCodePageBig5},
        {"windows950", kCodePageBig5},
        {"936", kCodePageGbk},
        {"gbk", kCodePageGbk},
        {"gb2312", kCodePageGbk},
        {"cp936", kCodePageGbk},
        {"windows936", kCodePageGbk},
        {"932", kCodePageShiftJis},
        {"shiftjis", kCodePageShiftJis},
        {"sjis", kCodePageShiftJis},
        {"cp932", kCodePageShiftJis},
        {"windows932", kCodePageShiftJis},
        {"949", kCodePageEucKr},
        {"euckr", kCodePageEucKr},
        {"cp949", kCodePageEucKr},
        {"uhc", kCodePageEucKr},
        {"windows949", kCodePageEucKr},
        {"1252", kCodePageWindows1252},
        {"windows1252", kCodePageWindows1252},
        {"cp1252", kCodePageWindows1252},
        {"latin1", kCodePageWindows1252},
        {"iso88591", kCodePageWindows1252},
        {"54936", kCodePageGb18030},
        {"gb18030", kCodePageGb18030},
    };
    for (const auto& entry : kNames)
        if (key == entry.name) return entry.codePage;
    return std::nullopt;
}
