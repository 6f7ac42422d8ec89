#pragma once
// Style tags in captions: a caption as it is shown (its lines without tags, and whether it is in
// italics), and a text carried from one format's tags into another's.
#include "Subtitle.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct TCaption {
    // The lines, in the document's code page, without tags: "{…}" in ASS and SSA, "<…>" in
    // WebVTT and SubRip (and SubViewer), MicroDVD's "{y:i}" codes; WebVTT's character references
    // (&amp; &lt; &gt; &nbsp;) and ASS's hard space (\h) as the characters they stand for.
    std::vector<std::string> Lines;
    // The tags put the caption in italics: {\i1} in ASS, <i> in WebVTT and SubRip, {y:i} in
    // MicroDVD.
    bool Italic = false;
};

// A text as the panes hold it ("|" between lines), of a document in format (SubtitleFormat).
TCaption CaptionOf(std::string_view text, int32_t format, int codePage);
// An entry of a document; an ASS Comment line shows nothing.
TCaption CaptionOf(const SubTitle& doc, int index);

// The text of a document of format from carried into format to: SubRip's (and WebVTT's) <i>,
// <b>, <u>, <s> become {\i1}…{\i0} and the like in ASS and the other way round, MicroDVD's
// {y:i} becomes italics in ASS and WebVTT, WebVTT's character references and ASS's \h become
// characters where the other format has no such escapes; a tag the other format has no
// counterpart for is left out and counted in dropped. Between SubRip, MicroDVD and SubViewer,
// and between ASS and SSA, a text stays as it is.
std::string ConvertTags(std::string_view text, int32_t from, int32_t to, int codePage,
                        int& dropped);

// The file name filter of the open dialogs: every format the readers know, then all files, as
// "Name (*.a *.b)|*.a;*.b|…" pairs the questions seam takes.
std::string OpenFilter();
