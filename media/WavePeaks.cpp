#include "WavePeaks.h"

#include <algorithm>

TWavePeaks::TWavePeaks(const TWaveform& wave) : wave_(&wave) {
    const std::size_t n = std::min(wave.Min.size(), wave.Max.size());
    for (std::size_t i = 0; i < n; ++i)
        peak_ = std::max({peak_, -int(wave.Min[i]), int(wave.Max[i])});
    // Levels until one holds a single bucket: 16 times fewer each, so all of them together
    // keep a fifteenth of the waveform's size.
    for (std::size_t level = 0; SizeOf(level) > 1; ++level) {
        const int64_t size = SizeOf(level);
        const int16_t* mins = MinOf(level);
        const int16_t* maxs = MaxOf(level);
        TLevel next;
        next.Min.resize(std::size_t((size + kFan - 1) / kFan));
        next.Max.resize(next.Min.size());
        for (std::size_t j = 0; j < next.Min.size(); ++j) {
            const int64_t b0 = int64_t(j) * kFan, b1 = std::min(size, b0 + kFan);
            next.Min[j] = *std::min_element(mins + b0, mins + b1);
            next.Max[j] = *std::max_element(maxs + b0, maxs + b1);
        }
        coarse_.push_back(std::move(next));
    }
}

const int16_t* TWavePeaks::MinOf(std::size_t level) const {
    return level == 0 ? wave_->Min.data() : coarse_[level - 1].Min.data();
}

const int16_t* TWavePeaks::MaxOf(std::size_t level) const {
    return level == 0 ? wave_->Max.data() : coarse_[level - 1].Max.data();
}

int64_t TWavePeaks::SizeOf(std::size_t level) const {
    if (level == 0)
        return wave_ ? int64_t(std::min(wave_->Min.size(), wave_->Max.size())) : 0;
    return int64_t(coarse_[level - 1].Min.size());
}

std::pair<int, int> TWavePeaks::Range(int64_t from, int64_t to) const {
    from = std::max<int64_t>(from, 0);
    to = std::min(to, SizeOf(0));
    if (from >= to) return {0, 0};
    int mn = 32767, mx = -32768;
    auto take = [&](std::size_t level, int64_t b) {
        mn = std::min<int>(mn, MinOf(level)[b]);
        mx = std::max<int>(mx, MaxOf(level)[b]);
    };
    // The ragged ends at each level, the aligned middle one level up: at most 2 x 15 buckets
    // a level.
    for (std::size_t level = 0;; ++level) {
        if (level == coarse_.size() || to - from < 2 * kFan) {
            for (int64_t b = from; b < to; ++b) take(level, b);
            break;
        }
        for (; from % kFan != 0; ++from) take(level, from);
        for (; to % kFan != 0; --to) take(level, to - 1);
        from /= kFan;
        to /= kFan;
        if (from >= to) break;
    }
    return {mn, mx};
}

std::size_t TWavePeaks::Bytes() const {
    std::size_t bytes = 0;
    for (const TLevel& level : coarse_)
        bytes += (level.Min.capacity() + level.Max.capacity()) * sizeof(int16_t);
    return bytes;
}
