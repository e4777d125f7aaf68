#pragma once

#include "web/url_policy.h"

#include <QColor>
#include <QPointer>
#include <QRect>
#include <QUrl>
#include <QWidget>
#include <functional>

namespace kalmo::web {

// How a window wants its browser control.
struct BrowserSpec {
    BrowserKind kind = BrowserKind::Site;
    QRect geometry;
    // Invalid means the engine's own background.
    QColor background;
    // No HTTP cache at all (the site view); otherwise a memory cache.
    bool cacheOff = false;
    // Object name, so the window can find the control again (e.g. "Chromium1").
    QString name;
    // Where a relative document path is taken from: the kiosk's base folder.
    QString baseFolder;
};

// A browser control placed on a window. Owned by that window (its Qt parent).
class Browser : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;

    // A web address or the full path of a local file.
    virtual void load(const QString &address) = 0;
    // Nothing happens when there is no history in that direction.
    virtual void back() = 0;
    virtual void forward() = 0;
    virtual void setBackground(const QColor &colour) = 0;
    virtual QUrl url() const = 0;

signals:
    void loadFinished(bool ok);
    // A navigation, popup or download the lockdown refused.
    void navigationRefused(const QUrl &url);
    void downloadRefused(const QUrl &url);
};

// Creates a control on `owner` (its parent, no layout), with `spec` applied but
// nothing loaded yet.
using BrowserFactory = std::function<Browser *(QWidget *owner, const BrowserSpec &spec)>;

// The single browser control a window may have at a time.
class BrowserSlot {
public:
    explicit BrowserSlot(BrowserFactory factory);
    BrowserSlot(const BrowserSlot &) = delete;
    BrowserSlot &operator=(const BrowserSlot &) = delete;
    ~BrowserSlot();

    // Replaces any control the slot already holds; the new one is shown and raised.
    Browser *create(QWidget *owner, const BrowserSpec &spec);
    // Gone from the window at once; freed when control returns to the event loop. A slot
    // without a control does nothing.
    void destroy();
    Browser *browser() const { return m_browser.data(); }
    bool exists() const { return !m_browser.isNull(); }

private:
    BrowserFactory m_factory;
    QPointer<Browser> m_browser;
};

// The browser control on `owner` with this object name, compared without regard to case.
Browser *findBrowser(const QWidget *owner, const QString &name);

} // namespace kalmo::web
