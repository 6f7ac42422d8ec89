#include "Pertitle.h"

#include "CodePage.h"
#include "TimeFormat.h"

#include <cmath>
#include <cstdio>
#include <limits>

namespace {

constexpr int64_t kInt32Min = std::numeric_limits<int32_t>::min();
constexpr int64_t kInt32Max = std::numeric_limits<int32_t>::max();

bool IsScanSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

char* WriteTwoDigits(char* out, int value) {
    out[0] = static_cast<char>('0' + value / 10);
    out[1] = static_cast<char>('0' + value % 10);
    return out + 2;
}

std::string Format(const char* format, int a, int b, int c, int d) {
    char buffer[64];
    int n = std::snprintf(buffer, sizeof buffer, format, a, b, c, d);
    return std::string(buffer, n > 0 ? static_cast<std::size_t>(n) : 0);
}

// The magnitude of a time, the minus kept for the front of its text.
int64_t Magnitude(int64_t ms, std::string& sign) {
    sign = ms < 0 ? "-" : "";
    return ms < 0 ? -ms : ms;
}

} // namespace

int32_t SaturateMs(int64_t ms) {
    if (ms < kInt32Min) return static_cast<int32_t>(kInt32Min);
    if (ms > kInt32Max) return static_cast<int32_t>(kInt32Max);
    return static_cast<int32_t>(ms);
}

char* WriteInteger(char* out, int64_t value) {
    char digits[24];
    int n = 0;
    // Work on the negative side so that the smallest value has no positive twin to overflow.
    int64_t v = value < 0 ? value : -value;
    do {
        digits[n++] = static_cast<char>('0' - v % 10);
        v /= 10;
    } while (v != 0);
    if (value < 0) *out++ = '-';
    while (n > 0)
        *out++ = digits[--n];
    return out;
}

char* WriteTimeText(char* out, int32_t ms) {
    // A negative time is its magnitude with the minus in front ("-00:00:03,000"), as readers of
    // every program take it; widened, so that the smallest time has a magnitude.
    int64_t v = ms;
    if (v < 0) {
        *out++ = '-';
        v = -v;
    }
    const int64_t h = v / 3600000;
    const int m = static_cast<int>(v % 3600000 / 60000);
    const int s = static_cast<int>(v % 60000 / 1000);
    const int f = static_cast<int>(v % 1000);
    if (h >= 100) out = WriteInteger(out, h / 100);
    out = WriteTwoDigits(out, static_cast<int>(h % 100));
    *out++ = ':';
    out = WriteTwoDigits(out, m);
    *out++ = ':';
    out = WriteTwoDigits(out, s);
    *out++ = ',';
    out[0] = static_cast<char>('0' + f / 100);
    out[1] = static_cast<char>('0' + f / 10 % 10);
    out[2] = static_cast<char>('0' + f % 10);
    return out + 3;
}

int ScanNumbersAt(std::string_view text, std::string_view separators, int64_t* values, int count,
                  int64_t low, int64_t high, std::size_t* stop) {
    std::size_t pos = 0;
    int read = 0;
    for (; read < count; ++read) {
        std::size_t p = pos;
        if (read > 0) {
            if (p >= text.size() || text[p] != separators[read - 1]) break;
            ++p;
        }
        while (p < text.size() && IsScanSpace(text[p]))
            ++p;
        bool negative = false;
        if (p < text.size() && (text[p] == '+' || text[p] == '-')) {
            negative = text[p] == '-';
            ++p;
        }
        if (p >= text.size() || text[p] < '0' || text[p] > '9') break;
        // Accumulate on the negative side with saturation: no digit count can overflow.
        int64_t v = 0;
        const int64_t floor = negative ? low : -high;
        for (; p < text.size() && text[p] >= '0' && text[p] <= '9'; ++p) {
            const int digit = text[p] - '0';
            if (v < (floor + digit) / 10)
                v = floor;
            else
                v = v * 10 - digit;
        }
        values[read] = negative ? v : -v;
        pos = p;
    }
    if (stop) *stop = pos;
    return read;
}

int ScanNumbers(std::string_view text, std::string_view separators, int64_t* values, int count,
                int64_t low, int64_t high) {
    return ScanNumbersAt(text, separators, values, count, low, high, nullptr);
}

RationalRate ToRational(double rate) {
    if (!std::isfinite(rate) || rate == 0) return {0, 1};
    const double magnitude = std::fabs(rate);
    const int64_t sign = rate < 0 ? -1 : 1;
    constexpr double kLargest = 9e17; // keeps every product of the conversions inside 128 bits
    if (magnitude >= kLargest) return {sign * static_cast<int64_t>(kLargest), 1};
    // The fewest decimals that hold the rate exactly; a rate such as 24000/1001 that no short
    // decimal holds gets nine.
    int64_t den = 1;
    double scaled = magnitude;
    for (int k = 0; k < 9; ++k) {
        if (std::fabs(scaled - std::nearbyint(scaled)) <= 1e-6 || scaled * 10 >= kLargest) break;
        den *= 10;
        scaled = magnitude * static_cast<double>(den);
    }
    auto num = static_cast<int64_t>(std::nearbyint(scaled));
    if (num == 0) num = 1;
    return {sign * num, den};
}

std::string PerTitle::StartText() const {
    return MsToTimeText(Start);
}
std::string PerTitle::EndText() const {
    return MsToTimeText(End);
}
int32_t PerTitle::Duration() const {
    return SaturateMs(int64_t{End} - Start);
}
std::string PerTitle::DurationText() const {
    return MsToDelayText(Duration());
}

void PerTitle::Shift(int32_t delta) {
    Start = AddMs(Start, delta);
    End = AddMs(End, delta);
}

std::string MsToTimeText(int32_t ms) {
    char buffer[48];
    return std::string(buffer, WriteTimeText(buffer, ms));
}

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The usual "HH:MM:SS,mmm" (hours of up to six digits) read straight off: files hold millions of
// them.
bool CanonicalTimeText(std::string_view text, int32_t& ms) {
    std::size_t i = 0;
    while (i < text.size() && IsScanSpace(text[i]))
        ++i;
    int64_t hours = 0;
    const std::size_t hourStart = i;
    while (i < text.size() && IsDigit(text[i]) && i - hourStart < 6)
        hours = hours * 10 + (text[i++] - '0');
    const std::string_view t = text.substr(i);
    if (i == hourStart || t.size() < 10 || t[0] != ':' || t[3] != ':' || t[6] != ',' ||
        (t.size() > 10 && IsDigit(t[10])))
        return false;
    for (std::size_t k : {1, 2, 4, 5, 7, 8, 9})
        if (!IsDigit(t[k])) return false;
    auto two = [&](std::size_t k) { return (t[k] - '0') * 10 + (t[k + 1] - '0'); };
    ms = SaturateMs(hours * 3600000 + two(1) * 60000 + two(4) * 1000 + (t[7] - '0') * 100 +
                    (t[8] - '0') * 10 + (t[9] - '0'));
    return true;
}

} // namespace

namespace {

// The fields as one number of milliseconds, not yet saturated: ReadSignedTime saturates it once
// the sign is known.
int64_t UnsignedTimeTextToMs(std::string_view text) {
    int64_t v[4] = {0, 0, 0, 0};
    ScanNumbers(text, "::,", v, 4, kInt32Min, kInt32Max);
    return v[0] * 3600000 + v[1] * 60000 + v[2] * 1000 + v[3];
}

int64_t UnsignedDelayTextToMs(std::string_view text) {
    int64_t v[2] = {0, 0};
    ScanNumbers(text, ":", v, 2, kInt32Min, kInt32Max);
    return v[0] * 1000 + v[1];
}

int64_t UnsignedSubViewerTimeToMs(std::string_view text) {
    int64_t v[4] = {0, 0, 0, 0};
    ScanNumbers(text, "::.", v, 4, kInt32Min, kInt32Max);
    return v[0] * 3600000 + v[1] * 60000 + v[2] * 1000 + v[3] * 10;
}

} // namespace

int32_t TimeTextToMs(std::string_view text) {
    int32_t ms;
    if (CanonicalTimeText(text, ms)) return ms;
    return ReadSignedTime(text, UnsignedTimeTextToMs);
}

std::string MsToDelayText(int32_t ms) {
    std::string sign;
    const int64_t v = Magnitude(ms, sign);
    return sign + Format("%02d:%03d", static_cast<int>(v / 1000), static_cast<int>(v % 1000), 0, 0);
}

int32_t DelayTextToMs(std::string_view text) {
    return ReadSignedTime(text, UnsignedDelayTextToMs);
}

std::string MsToSubViewerTime(int32_t ms) {
    std::string sign;
    const int64_t v = Magnitude(ms, sign);
    return sign + Format("%02d:%02d:%02d.%02d", static_cast<int>(v / 3600000),
                         static_cast<int>(v % 3600000 / 60000), static_cast<int>(v % 60000 / 1000),
                         static_cast<int>(v % 1000 / 10));
}

int32_t SubViewerTimeToMs(std::string_view text) {
    return ReadSignedTime(text, UnsignedSubViewerTimeToMs);
}

std::string MsToFrameText(int32_t ms, double rate) {
    const RationalRate r = ToRational(rate);
    // Exact: ms × num / (1000 × den), truncated toward zero by the integer division.
    const __int128 frame =
        static_cast<__int128>(ms) * r.num / (static_cast<__int128>(1000) * r.den);
    char buffer[24];
    return std::string(buffer, WriteInteger(buffer, static_cast<int64_t>(frame)));
}

std::string SecondsToTimeText(float seconds) {
    const double x = std::isnan(seconds) ? 0.0 : static_cast<double>(seconds);
    int64_t whole = 0;
    int64_t f = 0;
    if (std::fabs(x) < 2147483648.0) {
        whole = static_cast<int64_t>(x);
        f = static_cast<int64_t>((x - static_cast<double>(whole)) * 1000);
    } else {
        whole = x < 0 ? kInt32Min : kInt32Max;
    }
    std::string sign;
    const int64_t magnitude = Magnitude(whole * 1000 + f, sign);
    const int64_t secs = magnitude / 1000;
    return sign + Format("%02d:%02d:%02d,%03d", static_cast<int>(secs / 3600),
                         static_cast<int>(secs % 3600 / 60), static_cast<int>(secs % 60),
                         static_cast<int>(magnitude % 1000));
}

std::string_view TrimText(std::string_view text) {
    std::size_t b = 0, e = text.size();
    while (b < e && static_cast<unsigned char>(text[b]) <= 32)
        ++b;
    while (e > b && static_cast<unsigned char>(text[e - 1]) <= 32)
        --e;
    return text.substr(b, e - b);
}

bool IsBlankText(std::string_view text, int codePage) {
    // Blank when nothing is left after taking out full-width spaces and trimming, that is when
    // every character is one or the other.
    const std::string_view space = FullWidthSpace(codePage);
    for (std::size_t i = 0; i < text.size();) {
        if (static_cast<unsigned char>(text[i]) <= 32) {
            ++i;
        } else if (!space.empty() && text.compare(i, space.size(), space) == 0) {
            i += space.size();
        } else {
            return false;
        }
    }
    return true;
}

bool IsBlankText(std::string_view text) {
    return IsBlankText(text, IsValidUtf8(text) ? kCodePageUtf8 : LegacyCodePage());
}
