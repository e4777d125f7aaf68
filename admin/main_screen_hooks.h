#pragma once

#include <QString>
#include <functional>

namespace kalmo::admin {

// What the settings dialog does to the running main screen when the administrator saves or
// changes the theme. Each hook reads the program-wide values the dialog has just refreshed;
// a hook left empty is skipped.
struct MainScreenHooks {
    std::function<void(int intervalMs)> setRereadInterval;
    // Fonts of the main buttons and the site view's close button, the site button's caption.
    std::function<void()> applyFontsAndSiteCaption;
    // The running text line takes the file and step in force and starts again.
    std::function<void()> reloadRunningText;
    std::function<void()> rebuildPhotoList;
    // Applies a theme to every window; an unknown name changes nothing and is reported.
    std::function<void(const QString &name)> applyTheme;
};

} // namespace kalmo::admin
