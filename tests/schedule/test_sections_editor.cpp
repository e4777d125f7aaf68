#include "core/dialogs.h"
#include "core/ini_file.h"
#include "core/messages.h"
#include "core/program_values.h"
#include "schedule/schedule_files.h"
#include "schedule/sections_editor.h"
#include "tests/support/test_files.h"

#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

using namespace kalmo;
using namespace kalmo::schedule;
using kalmo::testing::writeAll;

namespace {

struct Editor {
    QTemporaryDir dir;
    core::ProgramValues values;
    core::RecordingMessages messages;
    core::ScriptedDialogs dialogs;
    std::unique_ptr<SectionsEditor> editor;

    explicit Editor(const QByteArray &file = {}) {
        values.mainSettingsPath = dir.filePath("kalmora.ini");
        if (!file.isEmpty())
            writeAll(values.scheduleFilePath(), file);
        editor = std::make_unique<SectionsEditor>(SectionsEditorServices{messages, dialogs});
        editor->load(values.scheduleFilePath());
    }
    core::IniFile file() const { return core::IniFile(values.scheduleFilePath()); }
    QStringList rows(int i, int column) const {
        QStringList out;
        QTreeWidget *list = editor->page(i).rows;
        for (int k = 0; k < list->topLevelItemCount(); ++k)
            out << list->topLevelItem(k)->text(column);
        return out;
    }
};

const QByteArray kThree = "[ini]\nfile=1\ncountrazdel=3\n"
                          "[1]\nRazdel=A\nCountgroup=1\nGroup1=a1\nDir1=/a1.pdf\n"
                          "[2]\nRazdel=B\nCountgroup=1\nGroup1=b1\nDir1=/b1.pdf\n"
                          "[3]\nRazdel=C\nCountgroup=2\nGroup1=c1\nDir1=/c1.pdf\nGroup2=c2\n"
                          "Dir2=/c2.pdf\n";

} // namespace

class TestSectionsEditor : public QObject {
    Q_OBJECT
private slots:
    void pagesFromTheFile_data();
    void pagesFromTheFile();
    void removingTheMiddleDepartmentRenumbers();
    void departmentWithoutRowsSurvivesRenumbering();
    void contextMenuOnlyOverATab();
    void addedDepartmentsAndTheSlotLimit();
    void newRowsEditedAndSaved();
    void removingTheSecondOfThreeGroups();
    void browseFillsTheSelectedRow();
    void releaseRemovesEveryPage();
};

void TestSectionsEditor::pagesFromTheFile_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("tabs");
    QTest::addColumn<QStringList>("numbers");

    QTest::newRow("missing file") << QByteArray() << QStringList{""} << QStringList{"1"};
    QTest::newRow("countrazdel 0")
        << QByteArray("[ini]\ncountrazdel=0\n[1]\nRazdel=A\nCountgroup=2\n") << QStringList{"A"}
        << QStringList{"1", "2"};
    QTest::newRow("three") << kThree << QStringList{"A", "B", "C"} << QStringList{"1"};
}

void TestSectionsEditor::pagesFromTheFile() {
    QFETCH(QByteArray, file);
    Editor e(file);
    QStringList tabs;
    for (int i = 0; i < e.editor->tabs()->count(); ++i)
        tabs << e.editor->tabs()->tabText(i);
    QTEST(tabs, "tabs");
    QTEST(e.rows(0, 0), "numbers");
    QCOMPARE(e.editor->slotCount(), tabs.size());
    const SectionsEditor::Page &p = e.editor->page(0);
    QCOMPARE(p.name->objectName(), QStringLiteral("NewEditNamePage1"));
    QCOMPARE(p.save->objectName(), QStringLiteral("NewspeedButtonSave1"));
    QCOMPARE(p.save->text(), QStringLiteral("Сохранить\nизменения"));
    QVERIFY(!p.group->isEnabled());
    QVERIFY(!p.dir->isEnabled());
    QCOMPARE(p.rows->property("tag").toInt(), 1);
    // A second load while pages are shown changes nothing.
    e.editor->load(e.values.scheduleFilePath());
    QCOMPARE(e.editor->pageCount(), tabs.size());
}

void TestSectionsEditor::removingTheMiddleDepartmentRenumbers() {
    Editor e(kThree);
    e.editor->removeDepartment(1);
    QCOMPARE(e.editor->pageCount(), 2);
    QCOMPARE(e.editor->page(1).slot, 3); // controls keep their slot numbers
    const core::IniFile f = e.file();
    QCOMPARE(f.readString("ini", "countrazdel"), QStringLiteral("2"));
    QCOMPARE(readDepartmentName(f, 1), QStringLiteral("A"));
    QCOMPARE(readDepartmentName(f, 2), QStringLiteral("C"));
    QCOMPARE(readGroups(f, 2, 2), (QList<Group>{{"c1", "/c1.pdf"}, {"c2", "/c2.pdf"}}));
    QVERIFY(!f.sectionExists("3"));
    QCOMPARE(f.readString("ini", "file"), QStringLiteral("1"));

    // With one page left nothing is removed.
    e.editor->removeDepartment(0);
    e.editor->removeDepartment(0);
    QCOMPARE(e.editor->pageCount(), 1);
    QVERIFY(e.messages.texts().isEmpty());
}

void TestSectionsEditor::departmentWithoutRowsSurvivesRenumbering() {
    Editor e("[ini]\ncountrazdel=3\n[1]\nRazdel=A\nCountgroup=1\n[2]\nRazdel=B\nCountgroup=1\n"
             "[3]\nRazdel=Пустой\nCountgroup=0\n");
    QCOMPARE(e.rows(2, 0), QStringList());
    e.editor->removeDepartment(0);
    const core::IniFile f = e.file();
    QCOMPARE(readDepartmentName(f, 2), QStringLiteral("Пустой"));
    QCOMPARE(f.readString("2", "countgroup"), QStringLiteral("0"));
    QVERIFY(!f.sectionExists("3"));
    // Its own save button still does nothing without rows.
    writeAll(e.values.scheduleFilePath(), "[ini]\ncountrazdel=2\n");
    e.editor->saveDepartment(1);
    QVERIFY(!e.file().sectionExists("2"));
}

void TestSectionsEditor::contextMenuOnlyOverATab() {
    Editor e(kThree);
    e.editor->show();
    QTabBar *bar = e.editor->tabs()->tabBar();
    QVERIFY(e.editor->contextMenuAt(bar->tabRect(2).center(), false));
    QVERIFY(!e.editor->contextMenuAt(QPoint(bar->tabRect(2).right() + 40, 5), false));
    QVERIFY(!e.editor->contextMenuAt(QPoint(-5, -5), false));
    // Right-clicking inside a page opens no menu of its own.
    QCOMPARE(e.editor->page(0).page->contextMenuPolicy(), Qt::DefaultContextMenu);
    // The menu's removal acts on the tab that was under the pointer.
    e.editor->menu()->actions().at(1)->trigger();
    QCOMPARE(e.editor->pageCount(), 2);
    QCOMPARE(e.editor->tabs()->tabText(1), QStringLiteral("B"));
}

void TestSectionsEditor::addedDepartmentsAndTheSlotLimit() {
    Editor e(kThree);
    e.editor->addDepartment();
    QCOMPARE(e.editor->pageCount(), 4);
    QCOMPARE(e.editor->tabs()->tabText(3), QStringLiteral("Новый раздел"));
    QCOMPARE(e.editor->page(3).name->text(), QString());
    QCOMPARE(e.editor->page(3).slot, 4);
    QCOMPARE(e.file().readString("ini", "countrazdel"), QStringLiteral("4"));
    QVERIFY(!e.file().sectionExists("4"));

    e.editor->removeDepartment(3);
    e.editor->addDepartment();
    QCOMPARE(e.editor->page(3).slot, 5); // slots are not reused within a showing
    while (e.editor->slotCount() < SectionsEditor::kMaxSlots)
        e.editor->addDepartment();
    QVERIFY(e.messages.texts().isEmpty());
    const int pages = e.editor->pageCount();
    e.editor->addDepartment();
    QCOMPARE(e.editor->pageCount(), pages);
    QCOMPARE(e.messages.texts().size(), 1);
}

void TestSectionsEditor::newRowsEditedAndSaved() {
    Editor e(kThree);
    e.editor->addDepartment();
    const SectionsEditor::Page &p = e.editor->page(3);
    e.editor->addRow(3);
    e.editor->addRow(3);
    QCOMPARE(e.rows(3, 0), (QStringList{"1", "2"}));
    QVERIFY(p.rows->selectedItems().isEmpty());
    e.editor->selectRow(3, 2);
    QVERIFY(p.group->isEnabled());
    QCOMPARE(p.group->text(), QStringLiteral("Новыя Группа"));
    p.group->setText("ИС-2");
    QTest::keyClicks(p.group, "1");
    p.name->setText("Новое ");
    QTest::keyClicks(p.name, "1");
    QCOMPARE(e.editor->tabs()->tabText(3), QStringLiteral("Новое 1"));
    QCOMPARE(e.rows(3, 1), (QStringList{"Новыя Группа", "ИС-21"}));
    QTest::mouseClick(p.save, Qt::LeftButton);

    const core::IniFile f = e.file();
    QCOMPARE(readDepartmentName(f, 4), QStringLiteral("Новое 1"));
    QCOMPARE(readGroups(f, 4, readGroupCount(f, 4, 0)),
             (QList<Group>{{"Новыя Группа", "Файл расписания"}, {"ИС-21", "Файл расписания"}}));
    e.editor->selectRow(3, 0);
    QVERIFY(!p.group->isEnabled());
    QCOMPARE(p.group->text(), QStringLiteral("ИС-21")); // keeps its text
}

void TestSectionsEditor::removingTheSecondOfThreeGroups() {
    const QByteArray stored = "[ini]\ncountrazdel=1\n[1]\nRazdel=A\nCountgroup=3\nGroup1=g1\n"
                              "Dir1=d1\nGroup2=g2\nDir2=d2\nGroup3=g3\nDir3=d3\n";
    Editor e(stored);
    e.editor->deleteRow(0); // nothing selected: nothing happens
    QCOMPARE(e.rows(0, 0), (QStringList{"1", "2", "3"}));
    e.editor->selectRow(0, 2);
    QTest::mouseClick(e.editor->page(0).remove, Qt::LeftButton);
    QCOMPARE(e.rows(0, 0), (QStringList{"1", "3"}));
    QVERIFY(!e.editor->page(0).group->isEnabled());
    QCOMPARE(e.editor->page(0).group->text(), QString());
    // The file keeps all three groups until the save: no gap, no hidden last group.
    QCOMPARE(kalmo::testing::readAll(e.values.scheduleFilePath()), stored);

    // Closed without saving, the group is still there.
    e.editor->release();
    e.editor->load(e.values.scheduleFilePath());
    QCOMPARE(e.rows(0, 1), (QStringList{"g1", "g2", "g3"}));

    e.editor->selectRow(0, 2);
    e.editor->deleteRow(0);
    e.editor->saveDepartment(0);
    const core::IniFile f = e.file();
    QCOMPARE(readGroups(f, 1, readGroupCount(f, 1, 0)), (QList<Group>{{"g1", "d1"}, {"g3", "d3"}}));
    QVERIFY(!f.valueExists("1", "Group3"));
}

void TestSectionsEditor::browseFillsTheSelectedRow() {
    Editor e(kThree);
    e.dialogs.answers = {"/docs/new.pdf", ""};
    e.editor->browse(0); // no row selected: no dialog
    QCOMPARE(e.dialogs.asked, 0);
    e.editor->selectRow(0, 1);
    e.editor->browse(0);
    QCOMPARE(e.editor->page(0).dir->text(), QStringLiteral("/docs/new.pdf"));
    QCOMPARE(e.rows(0, 2), QStringList{"/docs/new.pdf"});
    e.editor->browse(0); // cancelled
    QCOMPARE(e.rows(0, 2), QStringList{"/docs/new.pdf"});
    QCOMPARE(e.file().readString("1", "Dir1"), QStringLiteral("/a1.pdf")); // until saved
}

void TestSectionsEditor::releaseRemovesEveryPage() {
    Editor e(kThree);
    e.editor->addDepartment();
    e.editor->release();
    QCOMPARE(e.editor->tabs()->count(), 0);
    QCOMPARE(e.editor->pageCount(), 0);
    e.editor->load(e.values.scheduleFilePath());
    QCOMPARE(e.editor->pageCount(), 4); // countrazdel was written by the addition
    QCOMPARE(e.editor->tabs()->tabText(3), QString());
    QCOMPARE(e.rows(3, 0), QStringList{"1"});
}

QTEST_MAIN(TestSectionsEditor)
#include "test_sections_editor.moc"
