#pragma once

#include <QImage>
#include <QWidget>

namespace kalmo::photo {

// One picture of the thumbnail page (`MyImage1`..`MyImage16`): shows its picture stretched
// to its own size, or a neutral placeholder while there is none (still decoding, or a file
// that cannot be decoded). `tag` is the index of its photo in the viewer's list.
class Thumbnail : public QWidget {
    Q_OBJECT
public:
    Thumbnail(int number, QWidget *parent);

    int number() const { return m_number; }
    int tag() const { return m_tag; }
    void setTag(int tag) { m_tag = tag; }
    const QImage &image() const { return m_image; }
    void setImage(const QImage &image);

signals:
    void doubleClicked(int number);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    int m_number;
    int m_tag = -1;
    QImage m_image;
};

} // namespace kalmo::photo
