#pragma once

#include "web/site_view.h"

#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <algorithm>

// The main window's controls the site view drives, laid out as on a 1920 × 1080 screen.
struct MainWindowStub {
    QWidget host;
    QPushButton *closeButton = new QPushButton(QStringLiteral("ЗАКРЫТЬ  "), &host);
    QPushButton *back = new QPushButton(&host);
    QPushButton *home = new QPushButton(&host);
    QPushButton *forward = new QPushButton(&host);
    QList<QWidget *> mainControls;
    QTimer slideshow;

    MainWindowStub() {
        host.setGeometry(0, 0, 1920, 1080);
        closeButton->setGeometry(1485, 3, 425, 96);
        for (QPushButton *b : {closeButton, back, home, forward})
            b->hide();
        for (int i = 0; i < 7; ++i)
            mainControls << new QPushButton(&host);
        slideshow.setInterval(5000);
        slideshow.start();
        host.show();
    }

    kalmo::web::SiteViewWidgets widgets() {
        return {&host, closeButton, back, home, forward, mainControls, &slideshow};
    }
    bool mainShown() const {
        return std::all_of(mainControls.begin(), mainControls.end(),
                           [](QWidget *w) { return w->isVisible(); });
    }
    bool mainHidden() const {
        return std::none_of(mainControls.begin(), mainControls.end(),
                            [](QWidget *w) { return w->isVisible(); });
    }
    bool viewControlsShown() const {
        return closeButton->isVisible() && back->isVisible() && home->isVisible() &&
               forward->isVisible();
    }
    bool viewControlsHidden() const {
        return !closeButton->isVisible() && !back->isVisible() && !home->isVisible() &&
               !forward->isVisible();
    }
};
