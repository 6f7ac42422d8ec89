#pragma once
// Keeps a test's settings in a temporary directory of its own, never in the user's.
#include <QSettings>
#include <QTemporaryDir>

class TTestSettings {
public:
    TTestSettings() {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir_.path());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir_.path());
    }
    QString Path() const { return dir_.path(); }

private:
    QTemporaryDir dir_;
};
