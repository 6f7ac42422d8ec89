#pragma once
// Reads a film's sound for the waveform view on a thread of its own, so that the window never
// waits: from the cache folder when the film was read before, otherwise decoded and then kept
// there. Progress and the result arrive as signals in the thread that owns the reader.
// Starting another reading, or stopping, drops the one under way: its result never arrives.
#include "Waveform.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

class TSoundReader : public QObject {
    Q_OBJECT
public:
    explicit TSoundReader(QString cacheFolder, QObject* parent = nullptr);
    // Stops every reading and waits for their threads.
    ~TSoundReader() override;

    void Start(const QString& filmPath);
    void Stop();
    bool Reading() const { return current_ != nullptr; }
    const QString& CacheFolder() const { return cacheFolder_; }

signals:
    // Whole percentages, each once, while a film is decoded (not for a cached one).
    void progress(int percent);
    void finished(const QString& filmPath, std::shared_ptr<const TSound> sound, bool fromCache);
    void failed(const QString& filmPath, const QString& why);

private:
    struct TJob {
        std::atomic<bool> Stop{false};
        std::atomic<bool> Done{false};
        std::thread Thread;
    };
    // Joins the threads of readings that have ended.
    void Reap();

    QString cacheFolder_;
    std::shared_ptr<TJob> current_;
    std::vector<std::shared_ptr<TJob>> jobs_;
};
