#pragma once

#include "core/ini_file.h"
#include "core/messages.h"
#include "core/program_values.h"

#include <QSet>
#include <QString>
#include <QStringList>
#include <memory>

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

    // What the start reads: the pointer file (path and password in force, then its own
    // first start) and the main settings file. Read by readStartFiles(), which touches
    // nothing but the files, so it runs on a worker.
    struct StartFiles {
        QString mainPath;
        QString password;
        QStringList problems; // refused writes, to report
        std::shared_ptr<const core::IniFile> main;
    };
    static StartFiles readStartFiles(const QString &pointerPath, const QString &defaultMainPath);
    // Into the values: the path and password, then every key of the main settings file that
    // has a start default.
    void applyStartFiles(const StartFiles &files);
    // Both at once, on the calling thread.
    void readAtStart();

    // Writes the default keys (and the bell table) when the main settings file lacks its
    // first-start mark, then the calendar file's first start. Returns true when it wrote
    // the main settings file. Touches only the files (refused writes go to `problems`), so
    // it runs on a worker.
    static bool writeFirstStart(const core::ProgramValues &values, QStringList &problems);
    // The same on the calling thread, refused writes reported.
    bool firstStartMain();
    // Every first start of the settings folder's files: the main settings file and the
    // calendar file (writeFirstStart), then the schedule file. Runs on a worker.
    struct FirstStarts {
        bool wroteMain = false;
        QStringList problems; // refused writes, to report
    };
    static FirstStarts writeFirstStarts(const core::ProgramValues &values);
    // A refused write or a bad value, in a message box once per run.
    void report(const QString &text);

    // What the periodic re-read found in the files. Read by readRereadFiles(), which touches
    // nothing but the files, so it runs on a worker thread: the folder may be a share that
    // hangs.
    struct RereadFiles {
        enum class Status {
            Read,      // `main` holds the file
            Missing,   // no file at `mainPath`
            Unreadable // there but not readable (an I/O error, over the size limit...)
        };
        // The path the pointer file names; empty when the pointer file itself could not
        // be read (the path in force stays).
        QString mainPath;
        Status status = Status::Missing;
        QString reason;                            // why it was unreadable, for the log
        std::shared_ptr<const core::IniFile> main; // a snapshot, read from memory
    };
    static RereadFiles readRereadFiles(const QString &pointerPath, const QString &defaultMainPath,
                                       const QString &pathInForce);

    enum class RereadResult { Done, Missing, Unreadable };
    // Values side of the periodic re-read, on the GUI thread. On Missing and Unreadable no
    // value changes but the main settings path (which the pointer file named); an unreadable
    // file is logged once until a re-read succeeds again.
    RereadResult applyReread(const RereadFiles &files);
    // A re-read whose files did not answer within the time limit: the values stay, logged
    // once like an unreadable file.
    void rereadTimedOut();
    // Both sides at once, on the calling thread.
    RereadResult reread();

private:
    enum class Reader { Start, Reread };
    // Every key of the main settings file that this reader reads, with its defaults.
    void readKeys(const core::IniFile &ini, Reader reader);
    int readInt(const core::IniFile &ini, const QString &section, const QString &key,
                int defaultValue);
    void logRereadProblem(const QString &problem);

    core::ProgramValues &m_values;
    core::Messages &m_messages;
    QSet<QString> m_reported; // bad values already reported, so a re-read does not repeat them
    QString m_rereadProblem;  // last re-read failure logged, until a re-read succeeds
};

// The main settings file's keys as a Markdown table (section, key, default, meaning): the
// administrator's guide in the README is made from it, so the two cannot drift apart.
QString mainKeysMarkdown();

} // namespace kalmo::app
