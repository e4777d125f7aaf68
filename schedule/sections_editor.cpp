#include "schedule/sections_editor.h"

#include "core/log.h"
#include "schedule/bell_rows.h"

#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTreeWidget>
#include <functional>

namespace kalmo::schedule {

namespace {

QLabel *label(const QString &text, const QString &name, QWidget *parent, int x, int y) {
    auto *l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setAccessibleName(text);
    l->move(x, y);
    return l;
}

QLineEdit *entry(const QString &caption, const QString &name, QWidget *parent, int x, int y) {
    auto *e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setAccessibleName(caption);
    e->setGeometry(x, y, 300, 21);
    return e;
}

QPushButton *button(const QString &caption, const QString &name, QWidget *parent,
                    const QRect &geometry) {
    auto *b = new QPushButton(shownMessage(caption), parent);
    b->setObjectName(name);
    b->setAccessibleName(shownMessage(caption).replace(QLatin1Char('\n'), QLatin1Char(' ')));
    b->setGeometry(geometry);
    return b;
}

// Copies the entries into the selected row on every key release in them.
class KeyReleaseHook : public QObject {
public:
    KeyReleaseHook(std::function<void()> action, QObject *parent)
        : QObject(parent), m_action(std::move(action)) {}
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::KeyRelease)
            m_action();
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_action;
};

void onKeyRelease(QLineEdit *edit, std::function<void()> action) {
    edit->installEventFilter(new KeyReleaseHook(std::move(action), edit));
}

} // namespace

SectionsEditor::SectionsEditor(SectionsEditorServices services, QWidget *parent)
    : QWidget(parent), m_s(services), m_tabs(new QTabWidget(this)), m_menu(new QMenu(this)) {
    setObjectName(QStringLiteral("SectionsEditor"));
    resize(883 + 8, 474 + 6);
    m_tabs->setObjectName(QStringLiteral("PageControl2"));
    m_tabs->setGeometry(4, 3, 883, 474);
    m_tabs->setFont(QFont(QStringLiteral("Tahoma"), 8));
    m_tabs->tabBar()->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_tabs->tabBar(), &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { contextMenuAt(pos); });
    QAction *add = m_menu->addAction(QStringLiteral("Добавить раздел"));
    QAction *remove = m_menu->addAction(QStringLiteral("Удалить Раздел"));
    connect(add, &QAction::triggered, this, &SectionsEditor::addDepartment);
    connect(remove, &QAction::triggered, this, [this] { removeDepartment(m_target); });
}

SectionsEditor::~SectionsEditor() = default;

bool SectionsEditor::write(const std::function<void()> &writer) {
    try {
        writer();
        return true;
    } catch (const core::IniWriteError &e) {
        m_s.messages.show(e.text());
        return false;
    }
}

void SectionsEditor::load(const QString &scheduleFile) {
    if (!m_pages.isEmpty())
        return;
    m_file = scheduleFile;
    const core::IniFile file(m_file, core::IniFile::Mode::Snapshot);
    int count = readDepartmentCount(file);
    if (count > kMaxSlots) {
        qCWarning(kalmo::lcSchedule) << file.path() << "lists" << count
                                     << "departments; the editor shows the first" << kMaxSlots;
        count = kMaxSlots;
    }
    m_slots = count;
    for (int n = 1; n <= count; ++n) {
        const QString name = readDepartmentName(file, n);
        buildPage(n, name, name, readGroups(file, n, readGroupCount(file, n, 1)));
    }
}

void SectionsEditor::release() {
    m_tabs->clear();
    for (const Page &p : std::as_const(m_pages))
        delete p.page;
    m_pages.clear();
    m_slots = 0;
    m_target = -1;
}

void SectionsEditor::buildPage(int slot, const QString &name, const QString &caption,
                               const QList<Group> &rows) {
    const QString n = QString::number(slot);
    Page p;
    p.slot = slot;
    p.page = new QWidget;
    p.page->setObjectName(QStringLiteral("NewPageSetting") + n);
    p.page->setProperty("tag", slot);
    QWidget *w = p.page;
    label(QStringLiteral("Наименование подразделения"), QStringLiteral("NewLabelNamePage") + n, w,
          70, 5);
    p.name = entry(QStringLiteral("Наименование подразделения"),
                   QStringLiteral("NewEditNamePage") + n, w, 20, 20);
    p.name->setText(name);
    label(QStringLiteral("Список групп"), QStringLiteral("NewLabelListBox") + n, w, 35, 45);
    p.rows = new QTreeWidget(w);
    p.rows->setObjectName(QStringLiteral("NewlistBox") + n);
    p.rows->setAccessibleName(QStringLiteral("Список групп"));
    p.rows->setHeaderLabels(
        {QStringLiteral("№"), QStringLiteral("Группа"), QStringLiteral("Файл")});
    p.rows->setColumnWidth(0, 30);
    p.rows->setColumnWidth(1, 150);
    p.rows->setColumnWidth(2, 270);
    p.rows->setRootIsDecorated(false);
    p.rows->setSelectionBehavior(QAbstractItemView::SelectRows);
    p.rows->setGeometry(20, 60, 460, m_tabs->height() - 140);
    for (int k = 1; k <= rows.size(); ++k)
        p.rows->addTopLevelItem(
            new QTreeWidgetItem({QString::number(k), rows[k - 1].name, rows[k - 1].document}));
    label(QStringLiteral("Файл расписания (pdf, html)"), QStringLiteral("NewLabelDir") + n, w, 550,
          65);
    p.dir = entry(QStringLiteral("Файл расписания (pdf, html)"), QStringLiteral("NewEditDir") + n,
                  w, 500, 80);
    p.dir->setEnabled(false);
    p.browse = button(QStringLiteral("Обзор"), QStringLiteral("NewspeedButton") + n, w,
                      QRect(820, 80, 60, 20));
    label(QStringLiteral("Наименовани группы"), QStringLiteral("NewLabelGroup") + n, w, 550, 105);
    p.group = entry(QStringLiteral("Наименовани группы"), QStringLiteral("NewEditGroup") + n, w,
                    500, 120);
    p.group->setEnabled(false);
    p.add = button(QStringLiteral("Добавить"), QStringLiteral("NewspeedButtonAdd") + n, w,
                   QRect(500, 160, 120, 40));
    p.save = button(QStringLiteral("Сохранить\n\rизменения"),
                    QStringLiteral("NewspeedButtonSave") + n, w, QRect(500, 220, 120, 40));
    p.remove = button(QStringLiteral("Удалить"), QStringLiteral("NewspeedButtonDel") + n, w,
                      QRect(500, 280, 120, 40));
    for (QWidget *child : w->findChildren<QWidget *>())
        child->setProperty("tag", slot);

    // Every handler finds its page again by slot: positions move as pages are removed.
    const auto at = [this, slot] { return indexOfSlot(slot); };
    onKeyRelease(p.name, [this, at] {
        const int i = at();
        m_tabs->setTabText(i, m_pages[i].name->text());
    });
    onKeyRelease(p.group, [this, slot] { copyEntriesToRow(slot); });
    onKeyRelease(p.dir, [this, slot] { copyEntriesToRow(slot); });
    connect(p.rows, &QTreeWidget::itemSelectionChanged, this, [this, slot] { onSelection(slot); });
    connect(p.browse, &QPushButton::clicked, this, [this, at] { browse(at()); });
    connect(p.add, &QPushButton::clicked, this, [this, at] { addRow(at()); });
    connect(p.save, &QPushButton::clicked, this, [this, at] { saveDepartment(at()); });
    connect(p.remove, &QPushButton::clicked, this, [this, at] { deleteRow(at()); });

    m_pages.append(p);
    m_tabs->addTab(p.page, caption);
}

int SectionsEditor::indexOfSlot(int slot) const {
    for (int i = 0; i < m_pages.size(); ++i)
        if (m_pages[i].slot == slot)
            return i;
    return -1;
}

int SectionsEditor::selectedRow(const Page &p) const {
    const QList<QTreeWidgetItem *> items = p.rows->selectedItems();
    return items.isEmpty() ? 0 : p.rows->indexOfTopLevelItem(items.first()) + 1;
}

QList<Group> SectionsEditor::rowsOf(const Page &p) const {
    QList<Group> rows;
    for (int k = 0; k < p.rows->topLevelItemCount(); ++k)
        rows.append({p.rows->topLevelItem(k)->text(1), p.rows->topLevelItem(k)->text(2)});
    return rows;
}

void SectionsEditor::onSelection(int slot) {
    const int i = indexOfSlot(slot);
    if (i < 0)
        return;
    const Page &p = m_pages[i];
    const int k = selectedRow(p);
    p.group->setEnabled(k > 0);
    p.dir->setEnabled(k > 0);
    if (k == 0)
        return;
    p.group->setText(p.rows->topLevelItem(k - 1)->text(1));
    p.dir->setText(p.rows->topLevelItem(k - 1)->text(2));
}

void SectionsEditor::copyEntriesToRow(int slot) {
    const int i = indexOfSlot(slot);
    if (i < 0)
        return;
    const Page &p = m_pages[i];
    const int k = selectedRow(p);
    if (k == 0)
        return;
    p.rows->topLevelItem(k - 1)->setText(1, p.group->text());
    p.rows->topLevelItem(k - 1)->setText(2, p.dir->text());
}

void SectionsEditor::selectRow(int index, int row) {
    const Page &p = m_pages[index];
    p.rows->clearSelection();
    if (row >= 1 && row <= p.rows->topLevelItemCount())
        p.rows->topLevelItem(row - 1)->setSelected(true);
}

bool SectionsEditor::contextMenuAt(const QPoint &pos, bool popup) {
    const int tab = m_tabs->tabBar()->tabAt(pos);
    if (tab < 0)
        return false;
    m_target = tab;
    if (popup)
        m_menu->popup(m_tabs->tabBar()->mapToGlobal(pos));
    return true;
}

void SectionsEditor::addDepartment() {
    if (m_slots >= kMaxSlots) {
        m_s.messages.show(QStringLiteral("Больше %1 разделов за один раз добавить нельзя. "
                                         "Закройте настройки и откройте их снова.")
                              .arg(kMaxSlots));
        return;
    }
    const int slot = ++m_slots;
    core::IniFile file(m_file);
    buildPage(slot, readDepartmentName(file, slot), QStringLiteral("Новый раздел"), {});
    write([&] { writeDepartmentCount(file, pageCount()); });
}

void SectionsEditor::removeDepartment(int index) {
    if (pageCount() < 2 || index < 0 || index >= pageCount())
        return;
    const Page removed = m_pages.takeAt(index);
    m_tabs->removeTab(index);
    removed.page->deleteLater();
    const int p = index + 1;
    core::IniFile file(m_file);
    // Later departments move up one number; each is written under its new one. A department
    // without rows keeps its name with a group count of 0. The steps go on after a refused
    // write, and the first refusal is reported once.
    QString failure;
    const auto attempt = [&](const std::function<void()> &writer) {
        try {
            writer();
        } catch (const core::IniWriteError &e) {
            if (failure.isEmpty())
                failure = e.text();
        }
    };
    attempt([&] { eraseDepartment(file, p, pageCount()); });
    for (int i = index; i < pageCount(); ++i) {
        const Page &page = m_pages[i];
        m_tabs->setCurrentIndex(i);
        attempt([&] {
            core::IniFile::Batch batch(file);
            file.eraseSection(departmentSection(i + 2));
            schedule::saveDepartment(file, i + 1, pageCount(), page.name->text(), rowsOf(page));
            batch.commit();
        });
    }
    if (!failure.isEmpty())
        m_s.messages.show(failure);
}

void SectionsEditor::saveDepartment(int index) {
    if (index < 0 || index >= pageCount())
        return;
    const Page &p = m_pages[index];
    const QList<Group> rows = rowsOf(p);
    if (rows.isEmpty())
        return;
    core::IniFile file(m_file);
    write([&] { schedule::saveDepartment(file, index + 1, pageCount(), p.name->text(), rows); });
}

void SectionsEditor::addRow(int index) {
    if (index < 0 || index >= pageCount())
        return;
    QTreeWidget *rows = m_pages[index].rows;
    rows->addTopLevelItem(
        new QTreeWidgetItem({QString::number(rows->topLevelItemCount() + 1),
                             QStringLiteral("Новыя Группа"), QStringLiteral("Файл расписания")}));
}

void SectionsEditor::deleteRow(int index) {
    if (index < 0 || index >= pageCount())
        return;
    const Page &p = m_pages[index];
    const int k = selectedRow(p);
    if (k == 0)
        return;
    // The list only: the stored groups change when the department is saved, so the file never
    // holds a count that skips or hides a group.
    delete p.rows->takeTopLevelItem(k - 1);
    p.group->clear();
    p.dir->clear();
    p.rows->clearSelection();
    p.group->setEnabled(false);
    p.dir->setEnabled(false);
}

void SectionsEditor::browse(int index) {
    if (index < 0 || index >= pageCount() || selectedRow(m_pages[index]) == 0)
        return;
    const int slot = m_pages[index].slot;
    m_s.dialogs.openFile(QString(), m_lastDir, QString(), [this, slot](const QString &path) {
        const int i = indexOfSlot(slot);
        if (path.isEmpty() || i < 0)
            return;
        m_lastDir = QFileInfo(path).absolutePath();
        const Page &p = m_pages[i];
        const int k = selectedRow(p);
        if (k == 0)
            return;
        p.dir->setText(path);
        p.rows->topLevelItem(k - 1)->setText(2, path);
    });
}

} // namespace kalmo::schedule
