#pragma once

#include "core/ini_file.h"
#include "core/messages.h"
#include "core/program_values.h"

#include <QSet>
#include <QString>

namespace kalmo::app {

// The pointer file and the main settings file: start reads, first-start writing and the
// periodic re-read, all into the program-wide values.
//
// Bad input never stops the kiosk: an integer key that is not a number is reported once and
// its default used; a refused write is reported and the kiosk goes on with what it has.
class SettingsFiles {
public:
    SettingsFiles(core::ProgramValues &values, core::Messages &messages);

    static QString defaultSite();
    static QString defaultInformerBase();
    QString pointerPath() const;
    QString defaultMainPath() const;

    // Pointer file at start: path and password in force, then its own first start.
    void readPointerAtStart();
    // Every key of the main settings file that has a start default.
    void readMainAtStart();
    // Writes the default keys (and the bell table) when the file lacks its first-start
    // mark. Returns true when it wrote.
    bool firstStartMain();

    enum class RereadResult { Done, Missing };
    // File side of the periodic re-read. On Missing nothing was read.
    RereadResult reread();

private:
    enum class Reader { Start, Reread };
    // Every key of the main settings file that this reader reads, with its defaults.
    void readKeys(const core::IniFile &ini, Reader reader);
    int readInt(const core::IniFile &ini, const QString &section, const QString &key,
                int defaultValue);
    void report(const QString &text);

    core::ProgramValues &m_values;
    core::Messages &m_messages;
    QSet<QString> m_reported; // bad values already reported, so a re-read does not repeat them
};

// The main settings file's keys as a Markdown table (section, key, default, meaning): the
// administrator's guide in the README is made from it, so the two cannot drift apart.
QString mainKeysMarkdown();

} // namespace kalmo::app
