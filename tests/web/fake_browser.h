#pragma once

#include "web/browser.h"

#include <QStringList>

// A browser control that records what the window asked of it.
class FakeBrowser : public kalmo::web::Browser {
    Q_OBJECT
public:
    FakeBrowser(QWidget *owner, const kalmo::web::BrowserSpec &spec) : Browser(owner), spec(spec) {
        setObjectName(spec.name);
        setGeometry(spec.geometry);
    }
    void load(const QString &address) override { calls << QStringLiteral("load ") + address; }
    void back() override { calls << QStringLiteral("back"); }
    void forward() override { calls << QStringLiteral("forward"); }
    void setBackground(const QColor &colour) override { spec.background = colour; }
    QUrl url() const override { return {}; }

    kalmo::web::BrowserSpec spec;
    QStringList calls;
};

inline kalmo::web::BrowserFactory fakeFactory() {
    return [](QWidget *owner, const kalmo::web::BrowserSpec &spec) {
        return new FakeBrowser(owner, spec);
    };
}
