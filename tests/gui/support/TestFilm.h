#pragma once
// A 3-second film made with ffmpeg's test sources: a picture with a keyframe every second and,
// when asked, a 440 Hz tone as its sound.
#include <QString>

#include <cstdlib>

inline bool MakeTestFilm(const QString& path, bool sound) {
    QString cmd = QStringLiteral("ffmpeg -nostdin -v error -y -f lavfi -i testsrc=s=64x48:r=25:d=3");
    if (sound) cmd += QStringLiteral(" -f lavfi -i sine=f=440:r=48000:d=3 -c:a aac");
    cmd += QStringLiteral(" -c:v libx264 -preset ultrafast -g 25 '%1'").arg(path);
    return std::system(cmd.toLocal8Bit().constData()) == 0;
}
