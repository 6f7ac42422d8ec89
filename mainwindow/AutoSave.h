#pragma once
// Keeping the user's work through a crash: every few seconds each document changed since its
// last save or copy is written, whole and exactly, to this run's recovery folder (never to the
// user's own file); a clean exit takes the folder away, so a folder left behind by a run whose
// lock is gone holds work to offer at the next start. Also the backups kept before a file is
// overwritten.
//
// Copies are made on the window's thread (a fast serialisation) and written on a worker thread,
// one at a time and in order, so a save never races the copy it replaces.
#include <QLockFile>
#include <QObject>
#include <QSet>
#include <QString>
#include <QThreadPool>
#include <QTimer>

#include <cstdint>
#include <memory>
#include <vector>

class SubTitle;

class TAutoSave : public QObject {
    Q_OBJECT
public:
    // root holds the recovery and backups folders; empty: the user's data location.
    explicit TAutoSave(QObject* parent = nullptr, const QString& root = QString());
    ~TAutoSave() override;

    // Seconds between copies; 0 stops them.
    void SetInterval(int seconds);
    int Interval() const { return interval_; }
    // How many backups of a file are kept; 0 keeps none.
    int BackupKeep = 5;

    // The documents it copies: each side's, asked for at every tick.
    std::function<const SubTitle*(int side)> Document;
    // Whether a side's document differs from its file (its history knows).
    std::function<bool(int side)> Modified;

    // A side's document changed (a step, an undo, a redo): its next tick copies it.
    void Changed(int side);
    // A side's document was saved, replaced or let go: its copy goes.
    void Forget(int side);
    // Copies the changed documents now (the timer's tick).
    void Tick();
    // Waits until every copy asked for is written.
    void Flush();

    // A copy left by a run that did not end cleanly.
    struct TLeftCopy {
        QString Path;     // the copy
        QString FileName; // the document's own file
        int Side = 0;
        qint64 SavedAt = 0;
        int Count = 0;
    };
    // Copies of runs that ended without their clean exit; runs still going are left alone.
    std::vector<TLeftCopy> LeftBehind();
    // A copy is taken over (restored: written again as this run's) or dropped.
    void Drop(const TLeftCopy& copy);

    // Before a file is overwritten: keeps its present version, once a run per file (always
    // when asked). False, with why, when the backup cannot be made: the save must stop.
    bool BackupBeforeOverwrite(const QString& path, QString* why, bool always = false);

    QString RecoveryFolder() const { return session_; }
    QString BackupsFolder() const { return root_ + QStringLiteral("/backups"); }
    // The copy of a side's document in this run's folder.
    QString CopyPath(int side) const;

private:
    void Copy(int side);
    void Write(int side, std::shared_ptr<std::string> bytes);
    void Remove(const QString& path);

    QTimer timer_;
    QString root_;
    QString session_;
    std::unique_ptr<QLockFile> lock_;
    std::vector<std::unique_ptr<QLockFile>> orphans_; // runs whose copies are being offered
    QThreadPool writer_;
    int interval_ = 60;
    bool changed_[2] = {false, false};
    // Each side's buffer for its copies, kept from one copy to the next: fresh memory is slow to
    // touch, and the window must not wait for it. A buffer too small for a document is grown
    // on the worker, and the copy made when it comes back. Null while the worker has it.
    std::shared_ptr<std::string> buffer_[2];
    int growing_[2] = {0, 0};
    int returns_ = 0; // buffers on their way back from the worker
    QSet<QString> backedUp_;
};
