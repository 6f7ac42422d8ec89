#include "Tags.h"

#include "FormatRecords.h"

#include <array>

namespace {

bool IsAss(int32_t format) {
    return format == FormatASS || format == FormatSSA;
}

// Formats whose texts mark styles with <i>-like tags.
bool IsAngle(int32_t format) {
    return format == FormatSubRip || format == FormatSubViewer || format == FormatWebVTT;
}

std::size_t Step(int codePage, std::string_view text, std::size_t i) {
    return codePage == kCodePageUtf8 || static_cast<unsigned char>(text[i]) < 0x80
               ? 1
               : CharLength(codePage, text, i);
}

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// WebVTT's character references that stand for one character, and what they stand for in
// UTF-8 (the no-break space is a plain space in other code pages).
struct Reference {
    std::string_view name, utf8, other;
};
constexpr std::array<Reference, 6> kReferences{{{"&amp;", "&", "&"},
                                                 {"&lt;", "<", "<"},
                                                 {"&gt;", ">", ">"},
                                                 {"&nbsp;", "\xC2\xA0", " "},
                                                 {"&lrm;", "\xE2\x80\x8E", ""},
                                                 {"&rlm;", "\xE2\x80\x8F", ""}}};

// A reference at i: its length and what it stands for; 0 when there is none.
std::size_t ReferenceAt(std::string_view text, std::size_t i, int codePage,
                        std::string_view& stands) {
    for (const Reference& r : kReferences) {
        if (text.compare(i, r.name.size(), r.name) == 0) {
            stands = codePage == kCodePageUtf8 ? r.utf8 : r.other;
            return r.name.size();
        }
    }
    return 0;
}

// An angle tag <…> at i (up to its ">"): its name in lower case without classes ("i" of
// "<i.loud>"), whether it closes, and its length; false when there is no whole tag.
struct AngleTag {
    std::string name;
    bool closing = false;
    std::size_t length = 0;
};
bool AngleTagAt(std::string_view text, std::size_t i, AngleTag& tag) {
    if (text[i] != '<') return false;
    const std::size_t close = text.find('>', i + 1);
    if (close == std::string_view::npos) return false;
    std::string_view inner = text.substr(i + 1, close - i - 1);
    // A "|" is a line break: a tag never reaches over one.
    if (inner.empty() || inner.find('|') != std::string_view::npos) return false;
    tag.closing = inner.front() == '/';
    if (tag.closing) inner.remove_prefix(1);
    // "a < b" is no tag: a name or a timestamp follows the "<" at once.
    const auto first = inner.empty() ? '\0' : inner.front();
    if (!((first >= 'a' && first <= 'z') || (first >= 'A' && first <= 'Z') ||
          (first >= '0' && first <= '9')))
        return false;
    tag.name.clear();
    for (char c : inner) {
        if (c == '.' || c == ' ' || c == '\t' || c == '=') break;
        tag.name += Lower(c);
    }
    tag.length = close - i + 1;
    return true;
}

bool IsStyleTag(const std::string& name) {
    return name == "i" || name == "b" || name == "u" || name == "s";
}

// The override codes inside an ASS block "{…}", each "\name+argument".
template <typename Each> void EachOverride(std::string_view block, Each each) {
    std::size_t i = 0;
    while ((i = block.find('\\', i)) != std::string_view::npos) {
        std::size_t j = i + 1;
        // An argument in parentheses may hold backslashes of its own (\t(\i1)).
        int depth = 0;
        while (j < block.size() && (depth > 0 || block[j] != '\\')) {
            if (block[j] == '(') ++depth;
            if (block[j] == ')' && depth > 0) --depth;
            ++j;
        }
        each(block.substr(i + 1, j - i - 1));
        i = j;
    }
}

// A style code of an override ("i1", "b0", "b700"): the tag's letter and whether it opens.
bool StyleOverride(std::string_view code, char& letter, bool& opens) {
    if (code.size() < 2) return false;
    letter = code[0];
    if (letter != 'i' && letter != 'b' && letter != 'u' && letter != 's') return false;
    for (std::size_t k = 1; k < code.size(); ++k)
        if (code[k] < '0' || code[k] > '9') return false;
    opens = code.substr(1) != "0";
    return true;
}

// A MicroDVD control code "{y:i}" at i: its length, its letter in lower case, its value.
bool MicroDvdCodeAt(std::string_view text, std::size_t i, std::size_t& length, char& letter,
                    std::string_view& value) {
    if (text[i] != '{' || i + 3 >= text.size() || text[i + 2] != ':') return false;
    const std::size_t close = text.find('}', i);
    if (close == std::string_view::npos || text.substr(i, close - i).find('|') != std::string_view::npos)
        return false;
    const char c = Lower(text[i + 1]);
    if (c < 'a' || c > 'z') return false;
    letter = c;
    value = text.substr(i + 3, close - i - 3);
    length = close - i + 1;
    return true;
}

} // namespace

TCaption CaptionOf(std::string_view text, int32_t format, int codePage) {
    TCaption caption;
    std::string line;
    const bool escapes = IsAss(format) || format == FormatWebVTT;
    for (std::size_t i = 0; i < text.size();) {
        const char c = text[i];
        if (escapes && c == '\\' && i + 1 < text.size() && text[i + 1] == '|') {
            line += '|';
            i += 2;
            continue;
        }
        if (c == '|') {
            caption.Lines.push_back(std::move(line));
            line.clear();
            ++i;
            continue;
        }
        if (IsAss(format)) {
            if (c == '{') {
                const std::size_t close = FindMarker(codePage, text, "}", i + 1);
                if (close != std::string_view::npos) {
                    EachOverride(text.substr(i + 1, close - i - 1), [&](std::string_view code) {
                        char letter;
                        bool opens;
                        if (StyleOverride(code, letter, opens) && letter == 'i' && opens)
                            caption.Italic = true;
                    });
                    i = close + 1;
                    continue;
                }
            }
            if (c == '\\' && i + 1 < text.size() && text[i + 1] == 'h') {
                line += ' ';
                i += 2;
                continue;
            }
        } else {
            AngleTag tag;
            if (c == '<' && AngleTagAt(text, i, tag)) {
                if (tag.name == "i" && !tag.closing) caption.Italic = true;
                i += tag.length;
                continue;
            }
            std::string_view stands;
            if (format == FormatWebVTT && c == '&') {
                if (const std::size_t n = ReferenceAt(text, i, codePage, stands)) {
                    line.append(stands);
                    i += n;
                    continue;
                }
            }
            std::size_t length;
            char letter;
            std::string_view value;
            if (format == FormatMicroDVD && MicroDvdCodeAt(text, i, length, letter, value)) {
                if (letter == 'y' && value.find_first_of("iI") != std::string_view::npos)
                    caption.Italic = true;
                i += length;
                continue;
            }
        }
        const std::size_t n = Step(codePage, text, i);
        line.append(text.substr(i, n));
        i += n;
    }
    caption.Lines.push_back(std::move(line));
    return caption;
}

TCaption CaptionOf(const SubTitle& doc, int index) {
    const PerTitle* e = doc.Item(index);
    if (!e) return {};
    if (IsAss(doc.FormatIndex()) && IsAssComment(doc.Record(e->Fields))) return {};
    // MicroDVD's codes after the frames style the whole caption.
    if (doc.FormatIndex() == FormatMicroDVD && e->Fields != 0)
        return CaptionOf(std::string(doc.Record(e->Fields)) + e->Text, FormatMicroDVD,
                         doc.CodePage());
    return CaptionOf(e->Text, doc.FormatIndex(), doc.CodePage());
}

namespace {

// Copies the character at i, as WebVTT's reference when escape and it is "&" or "<"; moves i
// past it.
void CopyCharacter(std::string& out, std::string_view text, std::size_t& i, int codePage,
                   bool escape) {
    const char c = text[i];
    if (escape && (c == '&' || c == '<')) {
        out += c == '&' ? "&amp;" : "&lt;";
        ++i;
        return;
    }
    const std::size_t n = Step(codePage, text, i);
    out.append(text.substr(i, n));
    i += n;
}

const char* AssStyle(char letter, bool opens) {
    switch (letter) {
    case 'i':
        return opens ? "{\\i1}" : "{\\i0}";
    case 'b':
        return opens ? "{\\b1}" : "{\\b0}";
    case 'u':
        return opens ? "{\\u1}" : "{\\u0}";
    default:
        return opens ? "{\\s1}" : "{\\s0}";
    }
}

std::string Angle(char letter, bool opens) {
    return std::string(opens ? "<" : "</") + letter + ">";
}

// From SubRip, SubViewer or WebVTT.
std::string FromAngle(std::string_view text, int32_t from, int32_t to, int codePage,
                      int& dropped) {
    std::string out;
    out.reserve(text.size() + 8);
    const bool vtt = from == FormatWebVTT;
    for (std::size_t i = 0; i < text.size();) {
        const char c = text[i];
        if (vtt && c == '\\' && i + 1 < text.size() && text[i + 1] == '|') {
            out.append(to == FormatWebVTT || IsAss(to) ? "\\|" : "|");
            i += 2;
            continue;
        }
        AngleTag tag;
        if (c == '<' && AngleTagAt(text, i, tag)) {
            i += tag.length;
            if (IsStyleTag(tag.name)) {
                if (IsAss(to))
                    out += AssStyle(tag.name[0], !tag.closing);
                else
                    out += Angle(tag.name[0], !tag.closing);
            } else if (!tag.closing) {
                ++dropped;
            }
            continue;
        }
        std::string_view stands;
        if (vtt && c == '&') {
            if (const std::size_t n = ReferenceAt(text, i, codePage, stands)) {
                if (IsAss(to) && stands != "&" && stands != "<" && stands != ">")
                    out += stands.empty() ? "" : "\\h";
                else
                    out.append(stands);
                i += n;
                continue;
            }
        }
        CopyCharacter(out, text, i, codePage, !vtt && to == FormatWebVTT);
    }
    return out;
}

// From ASS or SSA.
std::string FromAss(std::string_view text, int32_t to, int codePage, int& dropped) {
    std::string out;
    out.reserve(text.size());
    const bool vtt = to == FormatWebVTT;
    for (std::size_t i = 0; i < text.size();) {
        const char c = text[i];
        if (c == '\\' && i + 1 < text.size() && text[i + 1] == '|') {
            out.append(vtt ? "\\|" : "|");
            i += 2;
            continue;
        }
        if (c == '\\' && i + 1 < text.size() && text[i + 1] == 'h') {
            out.append(vtt ? "&nbsp;" : " ");
            i += 2;
            continue;
        }
        if (c == '{') {
            const std::size_t close = FindMarker(codePage, text, "}", i + 1);
            if (close != std::string_view::npos) {
                const std::string_view block = text.substr(i + 1, close - i - 1);
                if (block.find('\\') == std::string_view::npos && !block.empty()) ++dropped;
                EachOverride(block, [&](std::string_view code) {
                    char letter;
                    bool opens;
                    if (StyleOverride(code, letter, opens))
                        out += Angle(letter, opens);
                    else
                        ++dropped;
                });
                i = close + 1;
                continue;
            }
        }
        CopyCharacter(out, text, i, codePage, vtt);
    }
    return out;
}

// From MicroDVD to WebVTT or ASS: a line's {y:i} (a {Y:i} for every line after it) becomes
// italics (bold, underline, strike-out likewise); other codes are dropped.
std::string FromMicroDvd(std::string_view text, int32_t to, int codePage, int& dropped) {
    const bool vtt = to == FormatWebVTT;
    auto open = [vtt](char s) { return vtt ? Angle(s, true) : std::string(AssStyle(s, true)); };
    auto close = [vtt](char s) { return vtt ? Angle(s, false) : std::string(AssStyle(s, false)); };
    std::string out;
    std::string all; // the styles of every later line
    std::size_t i = 0;
    for (;;) {
        std::string own; // the styles of this line alone
        // WebVTT's tags do not reach over a line: each line opens and closes its own.
        if (vtt)
            for (char s : all)
                out += open(s);
        while (i < text.size() && text[i] != '|') {
            std::size_t length;
            char letter;
            std::string_view value;
            if (MicroDvdCodeAt(text, i, length, letter, value)) {
                const bool every = text[i + 1] >= 'A' && text[i + 1] <= 'Z';
                if (letter != 'y') ++dropped;
                for (char v : letter == 'y' ? value : std::string_view()) {
                    const char s = Lower(v);
                    if (s != 'i' && s != 'b' && s != 'u' && s != 's') continue;
                    std::string& into = every ? all : own;
                    if (into.find(s) != std::string::npos) continue;
                    into += s;
                    out += open(s);
                }
                i += length;
            } else {
                CopyCharacter(out, text, i, codePage, vtt);
            }
        }
        const bool more = i < text.size();
        if (vtt || more)
            for (std::size_t k = own.size(); k > 0; --k)
                out += close(own[k - 1]);
        if (vtt)
            for (std::size_t k = all.size(); k > 0; --k)
                out += close(all[k - 1]);
        if (!more) break;
        out += '|';
        ++i;
    }
    return out;
}

} // namespace

std::string ConvertTags(std::string_view text, int32_t from, int32_t to, int codePage,
                        int& dropped) {
    const bool fieldTo = IsFieldFormat(to), fieldFrom = IsFieldFormat(from);
    if (from == to || (!fieldTo && !fieldFrom) || (IsAss(from) && IsAss(to)))
        return std::string(text);
    if (IsAss(from)) return FromAss(text, to, codePage, dropped);
    if (from == FormatMicroDVD) return FromMicroDvd(text, to, codePage, dropped);
    if (IsAngle(from)) return FromAngle(text, from, to, codePage, dropped);
    return std::string(text);
}

std::string OpenFilter() {
    // .txt: a file of any format may come named so; the reader goes by its content.
    return "Subtitles (*.srt;*.sub;*.txt;*.vtt;*.ass;*.ssa)|*.srt;*.sub;*.txt;*.vtt;*.ass;*.ssa|"
           "SubRip (*.srt)|*.srt|MicroDVD,Subviewer(*.sub)|*.sub|WebVTT (*.vtt)|*.vtt|"
           "ASS,SSA (*.ass;*.ssa)|*.ass;*.ssa|Text File(*.txt)|*.txt|All Files(*.*)|*.*";
}
