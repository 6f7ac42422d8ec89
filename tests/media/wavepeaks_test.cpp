// The levels over a run of buckets, looked up through the coarser levels, against a plain walk
// over every bucket of the run.
#include "WavePeaks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <utility>

namespace {

TWaveform Noise(std::size_t buckets, unsigned seed) {
    TWaveform w;
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> level(-32768, 32767);
    for (std::size_t i = 0; i < buckets; ++i) {
        const int a = level(random), b = level(random);
        w.Min.push_back(int16_t(std::min(a, b)));
        w.Max.push_back(int16_t(std::max(a, b)));
    }
    return w;
}

std::pair<int, int> Walk(const TWaveform& w, int64_t from, int64_t to) {
    from = std::max<int64_t>(from, 0);
    to = std::min<int64_t>(to, int64_t(w.Min.size()));
    if (from >= to) return {0, 0};
    return {*std::min_element(w.Min.begin() + from, w.Min.begin() + to),
            *std::max_element(w.Max.begin() + from, w.Max.begin() + to)};
}

} // namespace

TEST(WavePeaks, EveryRunGivesWhatAWalkOverItsBucketsGives) {
    // Sizes on and off the levels' boundaries, up to four levels deep.
    for (const std::size_t size : {1u, 15u, 16u, 17u, 31u, 256u, 257u, 4095u, 70001u}) {
        const TWaveform w = Noise(size, unsigned(size));
        const TWavePeaks peaks(w);
        std::mt19937 random(1);
        std::uniform_int_distribution<int64_t> at(-20, int64_t(size) + 20);
        for (int i = 0; i < 3000; ++i) {
            const int64_t a = at(random), b = at(random);
            ASSERT_EQ(peaks.Range(a, b), Walk(w, a, b)) << size << ": " << a << ".." << b;
        }
        EXPECT_EQ(peaks.Range(0, int64_t(size)), Walk(w, 0, int64_t(size))) << size;
    }
}

TEST(WavePeaks, AnExtremeInOneBucketIsFoundFromAnyRunHoldingIt) {
    TWaveform w;
    w.Min.assign(5000, -100);
    w.Max.assign(5000, 100);
    w.Min[3333] = -32768;
    w.Max[3333] = 32767;
    const TWavePeaks peaks(w);
    EXPECT_EQ(peaks.Range(3333, 3334), std::make_pair(-32768, 32767));
    EXPECT_EQ(peaks.Range(0, 5000), std::make_pair(-32768, 32767));
    EXPECT_EQ(peaks.Range(3334, 5000), std::make_pair(-100, 100));
    EXPECT_EQ(peaks.Range(0, 3333), std::make_pair(-100, 100));
    EXPECT_EQ(peaks.Peak(), 32768);
}

TEST(WavePeaks, NoSoundGivesSilence) {
    const TWaveform w;
    const TWavePeaks peaks(w);
    EXPECT_EQ(peaks.Range(0, 100), std::make_pair(0, 0));
    EXPECT_EQ(peaks.Peak(), 1);
    EXPECT_EQ(TWavePeaks().Range(0, 10), std::make_pair(0, 0));
}
