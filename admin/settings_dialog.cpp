#include "admin/settings_dialog.h"

#include "calendar/calendar_editor_panel.h"
#include "core/escape_guard.h"
#include "core/log.h"
#include "schedule/bell_editor.h"
#include "schedule/sections_editor.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace kalmo::admin {

TForm3::TForm3(core::ProgramValues &values, core::Messages &messages, core::Dialogs &dialogs,
               MainScreenHooks hooks, QWidget *parent)
    : QDialog(parent), m_values(values), m_messages(messages), m_dialogs(dialogs),
      m_pages(new QTabWidget(this)),
      m_general(new GeneralPage({values, messages, dialogs, std::move(hooks)})) {
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Настройки"));
    setWindowModality(Qt::ApplicationModal);
    // Only "Закрыть" and the close box close it: Escape would drop unsaved edits.
    new core::EscapeGuard(this);
    setFixedSize(898, 527);
    QFont tahoma(QStringLiteral("Tahoma"));
    tahoma.setPointSize(8);
    setFont(tahoma);

    m_pages->setObjectName(QStringLiteral("PageControl1"));
    // Flat tabs, large enough for a finger.
    m_pages->setDocumentMode(true);
    m_pages->tabBar()->setExpanding(false);
    // Style sheets go on the tab bar and the boxes themselves: one on the page control would
    // cut the pages off from the dialog's font.
    m_pages->tabBar()->setStyleSheet(
        QStringLiteral("QTabBar::tab { min-height: 30px; padding: 0 14px; }"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_pages);
    createPages();
    for (auto *box : m_pages->findChildren<QCheckBox *>())
        box->setStyleSheet(QStringLiteral("QCheckBox::indicator { width: 20px; height: 20px; }"));
    connect(m_general, &GeneralPage::closeRequested, this, &TForm3::reject);
}

TForm3::~TForm3() = default;

void TForm3::createPages() {
    m_pages->addTab(m_general, QStringLiteral("Основные настройки"));

    m_calendarPage = new QWidget;
    m_calendarPage->setObjectName(QStringLiteral("TabSheet6"));
    m_calendarEditor = new calendar::CalendarEditorPanel({m_values, m_messages, m_dialogs, {}},
                                                         calendar::pageHome(), m_calendarPage);
    auto *days = new QVBoxLayout(m_calendarPage);
    days->setContentsMargins(0, 0, 0, 0);
    days->addWidget(m_calendarEditor);
    // The calendar file beside the main settings file the dialog fixed at this showing.
    m_calendarHooks = {[this](const DialogFiles &files) { m_calendarEditor->open(files.calendar); },
                       [this] { m_calendarEditor->release(); }};
    m_pages->addTab(m_calendarPage, QStringLiteral("Календарь"));

    m_schedulePage = new QWidget;
    m_schedulePage->setObjectName(QStringLiteral("TabSheet2"));
    m_sectionsEditor = new schedule::SectionsEditor({m_messages, m_dialogs}, m_schedulePage);
    auto *sections = new QVBoxLayout(m_schedulePage);
    sections->setContentsMargins(4, 3, 4, 3);
    sections->addWidget(m_sectionsEditor);
    // The department pages are built at each showing and removed at each closing.
    m_scheduleHooks = {[this](const DialogFiles &files) { m_sectionsEditor->load(files.schedule); },
                       [this] { m_sectionsEditor->release(); }};
    m_pages->addTab(m_schedulePage, QStringLiteral("Расписание занятий"));

    m_bellPage = new QWidget;
    m_bellPage->setObjectName(QStringLiteral("TabSheet3"));
    m_bellEditor = new schedule::BellEditor({m_messages}, m_bellPage);
    auto *bells = new QVBoxLayout(m_bellPage);
    bells->setContentsMargins(0, 0, 0, 0);
    bells->addWidget(m_bellEditor);
    // The page's view box is the general page's to load and store.
    m_scheduleView = m_bellEditor->viewCheckBox();
    m_bellHooks = {[this](const DialogFiles &files) { m_bellEditor->load(files.main); },
                   [this] { m_bellEditor->release(); }};
    m_pages->addTab(m_bellPage, QStringLiteral("Расписание звонков"));

    m_general->setScheduleViewBox(m_scheduleView);
    for (int i = 0; i < m_pages->count(); ++i)
        m_pages->widget(i)->setAccessibleName(m_pages->tabText(i));
}

void TForm3::openDialog() {
    load();
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
    open();
}

void TForm3::load() {
    const DialogFiles &files = m_general->fixFiles();
    if (!m_general->fill())
        return;
    for (const PageHooks *page : {&m_calendarHooks, &m_scheduleHooks, &m_bellHooks})
        if (page->load)
            page->load(files);
}

void TForm3::reject() {
    hide();
    try {
        m_general->resetFromFile();
        for (const PageHooks *page : {&m_calendarHooks, &m_scheduleHooks, &m_bellHooks})
            if (page->close)
                page->close();
    } catch (const std::exception &e) {
        // Closing always succeeds; what went wrong is only worth a line in the log.
        qCWarning(kalmo::lcAdmin) << "while closing the settings:" << e.what();
    }
    QDialog::reject();
}

} // namespace kalmo::admin
