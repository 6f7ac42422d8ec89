#include "SoundReader.h"

#include "SoundCache.h"

#include <QMetaObject>

TSoundReader::TSoundReader(QString cacheFolder, QObject* parent)
    : QObject(parent), cacheFolder_(std::move(cacheFolder)) {}

TSoundReader::~TSoundReader() {
    Stop();
    // The threads post nothing once stopped that could reach this object after it is gone:
    // they are joined before it is.
    for (const std::shared_ptr<TJob>& job : jobs_)
        if (job->Thread.joinable()) job->Thread.join();
}

void TSoundReader::Stop() {
    if (current_) current_->Stop = true;
    current_.reset();
    Reap();
}

void TSoundReader::Reap() {
    std::erase_if(jobs_, [](const std::shared_ptr<TJob>& job) {
        if (!job->Done) return false;
        job->Thread.join();
        return true;
    });
}

void TSoundReader::Start(const QString& filmPath) {
    Stop();
    auto job = std::make_shared<TJob>();
    current_ = job;
    jobs_.push_back(job);
    const std::string path = filmPath.toStdString();
    const std::string folder = cacheFolder_.toStdString();
    // Everything reaches the window through queued calls checked against the reading under
    // way, so a reading dropped meanwhile is never heard.
    auto post = [this, job](auto&& call) {
        QMetaObject::invokeMethod(
            this,
            [this, job, call = std::forward<decltype(call)>(call)]() mutable {
                if (current_ == job) call();
            },
            Qt::QueuedConnection);
    };
    job->Thread = std::thread([this, job, path, folder, filmPath, post] {
        const TSoundCache cache(folder);
        std::optional<TSound> sound = cache.Load(path);
        const bool cached = sound.has_value();
        std::string why;
        if (!sound) {
            int shown = -1;
            sound = ReadFilmSound(
                path,
                [&](double fraction) {
                    const int percent = int(fraction * 100);
                    if (percent != shown) {
                        shown = percent;
                        post([this, percent] { emit progress(percent); });
                    }
                    return !job->Stop.load();
                },
                &why);
            if (sound) cache.Store(path, *sound); // a cache that cannot be written only costs time
        }
        if (sound) {
            auto shared = std::make_shared<const TSound>(std::move(*sound));
            post([this, filmPath, shared, cached] {
                current_.reset();
                emit finished(filmPath, shared, cached);
            });
        } else if (!job->Stop) {
            const QString text = QString::fromStdString(why);
            post([this, filmPath, text] {
                current_.reset();
                emit failed(filmPath, text);
            });
        }
        job->Done = true;
    });
}
