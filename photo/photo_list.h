#pragma once

#include <QString>
#include <array>

namespace kalmo::photo {

// A photo's caption: its file name up to and including the last dot ("summer.2020.").
QString captionFor(const QString &path);

// The thumbnail page's counter: the index of the next photo to load into a thumbnail, and
// its arithmetic over a list of `count` photos. Fewer photos than thumbnails repeat around
// the page. Indices are -1 when the list is empty.
class PageCounter {
public:
    static constexpr int kThumbnails = 16;
    using Page = std::array<int, kThumbnails>; // photo index of thumbnails 1..16

    // A fresh list: the counter goes back to the first photo.
    void reset(int count) {
        m_count = count;
        m_counter = 0;
    }
    // The list changed size but the page stays as it is.
    void setCount(int count) { m_count = count; }
    int count() const { return m_count; }
    int counter() const { return m_counter; }

    // The next page from the counter on; the counter ends past its last photo.
    Page forward();
    // The page before: the counter goes back 16 around the list and fills thumbnails 16
    // down to 1 walking backwards around the list.
    Page backward();

private:
    int m_count = 0;
    int m_counter = 0;
};

} // namespace kalmo::photo
