#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

namespace kalmo::testing {

// Makes a small H.264 clip with ffmpeg's generated sources: `source` is a lavfi video source
// such as "color=c=red:size=160x120:rate=25" or "testsrc2=size=1280x720:rate=25". Returns an
// error text, empty on success.
inline QString makeClip(const QString &ffmpeg, const QString &path, const QString &source,
                        double seconds, bool withSound = false) {
    const QString duration = QString::number(seconds);
    QStringList args = {"-v", "error", "-y", "-f", "lavfi", "-i", source + ":duration=" + duration};
    if (withSound)
        args << "-f"
             << "lavfi"
             << "-i"
             << "sine=frequency=440:duration=" + duration;
    args << "-c:v"
         << "libx264"
         << "-preset"
         << "ultrafast"
         << "-pix_fmt"
         << "yuv420p";
    if (withSound)
        args << "-c:a"
             << "aac"
             << "-shortest";
    args << path;
    QProcess p;
    p.start(ffmpeg, args);
    if (!p.waitForFinished(120000) || p.exitCode() != 0)
        return "ffmpeg failed for " + path + ": " + QString::fromUtf8(p.readAllStandardError());
    return {};
}

} // namespace kalmo::testing
