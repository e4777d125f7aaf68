#pragma once

#include <QDBusConnection>
#include <QObject>
#include <optional>

class QDBusPendingCallWatcher;

namespace kalmo::power {

// Keeps the desktop from blanking the screen or starting a screen saver: an inhibition held
// through org.freedesktop.ScreenSaver on the session bus (GNOME, KDE, Xfce; X11 and
// Wayland). Every call is asynchronous. A session without the interface is logged once.
class ScreenSaverInhibitor : public QObject {
    Q_OBJECT
public:
    explicit ScreenSaverInhibitor(QDBusConnection bus, QObject *parent = nullptr);
    ~ScreenSaverInhibitor() override;

    // Wanted or not; the calls follow when the bus answers.
    void setInhibited(bool inhibited);
    bool wanted() const { return m_wanted; }
    // The service granted an inhibition that is still held.
    bool held() const { return m_cookie.has_value(); }

signals:
    // The held state changed (the service answered, or the inhibition was given back).
    void heldChanged(bool held);

private:
    void request();
    void release(bool notify = true);
    void answered(QDBusPendingCallWatcher *call);
    void logUnavailable(const QString &why);

    QDBusConnection m_bus;
    bool m_wanted = false;
    bool m_pending = false;
    bool m_loggedUnavailable = false;
    int m_path = 0; // which object path the service answers on
    std::optional<uint> m_cookie;
};

} // namespace kalmo::power
