#pragma once
// SubRip files for measuring: numbered entries one to three lines long, 1.5 s apart, in UTF-8
// (English and Chinese) or in Big5 (the same lines; Chinese text with "|" and "\" trail bytes).
// The same arguments always give the same bytes.
#include "CodePage.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

inline const std::vector<std::string>& BenchLines(bool big5) {
    static const std::vector<std::string> utf8 = {
        "Where are you going tonight?",
        "我們明天早上再出發吧",
        "Don't move.",
        "他說四點鐘會到這裡",
        "I told you, it's over between us.",
        "功夫不負有心人。",
        "快走!",
        "What did he say about the money?",
        "<i>The sea was calm that night.</i>",
        "這四個人都不知道發生了什麼事",
        "- Who's there? - It's me.",
        "字幕",
        "I don't know what you're talking about, Jack.",
        "你以為我會相信這種事嗎?",
        "Get in the car. We're leaving now.",
        "四十年前,這裡還是一片荒地",
    };
    static const std::vector<std::string> legacy = [] {
        std::vector<std::string> out;
        for (const std::string& line : utf8)
            out.push_back(*FromUtf8(kCodePageBig5, line));
        return out;
    }();
    return big5 ? legacy : utf8;
}

// Appends one entry's block; number counts from 1.
inline void AppendBenchEntry(std::string& out, int number, bool big5) {
    const std::vector<std::string>& lines = BenchLines(big5);
    const uint32_t hash = static_cast<uint32_t>(number) * 2654435761u;
    const int64_t start = int64_t{number} * 1500;
    const int64_t end = start + 1000 + (hash >> 22);
    char head[80];
    auto time = [](char* p, int64_t ms) {
        return std::sprintf(p, "%02d:%02d:%02d,%03d", static_cast<int>(ms / 3600000),
                            static_cast<int>(ms / 60000 % 60), static_cast<int>(ms / 1000 % 60),
                            static_cast<int>(ms % 1000));
    };
    int n = std::sprintf(head, "%d\r\n", number);
    n += time(head + n, start);
    n += std::sprintf(head + n, " --> ");
    n += time(head + n, end);
    n += std::sprintf(head + n, "\r\n");
    out.append(head, static_cast<std::size_t>(n));
    const int count = 1 + static_cast<int>(hash >> 30) % 3;
    for (int i = 0; i < count; ++i) {
        out += lines[(hash >> (3 * i + 4)) % lines.size()];
        out += "\r\n";
    }
    out += "\r\n";
}

inline std::string GenerateSubRip(int entries, bool big5) {
    std::string out;
    out.reserve(static_cast<std::size_t>(entries) * 100);
    for (int k = 1; k <= entries; ++k)
        AppendBenchEntry(out, k, big5);
    return out;
}

// The same lines as ASS Dialogue lines or WebVTT cues, in UTF-8. A quarter of the ASS lines
// carry override tags ({\i1}…{\i0}, {\pos(…)}, {\fn…}); a quarter of the WebVTT cues carry cue
// settings and a voice tag.
inline const char* BenchAssHead() {
    return "[Script Info]\r\n; generated for measuring\r\nScriptType: v4.00+\r\nPlayResX: 1920\r\n"
           "PlayResY: 1080\r\n\r\n[V4+ Styles]\r\nFormat: Name, Fontname, Fontsize, PrimaryColour, "
           "SecondaryColour, OutlineColour, BackColour, Bold, Italic, Underline, StrikeOut, "
           "ScaleX, ScaleY, Spacing, Angle, BorderStyle, Outline, Shadow, Alignment, MarginL, "
           "MarginR, MarginV, Encoding\r\nStyle: Default,Arial,60,&H00FFFFFF,&H000000FF,"
           "&H00000000,&H00000000,0,0,0,0,100,100,0,0,1,2,2,2,10,10,10,1\r\n\r\n[Events]\r\n"
           "Format: Layer, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text\r\n";
}

inline void AppendBenchEvent(std::string& out, int number, bool vtt) {
    const std::vector<std::string>& lines = BenchLines(false);
    const uint32_t hash = static_cast<uint32_t>(number) * 2654435761u;
    // 0.35 s apart, so that a million entries stay inside the formats' 99 hours.
    const int64_t start = int64_t{number} * 350;
    const int64_t end = start + 300 + (hash >> 24) / 10 * 10;
    char head[96];
    int n = 0;
    auto time = [&](int64_t ms) {
        if (vtt)
            n += std::sprintf(head + n, "%02d:%02d:%02d.%03d", static_cast<int>(ms / 3600000),
                              static_cast<int>(ms / 60000 % 60), static_cast<int>(ms / 1000 % 60),
                              static_cast<int>(ms % 1000));
        else
            n += std::sprintf(head + n, "%d:%02d:%02d.%02d", static_cast<int>(ms / 3600000),
                              static_cast<int>(ms / 60000 % 60), static_cast<int>(ms / 1000 % 60),
                              static_cast<int>(ms % 1000 / 10));
    };
    const bool tagged = (hash >> 8) % 4 == 0;
    const int count = 1 + static_cast<int>(hash >> 30) % 3;
    if (vtt) {
        n += std::sprintf(head + n, "%d\n", number);
        time(start);
        n += std::sprintf(head + n, " --> ");
        time(end);
        n += std::sprintf(head + n, tagged ? " align:start line:10%%\n" : "\n");
        out.append(head, static_cast<std::size_t>(n));
        for (int i = 0; i < count; ++i) {
            if (i == 0 && tagged) out += "<v Narrator>";
            out += lines[(hash >> (3 * i + 4)) % lines.size()];
            out += '\n';
        }
        out += '\n';
        return;
    }
    n += std::sprintf(head + n, "Dialogue: 0,");
    time(start);
    head[n++] = ',';
    time(end);
    n += std::sprintf(head + n, ",Default,,0,0,0,,");
    out.append(head, static_cast<std::size_t>(n));
    static const char* const kTags[] = {"{\\i1}", "{\\pos(960,80)}", "{\\fn微軟正黑體}"};
    for (int i = 0; i < count; ++i) {
        if (i > 0) out += "\\N";
        if (tagged && i == 0) out += kTags[(hash >> 12) % 3];
        out += lines[(hash >> (3 * i + 4)) % lines.size()];
        if (tagged && i == 0 && (hash >> 12) % 3 == 0) out += "{\\i0}";
    }
    out += "\r\n";
}
