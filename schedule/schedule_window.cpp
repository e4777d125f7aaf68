#include "schedule/schedule_window.h"

#include "core/escape_guard.h"
#include "core/log.h"
#include "core/read_problem.h"
#include "schedule/countdown.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>

namespace kalmo::schedule {

namespace {

constexpr int kButtonWidth = 216;  // SpeedButton1, Button26, SpeedButton2
constexpr int kButtonHeight = 166; // down to Panel2's bottom
constexpr int kFlowInset = 20;     // bevel 10 + border 10
constexpr int kBellRowHeight = 30;
constexpr int kCountdownHeight = 29;

QSize screenSizeFor(QSize wanted) {
    if (!wanted.isEmpty())
        return wanted;
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().size() : QSize(1920, 1080);
}

QFont mainFont(const core::ProgramValues &values) {
    QFont font(values.fontName);
    font.setPointSize(values.fontSize > 0 ? values.fontSize : 18);
    core::FontStyles::parse(values.fontStyleText).applyTo(font);
    return font;
}

QFont pixelFont(int px) {
    QFont font(QStringLiteral("Times New Roman"));
    font.setPixelSize(px);
    return font;
}

// A caption shown on a button: '&' stays a character instead of marking a shortcut.
QString buttonText(const QString &caption) {
    QString text = caption;
    return text.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

void setButtonCaption(QPushButton *button, const QString &caption) {
    button->setText(buttonText(caption));
    button->setAccessibleName(caption);
}

} // namespace

ScheduleScreenData readScheduleScreenData(const QString &schedulePath,
                                          const QString &settingsPath) {
    ScheduleScreenData data;
    auto schedule =
        std::make_shared<const core::IniFile>(schedulePath, core::IniFile::Mode::Snapshot);
    data.scheduleProblem = core::readProblem(*schedule);
    if (data.scheduleProblem.isEmpty())
        data.schedule = std::move(schedule);
    auto settings =
        std::make_shared<const core::IniFile>(settingsPath, core::IniFile::Mode::Snapshot);
    data.settingsProblem = core::readProblem(*settings);
    if (data.settingsProblem.isEmpty())
        data.settings = std::move(settings);
    return data;
}

TMyRaspisanie::TMyRaspisanie(ScheduleServices services, QWidget *parent)
    : QDialog(parent, Qt::Window | Qt::FramelessWindowHint), m_s(std::move(services)),
      m_screen(screenSizeFor(m_s.screenSize)), m_mainFont(mainFont(m_s.values)),
      m_panel1(new QLabel(this)), m_panel2(new QLabel(this)), m_flowPanel2(new FlowPanel(0, this)),
      m_label1(new QLabel(this)),
      m_mainMenu(makeButton(QStringLiteral("Главное меню"), QStringLiteral("SpeedButton1"), this)),
      m_closeDoc(makeButton(QStringLiteral("ЗАКРЫТЬ"), QStringLiteral("Button26"), this)),
      m_back(makeButton(QStringLiteral("Назад"), QStringLiteral("SpeedButton2"), this)),
      m_flowPanel1(new FlowPanel(kFlowInset, this)), m_panel4(new QLabel(this)),
      m_previous(makeButton(QString(), QStringLiteral("Button27"), m_panel4)),
      m_next(makeButton(QString(), QStringLiteral("Button28"), m_panel4)),
      m_unavailableLine(new QLabel(QStringLiteral("Расписание временно недоступно"), this)),
      m_browser(m_s.browserFactory) {
    setObjectName(QStringLiteral("MyRaspisanie"));
    setWindowTitle(QStringLiteral("MyRaspisanie"));
    setWindowModality(Qt::ApplicationModal);
    new core::EscapeGuard(this);

    m_panel1->setObjectName(QStringLiteral("Panel1"));
    m_panel1->setFont(pixelFont(60));
    m_panel1->setAlignment(Qt::AlignCenter);
    m_panel2->setObjectName(QStringLiteral("Panel2"));
    m_panel2->setFont(pixelFont(75));
    m_panel2->setAlignment(Qt::AlignCenter);
    m_flowPanel2->setObjectName(QStringLiteral("FlowPanel2"));
    m_label1->setObjectName(QStringLiteral("Label1"));
    m_label1->setAlignment(Qt::AlignCenter);
    m_flowPanel1->setObjectName(QStringLiteral("FlowPanel1"));
    m_flowPanel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    m_panel4->setObjectName(QStringLiteral("Panel4"));
    m_panel4->setAlignment(Qt::AlignCenter);
    m_panel4->setFrameStyle(QFrame::Panel | QFrame::Raised);
    m_panel4->hide();
    m_closeDoc->hide();
    m_back->hide();
    m_unavailableLine->setObjectName(QStringLiteral("UnavailableLine"));
    m_unavailableLine->setAlignment(Qt::AlignCenter);
    m_unavailableLine->setAccessibleName(m_unavailableLine->text());
    m_unavailableLine->hide();
    applyMainFont();
    placeControls();

    connect(m_mainMenu, &QPushButton::clicked, this, &QWidget::close);
    connect(m_closeDoc, &QPushButton::clicked, this, &TMyRaspisanie::closeDocument);
    connect(m_back, &QPushButton::clicked, this, &TMyRaspisanie::backToDepartments);
    connect(m_previous, &QPushButton::clicked, this, &TMyRaspisanie::previousGroup);
    connect(m_next, &QPushButton::clicked, this, &TMyRaspisanie::nextGroup);

    m_timer1.setObjectName(QStringLiteral("Timer1"));
    m_timer2.setObjectName(QStringLiteral("Timer2"));
    m_timer3.setObjectName(QStringLiteral("Timer3"));
    for (QTimer *t : {&m_timer1, &m_timer2, &m_timer3})
        t->setInterval(1000);
    connect(&m_timer1, &QTimer::timeout, this, &TMyRaspisanie::onClockTick);
    connect(&m_timer2, &QTimer::timeout, this, &TMyRaspisanie::onCountdownTick);
    connect(&m_timer3, &QTimer::timeout, this, &TMyRaspisanie::onIdleTick);
    // The clock and the countdown run for the whole program, shown or not.
    m_timer1.start();
    m_timer2.start();
}

TMyRaspisanie::~TMyRaspisanie() = default;

QPushButton *TMyRaspisanie::makeButton(const QString &caption, const QString &name,
                                       QWidget *parent) {
    auto *button = new QPushButton(parent);
    button->setObjectName(name);
    button->setFont(m_mainFont);
    setButtonCaption(button, caption);
    return button;
}

void TMyRaspisanie::setCaption(QLabel *label, const QString &text) {
    label->setText(text);
    label->setAccessibleName(text);
}

void TMyRaspisanie::placeControls() {
    const int w = m_screen.width();
    const int h = m_screen.height();
    setGeometry(0, 0, w, h);

    constexpr int dateWidth = 304; // the main screen's date panel
    m_panel1->setGeometry(6, 3, dateWidth, 80);
    m_panel2->setGeometry(6, 86, dateWidth, 80);
    const QRect menu(w - 10 - kButtonWidth, 3, kButtonWidth, kButtonHeight);
    m_mainMenu->setGeometry(menu);
    m_closeDoc->setGeometry(menu);
    m_back->setGeometry(menu);

    const int left = m_panel1->geometry().right() + 1 + 5;
    const int width = menu.left() - 5 - left;
    const int labelTop = m_panel2->geometry().bottom() + 1 - kCountdownHeight + 20;
    m_label1->setGeometry(left, labelTop, width, kCountdownHeight);
    m_flowPanel2->setGeometry(left, 3, width, labelTop - 3);

    const int flowTop = labelTop + kCountdownHeight + 10;
    m_flowPanel1->setGeometry(6, flowTop, menu.right() + 1 - 6, h - 5 - flowTop);

    m_unavailableLine->setGeometry(m_flowPanel1->geometry());
    m_panel4->setGeometry(6, 3, w - kButtonWidth - 25, kButtonHeight);
    const int navWidth = m_panel4->width() / 3 - 35;
    m_previous->setGeometry(4, 4, navWidth, 158);
    m_next->setGeometry(m_panel4->width() - 4 - navWidth, 4, navWidth, 158);
}

void TMyRaspisanie::onClockTick() {
    const QDateTime now = m_s.clock.now();
    setCaption(m_panel1, now.date().toString(QStringLiteral("dd.MM.yyyy")));
    setCaption(m_panel2, now.time().toString(QStringLiteral("hh:mm:ss")));
}

void TMyRaspisanie::onCountdownTick() {
    const QDateTime now = m_s.clock.now();
    if (m_s.isDayOff && m_s.isDayOff(now.date()))
        setCaption(m_label1, kNoLessonsToday);
    else if (const auto line = countdownLine(m_bells, now.time()))
        setCaption(m_label1, *line);
}

void TMyRaspisanie::onIdleTick() {
    const int timeout = m_s.values.pageSeconds;
    if (timeout > 0 && m_s.idle.idleSeconds() < static_cast<std::uint32_t>(timeout))
        return;
    if (isVisible())
        close();
    else
        m_timer3.stop();
}

void TMyRaspisanie::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        runOpeningSteps();
}

void TMyRaspisanie::done(int result) {
    runClosingSteps();
    QDialog::done(result);
}

void TMyRaspisanie::applyMainFont() {
    m_mainFont = mainFont(m_s.values);
    for (QWidget *w : {static_cast<QWidget *>(m_label1), static_cast<QWidget *>(m_unavailableLine),
                       static_cast<QWidget *>(m_mainMenu), static_cast<QWidget *>(m_closeDoc),
                       static_cast<QWidget *>(m_back), static_cast<QWidget *>(m_previous),
                       static_cast<QWidget *>(m_next)})
        w->setFont(m_mainFont);
    QFont titleFont = m_mainFont;
    titleFont.setPointSize(m_mainFont.pointSize() + 8);
    m_panel4->setFont(titleFont);
}

void TMyRaspisanie::runOpeningSteps() {
    // The font in force now: a font saved in the settings shows at the next opening.
    applyMainFont();
    freeDynamicControls();
    m_closeDoc->hide();
    m_back->hide();
    m_panel4->hide();
    m_panel1->show();
    m_panel2->show();
    m_flowPanel1->show();
    m_mainMenu->show();
    m_flowPanel2->setVisible(m_s.values.scheduleView);
    m_label1->setVisible(m_s.values.scheduleView);
    m_view = View::Departments;
    m_department = 0;
    m_group = 0;
    m_groups.clear();
    m_timer3.start();

    // The screen opens at once with what it read last; the files' read runs on a worker
    // and rebuilds the buttons when it arrives.
    buildDepartments();
    buildBellList();
    onClockTick();
    onCountdownTick();
    const bool started = m_read.start(
        [schedule = m_s.values.scheduleFilePath(), settings = m_s.values.mainSettingsPath] {
            return readScheduleScreenData(schedule, settings);
        },
        [this](const ScheduleScreenData &data) { takeFiles(data); },
        [this] {
            logProblem(QStringLiteral("no answer within %1 s")
                           .arg(core::kFileReadTimeLimit.count() / 1000));
            m_unavailableLine->setVisible(!m_snapshot && isVisible());
            emit filesRead(false);
        });
    if (!started) {
        logProblem(QStringLiteral("the last read still waits for an answer"));
        m_unavailableLine->setVisible(!m_snapshot);
        emit filesRead(false);
    }
}

void TMyRaspisanie::takeFiles(const ScheduleScreenData &data) {
    QStringList problems;
    if (data.schedule)
        m_snapshot = data.schedule;
    else
        problems << m_s.values.scheduleFilePath() + " (" + data.scheduleProblem + ")";
    if (data.settings)
        m_settingsSnapshot = data.settings;
    else
        problems << m_s.values.mainSettingsPath + " (" + data.settingsProblem + ")";
    if (problems.isEmpty()) {
        if (!m_problem.isEmpty())
            qCInfo(kalmo::lcSchedule) << "schedule files read again";
        m_problem.clear();
    } else {
        logProblem(problems.join(QStringLiteral(", ")));
    }
    // A visitor already in a department keeps its panel; the next opening shows the news.
    if (isVisible() && m_view == View::Departments) {
        freeDynamicControls();
        buildDepartments();
        buildBellList();
        onCountdownTick();
    }
    emit filesRead(problems.isEmpty());
}

void TMyRaspisanie::logProblem(const QString &problem) {
    if (problem == m_problem)
        return;
    m_problem = problem;
    qCWarning(kalmo::lcSchedule).noquote()
        << "cannot read the schedule files:" << problem << "; the screen shows what it read last";
}

void TMyRaspisanie::buildDepartments() {
    m_unavailableLine->setVisible(!m_snapshot && !m_problem.isEmpty());
    if (!m_snapshot)
        return;
    const core::IniFile &file = *m_snapshot;
    int departments = readDepartmentCount(file);
    if (departments > kMaxDepartments) {
        qCWarning(kalmo::lcSchedule)
            << file.path() << "lists" << departments << "departments; the screen shows the first"
            << kMaxDepartments;
        departments = kMaxDepartments;
    }
    const QRect bounds = m_flowPanel1->geometry();
    const int width = bounds.width() / 4 - 12;
    const int height = bounds.height() / 5 - 10;
    for (int n = 1; n <= departments; ++n) {
        QPushButton *department = makeButton(readDepartmentName(file, n),
                                             QStringLiteral("NewPage%1").arg(n), m_flowPanel1);
        department->resize(width, height);
        connect(department, &QPushButton::clicked, this, [this, n] { showDepartment(n); });
        m_flowPanel1->addWidget(department);

        auto *panel = new FlowPanel(kFlowInset, this);
        panel->setObjectName(QStringLiteral("GroupPanel%1").arg(n));
        panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
        panel->setAutoFillBackground(true);
        panel->setGeometry(bounds);
        panel->hide();
        panel->raise();
        m_groupPanels.append(panel);

        int groups = readGroupCount(file, n, 1);
        if (groups > kMaxGroups) {
            qCWarning(kalmo::lcSchedule) << file.path() << "department" << n << "lists" << groups
                                         << "groups; the screen shows the first" << kMaxGroups;
            groups = kMaxGroups;
        }
        const QList<Group> names = readGroups(file, n, groups);
        const int groupWidth = panel->width() / 4 - 12;
        const int groupHeight = panel->height() / 5 - 10;
        for (int k = 1; k <= groups; ++k) {
            QPushButton *group =
                makeButton(names[k - 1].name, QStringLiteral("MyButton%1").arg(k), panel);
            group->resize(groupWidth, groupHeight);
            connect(group, &QPushButton::clicked, this, [this, k] { openGroup(k); });
            panel->addWidget(group);
        }
    }
    // The title bar and the place of the three buttons stay in front of the panels.
    m_panel4->raise();
    m_mainMenu->raise();
}

void TMyRaspisanie::buildBellList() {
    if (!m_settingsSnapshot)
        return;
    const core::IniFile &settings = *m_settingsSnapshot;
    const int stored = readLessonCount(settings);
    if (stored > kMaxLessons)
        qCWarning(kalmo::lcSchedule) << settings.path() << "lists" << stored
                                     << "lessons; the screen shows the first" << kMaxLessons;
    m_bells = readBellTable(settings, kMaxLessons);
    const QStringList bad = unreadableBellEntries(m_bells);
    if (!bad.isEmpty())
        qCWarning(kalmo::lcSchedule).noquote()
            << "bell times that are not times of day are left out of the countdown:"
            << bad.join(QStringLiteral(", "));

    QFont font(m_mainFont.family());
    font.setPointSize(14);
    const int width = m_flowPanel2->width() / 2 - 3;
    const QStringList lines = bellListLines(m_bells);
    for (int k = 1; k <= lines.size(); ++k) {
        auto *panel = new QLabel(m_flowPanel2);
        panel->setObjectName(QStringLiteral("BellPanel%1").arg(k));
        panel->setFont(font);
        panel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        panel->setContentsMargins(3, 3, 0, 0);
        panel->resize(width, kBellRowHeight);
        setCaption(panel, lines[k - 1]);
        m_flowPanel2->addWidget(panel);
    }
}

void TMyRaspisanie::showDepartment(int n) {
    FlowPanel *panel = groupPanel(n);
    if (!panel)
        return;
    panel->show();
    panel->raise();
    m_department = n;
    m_view = View::Groups;
    m_back->show();
    m_back->raise();
}

void TMyRaspisanie::backToDepartments() {
    if (FlowPanel *panel = groupPanel(m_department))
        panel->hide();
    m_back->hide();
    m_view = View::Departments;
}

void TMyRaspisanie::openGroup(int k) {
    if (!m_snapshot || m_department < 1 || k < 1)
        return;
    // The group count as stored now; a department without one still opens the button
    // that was pressed, so the table covers at least up to it.
    const int stored = std::min(readGroupCount(*m_snapshot, m_department, 0), kMaxGroups);
    m_groups = readGroups(*m_snapshot, m_department, std::max(stored, k));

    web::BrowserSpec spec;
    spec.kind = web::BrowserKind::Document;
    const int top = m_panel4->geometry().bottom() + 1 + 5;
    spec.geometry = QRect(0, top, width(), height() - top);
    spec.background = Qt::black;
    spec.name = QStringLiteral("Chromium1");
    if (web::Browser *browser = m_browser.create(this, spec)) {
        connect(browser, &web::Browser::loadFinished, this, [this, browser](bool ok) {
            if (browser != m_browser.browser())
                return;
            const bool failed = m_awaitingDocument && !ok;
            m_awaitingDocument = false;
            if (failed) {
                qCWarning(kalmo::lcSchedule)
                    << "schedule document did not load:" << m_groups.value(m_group - 1).document;
                showUnavailable();
            }
        });
        connect(browser, &web::Browser::downloadRefused, this, [this, browser](const QUrl &url) {
            if (browser != m_browser.browser())
                return;
            qCWarning(kalmo::lcSchedule) << "schedule document is not a page or PDF:" << url;
            m_awaitingDocument = false;
            showUnavailable();
        });
    }

    m_flowPanel1->hide();
    m_flowPanel2->hide();
    m_label1->hide();
    m_back->hide();
    m_mainMenu->hide();
    m_panel1->hide();
    m_panel2->hide();
    m_panel4->show();
    m_panel4->raise();
    m_closeDoc->show();
    m_closeDoc->raise();
    m_view = View::Document;
    showGroup(k);
}

void TMyRaspisanie::showGroup(int k) {
    const int count = static_cast<int>(m_groups.size());
    m_group = k;
    const Group &group = m_groups[k - 1];
    setCaption(m_panel4, group.name);
    setButtonCaption(m_next, m_groups[k % count].name);
    setButtonCaption(m_previous, m_groups[(k - 2 + count) % count].name);
    loadDocument(group.document);
}

void TMyRaspisanie::previousGroup() {
    if (m_view != View::Document || m_groups.isEmpty())
        return;
    const int count = static_cast<int>(m_groups.size());
    showGroup((m_group - 2 + count) % count + 1);
}

void TMyRaspisanie::nextGroup() {
    if (m_view != View::Document || m_groups.isEmpty())
        return;
    showGroup(m_group % static_cast<int>(m_groups.size()) + 1);
}

void TMyRaspisanie::loadDocument(const QString &value) {
    m_documentWanted = value;
    m_awaitingDocument = false;
    checkDocument();
}

// Whether the document is there is asked on a worker: it may lie on a share that hangs. A
// group stepped past while its check runs is not loaded; the check of the group shown last
// follows.
void TMyRaspisanie::checkDocument() {
    const QString value = m_documentWanted;
    const bool started = m_documentCheck.start(
        [value] { return isShowableDocument(value); },
        [this, value](bool showable) {
            web::Browser *browser = m_browser.browser();
            if (!browser)
                return;
            if (value != m_documentWanted) {
                checkDocument();
                return;
            }
            if (!showable) {
                qCWarning(kalmo::lcSchedule) << "no schedule document at" << value;
                showUnavailable();
                return;
            }
            m_awaitingDocument = true;
            browser->load(value);
        },
        [this, value] {
            if (value != m_documentWanted || !m_browser.browser())
                return;
            qCWarning(kalmo::lcSchedule) << "no answer about the schedule document" << value;
            showUnavailable();
        });
    if (!started && m_documentCheck.overdue())
        showUnavailable();
}

void TMyRaspisanie::showUnavailable() {
    m_awaitingDocument = false;
    web::Browser *browser = m_browser.browser();
    const QString page = m_unavailable.path();
    if (browser && !page.isEmpty())
        browser->load(page);
}

void TMyRaspisanie::closeDocument() {
    m_closeDoc->hide();
    m_awaitingDocument = false;
    m_browser.destroy();
    m_panel4->hide();
    m_panel1->show();
    m_panel2->show();
    m_flowPanel1->show();
    m_flowPanel2->setVisible(m_s.values.scheduleView);
    m_label1->setVisible(m_s.values.scheduleView);
    m_mainMenu->show();
    m_back->show();
    m_back->raise();
    m_view = View::Groups;
}

void TMyRaspisanie::runClosingSteps() {
    m_timer3.stop();
    m_unavailableLine->hide();
    freeDynamicControls();
    m_awaitingDocument = false;
    m_browser.destroy();
    m_closeDoc->hide();
    m_panel4->hide();
    m_panel1->show();
    m_panel2->show();
    m_flowPanel1->show();
    m_mainMenu->show();
    m_back->show();
    m_view = View::Departments;
    m_department = 0;
    m_group = 0;
    m_groups.clear();
}

void TMyRaspisanie::freeDynamicControls() {
    m_flowPanel1->clearWidgets();
    for (FlowPanel *panel : std::as_const(m_groupPanels))
        releaseControl(panel);
    m_groupPanels.clear();
    m_flowPanel2->clearWidgets();
}

} // namespace kalmo::schedule
