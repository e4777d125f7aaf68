#pragma once

namespace kalmo::admin {
class TForm3;
class TForm4;
class TPasswordDlg;
} // namespace kalmo::admin
namespace kalmo::video {
class TForm6;
}
namespace kalmo::photo {
class TForm5;
}
namespace kalmo::calendar {
class TFormCalendar;
class TFormCalendarSetting;
} // namespace kalmo::calendar
namespace kalmo::schedule {
class TMyRaspisanie;
}
namespace kalmo::web {
class TFormBrowser;
}

namespace kalmo::app {

// The secondary windows, created once after the main window, in this order.
struct WindowSet {
    admin::TForm3 *form3 = nullptr;
    admin::TForm4 *form4 = nullptr;
    video::TForm6 *form6 = nullptr;
    photo::TForm5 *form5 = nullptr;
    web::TFormBrowser *formBrowser = nullptr;
    calendar::TFormCalendar *formCalendar = nullptr;
    calendar::TFormCalendarSetting *formCalendarSetting = nullptr;
    schedule::TMyRaspisanie *myRaspisanie = nullptr;
    admin::TPasswordDlg *passwordDlg = nullptr;
};

} // namespace kalmo::app
