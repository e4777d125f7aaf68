#pragma once

#include <QFrame>
#include <QList>
#include <QPointer>

namespace kalmo::schedule {

// A panel that places its controls left to right in the order added, wrapping to a new
// row when the next one does not fit, `inset` px inside its edges.
class FlowPanel : public QFrame {
    Q_OBJECT
public:
    explicit FlowPanel(int inset, QWidget *parent = nullptr);

    // Takes `widget` as a child and places it after the others.
    void addWidget(QWidget *widget);
    // Frees every control added (at once from the panel, deleted later).
    void clearWidgets();
    int count() const;
    QWidget *widgetAt(int i) const { return m_widgets.value(i); }
    int inset() const { return m_inset; }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void reflow();

    int m_inset;
    QList<QPointer<QWidget>> m_widgets;
};

// Frees a run-time control: gone from its window at once, deleted when control returns to
// the event loop (the call may come from one of the control's own signals).
void releaseControl(QWidget *widget);

} // namespace kalmo::schedule
