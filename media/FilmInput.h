#pragma once
// A film file opened for reading with libavformat, confined to that one file: only the file
// protocol, and no other file that the film or a playlist names is opened.
#include <memory>
#include <string>

struct AVFormatContext;

class TFilmInput {
public:
    // Null, with why, when the file cannot be opened or is not a film libavformat knows.
    static std::unique_ptr<TFilmInput> Open(const std::string& path, std::string* why);
    ~TFilmInput();
    TFilmInput(const TFilmInput&) = delete;
    TFilmInput& operator=(const TFilmInput&) = delete;

    AVFormatContext* Format() const { return fmt_; }
    // The film's start (its first moment, which the player shows as 0) in microseconds.
    int64_t StartUs() const;

private:
    TFilmInput() = default;
    AVFormatContext* fmt_ = nullptr;
    struct AVIOContext* pb_ = nullptr;
};

// libav*'s text for an error code.
std::string AvErrorText(int error);
