#pragma once

#include "core/colors.h"

#include <QComboBox>

namespace kalmo::calendar {

// A drop-down of the named and system colours, each with its swatch. A colour without a name
// is shown in its "$" form as an extra entry, so a stored custom colour survives a look save.
class ColourBox : public QComboBox {
    Q_OBJECT
public:
    explicit ColourBox(QWidget *parent = nullptr);

    core::ColorCode colour() const;
    // Selects the colour's entry; emits colourChanged() only when the entry changes.
    void setColour(core::ColorCode code);
    // The entry of a colour, -1 when it has none.
    int indexOf(core::ColorCode code) const;

signals:
    void colourChanged(core::ColorCode code);
};

} // namespace kalmo::calendar
