#pragma once

#include "core/messages.h"
#include "schedule/bell_rows.h"

#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace kalmo::schedule {

struct BellEditorServices {
    core::Messages &messages;
};

// The settings dialog's page "Расписание звонков": the lesson list with time editors,
// "Добавить", "Удалить" and "Сохранить" (checks, then writes; the only button that writes).
// The view check box belongs to the page but is loaded and stored by the general page.
class BellEditor : public QWidget {
    Q_OBJECT
public:
    explicit BellEditor(BellEditorServices services, QWidget *parent = nullptr);

    // The dialog's loading step: rebuilds the list from `mainSettingsFile` and selects the
    // first lesson. The editor works on that file until the next load.
    void load(const QString &mainSettingsFile);
    // The dialog's close: unsaved edits are dropped, and until the next load() the page has
    // nothing it may save.
    void release();

    // "Отображать расписание на странице расписание занятий" (`Schedule`/`View`).
    QCheckBox *viewCheckBox() const { return m_view; }

    void addLesson();      // "Добавить"
    void removeLesson();   // "Удалить"
    bool saveLessons();    // "Сохранить"
    void selectRow(int k); // 1-based; 0 clears the selection

    QTreeWidget *list() const { return m_list; }
    QLineEdit *startEditor() const { return m_start; }
    QLineEdit *stopEditor() const { return m_stop; }
    QLabel *lessonLabel() const { return m_number; }
    QPushButton *addButton() const { return m_add; }
    QPushButton *removeButton() const { return m_remove; }
    QPushButton *saveButton() const { return m_save; }
    const BellRows &rows() const { return m_rows; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showRows();
    void onSelectionChanged();
    int selectedRow() const;

    BellEditorServices m_s;
    QString m_file;
    BellRows m_rows;
    QTreeWidget *m_list;
    QLabel *m_number;
    QLineEdit *m_start;
    QLineEdit *m_stop;
    QCheckBox *m_view;
    QPushButton *m_add;
    QPushButton *m_remove;
    QPushButton *m_save;
};

} // namespace kalmo::schedule
