#include "app/widget_messages.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>
#include <utility>

namespace kalmo::app {

namespace {

// Marks the boxes this class made (and dismisses with a tap).
constexpr char kOwnBox[] = "kalmoMessageBox";

bool isKioskWindow(const QWidget *w) {
    return w && w->isWindow() && w->isVisible() && !w->property(kOwnBox).toBool() &&
           !qobject_cast<const QMessageBox *>(w) && w->windowType() != Qt::Popup &&
           w->windowType() != Qt::ToolTip;
}

} // namespace

WidgetMessages::WidgetMessages(QObject *parent) : QObject(parent) {
    // Sees the main window's first show, and taps on the boxes.
    if (QCoreApplication *app = QCoreApplication::instance())
        app->installEventFilter(this);
}

WidgetMessages::~WidgetMessages() = default;

void WidgetMessages::setHost(QWidget *host) {
    m_host = host;
    if (frontWindow())
        showHeld();
}

QWidget *WidgetMessages::frontWindow() const {
    if (m_host && !m_host->isVisible())
        return nullptr; // start-up: the main window is not on screen yet
    QWidget *modal = QApplication::activeModalWidget();
    if (isKioskWindow(modal))
        return modal;
    if (m_host)
        return m_host;
    QWidget *active = QApplication::activeWindow();
    if (isKioskWindow(active))
        return active;
    QWidget *largest = nullptr;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (isKioskWindow(w) &&
            (!largest || w->width() * w->height() > largest->width() * largest->height()))
            largest = w;
    return largest;
}

void WidgetMessages::show(const QString &text, const QString &title) {
    if (!frontWindow()) {
        m_held.append({text, title});
        return;
    }
    present(text, title);
}

bool WidgetMessages::eventFilter(QObject *watched, QEvent *event) {
    switch (event->type()) {
    case QEvent::Show:
        if (!m_held.isEmpty() && watched->isWidgetType() &&
            isKioskWindow(static_cast<QWidget *>(watched)) && (!m_host || watched == m_host))
            // After the show has gone through, so the window is on screen before the boxes.
            QTimer::singleShot(0, this, &WidgetMessages::showHeld);
        break;
    case QEvent::MouseButtonRelease:
    case QEvent::TouchEnd:
        // One tap anywhere on a box, its text and button included, dismisses it.
        if (watched->isWidgetType())
            if (QWidget *window = static_cast<QWidget *>(watched)->window();
                window->property(kOwnBox).toBool()) {
                static_cast<QMessageBox *>(window)->accept();
                return true;
            }
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void WidgetMessages::showHeld() {
    if (!frontWindow())
        return;
    const QList<Held> held = std::exchange(m_held, {});
    for (const Held &m : held)
        present(m.text, m.title);
}

QMessageBox *WidgetMessages::present(const QString &text, const QString &title) {
    // Above the window in front: an open screen or dialog, else the main window. A box
    // that is transient for it is kept above it by the window manager.
    QWidget *front = frontWindow();
    auto *box =
        new QMessageBox(QMessageBox::NoIcon, title.isEmpty() ? QStringLiteral("Kalmo") : title,
                        text, QMessageBox::Ok, front);
    box->setAttribute(Qt::WA_DeleteOnClose); // the box goes away when dismissed
    box->setWindowModality(Qt::ApplicationModal);
    box->setWindowFlag(Qt::WindowStaysOnTopHint); // after the modality, which clears it
    box->setAccessibleName(text);
    box->setProperty(kOwnBox, true);
    box->show(); // not open(): that would narrow the modality to the parent window
    box->raise();
    box->activateWindow();
    if (QAbstractButton *ok = box->button(QMessageBox::Ok))
        ok->setFocus(Qt::ActiveWindowFocusReason);
    return box;
}

} // namespace kalmo::app
