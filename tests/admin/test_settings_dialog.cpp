#include "admin/city_table.h"
#include "admin/general_page.h"
#include "admin/settings_dialog.h"
#include "calendar/calendar_editor_panel.h"
#include "core/ini_file.h"
#include "schedule/bell_editor.h"
#include "schedule/sections_editor.h"

#include "tests/support/test_files.h"
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

using namespace kalmo;
using admin::GeneralPage;
using kalmo::testing::readAll;
using kalmo::testing::writeAll;

namespace {

// Scripted answers that also keep what each dialog was asked with.
struct AskingDialogs : core::ScriptedDialogs {
    QStringList asks; // "title|start|filter"
    void openFile(const QString &title, const QString &start, const QString &filter,
                  Answer done) override {
        asks << title + '|' + start + '|' + filter;
        ScriptedDialogs::openFile(title, start, filter, std::move(done));
    }
    void pickFolder(const QString &title, const QString &start, Answer done) override {
        asks << title + '|' + start;
        ScriptedDialogs::pickFolder(title, start, std::move(done));
    }
};

const char kStored[] = "[time]\nimage=7\npage=25\nreadsetting=15\n"
                       "[dir]\nDirimage=/photos/\nDirvideo=/videos/\n"
                       "[file]\nScrollingText=/t.txt\nspeedScrollingText=3\n"
                       "[style]\nstyletest=Carbon\n"
                       "[font]\nstyle=DejaVu Sans\nsize=16\nsizesite=22\n"
                       "[Name]\nButtonSite=Сайт школы\nButtonCalendar=События\n"
                       "[site]\nsite=http://school/\n"
                       "[Check]\nfsBold=true\nfsUnderline=true\n"
                       "[weather]\nread=0\nsity=27331\n[Schedule]\nView=0\n";

struct Fixture {
    QTemporaryDir dir;
    QString base = dir.path() + '/';
    core::ProgramValues values;
    core::RecordingMessages messages;
    AskingDialogs dialogs;
    QStringList calls; // hooks, in the order the dialog ran them
    std::unique_ptr<admin::TForm3> form;

    explicit Fixture(const QByteArray &mainFile = kStored) {
        values.baseFolder = base;
        values.mainSettingsPath = base + "kalmora.ini";
        writeAll(base + "filesetting.ini", "[file]\nfiledir=" + mainPath().toUtf8() + "\n");
        writeAll(mainPath(), mainFile);
        admin::MainScreenHooks hooks;
        hooks.setRereadInterval = [this](int ms) { calls << "reread " + QString::number(ms); };
        hooks.applyFontsAndSiteCaption = [this] { calls << "fonts"; };
        hooks.reloadRunningText = [this] { calls << "text"; };
        hooks.rebuildPhotoList = [this] { calls << "photos"; };
        hooks.applyTheme = [this](const QString &name) { calls << "theme " + name; };
        form = std::make_unique<admin::TForm3>(values, messages, dialogs, hooks);
    }
    QString mainPath() const { return base + "kalmora.ini"; }
    QString main(const char *section, const char *key) const {
        return core::IniFile(mainPath()).readString(section, key, "<none>");
    }
    GeneralPage &page() { return form->generalPage(); }
    void open() {
        form->openDialog();
        QVERIFY(form->isVisible());
    }
};

} // namespace

class TestSettingsDialog : public QObject {
    Q_OBJECT
private slots:
    void windowAndPages();
    void pageChoiceIsKeptBetweenShowings();
    void loadingFillsThePageFromTheFile();
    void listsHoldEachNameOnceAfterManyShowings();
    void badTimeValueStopsLoading();
    void schedulePagesFollowShowingAndClosing();
    void pagesNotLoadedSayWhyAndWriteNothing();
    void missingFontKeys();
    void saveWritesAppliesAndRefreshes();
    void saveWritesTheStyleSet_data();
    void saveWritesTheStyleSet();
    void fontSizeThatIsNotANumberStopsBeforeThePassword();
    void screenHours_data();
    void screenHours();
    void passwordChangeOnSave();
    void closeResetsUnsavedEdits();
    void windowCloseResetsToo();
    void cityCodeTypedIsStoredAtOnce();
    void cityChosenFillsTheCodeOnly();
    void folderChoice_data();
    void folderChoice();
    void runningTextCheck_data();
    void runningTextCheck();
    void settingsFileLocation();
    void settingsFileRowFollowsItsBox();
    void themeChangeWritesAtOnce();
    void unreachableSettingsPathIsReported();
    void controlsAreNamedAndFitForFingers();
};

void TestSettingsDialog::windowAndPages() {
    Fixture f;
    f.open();
    QCOMPARE(f.form->windowTitle(), QStringLiteral("Настройки"));
    QCOMPARE(f.form->size(), QSize(898, 527));
    QCOMPARE(f.form->minimumSize(), f.form->maximumSize());
    QTabWidget *pages = f.form->pages();
    QStringList titles;
    for (int i = 0; i < pages->count(); ++i)
        titles << pages->tabText(i);
    QCOMPARE(titles, QStringList({"Основные настройки", "Календарь", "Расписание занятий",
                                  "Расписание звонков"}));
    QCOMPARE(pages->currentIndex(), 0);
    QCOMPARE(f.form->calendarPage()->objectName(), QString("TabSheet6"));
    for (QLineEdit *e : {f.page().currentPassword(), f.page().newPassword()}) {
        QCOMPARE(e->echoMode(), QLineEdit::Password);
        QCOMPARE(e->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, e),
                 int('*'));
    }
}

void TestSettingsDialog::pageChoiceIsKeptBetweenShowings() {
    Fixture f;
    f.open();
    f.form->pages()->setCurrentIndex(3);
    f.form->reject();
    QVERIFY(!f.form->isVisible());
    f.open();
    QCOMPARE(f.form->pages()->currentIndex(), 3);
}

void TestSettingsDialog::loadingFillsThePageFromTheFile() {
    Fixture f;
    f.values.cityCode = "27611"; // the code in force, not the file's
    f.open();
    GeneralPage &p = f.page();
    QCOMPARE(p.settingsFile()->text(), f.mainPath());
    QCOMPARE(p.caption(GeneralPage::Site)->text(), QStringLiteral("Сайт школы"));
    QCOMPARE(p.caption(GeneralPage::Calendar)->text(), QStringLiteral("События"));
    QCOMPARE(p.caption(GeneralPage::Video)->text(), QStringLiteral("Видеоматериалы"));
    QCOMPARE(p.site()->text(), QString("http://school/"));
    QCOMPARE(p.slideInterval()->text(), QString("7"));
    QCOMPARE(p.rereadInterval()->text(), QString("15"));
    QCOMPARE(p.photoFolder()->text(), QString("/photos/"));
    QCOMPARE(p.themeList()->currentText(), QString("Carbon"));
    QCOMPARE(p.fontList()->currentText(), QString("DejaVu Sans"));
    QCOMPARE(p.siteFontSize()->text(), QString("22"));
    QVERIFY(p.bold()->isChecked());
    QVERIFY(!p.italic()->isChecked());
    QVERIFY(p.underline()->isChecked());
    QVERIFY(!p.weather()->isChecked());
    QVERIFY(!f.form->scheduleViewBox()->isChecked());
    QCOMPARE(p.cityCode()->text(), QString("27611"));
    QCOMPARE(p.cityList()->currentText(), QStringLiteral("Москва"));
    // The program-wide values follow the file, but the re-read timer is not touched.
    QCOMPARE(f.values.slideshowMs, 7000);
    QCOMPARE(f.values.rereadMs, 15 * 60000);
    QCOMPARE(f.values.buttonSite, QStringLiteral("Сайт школы"));
    QVERIFY(f.calls.isEmpty());
    QVERIFY(f.messages.entries.isEmpty());
    QCOMPARE(f.form->files().calendar, f.base + "dateini.ini");
    QCOMPARE(f.form->files().schedule, f.base + "raspisanie.ini");

    // A code in force that no town has selects nothing.
    f.form->reject();
    f.values.cityCode = "12345";
    f.open();
    QCOMPARE(p.cityList()->currentIndex(), -1);
    QCOMPARE(p.cityCode()->text(), QString("12345"));
}

void TestSettingsDialog::listsHoldEachNameOnceAfterManyShowings() {
    Fixture f;
    for (int i = 0; i < 3; ++i) {
        f.open();
        f.form->reject();
    }
    QComboBox *themes = f.page().themeList();
    QStringList names;
    for (int i = 0; i < themes->count(); ++i)
        names << themes->itemText(i);
    QCOMPARE(names.size(), 30);
    QCOMPARE(QSet<QString>(names.begin(), names.end()).size(), 30);
    QVERIFY(names.contains("Windows"));
    QVERIFY(names.contains("Metropolis UI Dark"));
    QCOMPARE(f.page().cityList()->count(), 89);
    QVERIFY(f.page().fontList()->count() > 0);
}

void TestSettingsDialog::badTimeValueStopsLoading() {
    Fixture f("[time]\nimage=5x\n[Name]\nButtonSite=X\n[style]\nstyletest=Light\n");
    f.open();
    QCOMPARE(f.messages.texts(), QStringList{"'5x' is not a valid integer value"});
    // The page itself was filled before the conversion; the lists were not.
    QCOMPARE(f.page().caption(GeneralPage::Site)->text(), QString("X"));
    QCOMPARE(f.page().themeList()->count(), 0);
    QCOMPARE(f.page().cityList()->count(), 0);
    QCOMPARE(f.page().themeList()->currentText(), QString("Light"));
}

void TestSettingsDialog::schedulePagesFollowShowingAndClosing() {
    const QByteArray bells = "[Raspisanie]\nCount=2\n[RaspisanieStart]\n1=8:30:00\n2=10:00:00\n"
                             "[RaspisanieStop]\n1=9:15:00\n2=10:45:00\n";
    Fixture f("[time]\nimage=5\n" + bells);
    QTreeWidget *lessons = f.form->bellEditor().list();
    f.open();
    QCOMPARE(lessons->topLevelItemCount(), 2);
    // A settings location changed while the dialog is shown (a re-read) does not move the
    // page off the file it was loaded from.
    f.values.mainSettingsPath = f.base + "elsewhere.ini";
    f.form->bellEditor().selectRow(2);
    f.form->bellEditor().removeLesson();
    QVERIFY(f.form->bellEditor().saveLessons());
    QCOMPARE(core::IniFile(f.mainPath()).readString("Raspisanie", "Count", {}), QString("1"));
    QVERIFY(!QFile::exists(f.base + "elsewhere.ini"));
    f.values.mainSettingsPath = f.mainPath();
    f.form->reject();
    QCOMPARE(lessons->topLevelItemCount(), 0);
    // The department pages come and go with the showing.
    writeAll(f.base + "raspisanie.ini",
             "[ini]\ncountrazdel=2\nfile=1\n[1]\nrazdel=A\ncountgroup=0\n"
             "[2]\nrazdel=B\ncountgroup=0\n");
    f.open();
    QCOMPARE(f.form->sectionsEditor().pageCount(), 2);
    f.form->reject();
    QCOMPARE(f.form->sectionsEditor().pageCount(), 0);
    // A loading stopped by a bad number leaves the bell and schedule pages alone.
    writeAll(f.mainPath(), "[time]\nimage=5x\n" + bells);
    f.open();
    QCOMPARE(lessons->topLevelItemCount(), 0);
    QCOMPARE(f.form->sectionsEditor().pageCount(), 0);
}

void TestSettingsDialog::pagesNotLoadedSayWhyAndWriteNothing() {
    const QByteArray bells = "[Raspisanie]\nCount=2\n[RaspisanieStart]\n1=8:30:00\n2=10:00:00\n"
                             "[RaspisanieStop]\n1=9:15:00\n2=10:45:00\n";
    Fixture f("[time]\nimage=5\n" + bells);
    writeAll(f.base + "dateini.ini", "[1.3.2026]\neventday=1\n");
    f.open();
    f.form->calendarEditor().selectDay(0);
    f.form->reject();
    // This showing stops at a bad number, before the pages are loaded.
    writeAll(f.mainPath(), "[time]\nimage=5x\n" + bells);
    const QByteArray mainBefore = readAll(f.mainPath());
    const QByteArray daysBefore = readAll(f.base + "dateini.ini");
    f.open();
    f.messages = core::RecordingMessages();

    QVERIFY(!f.form->bellEditor().saveLessons());
    calendar::CalendarEditorPanel &days = f.form->calendarEditor();
    days.addDay(calendar::kEvent);
    days.saveDay();
    days.deleteDay();
    QCOMPARE(f.messages.texts(),
             (QStringList{schedule::BellRows::kNotLoaded, calendar::CalendarEditorPanel::kNotOpen,
                          calendar::CalendarEditorPanel::kNotOpen,
                          calendar::CalendarEditorPanel::kNotOpen}));
    QCOMPARE(readAll(f.mainPath()), mainBefore);
    QCOMPARE(readAll(f.base + "dateini.ini"), daysBefore);
}

void TestSettingsDialog::missingFontKeys() {
    Fixture f("[time]\nimage=5\n");
    f.open();
    const QString readError = QStringLiteral("Ошибка при чтении!");
    QCOMPARE(f.page().fontList()->currentText(), readError);
    QCOMPARE(f.page().fontSize()->text(), readError);
    QCOMPARE(f.page().siteFontSize()->text(), readError);
    f.page().saveButton()->click();
    QCOMPARE(f.main("font", "size"), readError);
    QCOMPARE(f.messages.texts(),
             QStringList{QStringLiteral("'Ошибка при чтении!' is not a valid integer value")});
    QCOMPARE(f.calls, QStringList{"reread 1800000"});
}

void TestSettingsDialog::saveWritesAppliesAndRefreshes() {
    Fixture f;
    f.open();
    GeneralPage &p = f.page();
    p.caption(GeneralPage::Site)->setText("Наш сайт");
    p.rereadInterval()->setText("2");
    p.textStep()->setText("4");
    p.fontSize()->setText("11");
    p.themeList()->setEditText("Luna");
    f.form->scheduleViewBox()->setChecked(true);
    p.saveButton()->click();
    QVERIFY(f.messages.entries.isEmpty());
    QCOMPARE(f.calls, QStringList({"reread 120000", "fonts", "text", "photos"}));
    QCOMPARE(f.main("Name", "ButtonSite"), QStringLiteral("Наш сайт"));
    QCOMPARE(f.main("Schedule", "View"), QString("1"));
    QCOMPARE(f.main("weather", "read"), QString("0"));
    QCOMPARE(f.values.buttonSite, QStringLiteral("Наш сайт"));
    QCOMPARE(f.values.fontSize, 11);
    QCOMPARE(f.values.siteFontSize, 22);
    QCOMPARE(f.values.scrollingStep, 4);
    QCOMPARE(f.values.theme, QString("Luna")); // refreshed, not applied
    QCOMPARE(f.values.fontStyleText, QString("[fsBold,fsUnderline]"));
    // Save leaves the dialog open and the other pages' data alone.
    QVERIFY(f.form->isVisible());
    QVERIFY(!QFile::exists(f.base + "dateini.ini"));
    QVERIFY(!QFile::exists(f.base + "raspisanie.ini"));
}

void TestSettingsDialog::saveWritesTheStyleSet_data() {
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("underline");
    QTest::addColumn<QString>("styleText");
    QTest::newRow("bold, underline") << true << true << "[fsBold,fsUnderline]";
    QTest::newRow("none") << false << false << "[]";
}

void TestSettingsDialog::saveWritesTheStyleSet() {
    QFETCH(bool, bold);
    QFETCH(bool, underline);
    Fixture f("[time]\nimage=5\n[font]\nsize=8\nsizesite=8\n");
    f.open();
    f.page().bold()->setChecked(bold);
    f.page().underline()->setChecked(underline);
    f.page().saveButton()->click();
    QTEST(f.main("Font", "StyleFont"), "styleText");
    QCOMPARE(f.main("Check", "fsBold"), QString(bold ? "true" : "false"));
    QCOMPARE(f.main("Check", "fsItalic"), QString("false"));
    QCOMPARE(f.main("Check", "fsUnderline"), QString(underline ? "true" : "false"));
}

void TestSettingsDialog::fontSizeThatIsNotANumberStopsBeforeThePassword() {
    Fixture f;
    f.open();
    f.page().siteFontSize()->setText("2O");
    f.page().currentPassword()->setText("3049");
    f.page().newPassword()->setText("1111");
    f.page().saveButton()->click();
    QCOMPARE(f.messages.texts(), QStringList{"'2O' is not a valid integer value"});
    QCOMPARE(f.main("font", "sizesite"), QString("2O"));
    QCOMPARE(f.values.password, QString("3049"));
    QCOMPARE(f.calls, QStringList{"reread 900000"});
}

void TestSettingsDialog::screenHours_data() {
    QTest::addColumn<QString>("on");
    QTest::addColumn<QString>("off");
    QTest::addColumn<QString>("days");
    QTest::addColumn<QString>("message");
    QTest::newRow("school hours") << "7:30"
                                  << "18:30"
                                  << "123456"
                                  << "";
    QTest::newRow("none: never sleeps") << ""
                                        << ""
                                        << ""
                                        << "";
    QTest::newRow("bad on-time") << "25:00"
                                 << "18:30"
                                 << "12345"
                                 << "'25:00' is not a valid time";
    QTest::newRow("bad off-time") << "7:30"
                                  << "18.30"
                                  << "12345"
                                  << "'18.30' is not a valid time";
    QTest::newRow("bad days") << "7:30"
                              << "18:30"
                              << "пн-пт"
                              << "'пн-пт' is not a valid list of weekdays (1-7)";
}

void TestSettingsDialog::screenHours() {
    QFETCH(QString, on);
    QFETCH(QString, off);
    QFETCH(QString, days);
    QFETCH(QString, message);
    Fixture f(QByteArray(kStored) + "[power]\non=8:00\noff=17:00\ndays=12\n");
    f.open();
    GeneralPage &p = f.page();
    QCOMPARE(p.powerOn()->text(), QString("8:00"));
    QCOMPARE(p.powerOff()->text(), QString("17:00"));
    QCOMPARE(p.powerDays()->text(), QString("12"));
    p.powerOn()->setText(on);
    p.powerOff()->setText(off);
    p.powerDays()->setText(days);
    p.saveButton()->click();
    // Written as typed, like every other entry; one that does not read stops the save there.
    QCOMPARE(f.main("power", "on"), on);
    QCOMPARE(f.main("power", "off"), off);
    QCOMPARE(f.main("power", "days"), days);
    QCOMPARE(f.messages.texts(), message.isEmpty() ? QStringList() : QStringList{message});
    QCOMPARE(f.calls.contains("photos"), message.isEmpty());
}

void TestSettingsDialog::passwordChangeOnSave() {
    Fixture f;
    f.open();
    GeneralPage &p = f.page();
    p.currentPassword()->setText("1234");
    p.newPassword()->setText("5555");
    p.saveButton()->click();
    QCOMPARE(p.currentPassword()->text(), QStringLiteral("Неверный пароль"));
    QCOMPARE(p.currentPassword()->echoMode(), QLineEdit::Normal); // the error is readable
    QVERIFY(!readAll(f.base + "filesetting.ini").contains("passwd"));

    QTest::keyClick(p.currentPassword(), Qt::Key_Backspace);
    QCOMPARE(p.currentPassword()->echoMode(), QLineEdit::Password);
    p.currentPassword()->setText("3049");
    p.saveButton()->click();
    QCOMPARE(f.values.password, QString("5555"));
    QCOMPARE(core::IniFile(f.base + "filesetting.ini").readString("passwd", "passwd"),
             QString("5555"));
    QVERIFY(f.messages.entries.isEmpty());

    // The next showing empties both entries.
    f.form->reject();
    f.open();
    QVERIFY(p.currentPassword()->text().isEmpty());
    QVERIFY(p.newPassword()->text().isEmpty());
}

void TestSettingsDialog::closeResetsUnsavedEdits() {
    Fixture f("[Name]\nButtonPhoto=Фото\n[time]\nimage=5\n");
    f.open();
    GeneralPage &p = f.page();
    p.caption(GeneralPage::Photo)->setText("Edited");
    p.site()->setText("http://edited/");
    p.rereadInterval()->setText("99");
    p.bold()->setChecked(true);
    p.weather()->setChecked(false);
    p.closeButton()->click();
    QVERIFY(!f.form->isVisible());
    QCOMPARE(p.caption(GeneralPage::Photo)->text(), QStringLiteral("Фото"));
    QCOMPARE(p.site()->text(), admin::kResetSiteAddress);
    QCOMPARE(p.rereadInterval()->text(), QString("20"));
    QVERIFY(!p.bold()->isChecked());
    QVERIFY(!p.weather()->isChecked()); // not part of the reset
    QVERIFY(!readAll(f.mainPath()).contains("Edited"));
    f.open();
    QCOMPARE(p.caption(GeneralPage::Photo)->text(), QStringLiteral("Фото"));
    QCOMPARE(p.rereadInterval()->text(), QString("30"));
}

void TestSettingsDialog::windowCloseResetsToo() {
    Fixture f;
    f.open();
    f.page().caption(GeneralPage::Site)->setText("Edited");
    QVERIFY(f.form->close());
    QVERIFY(!f.form->isVisible());
    QCOMPARE(f.page().caption(GeneralPage::Site)->text(), QStringLiteral("Сайт школы"));
}

void TestSettingsDialog::cityCodeTypedIsStoredAtOnce() {
    Fixture f;
    f.values.cityCode = "27331";
    f.open();
    QLineEdit *code = f.page().cityCode();
    code->clear();
    QTest::keyClicks(code, "27611");
    QCOMPARE(f.page().cityList()->currentText(), QStringLiteral("Москва"));
    QCOMPARE(f.main("weather", "sity"), QString("27611"));
    code->clear();
    QTest::keyClicks(code, "12345");
    QCOMPARE(f.page().cityList()->currentText(), QStringLiteral("Москва"));
    QCOMPARE(f.main("weather", "sity"), QString("12345"));
}

void TestSettingsDialog::cityChosenFillsTheCodeOnly() {
    Fixture f;
    f.values.cityCode = "27611";
    f.open();
    const QByteArray before = readAll(f.mainPath());
    QComboBox *cities = f.page().cityList();
    const int yaroslavl = cities->findText(QStringLiteral("Ярославль"));
    cities->setCurrentIndex(yaroslavl);
    emit cities->activated(yaroslavl);
    QCOMPARE(f.page().cityCode()->text(), QString("27331"));
    QCOMPARE(readAll(f.mainPath()), before);
}

void TestSettingsDialog::folderChoice_data() {
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("photoFolder");
    QTest::newRow("chosen") << "/media/new"
                            << "/media/new/";
    QTest::newRow("chosen with separator") << "/media/new/"
                                           << "/media/new/";
    QTest::newRow("cancelled") << ""
                               << "/photos/";
}

void TestSettingsDialog::folderChoice() {
    QFETCH(QString, answer);
    Fixture f;
    f.open();
    f.dialogs.answers << answer;
    f.page().browsePhotoFolder();
    QTEST(f.page().photoFolder()->text(), "photoFolder");
    QCOMPARE(f.dialogs.asks, QStringList{QStringLiteral("Выбор каталога с фото|/photos/")});
    f.dialogs.answers << "/clips";
    f.page().browseVideoFolder();
    QCOMPARE(f.page().videoFolder()->text(), QString("/clips/"));
    QCOMPARE(f.dialogs.asks.last(), QStringLiteral("Выбор каталога с видео|/videos/"));
    QVERIFY(f.messages.entries.isEmpty());
}

void TestSettingsDialog::runningTextCheck_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("count");
    QTest::addColumn<QStringList>("messages");
    const QString tooLong = QStringLiteral("Файл содержит более 1489 символов, удалите лишние "
                                           "символы в файле бегущей строки");
    QTest::newRow("1489") << QByteArray(1489, 'x') << QStringLiteral("1489 символов")
                          << QStringList();
    QTest::newRow("1490") << QByteArray(1490, 'x') << QStringLiteral("1490 символов")
                          << QStringList{tooLong};
    QTest::newRow("two lines of 10")
        << QByteArray("abcdefghij\r\nabcdefghij") << QStringLiteral("20 символов") << QStringList();
}

void TestSettingsDialog::runningTextCheck() {
    QFETCH(QByteArray, text);
    Fixture f;
    f.open();
    writeAll(f.base + "news.txt", text);
    f.dialogs.answers << f.base + "news.txt";
    f.page().browseTextFile();
    QCOMPARE(f.dialogs.asks, QStringList{"|/t.txt|*.txt"});
    QCOMPARE(f.page().textFile()->text(), f.base + "news.txt"); // kept even when too long
    QTEST(f.page().textCount()->text(), "count");
    QTEST(f.messages.texts(), "messages");

    // Cancelled on a file that cannot be read: the error is reported, the count stays.
    f.messages.entries.clear();
    QFile::remove(f.base + "news.txt");
    f.page().browseTextFile();
    QCOMPARE(f.messages.entries.size(), 1);
    QTEST(f.page().textCount()->text(), "count");
}

void TestSettingsDialog::settingsFileLocation() {
    Fixture f;
    f.open();
    f.page().settingsFileBox()->setChecked(true);
    const QString other = f.base + "shared/kalmora.ini";
    QDir(f.base).mkdir("shared");
    writeAll(other, "[Name]\nButtonSite=Общий\n");
    f.dialogs.answers << other;
    f.page().settingsFileBrowse()->click();
    QCOMPARE(f.dialogs.asks, QStringList{QStringLiteral("Укажите файл настроек|") + f.mainPath() +
                                         "|kalmora (*.ini)"});
    QCOMPARE(f.page().settingsFile()->text(), other);
    QCOMPARE(f.values.mainSettingsPath, other);
    QCOMPARE(core::IniFile(f.base + "filesetting.ini").readString("file", "filedir"), other);
    QCOMPARE(f.messages.texts(),
             QStringList{QStringLiteral(
                 "Для применения настроек сохраните\r\nи перезапустите программу!!!")});
    // This showing keeps its file; the next one works on the new file.
    QCOMPARE(f.form->files().main, f.mainPath());
    f.page().closeButton()->click();
    f.open();
    QCOMPARE(f.form->files().main, other);
    QCOMPARE(f.form->files().calendar, f.base + "shared/dateini.ini");
    QCOMPARE(f.page().caption(GeneralPage::Site)->text(), QStringLiteral("Общий"));
}

void TestSettingsDialog::settingsFileRowFollowsItsBox() {
    Fixture f;
    f.open();
    QVERIFY(!f.page().settingsFile()->isEnabled());
    QVERIFY(!f.page().settingsFileBrowse()->isEnabled());
    f.page().settingsFileBox()->setChecked(true);
    QVERIFY(f.page().settingsFileBrowse()->isEnabled());
    f.form->reject();
    f.open();
    QVERIFY(f.page().settingsFileBox()->isChecked());
    QVERIFY(f.page().settingsFile()->isEnabled());
    QVERIFY(f.page().settingsFileBrowse()->isEnabled());
}

void TestSettingsDialog::themeChangeWritesAtOnce() {
    Fixture f;
    f.open();
    f.page().themeList()->setCurrentIndex(f.page().themeList()->findText("Luna"));
    f.page().applyTheme();
    QCOMPARE(f.main("style", "styletest"), QString("Luna"));
    f.page().themeList()->setEditText("Nonesuch");
    f.page().applyTheme();
    QCOMPARE(f.main("style", "styletest"), QString("Nonesuch"));
    QCOMPARE(f.calls, QStringList({"theme Luna", "theme Nonesuch"}));
}

void TestSettingsDialog::unreachableSettingsPathIsReported() {
    Fixture f;
    QDir(f.base).mkdir("folder.ini");
    writeAll(f.base + "filesetting.ini", "[file]\nfiledir=" + (f.base + "folder.ini").toUtf8());
    f.open();
    QCOMPARE(f.messages.texts().value(0),
             QStringLiteral("Не доступен файл настроек, проверьте доступ к файлу!"));
    // Loading goes on with the defaults.
    QCOMPARE(f.page().caption(GeneralPage::Site)->text(), QStringLiteral("САЙТ"));
    QCOMPARE(f.page().cityList()->count(), 89);
}

void TestSettingsDialog::controlsAreNamedAndFitForFingers() {
    Fixture f;
    f.open();
    const QStringList expected = {"Текущий пароль",
                                  "Новый пароль",
                                  "Стиль оформления",
                                  "Сменить стиль",
                                  "Каталог фото",
                                  "Файл с текстом для бегущей строки",
                                  "Расположение файла настроек",
                                  "Шрифт",
                                  "Размер шрифта",
                                  "Жирный",
                                  "Надписи кнопок: сайт",
                                  "Надписи кнопок: видео",
                                  "Адрес сайта",
                                  "Интервал считывания настроек",
                                  "Время ожидания до открытия основоного окна программы",
                                  "Отображать прогноз погоды",
                                  "Выберите город или укажите код города",
                                  "Экран работает с",
                                  "Экран работает до",
                                  "Дни работы экрана",
                                  "Сохранить",
                                  "Закрыть"};
    QStringList names;
    const QRect inside = f.form->rect();
    const auto controls = f.page().findChildren<QWidget *>();
    for (QWidget *w : controls) {
        if (!qobject_cast<QLineEdit *>(w) && !qobject_cast<QAbstractButton *>(w) &&
            !qobject_cast<QComboBox *>(w))
            continue;
        if (qobject_cast<QLineEdit *>(w) && qobject_cast<QComboBox *>(w->parentWidget()))
            continue; // a combo box's own editor
        names << w->accessibleName();
        QVERIFY2(!w->accessibleName().isEmpty(), qPrintable(w->objectName()));
        const QRect r(w->mapTo(f.form.get(), QPoint(0, 0)), w->size());
        QVERIFY2(inside.contains(r), qPrintable(w->objectName()));
        QVERIFY2(r.height() >= 28, qPrintable(w->objectName()));
    }
    for (const QString &name : expected)
        QVERIFY2(names.contains(name), qPrintable(name));
}

QTEST_MAIN(TestSettingsDialog)
#include "test_settings_dialog.moc"
