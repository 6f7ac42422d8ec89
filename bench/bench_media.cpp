// The film's sound and keyframes of a 2-hour film: reading them against ffmpeg decoding the same
// sound in the same run, reading them again from the cache, and what they keep in memory.
//   bench_media [RUNS]      (default 3; the film is made once and kept beside the program)
#include "SoundCache.h"
#include "Waveform.h"

#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Stereo AAC at 48 kHz under a tiny picture at 25 frames a second with a keyframe every 2 s.
const char* kMakeFilm =
    "ffmpeg -nostdin -v error -y -f lavfi -i anoisesrc=r=48000:c=pink:a=0.25:d=7200"
    " -f lavfi -i color=c=gray:s=64x36:r=25:d=7200"
    " -filter_complex '[0:a]aformat=channel_layouts=stereo[a]' -map 1:v -map '[a]'"
    " -c:v libx264 -preset ultrafast -g 50 -keyint_min 50 -sc_threshold 0 -bf 0"
    " -c:a aac -b:a 128k -ac 2 ";

double Seconds(const std::function<void()>& f) {
    const auto t0 = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

double ProcessorSeconds(int who) {
    rusage u{};
    getrusage(who, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

const char* Met(bool ok) { return ok ? "met" : "MISSED"; }

} // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    const std::string film = VELITRA_BENCH_FILM;
    if (!fs::exists(film)) {
        std::printf("making the 2-hour film %s (a few minutes, once)\n", film.c_str());
        const std::string part = film + ".part.mp4";
        if (std::system((std::string(kMakeFilm) + "'" + part + "'").c_str()) != 0) return 1;
        fs::rename(part, film);
    }
    const std::string cache = fs::path(film).parent_path() / "bench-sound-cache";
    fs::remove_all(cache);
    // The film from the page cache, as for a film just played.
    std::system(("cat '" + film + "' > /dev/null").c_str());

    std::vector<double> ffmpegWall, ffmpegCpu, soundWall, soundCpu, keyWall, cacheWall;
    std::optional<TSound> sound;
    std::string why;
    for (int r = 0; r < runs; ++r) {
        double cpu0 = ProcessorSeconds(RUSAGE_CHILDREN);
        ffmpegWall.push_back(Seconds([&] {
            std::system(("ffmpeg -nostdin -v error -i '" + film + "' -vn -f null -").c_str());
        }));
        ffmpegCpu.push_back(ProcessorSeconds(RUSAGE_CHILDREN) - cpu0);

        cpu0 = ProcessorSeconds(RUSAGE_SELF);
        soundWall.push_back(Seconds([&] { sound = ReadSound(film, {}, &why); }));
        soundCpu.push_back(ProcessorSeconds(RUSAGE_SELF) - cpu0);
        if (!sound) {
            std::printf("cannot read the sound: %s\n", why.c_str());
            return 1;
        }
        std::vector<int64_t> keys;
        keyWall.push_back(Seconds([&] { keys = ReadKeyframes(film, &why); }));
        sound->Keyframes = std::move(keys);
    }
    const TSoundCache store(cache);
    if (!store.Store(film, *sound, &why)) {
        std::printf("cannot store: %s\n", why.c_str());
        return 1;
    }
    std::optional<TSound> back;
    for (int r = 0; r < std::max(runs, 5); ++r)
        cacheWall.push_back(Seconds([&] { back = store.Load(film); }));
    fs::remove_all(cache);

    rusage self{};
    getrusage(RUSAGE_SELF, &self);
    const double ratio = Median(soundWall) / Median(ffmpegWall);
    const double mb = double(SoundBytes(*sound)) / (1 << 20);
    std::printf("film: %s, %.1f min, %zu keyframes, %d runs\n", film.c_str(),
                double(sound->Wave.DurationMs) / 60000.0, sound->Keyframes.size(), runs);
    std::printf("%-34s %8.3f s wall  %8.3f s processor\n", "ffmpeg -vn -f null (one decoder)",
                Median(ffmpegWall), Median(ffmpegCpu));
    std::printf("%-34s %8.3f s wall  %8.3f s processor  %.2f x ffmpeg (goal <= 0.7: %s)\n",
                "waveform + spectrogram", Median(soundWall), Median(soundCpu), ratio,
                Met(ratio <= 0.7));
    std::printf("%-34s %8.3f s wall  (goal < 1 s: %s)\n", "keyframes", Median(keyWall),
                Met(Median(keyWall) < 1));
    std::printf("%-34s %8.3f s wall  (goal < 0.2 s: %s)\n", "from the cache", Median(cacheWall),
                Met(Median(cacheWall) < 0.2));
    std::printf("%-34s %8.1f MB  (goal < 64 MB: %s); peak resident set of this run %.1f MB\n",
                "waveform, spectrogram, keyframes", mb, Met(mb < 64),
                double(self.ru_maxrss) / 1024.0);
    return back && back->Wave.Min == sound->Wave.Min ? 0 : 1;
}
