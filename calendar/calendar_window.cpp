#include "calendar/calendar_window.h"

#include "calendar/cell_delegate.h"
#include "calendar/day_tile.h"
#include "core/log.h"
#include "core/read_problem.h"
#include "web/form_browser.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QShowEvent>
#include <QTableWidget>

namespace kalmo::calendar {

namespace {

const QString kIni = QStringLiteral("ini");

QFont timesPx(int pixels) {
    QFont f(QStringLiteral("Times New Roman"));
    f.setPixelSize(pixels);
    return f;
}

QPushButton *speedButton(const char *name, const QString &caption, int pixels, QWidget *parent) {
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setFont(timesPx(pixels));
    b->setFocusPolicy(Qt::NoFocus);
    b->setAccessibleName(caption);
    return b;
}

} // namespace

std::optional<core::ColorCode> cellFill(const QString &text, int row, int column,
                                        const Marking &marking, std::optional<int> kind) {
    if (row < 1 || text.isEmpty())
        return std::nullopt;
    std::optional<core::ColorCode> fill;
    if (marking.saturday && column == 5)
        fill = marking.dayOff;
    if (marking.sunday && column == 6)
        fill = marking.dayOff;
    if (kind) {
        switch (*kind) {
        case kEvent:
            fill = marking.event;
            break;
        case kDayOff:
            fill = marking.dayOff;
            break;
        case kHoliday:
            fill = marking.holiday;
            break;
        default:
            fill = core::ColorCode(0); // black
            break;
        }
    }
    return fill;
}

CalendarScreenData readCalendarScreenData(const core::ProgramValues &values) {
    CalendarScreenData data;
    data.dataFolder = screenDataFolder(values);
    auto file = std::make_shared<const CalendarFile>(data.dataFolder + calendarFileName(),
                                                     CalendarFile::Mode::Snapshot);
    data.problem = core::readProblem(file->ini());
    if (data.problem.isEmpty())
        data.file = std::move(file);
    return data;
}

TFormCalendar::TFormCalendar(CalendarScreenServices services, QWidget *parent)
    : QDialog(parent, Qt::Window | Qt::FramelessWindowHint), m_s(std::move(services)),
      m_shown(m_s.clock.now().date()) {
    setObjectName(QStringLiteral("FormCalendar"));
    setWindowTitle(QStringLiteral("MyCalendar"));
    setAccessibleName(QStringLiteral("MyCalendar"));
    setWindowModality(Qt::ApplicationModal);
    setModal(true);
    createControls();

    m_timer1.setObjectName(QStringLiteral("Timer1"));
    m_timer1.setInterval(10000);
    connect(&m_timer1, &QTimer::timeout, this, &TFormCalendar::onTileTimer);
    m_timer2.setObjectName(QStringLiteral("Timer2"));
    m_timer2.setInterval(1000);
    connect(&m_timer2, &QTimer::timeout, this, &TFormCalendar::onIdleTick);

    // Made exact (the base folder when the settings path names a folder) by the first
    // opening's read: no file system call here.
    m_dataFolder = m_s.values.dataFolder();
}

TFormCalendar::~TFormCalendar() = default;

void TFormCalendar::createControls() {
    const int w = m_s.screenSize.width(), h = m_s.screenSize.height();
    setGeometry(0, 0, w, h);

    // Natural listing order: previous, title, next, close, grid, today, tile.
    m_previous = speedButton("SpeedButton2", QString(), 53, this);
    m_previous->setGeometry(5, 5, 250, 80);
    connect(m_previous, &QPushButton::clicked, this, &TFormCalendar::showPreviousMonth);

    m_title = new QLabel(this);
    m_title->setObjectName(QStringLiteral("StaticText1"));
    m_title->setFont(timesPx(60));
    m_title->setAlignment(Qt::AlignCenter);
    m_title->setGeometry(255, 5, w - 765, 80);

    m_next = speedButton("SpeedButton1", QString(), 53, this);
    m_next->setGeometry(m_title->geometry().right() + 1, 5, 250, 80);
    connect(m_next, &QPushButton::clicked, this, &TFormCalendar::showNextMonth);

    m_close = speedButton("SpeedButton3", QStringLiteral("Закрыть"), 40, this);
    m_close->setGeometry(m_next->geometry().right() + 1 + 5, 5, 250, 80);
    connect(m_close, &QPushButton::clicked, this, &TFormCalendar::closeScreen);

    m_grid = new QTableWidget(7, 7, this);
    m_grid->setObjectName(QStringLiteral("StringGrid1"));
    m_grid->setAccessibleName(QStringLiteral("StringGrid1"));
    m_grid->setFont(timesPx(27));
    m_grid->setGeometry(5, 90, w - 10, h - 165);
    m_grid->horizontalHeader()->hide();
    m_grid->verticalHeader()->hide();
    m_grid->setShowGrid(false);
    m_grid->setFrameShape(QFrame::NoFrame);
    m_grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectItems);
    m_grid->setTabKeyNavigation(false);
    const int columnWidth = m_grid->width() / 7 - 4, rowHeight = m_grid->height() / 7 - 4;
    for (int i = 0; i < 7; ++i) {
        m_grid->setColumnWidth(i, columnWidth + m_lineWidth);
        m_grid->setRowHeight(i, rowHeight + m_lineWidth);
    }
    for (int r = 0; r < 7; ++r)
        for (int c = 0; c < 7; ++c) {
            auto *item = new QTableWidgetItem;
            item->setTextAlignment(Qt::AlignCenter);
            item->setFlags(r == 0 ? Qt::ItemIsEnabled : Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            m_grid->setItem(r, c, item);
        }
    m_grid->setItemDelegate(new CellDelegate(
        [this](int row, int column) { return fillAt(row, column); }, m_lineWidth, m_grid));
    connect(m_grid, &QTableWidget::currentCellChanged, this, [this](int row, int column) {
        if (!m_filling && row >= 0)
            selectCell(row, column);
    });
    // A touch on the cell already selected shows its tile again.
    connect(m_grid, &QTableWidget::cellPressed, this, &TFormCalendar::selectCell);

    m_today = new QLabel(QStringLiteral("Сегодня"), this);
    m_today->setObjectName(QStringLiteral("StaticText2"));
    m_today->setFont(timesPx(47));
    m_today->setAlignment(Qt::AlignCenter);
    m_today->setGeometry(5, m_grid->geometry().bottom() + 1 + 5, m_grid->width(), 70);
    m_today->setAccessibleName(m_today->text());
    m_today->installEventFilter(this);

    m_tile = new DayTile(this);
    m_tile->resize(330, 200);
    m_tile->hide();
    connect(m_tile, &DayTile::clicked, this, &TFormCalendar::pressTile);
}

void TFormCalendar::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        runOpening();
}

void TFormCalendar::hideEvent(QHideEvent *event) {
    QDialog::hideEvent(event);
    if (event->spontaneous())
        return;
    m_timer2.stop();
}

void TFormCalendar::runOpening() {
    m_timer2.start();
    m_today->setText(todayLine(m_s.clock.now().date()));
    m_today->setAccessibleName(m_today->text());
    // The month shows at once with what the screen knows; the file's days follow when its
    // read (on a worker) arrives.
    goToToday();
    const bool started =
        m_read.start([values = m_s.values] { return readCalendarScreenData(values); },
                     [this](const CalendarScreenData &data) { takeSnapshot(data); },
                     [this] {
                         logProblem(QStringLiteral("no answer within %1 s")
                                        .arg(core::kFileReadTimeLimit.count() / 1000));
                         emit snapshotRead(false);
                     });
    if (!started) {
        logProblem(QStringLiteral("the last read still waits for an answer"));
        emit snapshotRead(false);
    }
}

void TFormCalendar::takeSnapshot(const CalendarScreenData &data) {
    if (!data.file) {
        logProblem(data.problem);
        emit snapshotRead(false);
        return;
    }
    if (!m_problem.isEmpty())
        qCInfo(kalmo::lcCalendar) << "calendar file read again";
    m_problem.clear();
    m_dataFolder = data.dataFolder;
    m_snapshot = data.file;
    m_marked.clear();
    for (const QString &name : m_snapshot->sections())
        m_marked.insert(name.toLower());
    TileLook look;
    look.read(*m_snapshot);
    m_tile->setLook(look);
    m_marking = Marking();
    m_marking.read(*m_snapshot);
    fillGrid();
    emit snapshotRead(true);
}

void TFormCalendar::logProblem(const QString &problem) {
    if (problem == m_problem)
        return;
    m_problem = problem;
    qCWarning(kalmo::lcCalendar).noquote()
        << "cannot read the calendar file in" << m_dataFolder << "(" + problem + ");"
        << (m_snapshot ? "the screen shows the days it read last" : "no days are marked");
}

void TFormCalendar::hideTile() {
    m_tile->hide();
    m_timer1.stop();
    m_tileKey.clear();
}

void TFormCalendar::goToToday() {
    hideTile();
    m_shown = m_s.clock.now().date();
    fillGrid();
    m_title->setText(openingTitle(m_shown));
    m_title->setAccessibleName(m_title->text());
    m_next->setText(nextMonthName(m_shown.month()));
    m_next->setAccessibleName(m_next->text());
    m_previous->setText(previousMonthName(m_shown.month()));
    m_previous->setAccessibleName(m_previous->text());
    const QString day = QString::number(m_shown.day());
    for (int r = 1; r < 7; ++r)
        for (int c = 0; c < 7; ++c)
            if (m_grid->item(r, c)->text() == day) {
                m_filling = true;
                m_grid->setCurrentCell(r, c);
                m_filling = false;
            }
}

void TFormCalendar::showNextMonth() {
    showMonth(nextMonth(m_shown));
}

void TFormCalendar::showPreviousMonth() {
    showMonth(previousMonth(m_shown));
}

void TFormCalendar::showMonth(const QDate &month) {
    hideTile();
    m_shown = month;
    m_next->setText(nextMonthName(m_shown.month()));
    m_next->setAccessibleName(m_next->text());
    m_previous->setText(previousMonthName(m_shown.month()));
    m_previous->setAccessibleName(m_previous->text());
    m_title->setText(navigationTitle(m_shown));
    m_title->setAccessibleName(m_title->text());
    fillGrid();
}

void TFormCalendar::fillGrid() {
    m_filling = true;
    const MonthCells cells = monthCells(m_shown.year(), m_shown.month());
    for (int r = 0; r < 7; ++r)
        for (int c = 0; c < 7; ++c)
            m_grid->item(r, c)->setText(cells[r][c]);
    m_filling = false;

    // The kinds of this month's marked days, read once rather than at every repaint.
    m_kinds.clear();
    if (m_snapshot && !m_marked.isEmpty())
        for (int day = 1; day <= m_shown.daysInMonth(); ++day) {
            const QString key = dateKey(day, m_shown.month(), m_shown.year());
            if (m_marked.contains(key))
                m_kinds.insert(day, m_snapshot->readInteger(key, dayKey::kind, 1));
        }
    m_grid->viewport()->update();
}

std::optional<core::ColorCode> TFormCalendar::fillAt(int row, int column) const {
    const QTableWidgetItem *item = m_grid->item(row, column);
    if (!item)
        return std::nullopt;
    const QString text = item->text();
    std::optional<int> kind;
    if (row > 0 && !text.isEmpty()) {
        const auto it = m_kinds.constFind(text.toInt());
        if (it != m_kinds.constEnd())
            kind = *it;
    }
    return cellFill(text, row, column, m_marking, kind);
}

QString TFormCalendar::cellKey(int row, int column) const {
    const QTableWidgetItem *item = m_grid->item(row, column);
    return (item ? item->text() : QString()) + u'.' + QString::number(m_shown.month()) + u'.' +
           QString::number(m_shown.year());
}

void TFormCalendar::selectCell(int row, int column) {
    if (row < 0 || column < 0)
        return;
    const QString key = cellKey(row, column);
    if (!m_snapshot || !m_marked.contains(key.toLower())) {
        hideTile();
        m_attachment.clear();
        return;
    }
    const QString text = m_snapshot->readString(key, dayKey::event);
    m_tile->setText(text);
    if (text.isEmpty()) {
        m_tile->hide();
        return;
    }
    // The picture is read on a worker; the tile shows its text until it comes.
    m_tile->clearPicture();
    m_tileKey = key;
    m_pictureRead.start(
        [image = m_snapshot->valueExists(key, dayKey::image)
                     ? std::optional<QString>(m_snapshot->readString(key, dayKey::image))
                     : std::nullopt,
         folder = m_dataFolder, values = m_s.values, size = m_tile->size()] {
            return DayTile::readPicture(image ? *image : defaultDayPicture(folder, values), size);
        },
        [this, key](const QImage &picture) {
            if (key == m_tileKey)
                m_tile->setPicture(picture);
            emit tilePictureRead();
        });
    const QSize cell(m_grid->columnWidth(0) - m_lineWidth, m_grid->rowHeight(0) - m_lineWidth);
    m_tile->move(tilePosition(column, row, m_grid->pos(), cell, m_lineWidth, m_tile->size()));
    m_tile->show();
    m_tile->raise();
    if (!m_timer1.isActive())
        m_timer1.start();
    m_attachment = m_snapshot->readString(key, dayKey::file);
}

void TFormCalendar::pressTile() {
    if (m_attachment.isEmpty() || !m_documents)
        return;
    m_documents->openDocument(m_attachment);
}

void TFormCalendar::onTileTimer() {
    hideTile();
}

void TFormCalendar::onIdleTick() {
    const auto limit = static_cast<std::uint32_t>(qMax(0, m_s.values.pageSeconds)) * 2u;
    if (m_s.idle.idleSeconds() < limit)
        return;
    m_timer2.stop();
    closeScreen();
}

void TFormCalendar::closeScreen() {
    m_timer2.stop();
    if (isVisible())
        accept();
}

void TFormCalendar::setDocumentWindow(web::TFormBrowser *window) {
    if (m_documents)
        disconnect(m_documents, nullptr, this, nullptr);
    m_documents = window;
    if (!window)
        return;
    connect(window, &web::TFormBrowser::callerIdlePaused, this, &TFormCalendar::pauseIdle);
    connect(window, &web::TFormBrowser::callerIdleResumed, this, &TFormCalendar::resumeIdle);
}

void TFormCalendar::pauseIdle() {
    m_timer2.stop();
}

void TFormCalendar::resumeIdle() {
    // The document window may also come from the settings dialog: a hidden calendar stays
    // without its timer.
    if (isVisible())
        m_timer2.start();
}

void TFormCalendar::setMarkingColours(core::ColorCode dayOff, core::ColorCode holiday,
                                      core::ColorCode event) {
    m_marking.dayOff = dayOff;
    m_marking.holiday = holiday;
    m_marking.event = event;
    m_grid->viewport()->update();
}

void TFormCalendar::keyPressEvent(QKeyEvent *event) {
    if (event->key() == Qt::Key_F3 && (event->modifiers() & Qt::ControlModifier)) {
        emit editorRequested();
        return;
    }
    // A visitor's keyboard neither closes the screen (Escape) nor presses a button (Enter).
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_Return ||
        event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TFormCalendar::eventFilter(QObject *watched, QEvent *event) {
    if (watched == m_today && event->type() == QEvent::MouseButtonRelease) {
        goToToday();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace kalmo::calendar
