#pragma once

#include <QByteArray>
#include <QList>
#include <QStringList>
#include <optional>

namespace kalmo::power {

// The X server's screen saver and DPMS settings as `xset q` reports them.
struct XSaverSettings {
    int timeout = 0; // seconds, 0: no screen saver
    int cycle = 0;
    bool preferBlanking = true;
    bool dpmsKnown = false; // the server has the DPMS extension
    bool dpmsEnabled = false;
    int standby = 0, suspend = 0, off = 0; // seconds
};

// Reads the output of `xset q`; nothing when it has no screen saver section.
std::optional<XSaverSettings> parseXsetQuery(const QByteArray &output);

// xset runs (their arguments) that switch the display on and keep the server from blanking it.
QList<QStringList> xsetWhileAwake();
// xset runs that give back the settings found at start (when known) and switch the display
// off.
QList<QStringList> xsetWhileAsleep(const std::optional<XSaverSettings> &saved);

// One xset run that gives back the settings found at start, for the program's exit.
QStringList xsetAtExit(const XSaverSettings &saved);

} // namespace kalmo::power
