#include "Waveform.h"

#include "FilmInput.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/mathematics.h>
#include <libavutil/mem.h>
#include <libavutil/tx.h>
#include <libswresample/swresample.h>
}

#include <algorithm>
#include <atomic>
#include <chrono>
#include <climits>
#include <cmath>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <numbers>
#include <thread>

namespace {

void SetWhy(std::string* why, std::string text) {
    if (why) *why = std::move(text);
}

// The frames of a stretch are placed by their time stamps; stamps this close to where the last
// frame ended count as following it, since containers that keep whole milliseconds round them.
constexpr int kJitterMs = 2;
// Decoding starts this long before a stretch so that the decoder's state there is what reading
// from the start would have built (one frame of overlap for most codecs).
constexpr int kPrerollMs = 500;
// Below this length one decoder is quicker than opening several.
constexpr int64_t kParallelFromMs = 60'000;
constexpr int64_t kStretchAtLeastMs = 20'000;
// The buckets are laid out ahead for the length the file states, up to this: a header that
// claims days must not take gigabytes. Longer sound is read in one stretch that grows as it goes.
constexpr int64_t kMostPlannedMs = 6 * 3'600'000;

// Where the sound of a film is laid out: bucket and column boundaries in samples.
struct TLayout {
    int Rate = 0;
    int BucketMs = 10;
    int ColumnMs = 40;
    int Bins = 128;
    int MaxHz = 8000;
    int Fft = 256; // samples under one column's window

    int64_t BucketStart(int64_t bucket) const { // first sample of the bucket
        const int64_t num = bucket * Rate * BucketMs;
        return (num + 999) / 1000;
    }
    int64_t BucketOf(int64_t sample) const { return sample * 1000 / (int64_t{Rate} * BucketMs); }
    int64_t WindowStart(int64_t column) const {
        return (column * ColumnMs + ColumnMs / 2) * Rate / 1000 - Fft / 2;
    }
};

// One stretch of buckets [First, End); End is open (INT64_MAX) for the last.
struct TStretch {
    int64_t First = 0;
    int64_t End = INT64_MAX;
    // Buckets and columns the shared arrays have no room for (the last stretch, when the film
    // is longer than its header said).
    std::vector<int16_t> MinOver, MaxOver;
    std::vector<uint8_t> CellsOver;
    int64_t EndSample = 0; // one past the last sample placed
};

// The shared result all stretches write into, each into its own buckets and columns.
struct TShared {
    TLayout L;
    std::vector<int16_t> Min, Max;
    std::vector<uint8_t> Cells;
    int64_t Buckets = 0, Columns = 0; // room in the arrays
    std::atomic<int64_t> Done{0};     // samples placed, for progress
    std::atomic<bool> Stop{false};
    std::atomic<int64_t> Damaged{0};  // packets that did not decode
};

// log2 to a few hundredths, enough for cells a third of a decibel apart and far cheaper than
// the library's log over a film's millions of cells.
float FastLog2(float x) {
    uint32_t bits;
    std::memcpy(&bits, &x, sizeof bits);
    const float exponent = float(int((bits >> 23) & 0xff) - 127);
    bits = (bits & 0x007fffff) | 0x3f800000; // the mantissa as a number in [1, 2)
    float m;
    std::memcpy(&m, &bits, sizeof m);
    return exponent + (-0.34484843f * m + 2.02466578f) * m - 0.67487759f;
}

int16_t ToSample(float v) {
    const float s = std::clamp(v, -1.0f, 1.0f) * 32767.0f;
    return static_cast<int16_t>(std::lrint(s));
}

// One column's spectrum: a Hann window, a real FFT, the largest power in each cell's band.
class TSpectrum {
public:
    explicit TSpectrum(const TLayout& l) : l_(l), window_(l.Fft), in_(l.Fft), out_(l.Fft / 2 + 1) {
        for (int i = 0; i < l.Fft; ++i)
            window_[i] = 0.5f - 0.5f * std::cos(2.0f * std::numbers::pi_v<float> * i / (l.Fft - 1));
        float scale = 1.0f;
        if (av_tx_init(&tx_, &fn_, AV_TX_FLOAT_RDFT, 0, l.Fft, &scale, AV_TX_UNALIGNED) < 0)
            tx_ = nullptr;
        // A full-scale sine under the Hann window peaks at Fft / 4.
        norm_ = 1.0f / (float(l.Fft) * l.Fft / 16.0f);
        for (int b = 0; b <= l.Bins; ++b) {
            const int64_t den = int64_t{l.Bins} * l.Rate;
            const int64_t k = (int64_t{b} * l.MaxHz * l.Fft + den - 1) / den;
            edges_.push_back(static_cast<int>(std::min<int64_t>(k, l.Fft / 2 + 1)));
        }
    }
    ~TSpectrum() { av_tx_uninit(&tx_); }
    TSpectrum(const TSpectrum&) = delete;
    TSpectrum& operator=(const TSpectrum&) = delete;

    void Column(const float* samples, uint8_t* cells) {
        if (!tx_) {
            std::fill(cells, cells + l_.Bins, 0);
            return;
        }
        for (int i = 0; i < l_.Fft; ++i) in_[i] = samples[i] * window_[i];
        fn_(tx_, out_.data(), in_.data(), sizeof(float));
        for (int b = 0; b < l_.Bins; ++b) {
            float best = 0;
            for (int k = edges_[b]; k < std::max(edges_[b + 1], edges_[b] + 1); ++k) {
                const AVComplexFloat c = out_[std::min<size_t>(k, out_.size() - 1)];
                best = std::max(best, c.re * c.re + c.im * c.im);
            }
            const float db = 3.0103f * FastLog2(best * norm_ + 1e-20f);
            cells[b] = static_cast<uint8_t>(std::clamp((db + 100.0f) * 2.55f, 0.0f, 255.0f));
        }
    }

private:
    const TLayout& l_;
    AVTXContext* tx_ = nullptr;
    av_tx_fn fn_ = nullptr;
    std::vector<float> window_, in_;
    std::vector<AVComplexFloat> out_;
    std::vector<int> edges_;
    float norm_ = 1;
};

// Receives the mono samples of one stretch, by sample index, and fills its buckets and columns.
class TStretchSink {
public:
    TStretchSink(TShared& shared, TStretch& stretch, TSpectrum& spectrum)
        : s_(shared), st_(stretch), spectrum_(spectrum), window_(shared.L.Fft) {
        const TLayout& l = s_.L;
        begin_ = l.BucketStart(st_.First);
        stop_ = st_.End == INT64_MAX ? INT64_MAX : l.BucketStart(st_.End);
        fill_ = begin_;
        bucket_ = st_.First;
        bucketEnd_ = l.BucketStart(bucket_ + 1);
        column_ = st_.First * l.BucketMs / l.ColumnMs;
        windowStart_ = l.WindowStart(column_);
    }

    bool Full() const { return fill_ >= stop_; }

    // Samples from sample index at on. Earlier samples than those already placed are dropped;
    // a gap before them stays silent.
    void Feed(int64_t at, const float* samples, int64_t count) {
        if (at > fill_) Silence(at);
        if (at < fill_) {
            const int64_t skip = std::min(count, fill_ - at);
            samples += skip;
            count -= skip;
            at += skip;
        }
        count = std::min(count, stop_ - fill_);
        if (count <= 0) return;
        Place(samples, count);
        st_.EndSample = std::max(st_.EndSample, fill_);
    }

    // Ends the stretch: the bucket being filled is written.
    void Finish() {
        if (haveBucket_) PutBucket();
    }

private:
    void Silence(int64_t until) {
        static const float zeros[4096] = {};
        until = std::min(until, stop_);
        while (fill_ < until) Place(zeros, std::min<int64_t>(until - fill_, 4096));
    }

    void Place(const float* samples, int64_t count) {
        const TLayout& l = s_.L;
        int64_t i = 0;
        while (i < count) {
            const int64_t pos = fill_ + i;
            if (pos >= bucketEnd_) {
                if (haveBucket_) PutBucket();
                bucket_ = l.BucketOf(pos);
                bucketEnd_ = l.BucketStart(bucket_ + 1);
            }
            const int64_t run = std::min(count - i, bucketEnd_ - pos);
            const float* p = samples + i;
            float mn = haveBucket_ ? min_ : p[0], mx = haveBucket_ ? max_ : p[0];
            for (int64_t k = 0; k < run; ++k) {
                mn = std::min(mn, p[k]);
                mx = std::max(mx, p[k]);
            }
            min_ = mn;
            max_ = mx;
            haveBucket_ = true;
            Window(pos, p, run);
            i += run;
        }
        fill_ += count;
        s_.Done.fetch_add(count, std::memory_order_relaxed);
    }

    // The samples that fall under the window of the column being gathered.
    void Window(int64_t pos, const float* p, int64_t run) {
        const TLayout& l = s_.L;
        while (run > 0) {
            const int64_t windowEnd = windowStart_ + l.Fft;
            if (pos + run <= windowStart_) return;
            if (pos < windowStart_) {
                p += windowStart_ - pos;
                run -= windowStart_ - pos;
                pos = windowStart_;
            }
            const int64_t take = std::min(run, windowEnd - pos);
            std::copy(p, p + take, window_.begin() + (pos - windowStart_));
            pos += take;
            p += take;
            run -= take;
            if (pos == windowEnd) {
                PutColumn();
                ++column_;
                windowStart_ = l.WindowStart(column_);
            }
        }
    }

    void PutBucket() {
        const int16_t mn = ToSample(min_), mx = ToSample(max_);
        if (bucket_ < s_.Buckets) {
            s_.Min[bucket_] = mn;
            s_.Max[bucket_] = mx;
        } else {
            const size_t k = bucket_ - s_.Buckets;
            if (st_.MinOver.size() <= k) {
                st_.MinOver.resize(k + 1);
                st_.MaxOver.resize(k + 1);
            }
            st_.MinOver[k] = mn;
            st_.MaxOver[k] = mx;
        }
        haveBucket_ = false;
    }

    void PutColumn() {
        const int bins = s_.L.Bins;
        uint8_t* cells;
        if (column_ < s_.Columns) {
            cells = s_.Cells.data() + column_ * bins;
        } else {
            const size_t k = (column_ - s_.Columns) * bins;
            if (st_.CellsOver.size() < k + bins) st_.CellsOver.resize(k + bins);
            cells = st_.CellsOver.data() + k;
        }
        spectrum_.Column(window_.data(), cells);
    }

    TShared& s_;
    TStretch& st_;
    TSpectrum& spectrum_;
    std::vector<float> window_;
    int64_t begin_ = 0, stop_ = 0, fill_ = 0;
    int64_t bucket_ = 0, bucketEnd_ = 0;
    bool haveBucket_ = false;
    float min_ = 0, max_ = 0;
    int64_t column_ = 0, windowStart_ = 0;
};

// A decoder of the film's sound: its own opened file, so that several read side by side.
class TDecoder {
public:
    bool Open(const std::string& path, std::string* why) {
        in_ = TFilmInput::Open(path, why);
        if (!in_) return false;
        AVFormatContext* fmt = in_->Format();
        stream_ = av_find_best_stream(fmt, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
        if (stream_ < 0) {
            SetWhy(why, "the film has no sound");
            return false;
        }
        for (unsigned i = 0; i < fmt->nb_streams; ++i)
            fmt->streams[i]->discard = int(i) == stream_ ? AVDISCARD_DEFAULT : AVDISCARD_ALL;
        const AVCodecParameters* par = fmt->streams[stream_]->codecpar;
        const AVCodec* codec = avcodec_find_decoder(par->codec_id);
        if (!codec) {
            SetWhy(why, std::string("no decoder for the film's sound (") +
                            avcodec_get_name(par->codec_id) + ")");
            return false;
        }
        dec_ = avcodec_alloc_context3(codec);
        if (!dec_ || avcodec_parameters_to_context(dec_, par) < 0) {
            SetWhy(why, "out of memory");
            return false;
        }
        dec_->thread_count = 1; // the stretches already keep every core busy
        const int r = avcodec_open2(dec_, codec, nullptr);
        if (r < 0) {
            SetWhy(why, "the film's sound cannot be decoded (" + AvErrorText(r) + ")");
            return false;
        }
        rate_ = par->sample_rate > 0 ? par->sample_rate : dec_->sample_rate;
        if (rate_ <= 0) {
            SetWhy(why, "the film's sound has no sample rate");
            return false;
        }
        pkt_ = av_packet_alloc();
        frame_ = av_frame_alloc();
        return pkt_ && frame_;
    }

    ~TDecoder() {
        av_packet_free(&pkt_);
        av_frame_free(&frame_);
        avcodec_free_context(&dec_);
        swr_free(&swr_);
    }

    int Rate() const { return rate_; }
    // The sound's length (ms) as the file states it, or -1.
    int64_t StatedMs() const {
        const AVStream* st = in_->Format()->streams[stream_];
        if (st->duration != AV_NOPTS_VALUE && st->duration > 0)
            return av_rescale_q(st->duration, st->time_base, AVRational{1, 1000});
        if (in_->Format()->duration != AV_NOPTS_VALUE && in_->Format()->duration > 0)
            return in_->Format()->duration / 1000;
        return -1;
    }

    // Decodes the stretch into sink. The decoder reads on from where it stands when fresh is
    // true (the film's start); otherwise it seeks a little before the stretch.
    void Read(TShared& shared, TStretch& stretch, TStretchSink& sink, bool fresh,
              const std::string& path) {
        const TLayout& l = shared.L;
        if (!fresh && !SeekBefore(stretch.First * l.BucketMs)) {
            // A film that cannot seek is read from its start up to the stretch.
            std::string why;
            TDecoder again;
            if (!again.Open(path, &why)) return;
            again.Read(shared, stretch, sink, true, path);
            return;
        }
        haveLast_ = false;
        bool draining = false;
        while (!sink.Full() && !shared.Stop.load(std::memory_order_relaxed)) {
            if (!draining) {
                const int r = av_read_frame(in_->Format(), pkt_);
                if (r < 0) {
                    draining = true; // the end, or the rest of the file cannot be read
                    avcodec_send_packet(dec_, nullptr);
                } else {
                    if (pkt_->stream_index == stream_ && avcodec_send_packet(dec_, pkt_) < 0)
                        shared.Damaged.fetch_add(1, std::memory_order_relaxed);
                    av_packet_unref(pkt_);
                }
            }
            int r;
            while ((r = avcodec_receive_frame(dec_, frame_)) == 0) {
                Place(sink);
                av_frame_unref(frame_);
                if (sink.Full()) break;
            }
            if (draining && r != 0) break;
            if (r != 0 && r != AVERROR(EAGAIN) && r != AVERROR_EOF)
                shared.Damaged.fetch_add(1, std::memory_order_relaxed);
        }
        sink.Finish();
        avcodec_flush_buffers(dec_);
    }

private:
    bool SeekBefore(int64_t ms) {
        const AVStream* st = in_->Format()->streams[stream_];
        const int64_t us = std::max<int64_t>(0, ms - kPrerollMs) * 1000 + in_->StartUs();
        const int64_t ts = av_rescale_q(us, AVRational{1, 1000000}, st->time_base);
        if (av_seek_frame(in_->Format(), stream_, ts, AVSEEK_FLAG_BACKWARD) < 0) return false;
        avcodec_flush_buffers(dec_);
        return true;
    }

    // The decoded frame as mono samples at their place in the film.
    void Place(TStretchSink& sink) {
        const int n = frame_->nb_samples;
        if (n <= 0) return;
        int64_t at;
        const AVStream* st = in_->Format()->streams[stream_];
        const int64_t pts = frame_->best_effort_timestamp;
        if (pts == AV_NOPTS_VALUE) {
            if (!haveLast_) return; // nothing to place it by
            at = next_;
        } else {
            at = av_rescale_q(pts, st->time_base, AVRational{1, rate_}) -
                 av_rescale_q(in_->StartUs(), AVRational{1, 1000000}, AVRational{1, rate_});
            if (haveLast_ && std::llabs(at - next_) <= int64_t{rate_} * kJitterMs / 1000) at = next_;
        }
        if (!Mono(n)) return;
        sink.Feed(at, mono_.data(), n);
        next_ = at + n;
        haveLast_ = true;
    }

    // Averages the frame's channels into mono_.
    bool Mono(int n) {
        const int channels = frame_->ch_layout.nb_channels;
        if (channels <= 0) return false;
        const float* const* planes;
        if (frame_->format == AV_SAMPLE_FMT_FLTP) {
            planes = reinterpret_cast<const float* const*>(frame_->extended_data);
        } else {
            if (!Convert(n)) return false;
            planes = planes_.data();
        }
        mono_.resize(n);
        if (channels == 2) {
            const float *l = planes[0], *r = planes[1];
            for (int i = 0; i < n; ++i) mono_[i] = (l[i] + r[i]) * 0.5f;
            return true;
        }
        std::copy(planes[0], planes[0] + n, mono_.begin());
        for (int c = 1; c < channels; ++c) {
            const float* p = planes[c];
            for (int i = 0; i < n; ++i) mono_[i] += p[i];
        }
        const float scale = 1.0f / channels;
        if (channels > 1)
            for (float& v : mono_) v *= scale;
        return true;
    }

    // Any other sample format to planar float, channel for channel and at the same rate, so that
    // the conversion keeps no state from frame to frame.
    bool Convert(int n) {
        const int channels = frame_->ch_layout.nb_channels;
        if (!swr_ || swrFormat_ != frame_->format || swrChannels_ != channels ||
            swrRate_ != frame_->sample_rate) {
            swr_free(&swr_);
            AVChannelLayout layout;
            if (frame_->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC)
                av_channel_layout_default(&layout, channels);
            else if (av_channel_layout_copy(&layout, &frame_->ch_layout) < 0)
                return false;
            const int r = swr_alloc_set_opts2(&swr_, &layout, AV_SAMPLE_FMT_FLTP,
                                              frame_->sample_rate, &layout,
                                              AVSampleFormat(frame_->format), frame_->sample_rate,
                                              0, nullptr);
            av_channel_layout_uninit(&layout);
            if (r < 0 || swr_init(swr_) < 0) {
                swr_free(&swr_);
                return false;
            }
            swrFormat_ = frame_->format;
            swrChannels_ = channels;
            swrRate_ = frame_->sample_rate;
        }
        converted_.resize(size_t(channels) * n);
        planes_.resize(channels);
        std::vector<uint8_t*> out(channels);
        for (int c = 0; c < channels; ++c) {
            planes_[c] = converted_.data() + size_t(c) * n;
            out[c] = reinterpret_cast<uint8_t*>(converted_.data() + size_t(c) * n);
        }
        return swr_convert(swr_, out.data(), n, const_cast<const uint8_t**>(frame_->extended_data),
                           n) == n;
    }

    std::unique_ptr<TFilmInput> in_;
    int stream_ = -1;
    AVCodecContext* dec_ = nullptr;
    AVPacket* pkt_ = nullptr;
    AVFrame* frame_ = nullptr;
    SwrContext* swr_ = nullptr;
    int swrFormat_ = -1, swrChannels_ = 0, swrRate_ = 0;
    int rate_ = 0;
    bool haveLast_ = false;
    int64_t next_ = 0;
    std::vector<float> mono_, converted_;
    std::vector<const float*> planes_;
};

// The FFT size whose bands are at most MaxHz / Bins wide.
int FftSize(int rate, int bins, int maxHz) {
    int n = 16;
    while (int64_t{rate} > int64_t{n} * maxHz / bins) n *= 2;
    return n;
}

} // namespace

std::optional<TSound> ReadSound(const std::string& path,
                                const std::function<bool(double)>& progress, std::string* why,
                                const TReadOptions& options) {
    // The first decoder tells the layout and the stated length before any stretch is cut.
    auto first = std::make_unique<TDecoder>();
    if (!first->Open(path, why)) return std::nullopt;

    TShared shared;
    TLayout& l = shared.L;
    l.Rate = first->Rate();
    l.Fft = FftSize(l.Rate, l.Bins, l.MaxHz);
    // Each column's window must lie inside its column, so that stretches need no overlap.
    while (l.Fft > 16 && int64_t{l.Fft} * 1000 > int64_t{l.Rate} * (l.ColumnMs - 2)) l.Fft /= 2;

    // The progress counts against the stated length, whatever its size.
    const int64_t lengthMs = options.StatedMs >= 0 ? options.StatedMs : first->StatedMs();
    const int64_t statedMs = lengthMs > kMostPlannedMs ? -1 : lengthMs;
    int threads = options.Threads > 0 ? options.Threads
                                      : std::max(1u, std::thread::hardware_concurrency());
    int stretches = options.Stretches;
    if (stretches <= 0) {
        stretches = 1;
        if (statedMs >= kParallelFromMs && threads > 1)
            stretches = static_cast<int>(
                std::clamp<int64_t>(statedMs / kStretchAtLeastMs, 1, int64_t{threads} * 4));
    }
    if (statedMs < 0) stretches = 1; // nowhere to cut
    const int bucketsPerColumn = l.ColumnMs / l.BucketMs;
    const int64_t estimate = std::max<int64_t>(0, statedMs) / l.BucketMs + 1;
    int64_t per = (estimate + stretches - 1) / stretches;
    per = (per + bucketsPerColumn - 1) / bucketsPerColumn * bucketsPerColumn;
    std::vector<TStretch> parts(stretches);
    for (int k = 0; k < stretches; ++k) {
        parts[k].First = per * k;
        parts[k].End = k + 1 < stretches ? per * (k + 1) : INT64_MAX;
    }
    shared.Buckets = std::max(estimate, per * (stretches - 1));
    shared.Buckets = (shared.Buckets + bucketsPerColumn - 1) / bucketsPerColumn * bucketsPerColumn;
    shared.Columns = shared.Buckets / bucketsPerColumn;
    shared.Min.assign(shared.Buckets, 0);
    shared.Max.assign(shared.Buckets, 0);
    shared.Cells.assign(shared.Columns * l.Bins, 0);

    threads = std::min(threads, stretches);
    std::atomic<int> nextPart{0};
    std::mutex mutex;
    std::condition_variable wake;
    int running = threads;
    std::string workerWhy;

    auto work = [&](std::unique_ptr<TDecoder> dec) {
        std::string why;
        if (!dec) {
            dec = std::make_unique<TDecoder>();
            if (!dec->Open(path, &why)) {
                std::lock_guard lock(mutex);
                workerWhy = why;
                shared.Stop = true;
            }
        }
        bool fresh = true;
        TSpectrum spectrum(l);
        for (int k; !shared.Stop && (k = nextPart.fetch_add(1)) < stretches;) {
            TStretchSink sink(shared, parts[k], spectrum);
            dec->Read(shared, parts[k], sink, fresh && k == 0, path);
            fresh = false;
        }
        std::lock_guard lock(mutex);
        --running;
        wake.notify_all();
    };

    std::vector<std::thread> pool;
    pool.emplace_back(work, std::move(first));
    for (int t = 1; t < threads; ++t) pool.emplace_back(work, nullptr);

    const double total = lengthMs > 0 ? double(lengthMs) * l.Rate / 1000.0 : 0.0;
    bool stopped = false;
    {
        std::unique_lock lock(mutex);
        while (running > 0) {
            wake.wait_for(lock, std::chrono::milliseconds(50));
            if (progress && !stopped) {
                const double done = total > 0 ? std::min(0.99, shared.Done / total) : 0.0;
                lock.unlock();
                const bool go = progress(done);
                lock.lock();
                if (!go) {
                    stopped = true;
                    shared.Stop = true;
                }
            }
        }
    }
    for (std::thread& t : pool) t.join();
    if (!workerWhy.empty()) {
        SetWhy(why, workerWhy);
        return std::nullopt;
    }
    if (stopped || (progress && !progress(1.0))) {
        SetWhy(why, "the reading was stopped");
        return std::nullopt;
    }

    int64_t endSample = 0;
    for (const TStretch& p : parts) endSample = std::max(endSample, p.EndSample);
    if (endSample == 0) {
        SetWhy(why, shared.Damaged > 0 ? "the film's sound cannot be decoded"
                                       : "the film's sound is empty");
        return std::nullopt;
    }
    TStretch& last = parts.back();
    shared.Min.insert(shared.Min.end(), last.MinOver.begin(), last.MinOver.end());
    shared.Max.insert(shared.Max.end(), last.MaxOver.begin(), last.MaxOver.end());
    shared.Cells.insert(shared.Cells.end(), last.CellsOver.begin(), last.CellsOver.end());

    TSound sound;
    sound.Wave.BucketMs = l.BucketMs;
    sound.Wave.DurationMs = (endSample * 1000 + l.Rate - 1) / l.Rate;
    const size_t buckets = size_t(l.BucketOf(endSample - 1) + 1);
    shared.Min.resize(buckets);
    shared.Max.resize(buckets);
    shared.Min.shrink_to_fit();
    shared.Max.shrink_to_fit();
    sound.Wave.Min = std::move(shared.Min);
    sound.Wave.Max = std::move(shared.Max);
    sound.Spectrum.ColumnMs = l.ColumnMs;
    sound.Spectrum.Bins = l.Bins;
    sound.Spectrum.MaxHz = l.MaxHz;
    const size_t columns = size_t(sound.Wave.DurationMs + l.ColumnMs - 1) / l.ColumnMs;
    shared.Cells.resize(columns * l.Bins);
    shared.Cells.shrink_to_fit();
    sound.Spectrum.Cells = std::move(shared.Cells);
    return sound;
}

std::optional<TWaveform> ReadWaveform(const std::string& path,
                                      const std::function<bool(double)>& progress,
                                      std::string* why) {
    std::optional<TSound> sound = ReadSound(path, progress, why);
    if (!sound) return std::nullopt;
    return std::move(sound->Wave);
}

std::vector<int64_t> ReadKeyframes(const std::string& path, std::string* why) {
    std::vector<int64_t> keys;
    std::unique_ptr<TFilmInput> in = TFilmInput::Open(path, why);
    if (!in) return keys;
    AVFormatContext* fmt = in->Format();
    int video = -1;
    for (unsigned i = 0; i < fmt->nb_streams; ++i) {
        const AVStream* st = fmt->streams[i];
        // A cover picture is a video stream of one frame, not the film.
        if (video < 0 && st->codecpar->codec_type == AVMEDIA_TYPE_VIDEO &&
            !(st->disposition & AV_DISPOSITION_ATTACHED_PIC))
            video = int(i);
    }
    if (video < 0) return keys;
    for (unsigned i = 0; i < fmt->nb_streams; ++i)
        fmt->streams[i]->discard = int(i) == video ? AVDISCARD_DEFAULT : AVDISCARD_ALL;
    const AVRational tb = fmt->streams[video]->time_base;
    const int64_t startMs = in->StartUs() / 1000;
    AVPacket* pkt = av_packet_alloc();
    while (pkt && av_read_frame(fmt, pkt) >= 0) {
        if (pkt->stream_index == video && (pkt->flags & AV_PKT_FLAG_KEY)) {
            const int64_t ts = pkt->pts != AV_NOPTS_VALUE ? pkt->pts : pkt->dts;
            if (ts != AV_NOPTS_VALUE)
                keys.push_back(av_rescale_q(ts, tb, AVRational{1, 1000}) - startMs);
        }
        av_packet_unref(pkt);
    }
    av_packet_free(&pkt);
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    return keys;
}

std::optional<TSound> ReadFilmSound(const std::string& path,
                                    const std::function<bool(double)>& progress,
                                    std::string* why, const TReadOptions& options) {
    std::string keyWhy;
    std::vector<int64_t> keys = ReadKeyframes(path, &keyWhy);
    if (!keyWhy.empty()) {
        SetWhy(why, keyWhy);
        return std::nullopt;
    }
    std::optional<TSound> sound = ReadSound(path, progress, why, options);
    if (sound) sound->Keyframes = std::move(keys);
    return sound;
}

std::size_t SoundBytes(const TSound& sound) {
    return sound.Wave.Min.capacity() * sizeof(int16_t) +
           sound.Wave.Max.capacity() * sizeof(int16_t) + sound.Spectrum.Cells.capacity() +
           sound.Keyframes.capacity() * sizeof(int64_t);
}
