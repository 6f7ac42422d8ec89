// The converter's command line, parsed without running anything.
#include "ConvertArgs.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

ParsedArguments Parse(std::vector<std::string> args) {
    return ParseConvertArguments(args);
}

TEST(ConvertArgs, DefaultsFollowTheOutputName) {
    struct Case {
        const char* output;
        OutputFormat format;
    };
    for (const Case& c :
         {Case{"out.srt", OutputFormat::SubRip}, Case{"OUT.SRT", OutputFormat::SubRip},
          Case{"dir.x/out.Sub", OutputFormat::MicroDVD}}) {
        SCOPED_TRACE(c.output);
        ParsedArguments p = Parse({"in.srt", c.output});
        ASSERT_EQ(p.kind, ParsedArguments::Run) << p.error;
        EXPECT_EQ(p.options.format, c.format);
        EXPECT_EQ(p.options.input, "in.srt");
        EXPECT_EQ(p.options.output, c.output);
        EXPECT_FALSE(p.options.fps || p.options.rangeFirst || p.options.renumber ||
                     p.options.start || p.options.codePage);
        EXPECT_FALSE(p.options.skipBlank || p.options.center || p.options.force);
    }
}

TEST(ConvertArgs, EveryOptionInBothSpellings) {
    for (bool inlineValues : {false, true}) {
        auto opt = [&](std::vector<std::string>& v, const std::string& name,
                       const std::string& value) {
            if (inlineValues) {
                v.push_back(name + "=" + value);
            } else {
                v.push_back(name);
                v.push_back(value);
            }
        };
        std::vector<std::string> args{"--skip-blank", "in.sub"};
        opt(args, "--to", "srt");
        opt(args, "--fps", "23.976");
        opt(args, "--range", "11-20");
        opt(args, "--renumber", "5");
        opt(args, "--start", "01:02:03,045");
        opt(args, "--codepage", "936");
        args.push_back("out.txt"); // --to decides, so any name will do
        args.push_back("--force");
        SCOPED_TRACE(inlineValues);
        ParsedArguments p = Parse(args);
        ASSERT_EQ(p.kind, ParsedArguments::Run) << p.error;
        const ConvertOptions& o = p.options;
        EXPECT_EQ(o.input, "in.sub");
        EXPECT_EQ(o.output, "out.txt");
        EXPECT_EQ(o.format, OutputFormat::SubRip);
        EXPECT_DOUBLE_EQ(o.fps.value_or(0), 23.976);
        EXPECT_EQ(o.rangeFirst.value_or(0), 11);
        EXPECT_EQ(o.rangeLast.value_or(0), 20);
        EXPECT_EQ(o.renumber.value_or(0), 5);
        EXPECT_EQ(o.start.value_or(0), 3723045);
        EXPECT_EQ(o.codePage.value_or(0), 936);
        EXPECT_TRUE(o.skipBlank);
        EXPECT_TRUE(o.force);
        EXPECT_FALSE(o.center);
    }
}

TEST(ConvertArgs, ToOverridesTheNameAndCenterGoesWithSubViewer) {
    ParsedArguments p = Parse({"--to", "subviewer", "--center", "in.srt", "out.srt"});
    ASSERT_EQ(p.kind, ParsedArguments::Run) << p.error;
    EXPECT_EQ(p.options.format, OutputFormat::SubViewer);
    EXPECT_TRUE(p.options.center);
    p = Parse({"--to", "microdvd", "in.srt", "out.srt"});
    EXPECT_EQ(p.options.format, OutputFormat::MicroDVD);
}

TEST(ConvertArgs, DoubleDashEndsTheOptions) {
    ParsedArguments p = Parse({"--", "--in.srt", "-out.srt"});
    ASSERT_EQ(p.kind, ParsedArguments::Run) << p.error;
    EXPECT_EQ(p.options.input, "--in.srt");
    EXPECT_EQ(p.options.output, "-out.srt");
}

TEST(ConvertArgs, HelpWinsOverEverythingElse) {
    EXPECT_EQ(Parse({"--help"}).kind, ParsedArguments::Help);
    EXPECT_EQ(Parse({"in.srt", "--bogus", "-h"}).kind, ParsedArguments::Error);
    EXPECT_EQ(Parse({"-h", "--bogus"}).kind, ParsedArguments::Help);
}

TEST(ConvertArgs, StartTimesAtTheEdges) {
    struct Case {
        const char* text;
        std::optional<int32_t> ms;
    };
    for (const Case& c :
         {Case{"00:00:00,000", 0}, Case{"0:00:01,500", 1500}, Case{"596:00:00,000", 596 * 3600000},
          Case{"596:59:59,999", std::nullopt}, Case{"597:00:00,000", std::nullopt},
          Case{"00:60:00,000", std::nullopt}, Case{"00:00:60,000", std::nullopt},
          Case{"00:00:01,5", std::nullopt}, Case{"1:30", std::nullopt},
          Case{"00:00:01.000", std::nullopt}, Case{"-0:00:01,000", std::nullopt}}) {
        SCOPED_TRACE(c.text);
        ParsedArguments p = Parse({"--start", c.text, "in.srt", "out.srt"});
        if (c.ms) {
            ASSERT_EQ(p.kind, ParsedArguments::Run) << p.error;
            EXPECT_EQ(p.options.start, c.ms);
        } else {
            EXPECT_EQ(p.kind, ParsedArguments::Error);
        }
    }
}

TEST(ConvertArgs, CodePageByNumberOrName) {
    struct Case {
        const char* value;
        std::optional<int> codePage;
    };
    for (const Case& c :
         {Case{"950", 950}, Case{"big5", 950}, Case{"936", 936}, Case{"GBK", 936}, Case{"932", 932},
          Case{"shift_jis", 932}, Case{"949", 949}, Case{"euc-kr", 949}, Case{"1252", 1252},
          Case{"windows-1252", 1252}, Case{"gb18030", 54936}, Case{"utf-8", std::nullopt},
          Case{"65001", std::nullopt}, Case{"0", std::nullopt}}) {
        SCOPED_TRACE(c.value);
        ParsedArguments p = Parse({"--codepage", c.value, "in.srt", "out.srt"});
        if (c.codePage) {
            ASSERT_EQ(p.kind, ParsedArguments::Run) << p.error;
            EXPECT_EQ(p.options.codePage, c.codePage);
        } else {
            EXPECT_EQ(p.kind, ParsedArguments::Error);
            EXPECT_NE(p.error.find("--codepage"), std::string::npos) << p.error;
        }
    }
}

// --encoding takes the encodings the Save As dialog offers, by their usual names.
TEST(ConvertArgs, EncodingNames) {
    ParsedArguments p = Parse({"--encoding", "utf-8-bom", "in.srt", "out.srt"});
    ASSERT_EQ(p.kind, ParsedArguments::Run) << p.error;
    EXPECT_EQ(p.options.encoding, (OutputEncoding{kCodePageUtf8, FileEncoding::Utf8Bom}));
    p = Parse({"--encoding=big5", "in.srt", "out.srt"});
    ASSERT_EQ(p.kind, ParsedArguments::Run) << p.error;
    EXPECT_EQ(p.options.encoding, (OutputEncoding{kCodePageBig5, FileEncoding::Plain}));
    EXPECT_FALSE(Parse({"in.srt", "out.srt"}).options.encoding);
    p = Parse({"--encoding", "koi8-r", "in.srt", "out.srt"});
    EXPECT_EQ(p.kind, ParsedArguments::Error);
    EXPECT_NE(p.error.find("--encoding"), std::string::npos) << p.error;
}

// --chinese takes the six conversions by their names, nothing else.
TEST(ConvertArgs, ChineseConversionNames) {
    for (std::string_view name : ChineseDirectionNames()) {
        ParsedArguments p = Parse({"--chinese", std::string(name), "in.srt", "out.srt"});
        ASSERT_EQ(p.kind, ParsedArguments::Run) << p.error;
        EXPECT_EQ(p.options.chinese, ChineseDirectionFromName(name));
    }
    EXPECT_FALSE(Parse({"in.srt", "out.srt"}).options.chinese);
    for (const char* bad : {"S2TWP", "s2tw", ""}) {
        ParsedArguments p = Parse({std::string("--chinese=") + bad, "in.srt", "out.srt"});
        EXPECT_EQ(p.kind, ParsedArguments::Error) << bad;
        EXPECT_NE(p.error.find("--chinese"), std::string::npos) << p.error;
    }
}

TEST(ConvertArgs, LineEnds) {
    EXPECT_EQ(Parse({"--eol", "lf", "in.srt", "out.srt"}).options.lineEnd, LineEnd::Lf);
    EXPECT_EQ(Parse({"--eol=crlf", "in.srt", "out.srt"}).options.lineEnd, LineEnd::CrLf);
    EXPECT_FALSE(Parse({"in.srt", "out.srt"}).options.lineEnd);
    const ParsedArguments p = Parse({"--eol", "cr", "in.srt", "out.srt"});
    EXPECT_EQ(p.kind, ParsedArguments::Error);
    EXPECT_NE(p.error.find("--eol"), std::string::npos) << p.error;
}

} // namespace
