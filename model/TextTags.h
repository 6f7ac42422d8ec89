#pragma once
// The formatting tags inside a caption's text, which are not shown and not words: ASS override
// blocks "{\fn...}" and SubRip/WebVTT tags "<i>", "</font>", "<c.yellow>", "<00:00:01.000>". The
// text is UTF-8 (or any page whose characters never hold an ASCII byte).
#include <cstddef>
#include <string_view>

// The end (one past) of the tag starting at pos, or pos when none starts there. A brace never
// closed, or a "<" not followed by a letter, digit or "/", is text.
inline std::size_t TagEnd(std::string_view text, std::size_t pos) {
    const char c = text[pos];
    char close = 0;
    if (c == '{') {
        close = '}';
    } else if (c == '<' && pos + 1 < text.size()) {
        const char n = text[pos + 1];
        if (n == '/' || (n >= 'a' && n <= 'z') || (n >= 'A' && n <= 'Z') || (n >= '0' && n <= '9'))
            close = '>';
    }
    if (!close) return pos;
    const std::size_t end = text.find(close, pos + 1);
    return end == std::string_view::npos ? pos : end + 1;
}
