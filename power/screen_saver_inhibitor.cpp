#include "power/screen_saver_inhibitor.h"

#include "core/log.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

namespace kalmo::power {

namespace {

const QString kService = QStringLiteral("org.freedesktop.ScreenSaver");
const QString kInterface = QStringLiteral("org.freedesktop.ScreenSaver");
// The freedesktop path first; older KDE sessions answer only on the short one.
const QString kPaths[] = {QStringLiteral("/org/freedesktop/ScreenSaver"),
                          QStringLiteral("/ScreenSaver")};

} // namespace

ScreenSaverInhibitor::ScreenSaverInhibitor(QDBusConnection bus, QObject *parent)
    : QObject(parent), m_bus(std::move(bus)) {}

ScreenSaverInhibitor::~ScreenSaverInhibitor() {
    // The service drops what a closed connection held, but a bus shared with the rest of the
    // program stays open: give it back.
    if (m_cookie)
        release(false);
}

void ScreenSaverInhibitor::setInhibited(bool inhibited) {
    m_wanted = inhibited;
    if (inhibited && !m_cookie && !m_pending)
        request();
    else if (!inhibited && m_cookie)
        release();
}

void ScreenSaverInhibitor::logUnavailable(const QString &why) {
    if (m_loggedUnavailable)
        return;
    m_loggedUnavailable = true;
    qCInfo(kalmo::lcPower).noquote()
        << "the session offers no screen saver inhibition (" + why + ")";
}

void ScreenSaverInhibitor::request() {
    if (!m_bus.isConnected()) {
        logUnavailable(QStringLiteral("no session bus"));
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPaths[m_path], kInterface,
                                                       QStringLiteral("Inhibit"));
    call << QStringLiteral("kalmo") << QStringLiteral("The kiosk is showing its screens");
    m_pending = true;
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, &ScreenSaverInhibitor::answered);
}

void ScreenSaverInhibitor::answered(QDBusPendingCallWatcher *call) {
    call->deleteLater();
    m_pending = false;
    const QDBusPendingReply<uint> reply = *call;
    if (reply.isError()) {
        const QDBusError::ErrorType type = reply.error().type();
        if ((type == QDBusError::UnknownObject || type == QDBusError::UnknownMethod) &&
            m_path + 1 < int(std::size(kPaths))) {
            ++m_path;
            if (m_wanted)
                request();
            return;
        }
        logUnavailable(reply.error().message());
        return;
    }
    m_cookie = reply.value();
    qCDebug(kalmo::lcPower) << "screen saver inhibited, cookie" << *m_cookie;
    emit heldChanged(true);
    // Given back at once when sleep came while the service was answering.
    if (!m_wanted)
        release();
}

void ScreenSaverInhibitor::release(bool notify) {
    const uint cookie = *m_cookie;
    m_cookie.reset();
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPaths[m_path], kInterface,
                                                       QStringLiteral("UnInhibit"));
    call << cookie;
    // No answer is awaited: there is nothing to do about a refusal.
    m_bus.asyncCall(call);
    qCDebug(kalmo::lcPower) << "screen saver inhibition given back, cookie" << cookie;
    if (notify)
        emit heldChanged(false);
}

} // namespace kalmo::power
