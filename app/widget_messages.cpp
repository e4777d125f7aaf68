#include "app/widget_messages.h"

#include "app/overlay_stack.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QMessageBox>
#include <QWidget>

namespace kalmo::app {

namespace {

// Marks the boxes this class made (and dismisses with a tap).
constexpr char kOwnBox[] = "kalmoMessageBox";

QMessageBox *ownBoxOf(QObject *watched) {
    for (QObject *o = watched; o; o = o->parent())
        if (o->property(kOwnBox).toBool())
            return qobject_cast<QMessageBox *>(o);
    return nullptr;
}

} // namespace

WidgetMessages::WidgetMessages(OverlayStack &overlays, QObject *parent)
    : QObject(parent), m_overlays(overlays) {
    // Sees the taps on the boxes.
    if (QCoreApplication *app = QCoreApplication::instance())
        app->installEventFilter(this);
}

WidgetMessages::~WidgetMessages() = default;

void WidgetMessages::show(const QString &text, const QString &title) {
    present(text, title);
}

bool WidgetMessages::eventFilter(QObject *watched, QEvent *event) {
    switch (event->type()) {
    case QEvent::Resize:
        // The title bar spans the box.
        if (auto *box = qobject_cast<QMessageBox *>(watched);
            box && box->property(kOwnBox).toBool())
            if (auto *caption = box->findChild<QLabel *>(QStringLiteral("MessageTitle"),
                                                         Qt::FindDirectChildrenOnly))
                caption->setGeometry(0, 0, box->width(), box->contentsMargins().top());
        break;
    case QEvent::MouseButtonRelease:
    case QEvent::TouchEnd:
        // One tap anywhere on a box, its text and button included, dismisses it.
        if (watched->isWidgetType())
            if (QMessageBox *box = ownBoxOf(watched)) {
                box->accept();
                return true;
            }
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

QMessageBox *WidgetMessages::present(const QString &text, const QString &title) {
    auto *box =
        new QMessageBox(QMessageBox::NoIcon, title.isEmpty() ? QStringLiteral("Kalmo") : title,
                        text, QMessageBox::Ok, m_overlays.host());
    box->setAttribute(Qt::WA_DeleteOnClose); // the box goes away when dismissed
    box->setAccessibleName(text);
    box->setProperty(kOwnBox, true);
    // No window manager draws a title bar over a box inside the kiosk's window: its own.
    auto *caption = new QLabel(box->windowTitle(), box);
    caption->setObjectName(QStringLiteral("MessageTitle"));
    caption->setAutoFillBackground(true);
    caption->setBackgroundRole(QPalette::Highlight);
    caption->setForegroundRole(QPalette::HighlightedText);
    caption->setMargin(4);
    box->setContentsMargins(0, caption->sizeHint().height(), 0, 0);
    box->installEventFilter(this);
    m_overlays.add(box, OverlayStack::Layer::Message, OverlayStack::Placement::Centred);
    box->show();
    if (QAbstractButton *ok = box->button(QMessageBox::Ok))
        ok->setFocus(Qt::ActiveWindowFocusReason);
    return box;
}

} // namespace kalmo::app
