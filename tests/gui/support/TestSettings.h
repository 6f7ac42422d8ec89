#pragma once
// Keeps a test's settings in a temporary directory of its own, never in the user's.
#include <QSettings>
#include <QTemporaryDir>

class TTestSettings {
public:
    TTestSettings() {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir_.path());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir_.path());
        // Recovery copies and backups go to the user's data location: a test's own too.
        qputenv("XDG_DATA_HOME", dir_.filePath(QStringLiteral("data")).toLocal8Bit());
    }
    QString Path() const { return dir_.path(); }

private:
    QTemporaryDir dir_;
};
