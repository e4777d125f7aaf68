#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QWidget>

namespace kalmo::app {

// The kiosk's screens, dialogs and message boxes as child overlays of its one window, with
// their modality kept here rather than by a window manager (a Wayland compositor places and
// stacks nothing for us). While an overlay shows it is modal: it stands above what showed
// before it, a layer under it swallows every pointer and touch event meant for what lies
// below, the keyboard focus goes into it and Tab never leaves it. When it hides, the one
// below (or the page) is in front again and gets its focus back. Overlays are hidden and
// shown by their own code (open(), accept(), hide()); this class only watches.
class OverlayStack : public QObject {
    Q_OBJECT
public:
    // A higher layer stands above a lower one, whatever the order of showing: message boxes
    // above the screen they were raised over, the urgent notice and the sleep cover above all.
    enum class Layer { Screen, Message, Top };
    // Where an overlay stands when it shows: where it was put, or centred on the window.
    enum class Placement { AsIs, Centred };

    explicit OverlayStack(QWidget *host);
    ~OverlayStack() override;

    // The page under every overlay; it gets the focus when no overlay shows.
    void setPage(QWidget *page);
    // Makes `overlay` a hidden child of the host (keeping its size and position) and
    // modal whenever it shows. An overlay that is deleted leaves the stack by itself.
    void add(QWidget *overlay, Layer layer = Layer::Screen, Placement placement = Placement::AsIs);

    // The overlay that takes the input now; nullptr while only the page shows.
    QWidget *top() const;
    // The overlays on screen, bottom to top.
    QList<QWidget *> shown() const;
    // True when `w` is (inside) an overlay that shows or would show on top of the stack.
    bool isInTop(const QWidget *w) const;
    QWidget *host() const { return m_host; }

signals:
    // The overlay in front changed; nullptr when the page is in front again.
    void topChanged(QWidget *top);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Entry {
        QPointer<QWidget> widget;
        Layer layer = Layer::Screen;
        Placement placement = Placement::AsIs;
        quint64 shownAt = 0; // order of the latest showing
        QPointer<QWidget> focus;
    };

    Entry *find(const QObject *w);
    void restack();
    void rememberFocus();
    void giveFocus(QWidget *top);

    QWidget *m_host;
    QPointer<QWidget> m_page;
    QPointer<QWidget> m_pageFocus;
    QWidget *m_blocker;
    QList<Entry> m_entries;
    QPointer<QWidget> m_top;
    quint64 m_showings = 0;
};

} // namespace kalmo::app
