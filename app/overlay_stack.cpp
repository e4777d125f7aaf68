#include "app/overlay_stack.h"

#include <QApplication>
#include <QEvent>
#include <algorithm>

namespace kalmo::app {

namespace {

// Lies right under the overlay in front, over the whole window: what is below gets no
// pointer, touch or wheel input. The application-wide filters (the idle clock) still see it.
class InputBlocker : public QWidget {
public:
    explicit InputBlocker(QWidget *parent) : QWidget(parent) {
        setObjectName(QStringLiteral("InputBlocker"));
        setAttribute(Qt::WA_AcceptTouchEvents);
        setFocusPolicy(Qt::NoFocus);
        hide();
    }

protected:
    bool event(QEvent *e) override {
        switch (e->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TouchCancel:
        case QEvent::TabletPress:
        case QEvent::TabletMove:
        case QEvent::TabletRelease:
        case QEvent::ContextMenu:
            e->accept();
            return true;
        default:
            return QWidget::event(e);
        }
    }
};

bool canTakeFocus(const QWidget *w, const QWidget *inside) {
    return w && w->isVisible() && w->isEnabled() && (w == inside || inside->isAncestorOf(w));
}

} // namespace

OverlayStack::OverlayStack(QWidget *host)
    : QObject(host), m_host(host), m_blocker(new InputBlocker(host)) {}

OverlayStack::~OverlayStack() = default;

void OverlayStack::setPage(QWidget *page) {
    m_page = page;
}

void OverlayStack::add(QWidget *overlay, Layer layer, Placement placement) {
    if (!overlay || find(overlay))
        return;
    const QRect geometry = overlay->geometry();
    const bool visible = overlay->isVisible();
    // A sub-window: a child like any other, but Tab goes round inside it and never leaves.
    overlay->setParent(m_host, Qt::SubWindow | (overlay->windowFlags() & Qt::FramelessWindowHint));
    overlay->setGeometry(geometry);
    // Hidden for good, not only until the window shows and takes its children along.
    overlay->setVisible(visible);
    // A window is named by its title for screen readers; a child needs the name given.
    if (overlay->accessibleName().isEmpty())
        overlay->setAccessibleName(overlay->windowTitle());
    // A window has a background of its own; a child would let the page show through.
    overlay->setAutoFillBackground(true);
    Entry entry;
    entry.widget = overlay;
    entry.layer = layer;
    entry.placement = placement;
    m_entries.append(entry);
    overlay->installEventFilter(this);
    // Deleted while on screen (a box that deletes itself): the one below comes to the front.
    connect(overlay, &QObject::destroyed, this, [this] {
        QMetaObject::invokeMethod(this, &OverlayStack::restack, Qt::QueuedConnection);
    });
    if (visible)
        restack();
}

OverlayStack::Entry *OverlayStack::find(const QObject *w) {
    for (Entry &e : m_entries)
        if (e.widget == w)
            return &e;
    return nullptr;
}

QWidget *OverlayStack::top() const {
    return m_top.data();
}

QList<QWidget *> OverlayStack::shown() const {
    QList<const Entry *> visible;
    for (const Entry &e : m_entries)
        if (e.widget && e.widget->isVisibleTo(m_host))
            visible.append(&e);
    std::stable_sort(visible.begin(), visible.end(), [](const Entry *a, const Entry *b) {
        return a->layer != b->layer ? a->layer < b->layer : a->shownAt < b->shownAt;
    });
    QList<QWidget *> out;
    for (const Entry *e : visible)
        out.append(e->widget.data());
    return out;
}

bool OverlayStack::isInTop(const QWidget *w) const {
    return m_top && w && (m_top == w || m_top->isAncestorOf(w));
}

bool OverlayStack::eventFilter(QObject *watched, QEvent *event) {
    switch (event->type()) {
    case QEvent::Show:
        if (Entry *e = find(watched)) {
            e->shownAt = ++m_showings;
            if (e->placement == Placement::Centred)
                e->widget->move(m_host->rect().center() - e->widget->rect().center());
            restack();
        }
        break;
    case QEvent::Resize:
        // A box sizes itself as it shows: it stays centred.
        if (Entry *e = find(watched);
            e && e->placement == Placement::Centred && e->widget->isVisibleTo(m_host))
            e->widget->move(m_host->rect().center() - e->widget->rect().center());
        break;
    case QEvent::Hide:
        if (find(watched))
            restack();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void OverlayStack::restack() {
    m_entries.removeIf([](const Entry &e) { return e.widget.isNull(); });
    const QList<QWidget *> order = shown();
    for (QWidget *w : order)
        w->raise();
    QWidget *front = order.isEmpty() ? nullptr : order.last();
    if (front) {
        m_blocker->setGeometry(m_host->rect());
        m_blocker->show();
        m_blocker->stackUnder(front);
    } else {
        m_blocker->hide();
    }
    if (front == m_top)
        return;
    rememberFocus();
    m_top = front;
    giveFocus(front);
    emit topChanged(front);
}

// What had the focus in the one that goes behind, for when it comes to the front again.
void OverlayStack::rememberFocus() {
    QWidget *focus = m_host->window()->focusWidget();
    if (m_top) {
        if (Entry *e = find(m_top); e && canTakeFocus(focus, m_top))
            e->focus = focus;
        return;
    }
    if (focus && m_host->isAncestorOf(focus) && (!m_page || canTakeFocus(focus, m_page)))
        m_pageFocus = focus;
}

void OverlayStack::giveFocus(QWidget *top) {
    QWidget *target = nullptr;
    if (top) {
        const Entry *e = find(top);
        if (canTakeFocus(m_host->window()->focusWidget(), top))
            return; // its own code has put the focus already
        if (e && canTakeFocus(e->focus, top))
            target = e->focus;
        else if (canTakeFocus(top->focusWidget(), top))
            target = top->focusWidget();
        else
            target = top;
    } else {
        QWidget *page = m_page ? m_page.data() : m_host;
        target = canTakeFocus(m_pageFocus, page) ? m_pageFocus.data() : page;
    }
    target->setFocus(Qt::OtherFocusReason);
}

} // namespace kalmo::app
