#include "admin/general_page.h"

#include "admin/city_table.h"
#include "admin/password_change.h"
#include "admin/running_text_check.h"
#include "core/ini_file.h"
#include "core/log.h"
#include "core/strict_int.h"
#include "core/theme.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kalmo::admin {

namespace {

// Tall enough to hit with a finger.
constexpr int kTouchHeight = 30;

const QString kWrongPassword = QStringLiteral("Неверный пароль");

template <typename T> T *touch(T *w, const QString &accessibleName, const char *objectName) {
    w->setObjectName(QLatin1String(objectName));
    w->setAccessibleName(accessibleName);
    w->setMinimumHeight(kTouchHeight);
    return w;
}

QLineEdit *entry(QWidget *parent, const QString &accessibleName, const char *objectName) {
    return touch(new QLineEdit(parent), accessibleName, objectName);
}

QPushButton *button(QWidget *parent, const QString &caption, const char *objectName) {
    auto *b = touch(new QPushButton(caption, parent), caption, objectName);
    b->setAutoDefault(false);
    return b;
}

QCheckBox *checkBox(QWidget *parent, const QString &caption, const char *objectName) {
    return touch(new QCheckBox(caption, parent), caption, objectName);
}

QLabel *label(QWidget *parent, const QString &text) {
    auto *l = new QLabel(text, parent);
    l->setMinimumHeight(kTouchHeight - 8);
    return l;
}

QWidget *row(QWidget *parent, std::initializer_list<QWidget *> widgets) {
    auto *holder = new QWidget(parent);
    auto *layout = new QHBoxLayout(holder);
    layout->setContentsMargins(0, 0, 0, 0);
    for (QWidget *w : widgets)
        layout->addWidget(w, qobject_cast<QLineEdit *>(w) || qobject_cast<QComboBox *>(w) ? 1 : 0);
    return holder;
}

} // namespace

GeneralPage::GeneralPage(GeneralPageServices services, QWidget *parent)
    : QWidget(parent), m_s(std::move(services)) {
    setObjectName(QStringLiteral("TabSheet1"));
    createControls();

    connect(m_applyTheme, &QPushButton::clicked, this, &GeneralPage::applyTheme);
    connect(m_browsePhoto, &QPushButton::clicked, this, &GeneralPage::browsePhotoFolder);
    connect(m_browseVideo, &QPushButton::clicked, this, &GeneralPage::browseVideoFolder);
    connect(m_browseText, &QPushButton::clicked, this, &GeneralPage::browseTextFile);
    connect(m_browseSettings, &QPushButton::clicked, this, &GeneralPage::browseSettingsFile);
    connect(m_settingsFileBox, &QCheckBox::toggled, this, &GeneralPage::enableSettingsFileRow);
    connect(m_city, &QComboBox::activated, this, &GeneralPage::citySelected);
    connect(m_save, &QPushButton::clicked, this, &GeneralPage::save);
    connect(m_close, &QPushButton::clicked, this, &GeneralPage::closeRequested);
    // The error text shown in the current-password entry gives way to typing.
    connect(m_currentPassword, &QLineEdit::textEdited, this,
            [this] { m_currentPassword->setEchoMode(QLineEdit::Password); });
    m_cityCode->installEventFilter(this);
    // The box starts unticked, and the row with it.
    enableSettingsFileRow(false);
}

void GeneralPage::createControls() {
    m_currentPassword = entry(this, QStringLiteral("Текущий пароль"), "currentPassword");
    m_newPassword = entry(this, QStringLiteral("Новый пароль"), "newPassword");
    for (QLineEdit *e : {m_currentPassword, m_newPassword}) {
        e->setEchoMode(QLineEdit::Password);
        e->setStyleSheet(QStringLiteral("lineedit-password-character: 42;")); // '*'
    }

    m_theme = touch(new QComboBox(this), QStringLiteral("Стиль оформления"), "themeList");
    m_theme->setEditable(true);
    m_theme->setInsertPolicy(QComboBox::NoInsert);
    m_applyTheme = button(this, QStringLiteral("Сменить стиль"), "applyTheme");

    const QString browse = QStringLiteral("Обзор");
    m_photoFolder = entry(this, QStringLiteral("Каталог фото"), "photoFolder");
    m_browsePhoto = button(this, browse, "browsePhotoFolder");
    m_videoFolder = entry(this, QStringLiteral("Каталог видео"), "videoFolder");
    m_browseVideo = button(this, browse, "browseVideoFolder");
    const QString textCaption = QStringLiteral("Файл с текстом для бегущей строки");
    m_textFile = entry(this, textCaption, "textFile");
    m_browseText = button(this, browse, "browseTextFile");
    m_textCount = new QLabel(this);
    m_textCount->setObjectName(QStringLiteral("textCount"));
    m_textCount->setMinimumWidth(90);
    const QString settingsCaption = QStringLiteral("Расположение файла настроек");
    m_settingsFileBox = checkBox(this, QString(), "settingsFileBox");
    m_settingsFileBox->setAccessibleName(settingsCaption);
    m_settingsFile = entry(this, settingsCaption, "settingsFile");
    m_browseSettings = button(this, browse, "browseSettingsFile");
    for (QLineEdit *e : {m_photoFolder, m_videoFolder, m_textFile, m_settingsFile})
        e->setReadOnly(true);

    m_fontName = touch(new QComboBox(this), QStringLiteral("Шрифт"), "fontList");
    m_fontName->setEditable(true);
    m_fontName->setInsertPolicy(QComboBox::NoInsert);
    m_fontSize = entry(this, QStringLiteral("Размер шрифта"), "fontSize");
    m_bold = checkBox(this, QStringLiteral("Жирный"), "bold");
    m_italic = checkBox(this, QStringLiteral("Курсив"), "italic");
    m_underline = checkBox(this, QStringLiteral("Подчеркнутый"), "underline");

    const char *captionNames[] = {"captionSite", "captionCalendar", "captionPhoto",
                                  "captionSchedule", "captionVideo"};
    const QString captionRows[] = {QStringLiteral("сайт"), QStringLiteral("календарь"),
                                   QStringLiteral("фото"), QStringLiteral("расписание"),
                                   QStringLiteral("видео")};
    for (int i = 0; i < 5; ++i)
        m_captions[i] =
            entry(this, QStringLiteral("Надписи кнопок: ") + captionRows[i], captionNames[i]);
    m_site = entry(this, QStringLiteral("Адрес сайта"), "site");
    m_siteFontSize = entry(this, QStringLiteral("Размер шрифта"), "siteFontSize");
    m_rereadInterval =
        entry(this, QStringLiteral("Интервал считывания настроек"), "rereadInterval");
    m_textStep = entry(this, QStringLiteral("Скорость бегущей строки"), "textStep");
    m_slideInterval = entry(this, QStringLiteral("Интервал между слайдами"), "slideInterval");
    m_pageTimeout =
        entry(this, QStringLiteral("Время ожидания до открытия основоного окна программы"),
              "pageTimeout");
    m_powerOn = entry(this, QStringLiteral("Экран работает с"), "powerOn");
    m_powerOff = entry(this, QStringLiteral("Экран работает до"), "powerOff");
    m_powerDays = entry(this, QStringLiteral("Дни работы экрана"), "powerDays");
    for (QLineEdit *e : {m_powerOn, m_powerOff})
        e->setPlaceholderText(QStringLiteral("ч:мм"));
    m_powerDays->setPlaceholderText(QStringLiteral("12345"));
    m_powerDays->setToolTip(QStringLiteral("Цифры дней недели: 1 - понедельник, 7 - воскресенье"));
    m_weather = checkBox(this, QStringLiteral("Отображать прогноз погоды"), "weather");
    const QString cityCaption = QStringLiteral("Выберите город или укажите код города");
    m_city = touch(new QComboBox(this), cityCaption, "cityList");
    m_city->setPlaceholderText(QStringLiteral("Города"));
    m_city->setMaxVisibleItems(12);
    m_cityCode = entry(this, cityCaption, "cityCode");
    m_cityCode->setMaximumWidth(110);
    m_save = button(this, QStringLiteral("Сохранить"), "save");
    m_close = button(this, QStringLiteral("Закрыть"), "close");
    for (QPushButton *b : {m_save, m_close})
        b->setMinimumWidth(120);

    // Left column: access, look and files; right column: the main screen's texts and times.
    auto *left = new QGridLayout;
    int r = 0;
    const auto add = [](QGridLayout *g, int &at, QWidget *caption, QWidget *field) {
        if (caption)
            g->addWidget(caption, at, 0);
        g->addWidget(field, at, caption ? 1 : 0, 1, caption ? 1 : 2);
        ++at;
    };
    add(left, r, nullptr, label(this, QStringLiteral("Смена пароля")));
    add(left, r, label(this, QStringLiteral("Текущий пароль")), m_currentPassword);
    add(left, r, label(this, QStringLiteral("Новый пароль")), m_newPassword);
    add(left, r, label(this, QStringLiteral("Стиль оформления")),
        row(this, {m_theme, m_applyTheme}));
    add(left, r, label(this, QStringLiteral("Каталог фото")),
        row(this, {m_photoFolder, m_browsePhoto}));
    add(left, r, label(this, QStringLiteral("Каталог видео")),
        row(this, {m_videoFolder, m_browseVideo}));
    add(left, r, label(this, QStringLiteral("Файл с текстом для \nбегущей строки")),
        row(this, {m_textFile, m_browseText, m_textCount}));
    add(left, r, label(this, settingsCaption),
        row(this, {m_settingsFileBox, m_settingsFile, m_browseSettings}));
    add(left, r, label(this, QStringLiteral("Шрифт")),
        row(this, {m_fontName, label(this, QStringLiteral("Размер шрифта")), m_fontSize}));
    m_fontSize->setMaximumWidth(60);
    add(left, r, nullptr, row(this, {m_bold, m_italic, m_underline}));
    add(left, r, nullptr, m_weather);
    add(left, r, nullptr, label(this, cityCaption));
    add(left, r, nullptr, row(this, {m_city, m_cityCode}));
    left->setRowStretch(r, 1);

    auto *right = new QGridLayout;
    r = 0;
    add(right, r, nullptr, label(this, QStringLiteral("Надписи кнопок")));
    for (int i = 0; i < 5; ++i)
        add(right, r, label(this, captionRows[i]), m_captions[i]);
    add(right, r, label(this, QStringLiteral("Размер шрифта")), m_siteFontSize);
    add(right, r, label(this, QStringLiteral("Адрес сайта")), m_site);
    const auto withUnit = [this](QLineEdit *e, const QString &unit) {
        e->setMaximumWidth(80);
        auto *holder = row(this, {e, label(this, unit)});
        static_cast<QHBoxLayout *>(holder->layout())->addStretch(1);
        return holder;
    };
    add(right, r, label(this, QStringLiteral("Интервал считывания настроек")),
        withUnit(m_rereadInterval, QStringLiteral("мин.")));
    add(right, r, label(this, QStringLiteral("Скорость бегущей строки")),
        withUnit(m_textStep, QStringLiteral("Ед.")));
    add(right, r, label(this, QStringLiteral("Интервал между слайдами")),
        withUnit(m_slideInterval, QStringLiteral("сек.")));
    add(right, r,
        label(this, QStringLiteral("Время ожидания до открытия\nосновоного окна программы")),
        withUnit(m_pageTimeout, QStringLiteral("сек")));
    // Outside these hours the kiosk sleeps; no times: it never does.
    m_powerOn->setMaximumWidth(60);
    m_powerOff->setMaximumWidth(60);
    m_powerDays->setMaximumWidth(80);
    add(right, r, label(this, QStringLiteral("Экран работает с")),
        row(this, {m_powerOn, label(this, QStringLiteral("до")), m_powerOff,
                   label(this, QStringLiteral("дни")), m_powerDays}));
    right->setRowStretch(r, 1);

    auto *columns = new QHBoxLayout;
    columns->addLayout(left, 3);
    columns->addSpacing(12);
    columns->addLayout(right, 2);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_save);
    buttons->addWidget(m_close);
    auto *page = new QVBoxLayout(this);
    page->setContentsMargins(8, 6, 8, 6);
    page->setSpacing(4);
    page->addLayout(columns, 1);
    page->addLayout(buttons);
    for (QGridLayout *g : {left, right}) {
        g->setVerticalSpacing(3);
        g->setColumnStretch(1, 1);
    }
}

void GeneralPage::setScheduleViewBox(QCheckBox *box) {
    m_scheduleView = box;
}

void GeneralPage::report(const QString &text) {
    m_s.messages.show(text);
}

const DialogFiles &GeneralPage::fixFiles() {
    const QString pointer = pointerFilePath(m_s.values);
    m_settingsFile->setText(core::IniFile(pointer).readString(
        QStringLiteral("file"), QStringLiteral("filedir"), defaultMainSettingsPath(m_s.values)));
    if (settingsPathUnreachable(m_settingsFile->text()))
        report(QStringLiteral("Не доступен файл настроек, проверьте доступ к файлу!"));
    // The files the pages work on until the dialog closes.
    m_files = DialogFiles::forMainFile(pointer, m_settingsFile->text());
    return m_files;
}

bool GeneralPage::fill() {
    const core::IniFile ini(m_files.main, core::IniFile::Mode::Snapshot);
    GeneralSettings s = contents();
    readGeneralForShowing(ini, s);
    show(s);
    try {
        refreshValuesForShowing(ini, m_s.values);
    } catch (const core::ConversionError &e) {
        report(e.text());
        return false;
    }
    enableSettingsFileRow(m_settingsFileBox->isChecked());
    for (QLineEdit *e : {m_currentPassword, m_newPassword}) {
        e->clear();
        e->setEchoMode(QLineEdit::Password);
    }
    // The lists are refilled; their texts stay as the file gave them.
    m_theme->clear();
    m_theme->addItems(core::Themes::names());
    m_theme->setEditText(s.theme);
    m_fontName->clear();
    m_fontName->addItems(QFontDatabase::families());
    m_fontName->setEditText(s.fontName);
    m_city->clear();
    for (const City &c : cityTable())
        m_city->addItem(c.name);
    m_city->setCurrentIndex(cityIndexOfCode(m_s.values.cityCode));
    m_cityCode->setText(m_s.values.cityCode);
    return true;
}

void GeneralPage::resetFromFile() {
    GeneralSettings s = contents();
    readGeneralForClosing(core::IniFile(m_files.main, core::IniFile::Mode::Snapshot), s);
    show(s);
}

GeneralSettings GeneralPage::contents() const {
    GeneralSettings s;
    s.site = m_site->text();
    s.buttonSite = m_captions[Site]->text();
    s.buttonCalendar = m_captions[Calendar]->text();
    s.buttonPhoto = m_captions[Photo]->text();
    s.buttonSchedule = m_captions[Schedule]->text();
    s.buttonVideo = m_captions[Video]->text();
    s.slideInterval = m_slideInterval->text();
    s.pageTimeout = m_pageTimeout->text();
    s.rereadInterval = m_rereadInterval->text();
    s.photoFolder = m_photoFolder->text();
    s.videoFolder = m_videoFolder->text();
    s.textFile = m_textFile->text();
    s.textStep = m_textStep->text();
    s.theme = m_theme->currentText();
    s.fontName = m_fontName->currentText();
    s.fontSize = m_fontSize->text();
    s.siteFontSize = m_siteFontSize->text();
    s.bold = m_bold->isChecked();
    s.italic = m_italic->isChecked();
    s.underline = m_underline->isChecked();
    s.weather = m_weather->isChecked();
    s.scheduleView = m_scheduleView ? m_scheduleView->isChecked() : true;
    s.cityCode = m_cityCode->text();
    s.powerOn = m_powerOn->text();
    s.powerOff = m_powerOff->text();
    s.powerDays = m_powerDays->text();
    return s;
}

void GeneralPage::show(const GeneralSettings &s) {
    m_site->setText(s.site);
    m_captions[Site]->setText(s.buttonSite);
    m_captions[Calendar]->setText(s.buttonCalendar);
    m_captions[Photo]->setText(s.buttonPhoto);
    m_captions[Schedule]->setText(s.buttonSchedule);
    m_captions[Video]->setText(s.buttonVideo);
    m_slideInterval->setText(s.slideInterval);
    m_pageTimeout->setText(s.pageTimeout);
    m_rereadInterval->setText(s.rereadInterval);
    m_photoFolder->setText(s.photoFolder);
    m_videoFolder->setText(s.videoFolder);
    m_textFile->setText(s.textFile);
    m_textStep->setText(s.textStep);
    m_theme->setEditText(s.theme);
    m_fontName->setEditText(s.fontName);
    m_fontSize->setText(s.fontSize);
    m_siteFontSize->setText(s.siteFontSize);
    m_bold->setChecked(s.bold);
    m_italic->setChecked(s.italic);
    m_underline->setChecked(s.underline);
    m_weather->setChecked(s.weather);
    if (m_scheduleView)
        m_scheduleView->setChecked(s.scheduleView);
    m_cityCode->setText(s.cityCode);
    m_powerOn->setText(s.powerOn);
    m_powerOff->setText(s.powerOff);
    m_powerDays->setText(s.powerDays);
}

void GeneralPage::enableSettingsFileRow(bool on) {
    m_settingsFile->setEnabled(on);
    m_browseSettings->setEnabled(on);
}

void GeneralPage::save() {
    if (!saveSteps())
        return;
    // The password last, once the other settings are stored.
    try {
        switch (changePassword(m_s.values, m_files.pointer, m_currentPassword->text(),
                               m_newPassword->text())) {
        case PasswordChange::WrongCurrent:
            showPasswordError();
            break;
        case PasswordChange::Changed:
            qCInfo(kalmo::lcAdmin) << "password changed";
            break;
        case PasswordChange::Unchanged:
            break;
        }
    } catch (const core::IniWriteError &e) {
        report(e.text());
    }
}

bool GeneralPage::saveSteps() {
    core::IniFile ini(m_files.main);
    const MainScreenHooks &hooks = m_s.hooks;
    core::ProgramValues &values = m_s.values;
    try {
        // One replacement of the file.
        writeGeneral(ini, contents());
        const DeferredNumbers later = refreshValuesForSave(ini, values);
        checkPowerValues(ini);
        if (hooks.setRereadInterval)
            hooks.setRereadInterval(values.rereadMs);
        const int fontSize = core::toIntStrict(later.fontSize);
        const int siteFontSize = core::toIntStrict(later.siteFontSize);
        values.fontSize = fontSize;
        values.siteFontSize = siteFontSize;
        if (hooks.applyFontsAndSiteCaption)
            hooks.applyFontsAndSiteCaption();
        values.scrollingStep = core::toIntStrict(later.textStep);
        if (hooks.reloadRunningText)
            hooks.reloadRunningText();
    } catch (const core::IniWriteError &e) {
        report(e.text());
        return false;
    } catch (const core::ConversionError &e) {
        report(e.text());
        return false;
    }
    if (hooks.rebuildPhotoList)
        hooks.rebuildPhotoList();
    values.theme = ini.readString(QStringLiteral("style"), QStringLiteral("styletest"),
                                  QStringLiteral("Ошибка при чтении!"));
    return true;
}

void GeneralPage::showPasswordError() {
    // Readable, so the administrator sees why nothing changed.
    m_currentPassword->setEchoMode(QLineEdit::Normal);
    m_currentPassword->setText(kWrongPassword);
}

void GeneralPage::applyTheme() {
    const QString name = m_theme->currentText();
    try {
        core::IniFile(m_files.main)
            .writeString(QStringLiteral("style"), QStringLiteral("styletest"), name);
    } catch (const core::IniWriteError &e) {
        report(e.text());
        return;
    }
    if (m_s.hooks.applyTheme)
        m_s.hooks.applyTheme(name);
}

void GeneralPage::browsePhotoFolder() {
    m_s.dialogs.pickFolder(QStringLiteral("Выбор каталога с фото"), m_photoFolder->text(),
                           [this](QString folder) {
                               if (folder.isEmpty())
                                   return;
                               if (!folder.endsWith(u'/'))
                                   folder += u'/';
                               m_photoFolder->setText(folder);
                           });
}

void GeneralPage::browseVideoFolder() {
    m_s.dialogs.pickFolder(QStringLiteral("Выбор каталога с видео"), m_videoFolder->text(),
                           [this](QString folder) {
                               if (folder.isEmpty())
                                   return;
                               if (!folder.endsWith(u'/'))
                                   folder += u'/';
                               m_videoFolder->setText(folder);
                           });
}

void GeneralPage::browseTextFile() {
    m_s.dialogs.openFile(QString(), m_textFile->text(), QStringLiteral("*.txt"),
                         [this](const QString &file) {
                             if (!file.isEmpty())
                                 m_textFile->setText(file);
                             checkRunningText();
                         });
}

void GeneralPage::checkRunningText() {
    QString error;
    const std::optional<RunningTextCount> count =
        countRunningText(m_s.values.resolve(m_textFile->text()), &error);
    if (!count) {
        report(error);
        return;
    }
    m_textCount->setText(count->label());
    if (count->tooLong())
        report(kRunningTextTooLong);
}

void GeneralPage::browseSettingsFile() {
    m_s.dialogs.openFile(
        QStringLiteral("Укажите файл настроек"), m_settingsFile->text(),
        QStringLiteral("kalmora (*.ini)"), [this](const QString &file) {
            if (!file.isEmpty())
                m_settingsFile->setText(file);
            // The program follows the new file at once; this showing keeps its own files.
            m_s.values.mainSettingsPath = m_settingsFile->text();
            try {
                core::IniFile(m_files.pointer)
                    .writeString(QStringLiteral("file"), QStringLiteral("filedir"),
                                 m_settingsFile->text());
            } catch (const core::IniWriteError &e) {
                report(e.text());
                return;
            }
            report(QStringLiteral("Для применения настроек сохраните\r\nи перезапустите "
                                  "программу!!!"));
        });
}

void GeneralPage::citySelected(int index) {
    if (index >= 0 && index < cityTable().size())
        m_cityCode->setText(cityTable()[index].code);
}

void GeneralPage::cityCodeTyped() {
    try {
        core::IniFile(m_files.main)
            .writeString(QStringLiteral("weather"), QStringLiteral("sity"), m_cityCode->text());
    } catch (const core::IniWriteError &e) {
        report(e.text());
        return;
    }
    const int index = cityIndexOfCode(m_cityCode->text());
    if (index >= 0)
        m_city->setCurrentIndex(index);
}

bool GeneralPage::eventFilter(QObject *watched, QEvent *event) {
    if (watched == m_cityCode && event->type() == QEvent::KeyRelease)
        cityCodeTyped();
    return QWidget::eventFilter(watched, event);
}

} // namespace kalmo::admin
