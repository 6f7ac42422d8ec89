#include "AutoSave.h"

#include "Backup.h"
#include "Recovery.h"
#include "TextFile.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <ostream>

namespace {

const QString kCopySuffix = QStringLiteral(".vrec");

} // namespace

TAutoSave::TAutoSave(QObject* parent, const QString& root)
    : QObject(parent), timer_(this),
      root_(root.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
                           : root) {
    setObjectName(QStringLiteral("AutoSave"));
    writer_.setMaxThreadCount(1); // copies are written one at a time, in the order asked
    const QString recovery = root_ + QStringLiteral("/recovery");
    QDir().mkpath(recovery);
    // One folder a run, held by a lock while the run lives: two editors never take each
    // other's copies, and a run that died leaves its folder with a lock nobody holds.
    const QString id = QStringLiteral("%1-%2")
                           .arg(QCoreApplication::applicationPid())
                           .arg(QDateTime::currentMSecsSinceEpoch());
    session_ = recovery + QLatin1Char('/') + id;
    lock_ = std::make_unique<QLockFile>(session_ + QStringLiteral(".lock"));
    lock_->setStaleLockTime(0);
    lock_->tryLock(0);
    QDir().mkpath(session_);
    timer_.setObjectName(QStringLiteral("AutoSaveTimer"));
    connect(&timer_, &QTimer::timeout, this, &TAutoSave::Tick);
    SetInterval(interval_);
}

TAutoSave::~TAutoSave() {
    // A clean exit: whatever was not saved was let go by the user.
    writer_.waitForDone();
    QDir(session_).removeRecursively();
    lock_->unlock();
}

void TAutoSave::SetInterval(int seconds) {
    interval_ = std::max(0, seconds);
    if (interval_ == 0) {
        timer_.stop();
        return;
    }
    timer_.start(std::min(interval_, 24 * 3600) * 1000);
}

QString TAutoSave::CopyPath(int side) const {
    return session_ + QStringLiteral("/side%1").arg(side) + kCopySuffix;
}

void TAutoSave::Changed(int side) {
    if (side == 0 || side == 1) changed_[side] = true;
}

void TAutoSave::Forget(int side) {
    if (side != 0 && side != 1) return;
    changed_[side] = false;
    Remove(CopyPath(side));
}

void TAutoSave::Tick() {
    for (int side = 0; side < 2; ++side) {
        if (!changed_[side] || growing_[side]) continue;
        changed_[side] = false;
        Copy(side);
    }
}

void TAutoSave::Copy(int side) {
    const SubTitle* doc = Document ? Document(side) : nullptr;
    if (!doc || !(Modified ? Modified(side) : doc->IsModified())) {
        Remove(CopyPath(side));
        return;
    }
    const std::size_t needed = RecoveryBytesBound(*doc);
    std::shared_ptr<std::string> buffer = std::move(buffer_[side]);
    if (!buffer) buffer = std::make_shared<std::string>();
    if (buffer->capacity() < needed && needed > (std::size_t{8} << 20)) {
        // Grown and touched on the worker; the copy follows when the buffer is back.
        ++growing_[side];
        ++returns_;
        writer_.start([this, side, buffer, needed] {
            buffer->clear();
            buffer->resize(needed + needed / 4);
            buffer->clear();
            QMetaObject::invokeMethod(
                this,
                [this, side, buffer] {
                    --returns_;
                    --growing_[side];
                    buffer_[side] = buffer;
                    Copy(side);
                },
                Qt::QueuedConnection);
        });
        return;
    }
    RecoveryBytes(*doc, side, QDateTime::currentSecsSinceEpoch(), *buffer);
    Write(side, std::move(buffer));
}

void TAutoSave::Flush() {
    // Until every copy asked for is on disk, also those waiting for a grown buffer.
    do {
        writer_.waitForDone();
        QCoreApplication::sendPostedEvents(this);
    } while (returns_ > 0 || writer_.activeThreadCount() > 0);
    writer_.waitForDone();
    QCoreApplication::sendPostedEvents(this);
}

void TAutoSave::Write(int side, std::shared_ptr<std::string> bytes) {
    const std::string path = CopyPath(side).toStdString();
    ++returns_;
    writer_.start([this, side, path, bytes] {
        // Atomic like every save: a crash while writing leaves the previous copy whole.
        WriteFileAtomically(path, FileEncoding::Plain, [&](std::ostream& out) {
            out.write(bytes->data(), static_cast<std::streamsize>(bytes->size()));
            return bool(out);
        });
        QMetaObject::invokeMethod(
            this,
            [this, side, bytes] {
                --returns_;
                if (!buffer_[side] || buffer_[side]->capacity() < bytes->capacity())
                    buffer_[side] = bytes;
            },
            Qt::QueuedConnection);
    });
}

void TAutoSave::Remove(const QString& path) {
    writer_.start([path] { QFile::remove(path); });
}

std::vector<TAutoSave::TLeftCopy> TAutoSave::LeftBehind() {
    std::vector<TLeftCopy> copies;
    const QDir recovery(root_ + QStringLiteral("/recovery"));
    for (const QFileInfo& folder : recovery.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (folder.absoluteFilePath() == QFileInfo(session_).absoluteFilePath()) continue;
        bool held = false;
        for (const auto& orphan : orphans_)
            held =
                held || orphan->fileName() == folder.absoluteFilePath() + QStringLiteral(".lock");
        if (!held) {
            // A lock still held belongs to a run that is still going.
            auto lock =
                std::make_unique<QLockFile>(folder.absoluteFilePath() + QStringLiteral(".lock"));
            lock->setStaleLockTime(0);
            if (!lock->tryLock(0)) continue;
            orphans_.push_back(std::move(lock));
        }
        const QDir dir(folder.absoluteFilePath());
        for (const QFileInfo& file :
             dir.entryInfoList({QStringLiteral("*") + kCopySuffix}, QDir::Files, QDir::Name)) {
            const std::optional<TRecoveryInfo> info =
                ReadRecoveryInfo(file.absoluteFilePath().toStdString());
            if (!info) continue;
            copies.push_back({file.absoluteFilePath(), QString::fromStdString(info->FileName),
                              info->Side, info->SavedAt, info->Count});
        }
    }
    return copies;
}

void TAutoSave::Drop(const TLeftCopy& copy) {
    // After the copies asked for so far are written: a restored document is this run's copy
    // before the old one goes.
    const QString path = copy.Path;
    writer_.start([path] {
        QFile::remove(path);
        const QFileInfo file(path);
        QDir folder = file.absoluteDir();
        if (folder.entryList(QDir::Files | QDir::NoDotAndDotDot).isEmpty()) {
            const QString name = folder.absolutePath();
            folder.removeRecursively();
            QFile::remove(name + QStringLiteral(".lock"));
        }
    });
}

bool TAutoSave::BackupBeforeOverwrite(const QString& path, QString* why, bool always) {
    if (BackupKeep <= 0) return true;
    const QString key = QFileInfo(path).absoluteFilePath();
    if (!always && backedUp_.contains(key)) return true;
    std::string reason;
    if (!BackupFile(path.toStdString(), BackupsFolder().toStdString(), BackupKeep, &reason)) {
        if (why) *why = QString::fromStdString(reason);
        return false;
    }
    backedUp_.insert(key);
    return true;
}
