#pragma once
// Converting many texts from one code page into another, as copying a million entries between
// documents does: the converters are opened once and the buffers reused, where ConvertText opens
// fresh ones for each text. The same strict rule: nothing when a character does not decode or
// does not fit.
#include <memory>
#include <optional>
#include <string>
#include <string_view>

class TextConverter {
public:
    TextConverter(int fromCodePage, int toCodePage);
    ~TextConverter();
    TextConverter(const TextConverter&) = delete;
    TextConverter& operator=(const TextConverter&) = delete;

    // Whether texts change at all between the two pages (they differ).
    bool Converts() const;
    // The text in the target page; false (out unspecified) when it cannot be converted.
    bool Convert(std::string_view bytes, std::string& out);

    // Why the last Convert failed: the text is no valid text of its own page (a fault of the
    // source, whatever the target), or the target cannot hold a character of it.
    enum class Fault { None, Unreadable, Unheld };
    Fault LastFault() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};
