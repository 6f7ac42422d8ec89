#pragma once
// A main window on the film player double, with a folder of its own for the files a test opens.
#include "FakePlayer.h"
#include "Main.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

#include <memory>

struct TFormFixture {
    TFakePlayer* player = nullptr;
    std::unique_ptr<TMainForm> form;
    QTemporaryDir dir;

    // The player knows one film, of the given length.
    TFormFixture(const QString& film, double seconds) {
        form = std::make_unique<TMainForm>([this, film, seconds](QWidget* video) {
            player = new TFakePlayer(video);
            player->Films.insert(film, seconds);
            return player;
        });
        form->resize(760, 580);
    }
    TMainForm& f() { return *form; }

    // Writes the bytes to a file of that name in the fixture's folder; answers its path.
    QString Write(const QString& name, const QByteArray& bytes) {
        const QString path = dir.filePath(name);
        QFile file(path);
        if (file.open(QIODevice::WriteOnly)) file.write(bytes);
        return path;
    }
};
