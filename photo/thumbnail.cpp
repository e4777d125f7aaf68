#include "photo/thumbnail.h"

#include <QMouseEvent>
#include <QPainter>

namespace kalmo::photo {

Thumbnail::Thumbnail(int number, QWidget *parent) : QWidget(parent), m_number(number) {
    const QString name = QStringLiteral("MyImage%1").arg(number);
    setObjectName(name);
    setAccessibleName(name);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void Thumbnail::setImage(const QImage &image) {
    m_image = image;
    update();
}

void Thumbnail::paintEvent(QPaintEvent *) {
    QPainter p(this);
    if (!m_image.isNull()) {
        p.drawImage(rect(), m_image);
        return;
    }
    const QColor window = palette().color(QPalette::Window);
    p.fillRect(rect(), window.lightness() > 128 ? window.darker(112) : window.lighter(130));
    p.setPen(palette().color(QPalette::Mid));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void Thumbnail::mouseDoubleClickEvent(QMouseEvent *event) {
    if (event->button() == Qt::LeftButton)
        emit doubleClicked(m_number);
}

} // namespace kalmo::photo
