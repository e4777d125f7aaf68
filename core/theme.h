#pragma once

#include <QColor>
#include <QPalette>
#include <QString>
#include <QStringList>

namespace kalmo::core {

// The visual themes the kiosk carries: a name and a palette for the Fusion style.
// "Windows" is the platform's own palette.
class Themes {
public:
    // "Windows" first, then the carried themes in alphabetical order.
    static QStringList names();
    static bool contains(const QString &name);
    // The palette of a theme; nullopt-like invalid palette for an unknown name.
    static bool palette(const QString &name, QPalette &out);
    // Applies a theme to the whole application. An unknown name changes nothing and returns
    // the error text to report ("Style '<name>' not found.").
    static QString apply(const QString &name);
    // The colours the screens read from the theme in force.
    static QColor windowColour();
    static QColor textColour();
};

} // namespace kalmo::core
