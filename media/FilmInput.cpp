#include "FilmInput.h"

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/dict.h>
#include <libavutil/error.h>
}

#include <filesystem>
#include <system_error>

std::string AvErrorText(int error) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(error, text, sizeof text);
    return text;
}

namespace {

// A playlist, a concatenation or an image sequence asks for more files through this door; the
// editor reads only the film it was given.
int RefuseOtherFiles(AVFormatContext*, AVIOContext**, const char*, int, AVDictionary**) {
    return AVERROR(EPERM);
}

void SetWhy(std::string* why, std::string text) {
    if (why) *why = std::move(text);
}

} // namespace

std::unique_ptr<TFilmInput> TFilmInput::Open(const std::string& path, std::string* why) {
    std::error_code ec;
    // Devices and pipes never end; a folder is no film.
    if (!std::filesystem::is_regular_file(path, ec)) {
        SetWhy(why, std::filesystem::exists(path, ec) ? "not a regular file: " + path
                                                      : "the file does not exist: " + path);
        return nullptr;
    }
    std::unique_ptr<TFilmInput> in(new TFilmInput);
    AVDictionary* opts = nullptr;
    av_dict_set(&opts, "protocol_whitelist", "file", 0);
    // "file:" in front: a name that looks like another protocol's address is still a file name.
    const std::string url = "file:" + path;
    int r = avio_open2(&in->pb_, url.c_str(), AVIO_FLAG_READ, nullptr, &opts);
    av_dict_free(&opts);
    if (r < 0) {
        SetWhy(why, "the file cannot be opened (" + AvErrorText(r) + ")");
        return nullptr;
    }
    in->fmt_ = avformat_alloc_context();
    if (!in->fmt_) {
        SetWhy(why, "out of memory");
        return nullptr;
    }
    in->fmt_->pb = in->pb_;
    in->fmt_->flags |= AVFMT_FLAG_CUSTOM_IO;
    in->fmt_->io_open = RefuseOtherFiles;
    // The film itself is already open; any other file it names (a concatenation list opens
    // its parts in contexts of their own, which inherit this list) finds no protocol allowed.
    av_dict_set(&opts, "protocol_whitelist", "none", 0);
    r = avformat_open_input(&in->fmt_, path.c_str(), nullptr, &opts); // frees fmt_ on failure
    av_dict_free(&opts);
    if (r < 0) {
        SetWhy(why, "not a film that can be read (" + AvErrorText(r) + ")");
        return nullptr;
    }
    r = avformat_find_stream_info(in->fmt_, nullptr);
    if (r < 0) {
        SetWhy(why, "the film's streams cannot be read (" + AvErrorText(r) + ")");
        return nullptr;
    }
    // A subtitle or data file that libavformat also knows is still no film.
    bool media = false;
    for (unsigned i = 0; i < in->fmt_->nb_streams; ++i) {
        const AVMediaType type = in->fmt_->streams[i]->codecpar->codec_type;
        media = media || type == AVMEDIA_TYPE_AUDIO || type == AVMEDIA_TYPE_VIDEO;
    }
    if (!media) {
        SetWhy(why, "not a film: it has neither sound nor picture");
        return nullptr;
    }
    return in;
}

TFilmInput::~TFilmInput() {
    if (fmt_) avformat_close_input(&fmt_);
    if (pb_) avio_closep(&pb_);
}

int64_t TFilmInput::StartUs() const {
    return fmt_ && fmt_->start_time != AV_NOPTS_VALUE ? fmt_->start_time : 0;
}
