#include "../support/test_files.h"
#include "../web/fake_browser.h"
#include "calendar/calendar_editor.h"
#include "calendar/calendar_editor_panel.h"
#include "calendar/calendar_window.h"
#include "calendar/colour_box.h"
#include "calendar/day_tile.h"
#include "core/idle_clock.h"
#include "core/ini_file.h"
#include "web/form_browser.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace kalmo;
using namespace kalmo::calendar;
using Kind = EditorHome::Kind;

Q_DECLARE_METATYPE(kalmo::calendar::EditorHome::Kind)

namespace {

const QString kPlaceholder = QStringLiteral("Здесь должен быть Ваш текст");

QString stored(const QString &text) {
    return QStringLiteral("<body> <p align=\"center\"> ") + text + QStringLiteral("</p> </body>");
}

// One home of the editor over a hand-written dateini.ini, opened.
struct Fixture {
    QTemporaryDir dir;
    QString base = dir.path() + u'/';
    QString path = base + QStringLiteral("dateini.ini");
    core::ProgramValues values;
    core::RecordingMessages messages;
    core::ScriptedDialogs dialogs;
    std::unique_ptr<CalendarEditorPanel> editor;

    Fixture(Kind kind, const QByteArray &file) {
        values.baseFolder = base;
        values.mainSettingsPath = base + QStringLiteral("kalmora.ini");
        if (!file.isNull())
            testing::writeAll(path, file);
        editor = std::make_unique<CalendarEditorPanel>(
            CalendarEditorServices{values, messages, dialogs, [] { return QDate(2026, 3, 31); }},
            kind == Kind::Window ? windowHome() : pageHome());
        editor->open(path);
    }
    QString read(const QString &section, const QString &key,
                 const QString &fallback = QStringLiteral("<none>")) const {
        return core::IniFile(path).readString(section, key, fallback);
    }
    QStringList listed() const {
        QStringList out;
        for (int i = 0; i < editor->dateList()->count(); ++i)
            out << editor->dateList()->item(i)->text();
        return out;
    }
    void select(const QString &key) { editor->selectDay(listed().indexOf(key)); }
    void add(const QDate &date, DayKind kind) {
        editor->dateControl()->setDate(date);
        editor->addDay(kind);
    }
    // The write of the file is refused from now on: a folder stands where it was.
    void refuseWrites() {
        QVERIFY(QFile::remove(path));
        QVERIFY(QDir().mkdir(path));
    }
};

const QByteArray kDays = "[1.3.2026]\r\neventday=1\r\n"
                         "event=<body> <p align=\"center\"> 8 Марта </p> </body>\r\n"
                         "image=/pics/march.png\r\nfile=/docs/march.pdf\r\n"
                         "[ini]\r\nholiday=clLime\r\nDownColor=$00123456\r\nSaturday=1\r\n"
                         "[10.3.2026]\r\neventday=3\r\n";

} // namespace

class TestCalendarEditor : public QObject {
    Q_OBJECT
private slots:
    void homesNameTheirControls_data();
    void homesNameTheirControls();
    void openingListsDaysAndReadsTheLook_data();
    void openingListsDaysAndReadsTheLook();
    void selectingShowsTheDayAsPlainText();
    void placeholderSavedUnchanged_data();
    void placeholderSavedUnchanged();
    void addingAListedDateSelectsIt();
    void pendingDayTakesTheNextAddsContent_data();
    void pendingDayTakesTheNextAddsContent();
    void pendingDaySurvivesClosingTheWindow();
    void twoLinesJoinedAndShownAsOneParagraph();
    void characterKeysEnableSaving_data();
    void characterKeysEnableSaving();
    void savingTwiceKeepsThePicture();
    void deleteRemovesTheSectionAndTheScreenStopsMarking();
    void pictureAndFileButtons_data();
    void pictureAndFileButtons();
    void previewOpensTheAttachedFile();
    void sizeReachesThePreview_data();
    void sizeReachesThePreview();
    void badSizeIsReportedAfterTheLookSaveWroteIt();
    void markingColoursAndWeekendWrittenAtOnce();
    void refusedWriteIsReported_data();
    void refusedWriteIsReported();
};

void TestCalendarEditor::homesNameTheirControls_data() {
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QStringList>("names"); // date, file, picture, save, file button, font,
                                            // size, look save
    QTest::addColumn<QString>("fontLabel");
    QTest::addColumn<QString>("addHint");
    QTest::addColumn<QRect>("tile");
    QTest::newRow("window") << Kind::Window
                            << QStringList{"DateEdit1",    "Edit2",     "",      "SpeedButton4",
                                           "SpeedButton6", "ComboBox1", "Edit1", "Button3"}
                            << "Шрифт"
                            << "Добавляет дату в конец списка" << QRect(288, 238, 330, 200);
    QTest::newRow("page") << Kind::Page
                          << QStringList{"DateTimePicker1", "Edit134",   "Edit136", "SpeedButton3",
                                         "SpeedButton4",    "ComboBox3", "Edit135", "SpeedButton7"}
                          << "Тип шрифта"
                          << "Добавляет новое событие" << QRect(240, 274, 330, 200);
}

void TestCalendarEditor::homesNameTheirControls() {
    QFETCH(Kind, kind);
    QFETCH(QStringList, names);
    QFETCH(QString, fontLabel);
    QFETCH(QString, addHint);
    QFETCH(QRect, tile);
    Fixture f(kind, QByteArray());
    CalendarEditorPanel &e = *f.editor;
    const QList<QWidget *> controls{e.dateControl(), e.fileBox(),       e.pictureBox(),
                                    e.saveButton(),  e.fileButton(),    e.fontBox(),
                                    e.sizeBox(),     e.lookSaveButton()};
    for (int i = 0; i < names.size(); ++i)
        QCOMPARE(controls[i] ? controls[i]->objectName() : QString(), names[i]);
    QCOMPARE(e.dateList()->objectName(), QString("ListBox1"));
    QCOMPARE(e.textBox()->objectName(), QString("RichEdit1"));
    QCOMPARE(e.preview()->objectName(), QString("AdvMetroTile1"));
    QCOMPARE(e.preview()->geometry(), tile);
    QCOMPARE(e.addButton()->text(), QString("Добавить"));
    QCOMPARE(e.addButton()->toolTip(), addHint);
    QCOMPARE(e.deleteButton()->text(), QString("Удалить"));
    QCOMPARE(e.saveButton()->text(), QString("Сохранить\nизменения"));
    QCOMPARE(e.fileButton()->text(), QString("Файл доп.\nинформации"));
    QCOMPARE(e.pictureButton()->text(), QString("Картинка"));
    QCOMPARE(e.lookSaveButton()->text(), QString("Сохранить"));
    QCOMPARE(e.fontBox()->accessibleName(), fontLabel);
    QCOMPARE(e.colourBox(9)->objectName(), QString("ColorBox9"));
    QCOMPARE(e.colourBox(9)->accessibleName(), QString("Праздник"));
    QCOMPARE(e.colourBox(1)->count(), static_cast<int>(core::namedColors().size()));
    QCOMPARE(e.sundayBox()->text(), QString("Воскресенье выходной день"));
    QStringList menu;
    for (QAction *a : e.addMenu()->actions())
        menu << a->text();
    QCOMPARE(menu, QStringList({"Праздник", "Событие", "Выходной"}));
}

void TestCalendarEditor::openingListsDaysAndReadsTheLook_data() {
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QDate>("date");
    QTest::newRow("window: today") << Kind::Window << QDate(2026, 3, 31);
    QTest::newRow("page: never set") << Kind::Page << QDate(2017, 2, 3);
}

void TestCalendarEditor::openingListsDaysAndReadsTheLook() {
    QFETCH(Kind, kind);
    QFETCH(QDate, date);
    Fixture f(kind, kDays);
    const QByteArray before = testing::readAll(f.path);
    CalendarEditorPanel &e = *f.editor;
    // `ini` in the middle of the file is not a day.
    QCOMPARE(f.listed(), QStringList({"1.3.2026", "10.3.2026"}));
    QCOMPARE(e.dateControl()->date(), date);
    QVERIFY(!e.saveButton()->isEnabled());
    QCOMPARE(e.colourBox(9)->colour(), *core::colorFromText("clLime"));
    QCOMPARE(e.colourBox(8)->colour(), *core::colorFromText("clRed"));   // editor default
    QCOMPARE(e.colourBox(10)->colour(), *core::colorFromText("clBlue")); // editor default
    QCOMPARE(e.colourBox(2)->currentText(), QString("$00123456"));
    QCOMPARE(e.preview()->look().down, 0x123456);
    QCOMPARE(e.sizeBox()->text(), QString("14"));
    QCOMPARE(e.fontBox()->currentText(), QString("Times New Roman"));
    QVERIFY(e.saturdayBox()->isChecked());
    QVERIFY(e.sundayBox()->isChecked());
    // Setting the boxes from the file writes nothing back.
    QCOMPARE(testing::readAll(f.path), before);
    QCOMPARE(f.messages.texts(), QStringList());
}

void TestCalendarEditor::selectingShowsTheDayAsPlainText() {
    Fixture f(Kind::Page, kDays);
    f.select("1.3.2026");
    CalendarEditorPanel &e = *f.editor;
    QCOMPARE(e.textBox()->toPlainText(), QString("8 Марта"));
    QCOMPARE(e.preview()->text(), QString("<body> <p align=\"center\"> 8 Марта </p> </body>"));
    QCOMPARE(e.pictureBox()->text(), QString("/pics/march.png"));
    QCOMPARE(e.fileBox()->text(), QString("/docs/march.pdf"));
    QVERIFY(e.saveButton()->isEnabled());
    // A day without keys empties what the previous one left.
    f.select("10.3.2026");
    QCOMPARE(e.textBox()->toPlainText(), kPlaceholder);
    QCOMPARE(e.fileBox()->text(), QString());
    QCOMPARE(e.pictureBox()->text(), QString());
}

void TestCalendarEditor::placeholderSavedUnchanged_data() {
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QString>("picture");
    QTest::newRow("window: a single blank") << Kind::Window << " ";
    QTest::newRow("page: empty") << Kind::Page << "";
}

void TestCalendarEditor::placeholderSavedUnchanged() {
    QFETCH(Kind, kind);
    QFETCH(QString, picture);
    Fixture f(kind, kDays);
    f.select("10.3.2026");
    QCOMPARE(f.editor->picturePath(), picture);
    f.editor->saveDay();
    QCOMPARE(f.read("10.3.2026", "event"), stored(kPlaceholder));
    QCOMPARE(f.read("10.3.2026", "image"), picture.trimmed()); // the store trims values
    QCOMPARE(f.read("10.3.2026", "file"), QString());
    QCOMPARE(f.read("10.3.2026", "eventday"), QString("3"));
    QVERIFY(!f.editor->saveButton()->isEnabled());
}

void TestCalendarEditor::addingAListedDateSelectsIt() {
    Fixture f(Kind::Page, kDays);
    CalendarEditorPanel &e = *f.editor;
    f.add(QDate(2026, 5, 9), kEvent);
    e.textBox()->setPlainText("Майский день");
    f.add(QDate(2026, 3, 1), kHoliday);
    QCOMPARE(f.listed(), QStringList({"1.3.2026", "10.3.2026", "9.5.2026"}));
    // The pending day took the editor's content, as any Add gives it.
    QCOMPARE(f.read("9.5.2026", "event"), stored("Майский день"));
    QVERIFY(!e.days().pending());
    // The listed day takes the kind and is selected with its own content.
    QCOMPARE(f.read("1.3.2026", "eventday"), QString("3"));
    QCOMPARE(e.dateList()->currentRow(), 0);
    QCOMPARE(e.textBox()->toPlainText(), QString("8 Марта"));
    QCOMPARE(e.fileBox()->text(), QString("/docs/march.pdf"));
    QVERIFY(e.saveButton()->isEnabled());

    // The next Add leaves the listed day's text, picture and file alone.
    e.textBox()->setPlainText("Чужой текст");
    f.add(QDate(2026, 5, 10), kEvent);
    QCOMPARE(f.read("1.3.2026", "event"),
             QString("<body> <p align=\"center\"> 8 Марта </p> </body>"));
    QCOMPARE(f.read("1.3.2026", "image"), QString("/pics/march.png"));
    QCOMPARE(f.read("1.3.2026", "file"), QString("/docs/march.pdf"));

    // A new date added twice in a row is listed once.
    f.add(QDate(2026, 5, 10), kDayOff);
    QCOMPARE(f.listed().count("10.5.2026"), 1);
    QCOMPARE(f.read("10.5.2026", "eventday"), QString("2"));
}

void TestCalendarEditor::pendingDayTakesTheNextAddsContent_data() {
    QTest::addColumn<Kind>("kind");
    QTest::newRow("window") << Kind::Window;
    QTest::newRow("page") << Kind::Page;
}

void TestCalendarEditor::pendingDayTakesTheNextAddsContent() {
    QFETCH(Kind, kind);
    Fixture f(kind, QByteArray());
    CalendarEditorPanel &e = *f.editor;
    e.fileBox()->setText("/docs/old.pdf");
    f.add(QDate(2026, 4, 1), kEvent);
    QCOMPARE(e.days().pending(), std::optional<QString>("1.4.2026"));
    QCOMPARE(e.fileBox()->text(), QString());
    QString picture = f.values.asset("image/event.png");
    if (kind == Kind::Page) {
        picture = "/pics/own.png";
        e.pictureBox()->setText(picture);
    }
    QCOMPARE(e.picturePath(), picture);
    e.textBox()->setPlainText("Day A");
    e.fileBox()->setText("/docs/a.pdf");
    f.add(QDate(2026, 4, 2), kDayOff);

    QCOMPARE(f.read("1.4.2026", "event"), stored("Day A"));
    QCOMPARE(f.read("1.4.2026", "image"), picture);
    QCOMPARE(f.read("1.4.2026", "file"), QString("/docs/a.pdf"));
    QCOMPARE(f.read("1.4.2026", "eventday"), QString("1"));
    QCOMPARE(f.read("2.4.2026", "eventday"), QString("2"));
    QCOMPARE(f.read("2.4.2026", "event"), QString("<none>"));
    QCOMPARE(e.days().pending(), std::optional<QString>("2.4.2026"));
}

void TestCalendarEditor::pendingDaySurvivesClosingTheWindow() {
    QTemporaryDir dir;
    const QString base = dir.path() + u'/';
    core::ProgramValues values;
    values.baseFolder = base;
    core::RecordingMessages messages;
    core::ScriptedDialogs dialogs;
    QDate today(2026, 6, 1);
    TFormCalendarSetting window({values, messages, dialogs, [&today] { return today; }},
                                [base] { return base; });
    CalendarEditorPanel &e = window.editor();
    window.open();
    QVERIFY(e.isOpen());
    QCOMPARE(e.dateControl()->date(), today);
    e.addDay(kEvent);
    window.reject();
    QVERIFY(!e.isOpen());

    today = QDate(2026, 6, 2);
    window.open();
    QCOMPARE(e.dateControl()->date(), today);
    QCOMPARE(e.days().pending(), std::optional<QString>("1.6.2026"));
    e.textBox()->setPlainText("Written late");
    e.addDay(kHoliday);
    const core::IniFile file(base + "dateini.ini");
    QCOMPARE(file.readString("1.6.2026", "event"), stored("Written late"));
    QCOMPARE(file.readString("2.6.2026", "eventday"), QString("3"));
    window.reject();
}

void TestCalendarEditor::twoLinesJoinedAndShownAsOneParagraph() {
    Fixture f(Kind::Window, kDays);
    f.select("1.3.2026");
    f.editor->textBox()->setPlainText("Первая\nвторая");
    f.editor->saveDay();
    QCOMPARE(f.read("1.3.2026", "event"), stored("Первая"
                                                 "вторая"));
    QCOMPARE(f.editor->preview()->plainText(), QString("Первая"
                                                       "вторая"));
    f.select("10.3.2026");
    f.select("1.3.2026");
    QCOMPARE(f.editor->textBox()->toPlainText(), QString("Первая"
                                                         "вторая"));
}

void TestCalendarEditor::characterKeysEnableSaving_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("enables");
    QTest::newRow("letter") << int(Qt::Key_A) << true;
    QTest::newRow("Backspace") << int(Qt::Key_Backspace) << true;
    QTest::newRow("Enter") << int(Qt::Key_Return) << true;
    QTest::newRow("Delete") << int(Qt::Key_Delete) << false;
    QTest::newRow("arrow") << int(Qt::Key_Left) << false;
}

void TestCalendarEditor::characterKeysEnableSaving() {
    QFETCH(int, key);
    QFETCH(bool, enables);
    Fixture f(Kind::Page, kDays);
    QVERIFY(!f.editor->saveButton()->isEnabled());
    QTest::keyClick(f.editor->textBox(), Qt::Key(key));
    QCOMPARE(f.editor->saveButton()->isEnabled(), enables);
}

void TestCalendarEditor::savingTwiceKeepsThePicture() {
    Fixture f(Kind::Window, kDays);
    f.select("1.3.2026");
    f.editor->textBox()->moveCursor(QTextCursor::End);
    QTest::keyClicks(f.editor->textBox(), "!");
    f.editor->saveDay();
    QTest::keyClicks(f.editor->textBox(), "?");
    QVERIFY(f.editor->saveButton()->isEnabled());
    f.editor->saveDay();
    QCOMPARE(f.read("1.3.2026", "image"), QString("/pics/march.png"));
    QCOMPARE(f.read("1.3.2026", "file"), QString("/docs/march.pdf"));
    QCOMPARE(f.read("1.3.2026", "event"), stored("8 Марта!?"));
}

void TestCalendarEditor::deleteRemovesTheSectionAndTheScreenStopsMarking() {
    Fixture f(Kind::Window, kDays);
    core::ManualClock clock{QDateTime(QDate(2026, 3, 31), QTime(10, 0))};
    core::IdleClock idle{clock};
    TFormCalendar screen({f.values, clock, idle, QSize(1280, 800)});
    QSignalSpy read(&screen, &TFormCalendar::snapshotRead);
    screen.runOpening();
    QVERIFY(read.wait());
    // 10 March 2026 is a Tuesday: row 3, column 1.
    QCOMPARE(screen.grid()->item(3, 1)->text(), QString("10"));
    QCOMPARE(screen.fillAt(3, 1), std::optional<core::ColorCode>(*core::colorFromText("clLime")));

    f.add(QDate(2026, 4, 1), kEvent); // pending, and then dropped by the delete
    f.select("10.3.2026");
    f.editor->deleteDay();
    QVERIFY(!core::IniFile(f.path).sectionExists("10.3.2026"));
    QCOMPARE(f.listed(), QStringList({"1.3.2026", "1.4.2026"}));
    QVERIFY(f.editor->dateList()->selectedItems().isEmpty());
    QCOMPARE(f.editor->textBox()->toPlainText(), QString());
    QCOMPARE(f.editor->picturePath(), QString());
    QVERIFY(!f.editor->preview()->hasPicture());
    QCOMPARE(f.editor->days().pending(), std::nullopt);

    QVERIFY(screen.fillAt(3, 1).has_value()); // the screen's snapshot until it reopens
    screen.runOpening();
    QVERIFY(read.wait());
    QCOMPARE(screen.fillAt(3, 1), std::nullopt);
}

void TestCalendarEditor::pictureAndFileButtons_data() {
    QTest::addColumn<Kind>("kind");
    QTest::newRow("window") << Kind::Window;
    QTest::newRow("page") << Kind::Page;
}

void TestCalendarEditor::pictureAndFileButtons() {
    QFETCH(Kind, kind);
    Fixture f(kind, kDays);
    CalendarEditorPanel &e = *f.editor;
    const QString picture = f.base + "p.png";
    QImage(8, 8, QImage::Format_RGB32).save(picture);
    f.dialogs.answers = {picture, QString()};
    e.pictureButton()->click();
    QCOMPARE(e.picturePath(), picture);
    if (kind == Kind::Page)
        QCOMPARE(e.pictureBox()->text(), picture);
    QVERIFY(e.preview()->hasPicture());
    QVERIFY(!e.saveButton()->isEnabled());
    e.pictureButton()->click(); // cancelled
    QCOMPARE(e.picturePath(), picture);

    f.dialogs.answers = {QString(), "/docs/x.pdf"};
    e.fileButton()->click(); // cancelled, yet the day counts as edited
    QVERIFY(e.saveButton()->isEnabled());
    QCOMPARE(e.fileBox()->text(), QString());
    e.fileButton()->click();
    QCOMPARE(e.fileBox()->text(), QString("/docs/x.pdf"));
}

void TestCalendarEditor::previewOpensTheAttachedFile() {
    Fixture f(Kind::Page, kDays);
    core::ManualClock clock;
    core::IdleClock idle{clock};
    web::TFormBrowser documents(
        idle, [] { return 20; }, fakeFactory());
    f.editor->setDocumentWindow(&documents);
    f.editor->pressPreview(); // empty file box
    QVERIFY(!documents.isVisible());
    f.select("1.3.2026");
    QTest::mouseClick(f.editor->preview(), Qt::LeftButton);
    QVERIFY(documents.isVisible());
    QCOMPARE(documents.attachmentPath(), QString("/docs/march.pdf"));
    documents.close();
}

void TestCalendarEditor::sizeReachesThePreview_data() {
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QString>("entered"); // the control that takes the focus
    QTest::addColumn<Qt::FocusReason>("reason");
    QTest::addColumn<int>("size");
    QTest::newRow("window: size box") << Kind::Window << "size" << Qt::TabFocusReason << 20;
    QTest::newRow("window: look button") << Kind::Window << "look" << Qt::MouseFocusReason << 20;
    QTest::newRow("window: font box") << Kind::Window << "font" << Qt::TabFocusReason << 14;
    QTest::newRow("window: back from a message box")
        << Kind::Window << "size" << Qt::ActiveWindowFocusReason << 14;
    QTest::newRow("page: size box") << Kind::Page << "size" << Qt::MouseFocusReason << 20;
    QTest::newRow("page: look button") << Kind::Page << "look" << Qt::MouseFocusReason << 14;
}

void TestCalendarEditor::sizeReachesThePreview() {
    QFETCH(Kind, kind);
    QFETCH(QString, entered);
    QFETCH(Qt::FocusReason, reason);
    QFETCH(int, size);
    Fixture f(kind, kDays);
    CalendarEditorPanel &e = *f.editor;
    e.sizeBox()->setText("20");
    QWidget *target = entered == "size"   ? static_cast<QWidget *>(e.sizeBox())
                      : entered == "look" ? static_cast<QWidget *>(e.lookSaveButton())
                                          : static_cast<QWidget *>(e.fontBox());
    QFocusEvent focus(QEvent::FocusIn, reason);
    QCoreApplication::sendEvent(target, &focus);
    QCOMPARE(e.preview()->look().fontSize, size);
}

void TestCalendarEditor::badSizeIsReportedAfterTheLookSaveWroteIt() {
    // `ini` holds one key: the others follow it in the order they were written.
    Fixture f(Kind::Page, "[1.3.2026]\r\neventday=1\r\n[ini]\r\nDownColor=$00123456\r\n");
    CalendarEditorPanel &e = *f.editor;
    e.sizeBox()->setText("1x");
    e.fontBox()->setEditText("DejaVu Sans");
    e.colourBox(5)->setColour(*core::colorFromText("clYellow"));
    e.saveLookSettings();
    QCOMPARE(f.messages.texts(), QStringList{"'1x' is not a valid integer value"});
    QCOMPARE(e.preview()->look().fontSize, 14);
    QCOMPARE(e.preview()->look().fontName, QString("DejaVu Sans"));
    const QByteArray written = testing::readAll(f.path);
    QVERIFY2(written.endsWith("[ini]\r\nDownColor=$00123456\r\nfontsize=1x\r\n"
                              "fontname=DejaVu Sans\r\nDownBorderColor=clNavy\r\n"
                              "DownTextColor=clMaroon\r\nHoverBorderColor=clBlack\r\n"
                              "HoverColor=clYellow\r\nHoverTextColor=clBlack\r\n"
                              "TextColor=clBlack\r\noutput=clRed\r\nholiday=clRed\r\n"
                              "event=clBlue\r\n"),
             written.constData());
}

void TestCalendarEditor::markingColoursAndWeekendWrittenAtOnce() {
    Fixture f(Kind::Window, kDays);
    CalendarEditorPanel &e = *f.editor;
    QSignalSpy colours(&e, &CalendarEditorPanel::markingColoursChanged);
    e.colourBox(10)->setCurrentIndex(e.colourBox(10)->indexOf(*core::colorFromText("clOlive")));
    QCOMPARE(f.read("ini", "event"), QString("clOlive"));
    QCOMPARE(colours.count(), 1);
    QCOMPARE(colours.at(0).at(0).value<core::ColorCode>(), *core::colorFromText("clRed"));
    QCOMPARE(colours.at(0).at(1).value<core::ColorCode>(), *core::colorFromText("clLime"));
    QCOMPARE(colours.at(0).at(2).value<core::ColorCode>(), *core::colorFromText("clOlive"));

    e.sundayBox()->click();
    QCOMPARE(f.read("ini", "Sunday"), QString("0"));
    e.saturdayBox()->click();
    QCOMPARE(f.read("ini", "Saturday"), QString("0"));

    // A tile colour only changes the preview until the look save.
    e.colourBox(7)->setColour(*core::colorFromText("clWhite"));
    QCOMPARE(e.preview()->look().text, *core::colorFromText("clWhite"));
    QCOMPARE(f.read("ini", "TextColor"), QString("<none>"));
}

void TestCalendarEditor::refusedWriteIsReported_data() {
    QTest::addColumn<QString>("action");
    // A refused delete cannot be staged: a day the file no longer holds needs no write.
    for (const char *action : {"add", "save", "marking", "weekend", "look"})
        QTest::newRow(action) << action;
}

void TestCalendarEditor::refusedWriteIsReported() {
    QFETCH(QString, action);
    Fixture f(Kind::Window, kDays);
    CalendarEditorPanel &e = *f.editor;
    f.add(QDate(2026, 4, 1), kEvent);
    f.select("1.3.2026");
    const QStringList before = f.listed();
    QSignalSpy colours(&e, &CalendarEditorPanel::markingColoursChanged);
    f.refuseWrites();
    if (action == "add")
        f.add(QDate(2026, 4, 2), kEvent);
    else if (action == "save")
        e.saveDay();
    else if (action == "marking")
        e.colourBox(8)->setColour(*core::colorFromText("clGreen"));
    else if (action == "weekend")
        e.saturdayBox()->click();
    else
        e.saveLookSettings();
    QCOMPARE(f.messages.texts(), QStringList{"Unable to write to " + f.path});
    QCOMPARE(f.listed(), before);
    QCOMPARE(e.days().pending(), std::optional<QString>("1.4.2026"));
    QCOMPARE(colours.count(), 0);
    if (action == "save")
        QVERIFY(e.saveButton()->isEnabled());
    // The boxes show what the file still holds.
    QCOMPARE(e.colourBox(8)->colour(), *core::colorFromText("clRed"));
    QVERIFY(e.saturdayBox()->isChecked());
}

QTEST_MAIN(TestCalendarEditor)
#include "test_calendar_editor.moc"
