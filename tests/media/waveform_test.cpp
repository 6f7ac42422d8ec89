// The film's sound and keyframes read from films made here with ffmpeg's test sources: a tone
// at known moments with silence between, a picture with a keyframe every second.
#include "SoundCache.h"
#include "Waveform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// The filter graph's own commas are written "\,".
// The 1 kHz bursts of the test film, in ms.
struct TBurst {
    int64_t From, To;
};
const std::vector<TBurst> kBursts = {{1000, 1500}, {2500, 2750}, {3800, 4400}};
constexpr int64_t kFilmMs = 5000;
constexpr int64_t kKeyEveryMs = 1000;

std::string Tone() {
    std::string on;
    for (const TBurst& b : kBursts)
        on += (on.empty() ? "" : "+") + std::string("between(t\\,") + std::to_string(b.From / 1000.0) +
              "\\," + std::to_string(b.To / 1000.0 - 1e-6) + ")";
    return "aevalsrc=0.5*sin(2*PI*1000*t)*(" + on + "):s=48000:c=stereo:d=" +
           std::to_string(kFilmMs / 1000.0);
}

class FilmFolder {
public:
    FilmFolder() {
        dir = fs::temp_directory_path() / ("velitra-media-" + std::to_string(::getpid()));
        fs::create_directories(dir);
        const std::string picture = "-f lavfi -i testsrc=s=64x48:r=25:d=" +
                                    std::to_string(kFilmMs / 1000.0);
        const std::string sound = "-f lavfi -i \"" + Tone() + "\"";
        const std::string coders = "-c:v libx264 -preset ultrafast -bf 0 -g 25 -keyint_min 25"
                                   " -sc_threshold 0 -pix_fmt yuv420p -c:a aac -b:a 96k";
        Make(picture + " " + sound + " " + coders + " -movflags +faststart", "film.mp4");
        Make(picture + " " + sound + " " + coders, "tail-index.mp4");
        Make("-i " + Path("film.mp4") + " -c copy", "film.mkv");
        Make(picture + " " + coders, "silent.mp4");
        std::ofstream(Path("notes.txt")) << "1\n00:00:01,000 --> 00:00:02,000\nnot a film\n";
        Cut("tail-index.mp4", "truncated.mp4", 0.5);
        Cut("film.mp4", "damaged.mp4", 0.6);
        std::ofstream(Path("list.ffconcat")) << "ffconcat version 1.0\nfile 'film.mp4'\n";
    }
    ~FilmFolder() {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
    std::string Path(const std::string& name) const { return (dir / name).string(); }

    fs::path dir;

private:
    void Make(const std::string& args, const std::string& name) {
        const std::string cmd = "ffmpeg -nostdin -v error -y " + args + " " + Path(name);
        if (std::system(cmd.c_str()) != 0) ADD_FAILURE() << "could not make " << name;
    }
    // The first part of a film, as a download broken off leaves it.
    void Cut(const std::string& from, const std::string& to, double part) {
        if (!fs::exists(Path(from))) return;
        fs::copy_file(Path(from), Path(to), fs::copy_options::overwrite_existing);
        fs::resize_file(Path(to), uint64_t(fs::file_size(Path(to)) * part));
    }
};

const FilmFolder& Films() {
    static FilmFolder films;
    return films;
}

const auto kGo = [](double) { return true; };

bool InBurst(int64_t ms, int64_t margin) {
    return std::any_of(kBursts.begin(), kBursts.end(), [&](const TBurst& b) {
        return ms >= b.From - margin && ms < b.To + margin;
    });
}

int Peak(const TWaveform& w, size_t bucket) {
    return std::max(std::abs(int(w.Min[bucket])), std::abs(int(w.Max[bucket])));
}

} // namespace

TEST(Waveform, BucketsAreLoudExactlyWhereTheToneIs) {
    std::string why;
    const std::optional<TWaveform> w = ReadWaveform(Films().Path("film.mp4"), kGo, &why);
    ASSERT_TRUE(w) << why;
    EXPECT_EQ(w->BucketMs, 10);
    EXPECT_NEAR(double(w->DurationMs), double(kFilmMs), 50);
    ASSERT_EQ(w->Min.size(), w->Max.size());
    ASSERT_GE(w->Min.size(), size_t(kFilmMs / 10 - 5));
    // The coder smears a tone's edges over a few milliseconds; away from them it is plain.
    for (size_t b = 0; b < w->Min.size(); ++b) {
        const int64_t ms = int64_t(b) * 10;
        if (InBurst(ms, -20)) {
            EXPECT_GT(Peak(*w, b), 32767 * 0.4) << "bucket at " << ms << " ms";
        } else if (!InBurst(ms, 30)) {
            EXPECT_LT(Peak(*w, b), 32767 * 0.01) << "bucket at " << ms << " ms";
        }
    }
    // Each burst begins in its own bucket, give or take one.
    for (const TBurst& burst : kBursts) {
        size_t first = size_t(burst.From / 10 - 5);
        while (first < w->Min.size() && Peak(*w, first) < 32767 * 0.2) ++first;
        EXPECT_NEAR(double(first) * 10, double(burst.From), 10);
    }
}

TEST(Waveform, SpectrogramShowsTheToneInItsBand) {
    std::string why;
    const std::optional<TSound> s = ReadSound(Films().Path("film.mp4"), kGo, &why);
    ASSERT_TRUE(s) << why;
    const TSpectrogram& sp = s->Spectrum;
    ASSERT_EQ(sp.Bins, 128);
    EXPECT_NEAR(double(sp.Columns()), double(kFilmMs / sp.ColumnMs), 2);
    const int toneBin = 1000 * sp.Bins / sp.MaxHz;
    const int64_t inTone = (kBursts[0].From + 200) / sp.ColumnMs;
    const int64_t inSilence = 500 / sp.ColumnMs;
    int loudest = 0;
    for (int b = 0; b < sp.Bins; ++b)
        if (sp.At(inTone, b) > sp.At(inTone, loudest)) loudest = b;
    EXPECT_NEAR(loudest, toneBin, 1);
    EXPECT_GT(sp.At(inTone, toneBin), 200); // a tone at half of full scale: about -6 dB
    EXPECT_LT(sp.At(inTone, toneBin + 20), sp.At(inTone, toneBin) - 100);
    EXPECT_LT(sp.At(inSilence, toneBin), 60);
}

TEST(Waveform, StretchesReadSideBySideGiveWhatOneStretchGives) {
    std::string why;
    TReadOptions one;
    one.Stretches = 1;
    const std::optional<TSound> whole = ReadSound(Films().Path("film.mp4"), kGo, &why, one);
    ASSERT_TRUE(whole) << why;
    // The last: a header that says too little; the sound past it is kept all the same.
    struct Cut {
        int Threads, Stretches;
        int64_t StatedMs;
    };
    for (const auto& [threads, stretches, stated] :
         {Cut{2, 3, -1}, Cut{3, 7, -1}, Cut{1, 4, -1}, Cut{2, 3, 2000}, Cut{1, 1, 700}}) {
        TReadOptions parts;
        parts.Threads = threads;
        parts.Stretches = stretches;
        parts.StatedMs = stated;
        const std::optional<TSound> cut = ReadSound(Films().Path("film.mp4"), kGo, &why, parts);
        ASSERT_TRUE(cut) << why;
        SCOPED_TRACE(std::to_string(stretches) + " stretches, stated " + std::to_string(stated));
        EXPECT_EQ(cut->Wave.DurationMs, whole->Wave.DurationMs);
        EXPECT_EQ(cut->Wave.Min, whole->Wave.Min);
        EXPECT_EQ(cut->Wave.Max, whole->Wave.Max);
        EXPECT_EQ(cut->Spectrum.Cells, whole->Spectrum.Cells);
    }
}

TEST(Waveform, ProgressRisesToOneAndStoppingGivesNothing) {
    std::vector<double> seen;
    std::string why;
    TReadOptions slow;
    slow.Stretches = 3;
    ASSERT_TRUE(ReadSound(
        Films().Path("film.mp4"),
        [&](double f) {
            seen.push_back(f);
            return true;
        },
        &why, slow));
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back(), 1.0);
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    EXPECT_GE(seen.front(), 0.0);

    int calls = 0;
    why.clear();
    const auto stop = [&](double) { return ++calls < 1; };
    EXPECT_FALSE(ReadWaveform(Films().Path("film.mp4"), stop, &why));
    EXPECT_EQ(calls, 1);
    EXPECT_NE(why.find("stopped"), std::string::npos) << why;
}

TEST(Waveform, WhatCannotBeReadSaysWhy) {
    struct Case {
        const char* File;
        const char* Why;
    };
    for (const Case& c : {Case{"silent.mp4", "no sound"}, Case{"notes.txt", "not a film"},
                          Case{"truncated.mp4", "not a film"}, Case{"absent.mp4", "does not exist"},
                          Case{"", "not a regular file"},
                          // The list names a good film; the editor reads only what it was given.
                          Case{"list.ffconcat", "not a film"}}) {
        std::string why;
        EXPECT_FALSE(ReadWaveform(Films().Path(c.File), kGo, &why)) << c.File;
        EXPECT_NE(why.find(c.Why), std::string::npos) << c.File << ": " << why;
    }
}

TEST(Waveform, ADamagedEndIsSilenceAndTheRestIsKept) {
    std::string why;
    const std::optional<TWaveform> w = ReadWaveform(Films().Path("damaged.mp4"), kGo, &why);
    ASSERT_TRUE(w) << why;
    // The first burst lies in the part that is there.
    ASSERT_GT(w->Max.size(), size_t(kBursts[0].To / 10));
    EXPECT_GT(Peak(*w, size_t(kBursts[0].From + 200) / 10), 32767 * 0.4);
    for (size_t b = size_t(kBursts[0].To + 30) / 10; b < size_t(kBursts[1].From - 30) / 10; ++b)
        EXPECT_LT(Peak(*w, b), 32767 * 0.01);
}

TEST(Keyframes, AreWhereTheCoderPutThem) {
    std::vector<int64_t> expected;
    for (int64_t t = 0; t < kFilmMs; t += kKeyEveryMs) expected.push_back(t);
    std::string why;
    EXPECT_EQ(ReadKeyframes(Films().Path("film.mp4"), &why), expected);
    EXPECT_EQ(why, "");
    // Read from the packets of another container, which may start the picture a few ms late.
    std::vector<int64_t> mkv = ReadKeyframes(Films().Path("film.mkv"), &why);
    EXPECT_EQ(why, "");
    ASSERT_EQ(mkv.size(), expected.size());
    EXPECT_LT(mkv[0], 30);
    for (size_t k = 0; k < mkv.size(); ++k) EXPECT_EQ(mkv[k] - mkv[0], expected[k]);

    why.clear();
    EXPECT_TRUE(ReadKeyframes(Films().Path("notes.txt"), &why).empty());
    EXPECT_NE(why.find("not a film"), std::string::npos) << why;

    const std::optional<TSound> all = ReadFilmSound(Films().Path("film.mp4"), kGo, &why);
    ASSERT_TRUE(all) << why;
    EXPECT_EQ(all->Keyframes, expected);
    EXPECT_TRUE(ReadKeyframes(Films().Path("silent.mp4"), &why).size() == expected.size());
}

class SoundCacheTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = Films().dir / ("cache-" + std::string(
            ::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(folder);
    }
    // A copy of the test film under another name: another entry of the same size.
    std::string Copy(const std::string& name) {
        const std::string path = Films().Path(name);
        fs::copy_file(Films().Path("film.mp4"), path, fs::copy_options::overwrite_existing);
        return path;
    }
    static TSound Sample(int64_t ms) {
        TSound s;
        s.Wave.DurationMs = ms;
        s.Wave.Min.assign(size_t(ms / 10), -5);
        s.Wave.Max.assign(size_t(ms / 10), 7);
        s.Spectrum.Cells.assign(size_t(ms / 40) * 128, 9);
        s.Keyframes = {0, 1000, 2000};
        return s;
    }
    fs::path folder;
};

TEST_F(SoundCacheTest, GivesBackWhatWasStoredUntilTheFilmChanges) {
    const TSoundCache cache(folder.string());
    const std::string film = Copy("cached.mp4");
    EXPECT_FALSE(cache.Load(film));
    std::string why;
    const TSound stored = Sample(5000);
    ASSERT_TRUE(cache.Store(film, stored, &why)) << why;
    const std::optional<TSound> back = cache.Load(film);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->Wave.DurationMs, 5000);
    EXPECT_EQ(back->Wave.Min, stored.Wave.Min);
    EXPECT_EQ(back->Wave.Max, stored.Wave.Max);
    EXPECT_EQ(back->Spectrum.Cells, stored.Spectrum.Cells);
    EXPECT_EQ(back->Keyframes, stored.Keyframes);

    // Written again since: its sound may be another.
    fs::last_write_time(film, fs::last_write_time(film) + std::chrono::seconds(5));
    EXPECT_FALSE(cache.Load(film));
}

TEST_F(SoundCacheTest, ADamagedEntryIsNoHit) {
    const TSoundCache cache(folder.string());
    const std::string film = Copy("damaged-entry.mp4");
    ASSERT_TRUE(cache.Store(film, Sample(5000)));
    for (const fs::directory_entry& e : fs::directory_iterator(folder))
        fs::resize_file(e.path(), fs::file_size(e.path()) - 3);
    EXPECT_FALSE(cache.Load(film));
}

TEST_F(SoundCacheTest, KeepsToItsLimitDroppingTheLongestUnused) {
    const std::string a = Copy("a.mp4"), b = Copy("b.mp4"), c = Copy("c.mp4");
    const TSound s = Sample(60'000); // about 1 MB
    const TSoundCache sized(folder.string(), 10 << 20);
    ASSERT_TRUE(sized.Store(a, s));
    uint64_t one = 0;
    for (const fs::directory_entry& e : fs::directory_iterator(folder)) one = e.file_size();
    // Room for two entries: the third pushes out the one used longest ago.
    const TSoundCache cache(folder.string(), one * 2 + one / 2);
    ASSERT_TRUE(cache.Store(b, s));
    for (const fs::directory_entry& e : fs::directory_iterator(folder))
        fs::last_write_time(e.path(), fs::file_time_type::clock::now() - std::chrono::hours(1));
    ASSERT_TRUE(cache.Load(a)); // used now: b is the oldest
    ASSERT_TRUE(cache.Store(c, s));
    EXPECT_TRUE(cache.Load(a));
    EXPECT_FALSE(cache.Load(b));
    EXPECT_TRUE(cache.Load(c));
}
