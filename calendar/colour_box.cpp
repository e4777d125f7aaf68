#include "calendar/colour_box.h"

#include <QPixmap>

namespace kalmo::calendar {

namespace {

QIcon swatch(core::ColorCode code) {
    QPixmap pixmap(16, 12);
    const QColor colour = core::toQColor(code);
    pixmap.fill(colour.isValid() ? colour : QColor(Qt::transparent));
    return QIcon(pixmap);
}

} // namespace

ColourBox::ColourBox(QWidget *parent) : QComboBox(parent) {
    for (const core::NamedColor &named : core::namedColors())
        addItem(swatch(named.code), QString::fromLatin1(named.name), named.code);
    connect(this, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0)
            emit colourChanged(colour());
    });
}

core::ColorCode ColourBox::colour() const {
    return static_cast<core::ColorCode>(currentData().toInt());
}

int ColourBox::indexOf(core::ColorCode code) const {
    return findData(code);
}

void ColourBox::setColour(core::ColorCode code) {
    int index = indexOf(code);
    if (index < 0) {
        addItem(swatch(code), core::colorToText(code), code);
        index = count() - 1;
    }
    setCurrentIndex(index);
}

} // namespace kalmo::calendar
