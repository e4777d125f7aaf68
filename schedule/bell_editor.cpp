#include "schedule/bell_editor.h"

#include "schedule/bell_time.h"

#include <QCheckBox>
#include <QEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

namespace kalmo::schedule {

namespace {

QLabel *caption(const QString &text, QWidget *parent, int x, int y) {
    auto *label = new QLabel(text, parent);
    label->setAccessibleName(text);
    label->move(x, y);
    return label;
}

QPushButton *button(const QString &text, QWidget *parent, const QRect &geometry) {
    auto *b = new QPushButton(text, parent);
    b->setAccessibleName(text);
    b->setGeometry(geometry);
    return b;
}

QLineEdit *timeEditor(const QString &name, QWidget *parent, int x, int y) {
    auto *edit = new QLineEdit(parent);
    // A validator, not an input mask: a mask pads "9:00:00" to "9 :00:00".
    edit->setValidator(new BellTimeValidator(edit));
    edit->setMaxLength(8);
    edit->setAccessibleName(name);
    edit->setGeometry(x, y, 100, 24);
    edit->setEnabled(false);
    return edit;
}

} // namespace

BellEditor::BellEditor(BellEditorServices services, QWidget *parent)
    : QWidget(parent), m_s(services), m_list(new QTreeWidget(this)) {
    setObjectName(QStringLiteral("BellEditor"));
    m_list->setObjectName(QStringLiteral("ListView1"));
    m_list->setAccessibleName(QStringLiteral("Расписание звонков"));
    m_list->setHeaderLabels({QStringLiteral("Пара"), QStringLiteral("Начало "),
                             QStringLiteral("Конец"), QStringLiteral("Перерыв")});
    m_list->setRootIsDecorated(false);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setColumnWidth(0, 40);
    m_list->setColumnWidth(1, 100);
    m_list->setColumnWidth(2, 100);
    m_list->setColumnWidth(3, 120);
    m_list->setGeometry(4, 4, 380, 300);

    caption(QStringLiteral("Пара"), this, 4, 312);
    caption(QStringLiteral("Начало"), this, 60, 312);
    caption(QStringLiteral("Конец"), this, 170, 312);
    m_number = caption(QStringLiteral("1"), this, 4, 332);
    m_number->setObjectName(QStringLiteral("LabelNumber"));
    m_start = timeEditor(QStringLiteral("Начало"), this, 60, 330);
    m_start->setObjectName(QStringLiteral("MaskEditStart"));
    m_stop = timeEditor(QStringLiteral("Конец"), this, 170, 330);
    m_stop->setObjectName(QStringLiteral("MaskEditStop"));
    m_view =
        new QCheckBox(QStringLiteral("Отображать расписание на странице расписание занятий"), this);
    m_view->setAccessibleName(m_view->text());
    m_view->setGeometry(4, 364, 400, 24);
    m_add = button(QStringLiteral("Добавить"), this, QRect(400, 4, 120, 40));
    m_remove = button(QStringLiteral("Удалить"), this, QRect(400, 54, 120, 40));
    m_remove->setEnabled(false);
    m_save = button(QStringLiteral("Сохранить"), this, QRect(400, 104, 120, 40));

    m_start->installEventFilter(this);
    m_stop->installEventFilter(this);
    connect(m_list, &QTreeWidget::itemSelectionChanged, this, &BellEditor::onSelectionChanged);
    connect(m_add, &QPushButton::clicked, this, &BellEditor::addLesson);
    connect(m_remove, &QPushButton::clicked, this, &BellEditor::removeLesson);
    connect(m_save, &QPushButton::clicked, this, &BellEditor::saveLessons);
}

void BellEditor::load(const QString &mainSettingsFile) {
    m_file = mainSettingsFile;
    const core::IniFile settings(m_file);
    m_rows.load(settings, m_s.messages);
    showRows();
    if (m_rows.count() > 0)
        selectRow(1);
}

void BellEditor::release() {
    m_rows = BellRows();
    showRows();
}

void BellEditor::showRows() {
    const int selected = selectedRow();
    const QSignalBlocker block(m_list);
    m_list->clear();
    for (const BellRow &row : m_rows.rows())
        m_list->addTopLevelItem(new QTreeWidgetItem({row.number, row.start, row.stop, row.pause}));
    if (selected > 0 && selected <= m_rows.count())
        m_list->topLevelItem(selected - 1)->setSelected(true);
    onSelectionChanged();
}

int BellEditor::selectedRow() const {
    const QList<QTreeWidgetItem *> items = m_list->selectedItems();
    return items.isEmpty() ? 0 : m_list->indexOfTopLevelItem(items.first()) + 1;
}

void BellEditor::selectRow(int k) {
    m_list->clearSelection();
    if (k >= 1 && k <= m_list->topLevelItemCount()) {
        m_list->topLevelItem(k - 1)->setSelected(true);
        m_list->setCurrentItem(m_list->topLevelItem(k - 1));
    }
    onSelectionChanged();
}

void BellEditor::onSelectionChanged() {
    const int k = selectedRow();
    m_start->setEnabled(k > 0);
    m_stop->setEnabled(k > 0);
    m_remove->setEnabled(k > 0);
    if (k == 0)
        return;
    const BellRow &row = m_rows.rows()[k - 1];
    m_number->setText(row.number);
    m_number->setAccessibleName(row.number);
    m_start->setText(row.start);
    m_stop->setText(row.stop);
}

bool BellEditor::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::KeyRelease && (watched == m_start || watched == m_stop)) {
        const int k = selectedRow();
        if (k > 0) {
            BellRow &row = m_rows.rows()[k - 1];
            const bool start = watched == m_start;
            (start ? row.start : row.stop) = (start ? m_start : m_stop)->text();
            m_list->topLevelItem(k - 1)->setText(start ? 1 : 2, start ? row.start : row.stop);
        }
    }
    return QWidget::eventFilter(watched, event);
}

void BellEditor::addLesson() {
    m_rows.add();
    showRows();
}

void BellEditor::removeLesson() {
    const int k = selectedRow();
    if (k == 0)
        return;
    m_start->setEnabled(false);
    m_stop->setEnabled(false);
    m_start->clear();
    m_stop->clear();
    if (m_rows.remove(k)) {
        m_list->clearSelection();
        showRows();
    }
}

bool BellEditor::saveLessons() {
    core::IniFile settings(m_file);
    const bool saved = m_rows.save(settings, m_s.messages);
    if (saved)
        showRows();
    return saved;
}

} // namespace kalmo::schedule
