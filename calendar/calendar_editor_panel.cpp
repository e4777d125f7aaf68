#include "calendar/calendar_editor_panel.h"

#include "calendar/colour_box.h"
#include "calendar/day_tile.h"
#include "calendar/editor_look.h"
#include "core/log.h"
#include "core/strict_int.h"
#include "web/form_browser.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFileInfo>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>

namespace kalmo::calendar {

namespace {

constexpr int kBoxHeight = 22;
constexpr int kLabelGap = 6;

const QString kIni = QStringLiteral("ini");

// The tile's text after a save of an empty text box: the paragraph without words.
QString bareWrapper() {
    return QStringLiteral("<body> <p align=\"center\"> </p> </body>");
}

QPushButton *button(const QString &caption, const QString &name, const QString &hint,
                    QWidget *parent) {
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAccessibleName(QString(caption).replace(u'\n', u' '));
    b->setToolTip(hint);
    // Like the other speed buttons of the program: a press does not take the focus.
    b->setFocusPolicy(Qt::NoFocus);
    b->setAutoDefault(false);
    return b;
}

QLabel *label(const QString &text, QWidget *parent, QPoint at) {
    auto *l = new QLabel(text, parent);
    l->setAccessibleName(text);
    l->move(at);
    l->adjustSize();
    return l;
}

} // namespace

CalendarEditorPanel::CalendarEditorPanel(CalendarEditorServices services, EditorHome home,
                                         QWidget *parent)
    : QWidget(parent), m_s(std::move(services)), m_home(std::move(home)) {
    setObjectName(m_home.kind == EditorHome::Kind::Window ? QStringLiteral("CalendarEditor")
                                                          : QStringLiteral("CalendarPage"));
    createControls();
    connectControls();
}

CalendarEditorPanel::~CalendarEditorPanel() = default;

void CalendarEditorPanel::createControls() {
    setMinimumSize(m_home.size);
    const EditorHome &h = m_home;

    m_date = new QDateEdit(QDate(kPageStartYear, kPageStartMonth, kPageStartDay), this);
    m_date->setObjectName(h.dateControl);
    m_date->setAccessibleName(QStringLiteral("Выберите дату"));
    m_date->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    m_date->setCalendarPopup(true);
    if (!h.calendarTitle.isEmpty())
        m_date->calendarWidget()->setWindowTitle(h.calendarTitle);
    m_date->setToolTip(h.dateHint);
    m_date->setGeometry(h.date);

    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("ListBox1"));
    m_list->setAccessibleName(QStringLiteral("Даты"));
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setGeometry(h.list);

    m_add = button(QStringLiteral("Добавить"), QStringLiteral("SpeedButton1"), h.addHint, this);
    m_delete =
        button(QStringLiteral("Удалить"), QStringLiteral("SpeedButton2"), h.deleteHint, this);
    m_save = button(QStringLiteral("Сохранить\nизменения"), h.saveButton, h.saveHint, this);
    m_fileButton = button(QStringLiteral("Файл доп.\nинформации"), h.fileButton, h.fileHint, this);
    m_pictureButton =
        button(QStringLiteral("Картинка"), QStringLiteral("SpeedButton5"), h.pictureHint, this);
    const std::array<QPushButton *, 5> dayButtons{m_add, m_delete, m_save, m_fileButton,
                                                  m_pictureButton};
    for (std::size_t i = 0; i < dayButtons.size(); ++i)
        dayButtons[i]->setGeometry(QRect(QPoint(h.buttonLeft, h.buttonTops[i]), h.buttonSize));
    m_save->setEnabled(false);

    m_addMenu = new QMenu(m_add);
    m_addMenu->setObjectName(QStringLiteral("PopupMenu1"));
    const std::pair<const char *, DayKind> kinds[] = {
        {"Праздник", kHoliday}, {"Событие", kEvent}, {"Выходной", kDayOff}};
    for (const auto &[caption, kind] : kinds) {
        QAction *action = m_addMenu->addAction(QString::fromUtf8(caption));
        connect(action, &QAction::triggered, this, [this, kind = kind] { addDay(kind); });
    }

    m_text = new QPlainTextEdit(this);
    m_text->setObjectName(QStringLiteral("RichEdit1"));
    m_text->setAccessibleName(QStringLiteral("Текст"));
    QPalette textPalette = m_text->palette();
    textPalette.setColor(QPalette::Base, palette().color(QPalette::Button));
    textPalette.setColor(QPalette::Text, h.textColour);
    m_text->setPalette(textPalette);
    m_text->setGeometry(h.text);

    m_fileBox = new QLineEdit(this);
    m_fileBox->setObjectName(h.fileBox);
    m_fileBox->setAccessibleName(QStringLiteral("Файл доп. информации"));
    m_fileBox->setGeometry(h.file);
    if (!h.pictureBox.isEmpty()) {
        m_pictureBox = new QLineEdit(this);
        m_pictureBox->setObjectName(h.pictureBox);
        m_pictureBox->setAccessibleName(QStringLiteral("Картинка"));
        m_pictureBox->setGeometry(h.picture);
    }

    m_tile = new DayTile(this);
    m_tile->setGeometry(h.tile);
    m_tile->setCursor(Qt::PointingHandCursor);

    const auto lookBox = [&](QWidget *box, const QString &name, const QString &caption, int top) {
        box->setObjectName(name);
        box->setAccessibleName(caption);
        box->setGeometry(h.lookLeft, top, h.lookWidth, kBoxHeight);
        label(caption, this, QPoint(h.lookLeft + h.lookWidth + kLabelGap, top + 3));
    };
    const auto tileRows = tileColourRows();
    for (std::size_t i = 0; i < tileRows.size(); ++i) {
        m_colours[i] = new ColourBox(this);
        lookBox(m_colours[i], QString::fromLatin1(tileRows[i].control),
                QString::fromUtf8(tileRows[i].label), h.colourTops[i]);
    }
    m_font = new QComboBox(this);
    m_font->setEditable(true);
    m_font->setInsertPolicy(QComboBox::NoInsert);
    lookBox(m_font, h.fontBox, h.fontLabel, h.fontTop);
    m_size = new QLineEdit(this);
    lookBox(m_size, h.sizeBox, QStringLiteral("Размер шрифта"), h.sizeTop);

    label(QStringLiteral("Цвета ячеек событий"), this, h.markingLabel);
    const auto markingRows = markingColourRows();
    for (std::size_t i = 0; i < markingRows.size(); ++i) {
        m_colours[7 + i] = new ColourBox(this);
        lookBox(m_colours[7 + i], QString::fromLatin1(markingRows[i].control),
                QString::fromUtf8(markingRows[i].label), h.markingTops[i]);
    }

    const auto weekend = weekendRows();
    const std::array<QPoint, 2> weekendAt{h.saturday, h.sunday};
    std::array<QCheckBox *, 2> boxes{};
    for (std::size_t i = 0; i < weekend.size(); ++i) {
        boxes[i] = new QCheckBox(QString::fromUtf8(weekend[i].label), this);
        boxes[i]->setObjectName(QString::fromLatin1(weekend[i].control));
        boxes[i]->setAccessibleName(boxes[i]->text());
        boxes[i]->move(weekendAt[i]);
        boxes[i]->adjustSize();
    }
    m_saturday = boxes[0];
    m_sunday = boxes[1];

    m_lookSave = new QPushButton(QStringLiteral("Сохранить"), this);
    m_lookSave->setObjectName(h.lookSaveButton);
    m_lookSave->setAccessibleName(m_lookSave->text());
    m_lookSave->setGeometry(h.lookSave);
    // Enter in a box must not press it.
    m_lookSave->setAutoDefault(false);
    if (!h.sizeOnLookButtonEntry)
        m_lookSave->setFocusPolicy(Qt::NoFocus);
}

void CalendarEditorPanel::connectControls() {
    connect(m_list, &QListWidget::itemSelectionChanged, this, [this] {
        if (!m_filling && !m_list->selectedItems().isEmpty())
            selectDay(m_list->row(m_list->selectedItems().constFirst()));
    });
    // A click on the entry already selected reads the day again.
    connect(m_list, &QListWidget::itemClicked, this,
            [this](QListWidgetItem *item) { selectDay(m_list->row(item)); });
    connect(m_add, &QPushButton::clicked, this,
            [this] { m_addMenu->popup(m_add->mapToGlobal(QPoint(0, m_add->height()))); });
    connect(m_delete, &QPushButton::clicked, this, &CalendarEditorPanel::deleteDay);
    connect(m_save, &QPushButton::clicked, this, &CalendarEditorPanel::saveDay);
    connect(m_fileButton, &QPushButton::clicked, this, &CalendarEditorPanel::chooseFile);
    connect(m_pictureButton, &QPushButton::clicked, this, &CalendarEditorPanel::choosePicture);
    connect(m_tile, &DayTile::clicked, this, &CalendarEditorPanel::pressPreview);
    connect(m_lookSave, &QPushButton::clicked, this, &CalendarEditorPanel::saveLookSettings);

    for (int i = 0; i < 7; ++i)
        connect(m_colours[i], &ColourBox::colourChanged, this, [this, i](core::ColorCode code) {
            TileLook look = m_tile->look();
            look.color(i) = code;
            m_tile->setLook(look);
        });
    for (int i = 7; i < 10; ++i)
        connect(m_colours[i], &ColourBox::colourChanged, this, [this, i] {
            if (!m_filling)
                onMarkingColour(i);
        });
    connect(m_font, &QComboBox::currentTextChanged, m_tile, &DayTile::setFontName);
    connect(m_saturday, &QCheckBox::clicked, this,
            [this](bool checked) { onWeekendBox(0, checked); });
    connect(m_sunday, &QCheckBox::clicked, this,
            [this](bool checked) { onWeekendBox(1, checked); });

    m_text->installEventFilter(this);
    m_size->installEventFilter(this);
    if (m_home.sizeOnLookButtonEntry)
        m_lookSave->installEventFilter(this);
}

bool CalendarEditorPanel::eventFilter(QObject *watched, QEvent *event) {
    if (watched == m_text && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        // Character keys, Backspace and Enter among them, mark the day as edited; Delete does
        // not.
        const bool character = key->key() == Qt::Key_Backspace || key->key() == Qt::Key_Return ||
                               key->key() == Qt::Key_Enter || !key->text().isEmpty();
        if (character && key->key() != Qt::Key_Delete)
            m_save->setEnabled(true);
    } else if ((watched == m_size || watched == m_lookSave) && event->type() == QEvent::FocusIn) {
        // Entering the control, not its window coming back to the front: after the message
        // about a bad size the focus returns here, and must not raise the message again.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            applySizeToPreview();
    }
    return QWidget::eventFilter(watched, event);
}

ColourBox *CalendarEditorPanel::colourBox(int n) const {
    return n >= 1 && n <= 10 ? m_colours[n - 1] : nullptr;
}

void CalendarEditorPanel::setDocumentWindow(web::TFormBrowser *window) {
    m_documents = window;
}

void CalendarEditorPanel::open(const QString &path) {
    m_file = std::make_unique<CalendarFile>(path, CalendarFile::Mode::Live,
                                            CalendarFile::kEditorValueLimit);
    m_filling = true;
    m_list->clear();
    for (const QString &section : m_file->sections())
        if (section.compare(kIni, Qt::CaseInsensitive) != 0)
            m_list->addItem(section);
    if (m_home.dateFollowsToday && m_s.today)
        m_date->setDate(m_s.today());
    m_save->setEnabled(false);
    const EditorLook look = readEditorLook(*m_file);
    for (int i = 0; i < 7; ++i)
        m_colours[i]->setColour(look.tile.color(i));
    m_colours[7]->setColour(look.marking.dayOff);
    m_colours[8]->setColour(look.marking.holiday);
    m_colours[9]->setColour(look.marking.event);
    m_markingStored = {look.marking.dayOff, look.marking.holiday, look.marking.event};
    m_size->setText(QString::number(look.tile.fontSize));
    // Listed at the first opening, not when the kiosk starts: most runs never open an editor.
    if (m_font->count() == 0)
        m_font->addItems(QFontDatabase::families());
    m_font->setEditText(look.tile.fontName);
    m_saturday->setChecked(look.marking.saturday);
    m_sunday->setChecked(look.marking.sunday);
    m_tile->setLook(look.tile);
    m_filling = false;
    qCDebug(kalmo::lcCalendar).noquote()
        << "calendar editor opened on" << path << "with" << m_list->count() << "days";
}

void CalendarEditorPanel::release() {
    m_file.reset();
}

QString CalendarEditorPanel::picturePath() const {
    return m_pictureBox ? m_pictureBox->text() : m_picture;
}

void CalendarEditorPanel::setPicturePath(const QString &path) {
    if (m_pictureBox)
        m_pictureBox->setText(path);
    else
        m_picture = path;
}

DayContent CalendarEditorPanel::content() const {
    return {m_text->toPlainText(), picturePath(), m_fileBox->text()};
}

QString CalendarEditorPanel::selectedKey() const {
    const QList<QListWidgetItem *> selected = m_list->selectedItems();
    return selected.isEmpty() ? QString() : selected.constFirst()->text();
}

bool CalendarEditorPanel::write(const std::function<void()> &action) {
    if (!m_file) {
        m_s.messages.show(kNotOpen);
        return false;
    }
    try {
        action();
        return true;
    } catch (const core::IniWriteError &e) {
        qCWarning(kalmo::lcCalendar).noquote() << "calendar editor:" << e.text();
        m_s.messages.show(e.text());
        return false;
    }
}

void CalendarEditorPanel::selectDay(int row) {
    if (!m_file || row < 0 || row >= m_list->count())
        return;
    m_filling = true;
    m_list->setCurrentRow(row);
    m_filling = false;
    const QString key = m_list->item(row)->text();
    m_text->clear();
    m_fileBox->clear();
    if (m_pictureBox)
        m_pictureBox->clear();
    const StoredDay day = readDay(*m_file, key, m_home.pictureWithoutKey);
    setPicturePath(day.picture);
    m_fileBox->setText(day.file);
    m_tile->loadPicture(day.picture);
    m_tile->setText(day.event);
    m_text->setPlainText(eventPlainText(day.event));
    m_save->setEnabled(true);
}

void CalendarEditorPanel::addDay(DayKind kind) {
    const QString key = dateKey(m_date->date());
    const DayContent current = content();
    const QList<QListWidgetItem *> listed = m_list->findItems(key, Qt::MatchFixedString);
    if (!listed.isEmpty()) {
        // Made pending, the listed day would get the next Add's content over its own.
        const int row = m_list->row(listed.constFirst());
        if (write([&] { m_days.mark(*m_file, key, kind, current); }))
            selectDay(row);
        return;
    }
    const bool added = write([&] {
        // The new entry is listed but not selected.
        m_days.add(*m_file, key, kind, current, [&] {
            m_filling = true;
            m_list->addItem(key);
            m_filling = false;
        });
    });
    if (!added)
        return;
    if (m_home.addResetsPicture)
        setPicturePath(m_s.values.asset(QStringLiteral("image/event.png")));
    m_fileBox->clear();
}

void CalendarEditorPanel::saveDay() {
    const QString key = selectedKey();
    if (key.isEmpty())
        return;
    const DayContent day = content();
    if (!write([&] { m_days.save(*m_file, key, day); }))
        return;
    m_tile->setText(day.text.isEmpty() ? bareWrapper() : eventTextForm(day.text));
    m_save->setEnabled(false);
}

void CalendarEditorPanel::deleteDay() {
    const QList<QListWidgetItem *> selected = m_list->selectedItems();
    if (selected.isEmpty())
        return;
    const int row = m_list->row(selected.constFirst());
    const QString key = selected.constFirst()->text();
    if (!write([&] { m_days.remove(*m_file, key); }))
        return;
    m_filling = true;
    delete m_list->takeItem(row);
    m_list->clearSelection();
    m_list->setCurrentRow(-1);
    m_filling = false;
    m_text->clear();
    m_tile->clearPicture();
    m_tile->setText(QString());
    setPicturePath(QString());
    m_fileBox->clear();
}

void CalendarEditorPanel::choosePicture() {
    const QFileInfo current(picturePath().trimmed());
    const QString start = current.isFile() ? current.absolutePath()
                                           : m_s.values.baseFolder + QStringLiteral("image/");
    QPointer<CalendarEditorPanel> self(this);
    m_s.dialogs.openFile(QStringLiteral("Картинка"), start,
                         QStringLiteral("Картинки (*.jpg *.jpeg *.png *.bmp *.gif *.JPG *.JPEG "
                                        "*.PNG *.BMP *.GIF)"),
                         [self](const QString &path) {
                             if (!self || path.isEmpty())
                                 return;
                             self->setPicturePath(path);
                             self->m_tile->loadPicture(path);
                         });
}

void CalendarEditorPanel::chooseFile() {
    m_save->setEnabled(true);
    const QFileInfo current(m_fileBox->text());
    const QString start = current.isFile() ? current.absolutePath() : m_s.values.baseFolder;
    QPointer<CalendarEditorPanel> self(this);
    m_s.dialogs.openFile(QStringLiteral("Файл доп. информации"), start, QString(),
                         [self](const QString &path) {
                             if (self && !path.isEmpty())
                                 self->m_fileBox->setText(path);
                         });
}

void CalendarEditorPanel::pressPreview() {
    if (m_fileBox->text().isEmpty() || !m_documents)
        return;
    m_documents->openDocument(m_fileBox->text());
}

bool CalendarEditorPanel::applySizeToPreview() {
    try {
        m_tile->setFontSize(core::toIntStrict(m_size->text()));
        return true;
    } catch (const core::ConversionError &e) {
        m_s.messages.show(e.text());
        return false;
    }
}

void CalendarEditorPanel::saveLookSettings() {
    LookSave look;
    look.sizeText = m_size->text();
    look.fontName = m_font->currentText();
    for (int i = 0; i < 7; ++i)
        look.tile[i] = m_colours[i]->colour();
    for (int i = 0; i < 3; ++i)
        look.marking[i] = m_colours[7 + i]->colour();
    if (!write([&] { saveLook(*m_file, look); }))
        return;
    applySizeToPreview();
}

void CalendarEditorPanel::onMarkingColour(int index) {
    const LookRow &row = markingColourRows()[index - 7];
    const core::ColorCode code = m_colours[index]->colour();
    if (!write([&] { m_file->writeColor(kIni, QString::fromLatin1(row.key), code); })) {
        // The box goes back to what the file still holds.
        m_filling = true;
        m_colours[index]->setColour(m_markingStored[index - 7]);
        m_filling = false;
        return;
    }
    m_markingStored[index - 7] = code;
    emit markingColoursChanged(m_colours[7]->colour(), m_colours[8]->colour(),
                               m_colours[9]->colour());
}

void CalendarEditorPanel::onWeekendBox(int index, bool checked) {
    const LookRow &row = weekendRows()[index];
    if (!write([&] { m_file->writeBool(kIni, QString::fromLatin1(row.key), checked); }))
        (index == 0 ? m_saturday : m_sunday)->setChecked(!checked);
}

} // namespace kalmo::calendar
