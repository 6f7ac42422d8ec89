#pragma once
// The waveform's loudest and quietest levels over any run of buckets, in a few steps whatever
// the run's length: a view of the whole film spans hundreds of buckets a pixel, and looking at
// each on every zoom would cost a paint several milliseconds.
#include "Waveform.h"

#include <cstdint>
#include <utility>
#include <vector>

class TWavePeaks {
public:
    TWavePeaks() = default;
    explicit TWavePeaks(const TWaveform& wave); // wave is read, not copied: keep it alive

    // The lowest Min and highest Max of buckets [from, to), clamped to the waveform;
    // (0, 0) for an empty run.
    std::pair<int, int> Range(int64_t from, int64_t to) const;
    // The loudest level of the whole waveform (at least 1).
    int Peak() const { return peak_; }
    std::size_t Bytes() const;

private:
    static constexpr int64_t kFan = 16; // buckets of one level joined into one of the next

    struct TLevel {
        std::vector<int16_t> Min, Max;
    };
    // Level 0 is the waveform itself, which must outlive this; each next one joins kFan of the
    // last.
    const TWaveform* wave_ = nullptr;
    std::vector<TLevel> coarse_; // coarse_[k]: level k + 1
    int peak_ = 1;

    const int16_t* MinOf(std::size_t level) const;
    const int16_t* MaxOf(std::size_t level) const;
    int64_t SizeOf(std::size_t level) const;
};
