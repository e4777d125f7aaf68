#pragma once

#include "core/random.h"
#include "core/swipe_detector.h"

#include <QString>
#include <QStringList>

namespace kalmo::app {

using core::SwipeDirection;

// The main screen's photo list and the choices of its slideshow, swipes and photo button,
// without any widget: each operation says what the screen should do next.
class Slideshow {
public:
    struct Action {
        enum Kind {
            None,    // nothing to show (empty list after the photo viewer)
            Rebuild, // rebuild the photo list, nothing shown
            Show,    // load `path` with transition `style`; on success show `caption`
            Caption, // only a caption (the folder is gone, or nothing to swipe)
        } kind = None;
        int style = 0;
        QString path;
        QString caption;
        // On Show: what the caption says instead when the decode finds the folder gone (the
        // screen learns it only then), and the last shown index to go back to.
        QString folderMissingCaption;
        int lastShownBefore = 0;
    };

    explicit Slideshow(core::Random &random) : m_random(random) {}

    // A rebuilt list (the folder's listing); the current index becomes -1.
    void setPhotos(const QStringList &photos, const QString &folder);

    // One automatic change. On Show the last shown index is already the new one. A single
    // photo is shown once and then left as it is.
    Action automaticChange(bool folderExists);
    // The photo now on screen, once it is decoded and shown.
    void setShownPath(const QString &path) { m_shownPath = path; }
    Action swipe(SwipeDirection gesture, bool folderExists);
    // After the photo viewer closed: the entry after the current index.
    Action afterViewer(bool folderExists);

    const QStringList &photos() const { return m_photos; }
    int currentIndex() const { return m_current; }
    void setCurrentIndex(int index) { m_current = index; }
    int lastShown() const { return m_lastShown; }
    void setLastShown(int index) { m_lastShown = index; }
    int styleCounter() const { return m_styleCounter; }
    void reset() { m_current = 0, m_lastShown = 1, m_styleCounter = 0; }

    static int styleOf(SwipeDirection gesture);

private:
    core::Random &m_random;
    QStringList m_photos;
    QString m_folder;
    QString m_shownPath;
    int m_current = 0;
    int m_lastShown = 1;
    int m_styleCounter = 0;
};

} // namespace kalmo::app
