#pragma once
// The film's sound as the waveform view draws it (a min/max pair per bucket and a spectrogram),
// and the film's keyframes, read with FFmpeg's libraries in this process. Only the film file
// itself is read: nothing a film or a playlist names is opened.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

struct TWaveform {
    int BucketMs = 10;                  // one min/max pair per 10 ms
    std::vector<int16_t> Min, Max;      // mono mix of all channels, full scale +-32767
    int64_t DurationMs = 0;
};

// Frequency by time: one column of Bins cells per ColumnMs, cell b covering
// [b, b + 1) * MaxHz / Bins Hz, as log magnitude from 0 (-100 dB or less) to 255 (full scale).
struct TSpectrogram {
    int ColumnMs = 40;
    int Bins = 128;
    int MaxHz = 8000;
    std::vector<uint8_t> Cells; // column by column: Cells[column * Bins + bin]

    int64_t Columns() const { return Bins > 0 ? static_cast<int64_t>(Cells.size()) / Bins : 0; }
    uint8_t At(int64_t column, int bin) const { return Cells[column * Bins + bin]; }
};

// What the view shows of a film: its sound and its keyframes (ms, ascending).
struct TSound {
    TWaveform Wave;
    TSpectrogram Spectrum;
    std::vector<int64_t> Keyframes;
};

struct TReadOptions {
    int Threads = 0;   // decoders at work at once; 0: one per core
    int Stretches = 0; // stretches the sound is cut into; 0: chosen from the length and threads
    // The length to plan the buckets for, in place of what the file states (-1); tests give a
    // wrong one to try what a wrong header does.
    int64_t StatedMs = -1;
};

// Nothing, with why, when the file has no audio stream or cannot be read. progress(fraction)
// is called now and then from the reading thread; returning false stops the reading (nothing).
std::optional<TWaveform> ReadWaveform(const std::string& path,
                                      const std::function<bool(double)>& progress, std::string* why);
// The film's keyframes (ms, ascending) from the first video stream's packets, without decoding.
// None, with why, when the file cannot be read; none and no why for a film without video.
std::vector<int64_t> ReadKeyframes(const std::string& path, std::string* why);

// The waveform and the spectrogram from one decoding pass (keyframes left empty), the sound cut
// into stretches decoded side by side and joined into the buckets one stretch would give.
// Damaged packets are passed over and their time stays silent.
std::optional<TSound> ReadSound(const std::string& path,
                                const std::function<bool(double)>& progress, std::string* why,
                                const TReadOptions& options = {});

// ReadSound and ReadKeyframes together: what the view needs of a film.
std::optional<TSound> ReadFilmSound(const std::string& path,
                                    const std::function<bool(double)>& progress,
                                    std::string* why, const TReadOptions& options = {});

// The bytes the sound keeps in memory.
std::size_t SoundBytes(const TSound& sound);
