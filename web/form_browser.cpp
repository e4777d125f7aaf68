#include "web/form_browser.h"

#include "core/idle_clock.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>

namespace kalmo::web {

namespace {

constexpr int kIdleCheckMs = 1000;

QSize screenSize(const QWidget *w) {
    const QScreen *screen = w->screen() ? w->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->geometry().size() : QSize(1920, 1080);
}

} // namespace

TFormBrowser::TFormBrowser(core::IdleClock &idle, std::function<int()> pageTimeout,
                           BrowserFactory factory, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), m_idle(idle),
      m_pageTimeout(std::move(pageTimeout)), m_browser(std::move(factory)),
      m_closeButton(QStringLiteral("Закрыть"), this) {
    setObjectName(QStringLiteral("FormBrowser"));
    setWindowTitle(QStringLiteral("FormBrowser"));
    setWindowModality(Qt::ApplicationModal);
    setGeometry(QRect(QPoint(0, 0), screenSize(this)));

    m_closeButton.setObjectName(QStringLiteral("SpeedButton1"));
    m_closeButton.setFlat(true);
    QFont font(QStringLiteral("Times New Roman"));
    font.setPixelSize(40);
    m_closeButton.setFont(font);
    m_closeButton.setGeometry(0, 0, 300, 90);
    connect(&m_closeButton, &QPushButton::clicked, this, &QWidget::close);

    m_idleTimer.setObjectName(QStringLiteral("Timer1"));
    m_idleTimer.setInterval(kIdleCheckMs);
    connect(&m_idleTimer, &QTimer::timeout, this, &TFormBrowser::idleTick);
}

bool TFormBrowser::openDocument(const QString &path) {
    if (path.isEmpty())
        return false;
    m_attachmentPath = path;
    if (isVisible()) {
        if (Browser *b = m_browser.browser())
            b->load(path);
    } else {
        show();
    }
    raise();
    activateWindow();
    return true;
}

void TFormBrowser::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    if (event->spontaneous())
        return;
    emit callerIdlePaused();

    const QSize screen = screenSize(this);
    m_closeButton.resize(screen.width(), m_closeButton.height());

    const int top = m_closeButton.y() + m_closeButton.height() + 5;
    BrowserSpec spec;
    spec.kind = BrowserKind::Document;
    spec.geometry = QRect(0, top, screen.width(), screen.height() - top);
    spec.background = Qt::black;
    spec.baseFolder = m_baseFolder;
    if (Browser *b = m_browser.create(this, spec))
        b->load(m_attachmentPath);

    if (!m_idleTimer.isActive())
        m_idleTimer.start();
}

void TFormBrowser::closeEvent(QCloseEvent *event) {
    QWidget::closeEvent(event);
    if (event->isAccepted())
        runClosingSteps();
}

void TFormBrowser::runClosingSteps() {
    emit callerIdleResumed();
    m_browser.destroy();
    emit closed();
}

void TFormBrowser::idleTick() {
    const int timeout = m_pageTimeout();
    if (timeout > 0 && m_idle.idleSeconds() < static_cast<std::uint32_t>(timeout))
        return;
    if (isVisible())
        close();
    else
        runClosingSteps();
    m_idleTimer.stop();
}

} // namespace kalmo::web
