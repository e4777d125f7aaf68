#include "schedule/flow_panel.h"

namespace kalmo::schedule {

FlowPanel::FlowPanel(int inset, QWidget *parent) : QFrame(parent), m_inset(inset) {}

void FlowPanel::addWidget(QWidget *widget) {
    widget->setParent(this);
    m_widgets.append(widget);
    reflow();
    widget->show();
}

void FlowPanel::clearWidgets() {
    for (const QPointer<QWidget> &w : std::as_const(m_widgets))
        releaseControl(w.data());
    m_widgets.clear();
}

int FlowPanel::count() const {
    return static_cast<int>(m_widgets.size());
}

void FlowPanel::resizeEvent(QResizeEvent *event) {
    QFrame::resizeEvent(event);
    reflow();
}

void FlowPanel::reflow() {
    const int right = width() - m_inset;
    int x = m_inset;
    int y = m_inset;
    int rowHeight = 0;
    for (const QPointer<QWidget> &w : std::as_const(m_widgets)) {
        if (!w)
            continue;
        if (x > m_inset && x + w->width() > right) {
            x = m_inset;
            y += rowHeight;
            rowHeight = 0;
        }
        w->move(x, y);
        x += w->width();
        rowHeight = std::max(rowHeight, w->height());
    }
}

void releaseControl(QWidget *widget) {
    if (!widget)
        return;
    widget->hide();
    widget->setParent(nullptr);
    widget->deleteLater();
}

} // namespace kalmo::schedule
