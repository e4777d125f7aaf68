#pragma once

#include "fleet/notice.h"
#include "fleet/notice_fit.h"

#include <QEvent>
#include <QObject>
#include <QRect>
#include <QWidget>

namespace kalmo::fleet {

// Swallows every tap, click, key and wheel of the application while installed, so nothing
// under the notice (and not the notice itself) reacts. Also sees other windows appear and
// has the notice raised above them.
class NoticeInputGuard : public QObject {
    Q_OBJECT
public:
    explicit NoticeInputGuard(QWidget *notice);

    static bool isInput(QEvent::Type type);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_notice;
};

// The urgent notice: white on red over the whole screen whatever the theme, the title above
// the text, both as large as fit. On its own a frameless window that stays on top of every
// other; in the kiosk the top overlay of its one window.
class NoticeOverlay : public QWidget {
    Q_OBJECT
public:
    explicit NoticeOverlay(const QRect &screen, QWidget *parent = nullptr);
    ~NoticeOverlay() override;

    // Shows a notice, or changes the one shown.
    void showNotice(const Notice &notice);
    void hideNotice();

    bool isShowing() const { return m_notice.shown; }
    const Notice &notice() const { return m_notice; }
    const NoticeLayout &noticeLayout() const { return m_layout; }

    // The area inside the margins the text is fitted to.
    QRect textArea() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void relayout();
    QFont baseFont() const;

    Notice m_notice;
    NoticeLayout m_layout;
    NoticeInputGuard m_guard;
    bool m_guardInstalled = false;
};

} // namespace kalmo::fleet
