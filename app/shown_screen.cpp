#include "app/shown_screen.h"

#include "admin/access_window.h"
#include "admin/password_dlg.h"
#include "admin/settings_dialog.h"
#include "app/main_window.h"
#include "calendar/calendar_editor.h"
#include "calendar/calendar_window.h"
#include "photo/photo_window.h"
#include "schedule/schedule_window.h"
#include "ticker/scrolling_text.h"
#include "transitions/picshow.h"
#include "video/media_player.h"
#include "video/video_window.h"
#include "web/form_browser.h"
#include "web/site_view.h"

#include <QApplication>
#include <QFileInfo>

namespace kalmo::app {

namespace {

bool shown(const QWidget *w) {
    return w && w->isVisible();
}

} // namespace

QString shownScreen(TForm1 &form, const WindowSet &w) {
    if (shown(w.form3) || shown(w.form4))
        return QStringLiteral("settings");
    if (shown(w.form6))
        return QStringLiteral("video");
    if (shown(w.form5))
        return QStringLiteral("photo");
    if (shown(w.formCalendar) || shown(w.formCalendarSetting) || shown(w.formBrowser))
        return QStringLiteral("calendar");
    if (shown(w.myRaspisanie))
        return QStringLiteral("schedule");
    if (form.siteView().isOpen())
        return QStringLiteral("site");
    return QStringLiteral("main");
}

QString photoOnScreen(TForm1 &form) {
    const QStringList &photos = form.slideshow().photos();
    const int index = form.slideshow().lastShown();
    if (form.picShow().empty() || index < 0 || index >= photos.size())
        return {};
    return QFileInfo(photos[index]).fileName();
}

void NoticeHold::hold(TForm1 &form, const WindowSet &windows) {
    if (m_holding)
        return;
    m_holding = true;
    m_slideshowWasRunning = form.slideshowTimer().isActive();
    m_tickerWasRunning = form.ticker().isActive();
    form.slideshowTimer().stop();
    form.ticker().Stop();
    for (QWidget *top : QApplication::topLevelWidgets())
        for (transitions::TCustomPicShow *show : top->findChildren<transitions::TCustomPicShow *>())
            if (show->busy())
                show->stop();
    // Stopped rather than paused: pausing toggles, and the video screen closes once the
    // notice goes.
    if (windows.form6) {
        windows.form6->endTimer().stop();
        for (video::MediaPlayer *player : windows.form6->findChildren<video::MediaPlayer *>())
            player->stop();
    }
}

void NoticeHold::release(TForm1 &form, const WindowSet &w) {
    if (!m_holding)
        return;
    m_holding = false;
    // The innermost first: the document window belongs to the calendar.
    if (shown(w.formBrowser))
        w.formBrowser->close();
    for (QDialog *screen :
         std::initializer_list<QDialog *>{w.formCalendarSetting, w.formCalendar, w.myRaspisanie,
                                          w.form5, w.form6, w.form4, w.passwordDlg})
        if (shown(screen))
            screen->reject();
    if (form.siteView().isOpen())
        form.siteView().close();
    if (m_slideshowWasRunning && !form.slideshowTimer().isActive())
        form.slideshowTimer().start();
    if (m_tickerWasRunning && !form.ticker().isActive())
        form.ticker().Play();
}

} // namespace kalmo::app
