#pragma once

#include "admin/dialog_files.h"
#include "admin/general_settings.h"
#include "admin/main_screen_hooks.h"
#include "core/dialogs.h"
#include "core/messages.h"
#include "core/program_values.h"

#include <QWidget>
#include <array>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kalmo::admin {

// What the general page works with.
struct GeneralPageServices {
    core::ProgramValues &values;
    core::Messages &messages;
    core::Dialogs &dialogs;
    MainScreenHooks hooks;
};

// "Основные настройки": the main screen's settings, the settings-file location, the theme,
// the weather town and the password change.
class GeneralPage : public QWidget {
    Q_OBJECT
public:
    explicit GeneralPage(GeneralPageServices services, QWidget *parent = nullptr);

    // The bell page's "Отображать расписание..." box, which this page loads and stores.
    void setScheduleViewBox(QCheckBox *box);

    // Showing, first part: the settings files the dialog works on until it closes.
    const DialogFiles &fixFiles();
    // Showing, second part: the page from the main settings file, the program-wide values,
    // the lists. False when a time value in the file is not a number (reported): the lists
    // then keep what they held and the other pages are not to be loaded.
    bool fill();
    // Closing: unsaved edits give way to what the file holds.
    void resetFromFile();
    const DialogFiles &files() const { return m_files; }

    // Buttons.
    void save();
    void applyTheme();
    void browsePhotoFolder();
    void browseVideoFolder();
    void browseTextFile();
    void browseSettingsFile();
    // A key released in the city-code entry: the code goes to the file at once.
    void cityCodeTyped();

    // What the page's controls hold now, in the file's terms.
    GeneralSettings contents() const;

    enum Caption { Site, Calendar, Photo, Schedule, Video };
    QLineEdit *currentPassword() const { return m_currentPassword; }
    QLineEdit *newPassword() const { return m_newPassword; }
    QComboBox *themeList() const { return m_theme; }
    QLineEdit *photoFolder() const { return m_photoFolder; }
    QLineEdit *videoFolder() const { return m_videoFolder; }
    QLineEdit *textFile() const { return m_textFile; }
    QLabel *textCount() const { return m_textCount; }
    QCheckBox *settingsFileBox() const { return m_settingsFileBox; }
    QLineEdit *settingsFile() const { return m_settingsFile; }
    QPushButton *settingsFileBrowse() const { return m_browseSettings; }
    QComboBox *fontList() const { return m_fontName; }
    QLineEdit *fontSize() const { return m_fontSize; }
    QCheckBox *bold() const { return m_bold; }
    QCheckBox *italic() const { return m_italic; }
    QCheckBox *underline() const { return m_underline; }
    QLineEdit *caption(Caption which) const { return m_captions[which]; }
    QLineEdit *site() const { return m_site; }
    QLineEdit *siteFontSize() const { return m_siteFontSize; }
    QLineEdit *rereadInterval() const { return m_rereadInterval; }
    QLineEdit *textStep() const { return m_textStep; }
    QLineEdit *slideInterval() const { return m_slideInterval; }
    QLineEdit *pageTimeout() const { return m_pageTimeout; }
    QLineEdit *powerOn() const { return m_powerOn; }
    QLineEdit *powerOff() const { return m_powerOff; }
    QLineEdit *powerDays() const { return m_powerDays; }
    QCheckBox *weather() const { return m_weather; }
    QComboBox *cityList() const { return m_city; }
    QLineEdit *cityCode() const { return m_cityCode; }
    QPushButton *saveButton() const { return m_save; }
    QPushButton *closeButton() const { return m_close; }

signals:
    void closeRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createControls();
    void show(const GeneralSettings &s);
    void enableSettingsFileRow(bool on);
    void citySelected(int index);
    void checkRunningText();
    void showPasswordError();
    bool saveSteps();
    void report(const QString &text);

    GeneralPageServices m_s;
    DialogFiles m_files;
    QCheckBox *m_scheduleView = nullptr;

    QLineEdit *m_currentPassword;
    QLineEdit *m_newPassword;
    QComboBox *m_theme;
    QPushButton *m_applyTheme;
    QLineEdit *m_photoFolder;
    QPushButton *m_browsePhoto;
    QLineEdit *m_videoFolder;
    QPushButton *m_browseVideo;
    QLineEdit *m_textFile;
    QPushButton *m_browseText;
    QLabel *m_textCount;
    QCheckBox *m_settingsFileBox;
    QLineEdit *m_settingsFile;
    QPushButton *m_browseSettings;
    QComboBox *m_fontName;
    QLineEdit *m_fontSize;
    QCheckBox *m_bold;
    QCheckBox *m_italic;
    QCheckBox *m_underline;
    std::array<QLineEdit *, 5> m_captions{};
    QLineEdit *m_site;
    QLineEdit *m_siteFontSize;
    QLineEdit *m_rereadInterval;
    QLineEdit *m_textStep;
    QLineEdit *m_slideInterval;
    QLineEdit *m_pageTimeout;
    QLineEdit *m_powerOn;
    QLineEdit *m_powerOff;
    QLineEdit *m_powerDays;
    QCheckBox *m_weather;
    QComboBox *m_city;
    QLineEdit *m_cityCode;
    QPushButton *m_save;
    QPushButton *m_close;
};

} // namespace kalmo::admin
