#pragma once

#include "core/dialogs.h"
#include "core/messages.h"
#include "schedule/schedule_files.h"

#include <QList>
#include <QWidget>

class QLineEdit;
class QMenu;
class QPushButton;
class QTabWidget;
class QTreeWidget;

namespace kalmo::schedule {

struct SectionsEditorServices {
    core::Messages &messages;
    core::Dialogs &dialogs;
};

// The settings dialog's page "Расписание занятий": one tab per department of the schedule
// file, each with its group rows. Department removal and a department's save write the file
// at once; other edits, row removal among them, live until the department is saved.
class SectionsEditor : public QWidget {
    Q_OBJECT
public:
    static constexpr int kMaxSlots = 100;

    // The controls of one department page; every name ends in the page's slot number.
    struct Page {
        int slot = 0;
        QWidget *page = nullptr;     // NewPageSetting
        QLineEdit *name = nullptr;   // NewEditNamePage
        QTreeWidget *rows = nullptr; // NewlistBox: "№", "Группа", "Файл"
        QLineEdit *dir = nullptr;    // NewEditDir
        QLineEdit *group = nullptr;  // NewEditGroup
        QPushButton *browse = nullptr;
        QPushButton *add = nullptr;
        QPushButton *save = nullptr;
        QPushButton *remove = nullptr;
    };

    explicit SectionsEditor(SectionsEditorServices services, QWidget *parent = nullptr);
    ~SectionsEditor() override;

    // The dialog's loading step: builds the pages from `scheduleFile` when none are shown. The
    // editor works on that file until the next load.
    void load(const QString &scheduleFile);
    // The dialog's close: removes every page; the next load() rebuilds them from the file.
    void release();

    QTabWidget *tabs() const { return m_tabs; }
    int pageCount() const { return static_cast<int>(m_pages.size()); }
    // Page at tab position i (0-based).
    const Page &page(int i) const { return m_pages[i]; }
    int slotCount() const { return m_slots; }

    // Right-click at `pos` of the tab bar: opens the menu only over a tab. Returns whether
    // it did; `popup` false leaves the menu closed (tests).
    bool contextMenuAt(const QPoint &pos, bool popup = true);
    QMenu *menu() const { return m_menu; }

    void addDepartment();               // "Добавить раздел"
    void removeDepartment(int index);   // "Удалить Раздел" on the tab at index
    void saveDepartment(int index);     // "Сохранить\n\rизменения"
    void addRow(int index);             // "Добавить"
    void deleteRow(int index);          // "Удалить"
    void browse(int index);             // "Обзор"
    void selectRow(int index, int row); // 1-based row; 0 clears the selection

private:
    void buildPage(int slot, const QString &name, const QString &caption, const QList<Group> &rows);
    int indexOfSlot(int slot) const;
    void onSelection(int slot);
    void copyEntriesToRow(int slot);
    int selectedRow(const Page &p) const;
    QList<Group> rowsOf(const Page &p) const;
    bool write(const std::function<void()> &writer);

    SectionsEditorServices m_s;
    QString m_file;
    QTabWidget *m_tabs;
    QMenu *m_menu;
    int m_target = -1;
    QList<Page> m_pages;
    int m_slots = 0;
    QString m_lastDir;
};

} // namespace kalmo::schedule
