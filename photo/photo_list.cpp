#include "photo/photo_list.h"

#include <QFileInfo>

namespace kalmo::photo {

QString captionFor(const QString &path) {
    const QString name = QFileInfo(path).fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? name : name.left(dot + 1);
}

PageCounter::Page PageCounter::forward() {
    Page page;
    page.fill(-1);
    if (m_count <= 0)
        return page;
    // A list that shrank under the counter starts again from its first photo.
    if (m_counter < 0 || m_counter >= m_count)
        m_counter = 0;
    for (int &index : page) {
        index = m_counter;
        if (++m_counter > m_count - 1)
            m_counter = 0;
    }
    return page;
}

PageCounter::Page PageCounter::backward() {
    Page page;
    page.fill(-1);
    if (m_count <= 0)
        return page;
    // Back 16 photos counted around the list. (Jumping to the last photo instead, whenever
    // this goes below the first, would show the same page again and again on a short list.)
    if (m_counter < 0 || m_counter >= m_count)
        m_counter = 0;
    m_counter = ((m_counter - kThumbnails) % m_count + m_count) % m_count;
    for (int k = kThumbnails - 1; k >= 0; --k) {
        page[k] = m_counter;
        if (--m_counter < 0)
            m_counter = m_count - 1;
    }
    return page;
}

} // namespace kalmo::photo
