#include "app/slideshow.h"

#include "app/photo_list.h"

namespace kalmo::app {

namespace {
const QString kCannotLoad = QStringLiteral("Не удается загрузить фото ");
const QString kCheckAccess =
    QStringLiteral(", проверьте наличие доступа к каталогу с фоторгафиями");
} // namespace

void Slideshow::setPhotos(const QStringList &photos, const QString &folder) {
    m_photos = photos;
    m_folder = folder;
    m_current = -1;
}

Slideshow::Action Slideshow::automaticChange(bool folderExists) {
    // Redraw until the choice differs from the photo shown last; each draw moves the style on.
    for (;;) {
        m_styleCounter = m_styleCounter + 1 >= 176 ? 1 : m_styleCounter + 1;
        // One photo: shown when it is not on screen yet, otherwise only the list is rebuilt,
        // so that photos copied in later are found.
        if (m_photos.size() == 1 && m_photos.first() != m_shownPath) {
            m_current = 0;
            break;
        }
        if (m_photos.size() < 2)
            return {Action::Rebuild, 0, {}, {}, {}, 0};
        m_current = m_random.below(int(m_photos.size()));
        if (m_current != m_lastShown)
            break;
    }
    const QString &entry = m_photos[m_current];
    const QString missing = kCannotLoad + photoShortName(entry, m_folder) + kCheckAccess;
    if (!folderExists)
        return {Action::Caption, 0, {}, missing, {}, 0};
    const int before = m_lastShown;
    m_lastShown = m_current;
    return {Action::Show, m_styleCounter, entry, photoCaption(entry), missing, before};
}

int Slideshow::styleOf(SwipeDirection gesture) {
    switch (gesture) {
    case SwipeDirection::Left:
        return 15;
    case SwipeDirection::Right:
        return 14;
    case SwipeDirection::Up:
        return 20;
    case SwipeDirection::Down:
        return 21;
    }
    return 15;
}

Slideshow::Action Slideshow::swipe(SwipeDirection gesture, bool folderExists) {
    if (m_photos.isEmpty())
        return {Action::Caption,
                0,
                {},
                QStringLiteral("Для просмотра не выбраны фотоматериалы. "),
                {},
                0};
    const bool next = gesture == SwipeDirection::Left || gesture == SwipeDirection::Down;
    const int count = int(m_photos.size());
    if (next)
        m_current = m_current + 1 >= count ? 0 : m_current + 1;
    else
        m_current = m_current - 1 < 0 ? count - 1 : m_current - 1;
    const QString &entry = m_photos[m_current];
    const QString missing =
        kCannotLoad + photoShortName(entry, m_folder) + kCheckAccess + (next ? "." : "");
    if (!folderExists)
        return {Action::Caption, 0, {}, missing, {}, 0};
    return {Action::Show, styleOf(gesture), entry, photoCaption(entry), missing, m_lastShown};
}

Slideshow::Action Slideshow::afterViewer(bool folderExists) {
    if (m_photos.isEmpty())
        return {};
    const int count = int(m_photos.size());
    m_current = m_current + 1 >= count ? 0 : m_current + 1;
    // Guards an index left beyond a list that shrank meanwhile.
    if (m_current < 0 || m_current >= count)
        m_current = 0;
    const QString &entry = m_photos[m_current];
    const QString name = photoShortName(entry, m_folder);
    const QString missing =
        kCannotLoad + name + QStringLiteral(", проверьте доступ к каталогу с фото.");
    if (!folderExists)
        return {Action::Caption, 0, {}, missing, {}, 0};
    return {Action::Show, 130, entry, name, missing, m_lastShown};
}

} // namespace kalmo::app
