#include "admin/access_window.h"
#include "admin/general_page.h"
#include "admin/password_dlg.h"
#include "admin/settings_dialog.h"
#include "app/kiosk.h"
#include "core/ini_file.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace kalmo;

namespace {

// The whole program over a fresh base folder, as at a first start.
struct Fixture {
    QTemporaryDir dir;
    core::RecordingMessages messages;
    core::ScriptedDialogs dialogs;
    core::ManualClock clock{QDateTime(QDate(2026, 12, 9), QTime(8, 5, 7))};
    std::unique_ptr<app::Kiosk> kiosk;

    Fixture() {
        app::Kiosk::Options o;
        o.baseFolder = dir.path() + '/';
        o.screenSize = QSize(1280, 800);
        o.messages = &messages;
        o.dialogs = &dialogs;
        o.clock = &clock;
        o.randomSeed = 1;
        kiosk = std::make_unique<app::Kiosk>(o);
        kiosk->mainWindow().show();
    }
    admin::TForm3 &settings() { return *kiosk->windows().form3; }
    admin::TForm4 &access() { return *kiosk->windows().form4; }
    admin::GeneralPage &page() { return settings().generalPage(); }
    QPushButton *mainButton(const char *name) {
        return kiosk->mainWindow().findChild<QPushButton *>(QLatin1String(name));
    }
    // Ctrl+F3 and a password typed as a person would.
    void enter(const QString &password) {
        QTest::keyClick(&kiosk->mainWindow(), Qt::Key_F3, Qt::ControlModifier);
        QVERIFY(access().isVisible());
        access().entry()->clear();
        QTest::keyClicks(access().entry(), password);
        for (QPushButton *b : access().findChildren<QPushButton *>())
            if (b->text() == "OK")
                b->click();
    }
};

} // namespace

class TestAdminKiosk : public QObject {
    Q_OBJECT
private slots:
    void savedSiteCaptionShowsAtOnce();
    void newPasswordHoldsForBothWindows();
    void unknownThemeIsReported();
};

void TestAdminKiosk::savedSiteCaptionShowsAtOnce() {
    Fixture f;
    f.enter("3049");
    QVERIFY(!f.access().isVisible());
    QVERIFY(f.settings().isVisible());
    QLineEdit *caption = f.page().caption(admin::GeneralPage::Site);
    caption->clear();
    QTest::keyClicks(caption, "School site");
    f.page().fontSize()->setText("15");
    f.page().saveButton()->click();
    QCOMPARE(f.messages.texts(), QStringList());
    QCOMPARE(f.mainButton("SpeedButton10")->text(), QString("School site  "));
    QPushButton *close = f.mainButton("Button26");
    QCOMPARE(close->text(), QStringLiteral("ЗАКРЫТЬ  "));
    QCOMPARE(close->font().pointSize(), 15);
    QCOMPARE(f.mainButton("Raspisanie1")->font().pointSize(), 18); // the button size
    QCOMPARE(f.kiosk->mainWindow().rereadTimer().interval(), 30 * 60000);
    f.settings().reject();
    QVERIFY(!f.settings().isVisible());
}

void TestAdminKiosk::newPasswordHoldsForBothWindows() {
    Fixture f;
    f.enter("3049");
    f.page().currentPassword()->setText("3049");
    f.page().newPassword()->setText("7777");
    f.page().saveButton()->click();
    QCOMPARE(core::IniFile(f.dir.filePath("filesetting.ini")).readString("passwd", "passwd"),
             QString("7777"));
    f.settings().reject();

    f.enter("3049");
    QCOMPARE(f.access().message()->text(), QStringLiteral("Неверный пароль"));
    QVERIFY(!f.settings().isVisible());
    f.enter("7777");
    QVERIFY(f.settings().isVisible());
    f.settings().reject();

    admin::TPasswordDlg &closing = *f.kiosk->windows().passwordDlg;
    QSignalSpy ends(&closing, &admin::TPasswordDlg::closeProgramRequested);
    closing.openDialog();
    closing.entry()->setText("7777");
    closing.findChild<QPushButton *>("OKBtn")->click();
    QCOMPARE(ends.count(), 1);
}

void TestAdminKiosk::unknownThemeIsReported() {
    Fixture f;
    f.enter("3049");
    f.page().themeList()->setEditText("Nonesuch");
    f.page().applyTheme();
    QCOMPARE(core::IniFile(f.dir.filePath("kalmora.ini")).readString("style", "styletest"),
             QString("Nonesuch"));
    QCOMPARE(f.messages.texts(), QStringList{"Style 'Nonesuch' not found."});
}

QTEST_MAIN(TestAdminKiosk)
#include "test_admin_kiosk.moc"
