#pragma once

#include "core/file_lock.h"
#include "core/text_codec.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

namespace kalmo::core {

// Settings and data files above this size are not read (they read as empty) and never
// rewritten: real files are a few kilobytes, and a damaged or hostile file must not cost the
// kiosk its memory or its screen.
inline constexpr qint64 kMaxIniFileBytes = 16 * 1024 * 1024;

// What reading a settings file found. Every status but Ok reads as all keys missing, yet only
// Missing means there is no file: a re-read that gets Unreadable or TooLarge must keep the
// values in force rather than take the defaults.
enum class IniReadStatus {
    Ok,         // read (it may hold nothing)
    Missing,    // no file at the path, or no folder for it
    Unreadable, // something is there but could not be read: I/O error, stale handle, a folder
    TooLarge    // above kMaxIniFileBytes: not read
};

// A refused settings write; the message is "Unable to write to " + path.
class IniWriteError : public std::runtime_error {
public:
    enum class Reason {
        Refused,  // the file system would not take the file
        TooLarge, // the file (or what it would become) is above kMaxIniFileBytes
        Locked    // another writer held the file's lock for longer than the wait
    };
    explicit IniWriteError(const QString &path, Reason reason = Reason::Refused);
    QString text() const { return QString::fromUtf8(what()); }
    QString path() const { return m_path; }
    Reason reason() const { return m_reason; }

private:
    QString m_path;
    Reason m_reason;
};

// An INI file with the semantics of the Windows profile functions: section and key names
// match without regard to case, file order is kept and new sections and keys are appended,
// a value is the rest of the line after the first '=' with blanks trimmed, lines it does not
// understand are kept. Every operation opens the file, reads or writes it and lets it go;
// every write replaces the file atomically.
//
// A write changes only the lines it touches: every other byte goes back as it was read
// (line endings, stray bytes, lines it does not understand, blanks around names). The
// encoding is detected once per file (detectEncoding) and new lines are written in it, so
// a file never ends up in two encodings; new files are UTF-8 with CRLF line ends.
// Reading and writing take time linear in the file's size.
//
// In snapshot mode the file is read once, at construction, and reads come from memory
// (writes still go to the file and to the snapshot).
//
// Several kiosks may write one file on a share: every change holds the file's lock
// (FileLock, `<file>.lock` beside it) and is made on the file as read under that lock, so
// two writers never lose each other's keys. A write that cannot have the lock within the
// lock wait (5 s) raises IniWriteError (reason Locked), like any refused write.
class IniFile {
public:
    enum class Mode { Live, Snapshot };

    explicit IniFile(QString path, Mode mode = Mode::Live);
    ~IniFile();
    IniFile(IniFile &&) noexcept;
    IniFile &operator=(IniFile &&) noexcept;

    const QString &path() const { return m_path; }

    QString readString(const QString &section, const QString &key,
                       const QString &defaultValue = QString()) const;
    // Lenient integer: a value that is not a whole number gives the default.
    int readInteger(const QString &section, const QString &key, int defaultValue) const;
    // Read as an integer; any non-zero value is true, a non-number gives the default.
    bool readBool(const QString &section, const QString &key, bool defaultValue) const;

    bool sectionExists(const QString &section) const;
    bool valueExists(const QString &section, const QString &key) const;
    QStringList sections() const;
    QStringList keys(const QString &section) const;

    // Writers raise IniWriteError when the file cannot be replaced.
    void writeString(const QString &section, const QString &key, const QString &value);
    void writeInteger(const QString &section, const QString &key, int value);
    void writeBool(const QString &section, const QString &key, bool value);
    void deleteKey(const QString &section, const QString &key);
    void eraseSection(const QString &section);

    // Runs fn with the file locked and read afresh: fn's reads see what the file holds now,
    // and its writes are stored together when it returns (one replacement, or none when
    // nothing changed). For a read-then-write, such as "write the defaults unless the mark is
    // set". Raises IniWriteError like the writers (and lets fn's own exceptions through,
    // storing nothing). Inside an open batch, fn simply joins that batch.
    void update(const std::function<void()> &fn);
    // How long a write waits for the lock, and when a lock counts as left by a dead writer.
    void setLockOptions(const FileLock::Options &options);

    // Groups several writes into one replacement of the file: the writes made while a batch
    // is open change memory only, and commit() stores them at once (raising IniWriteError
    // when refused), replayed on the file as it is then under the lock. A batch left without
    // commit() is discarded.
    class Batch {
    public:
        explicit Batch(IniFile &ini);
        ~Batch();
        Batch(const Batch &) = delete;
        Batch &operator=(const Batch &) = delete;
        void commit();

    private:
        IniFile &m_ini;
        bool m_done = false;
    };

    // Encoding the file was read in (Utf8 for a file that does not exist).
    TextEncoding encoding() const;
    // The file is above kMaxIniFileBytes: it reads as empty and every write to it raises
    // IniWriteError (reason TooLarge) without touching it. Logged once per reading.
    bool isTooLarge() const;
    // How the contents served were read (a live file is read now if it changed); readError()
    // is the reason for Unreadable and TooLarge, empty otherwise. Usage:
    //   IniFile ini(path, IniFile::Mode::Snapshot);
    //   if (ini.readStatus() == IniReadStatus::Ok || ini.readStatus() == IniReadStatus::Missing)
    //       ...read keys...   // else keep what you have, log ini.readError()
    IniReadStatus readStatus() const;
    QString readError() const;

    struct Document;

private:
    Document &load() const;
    // Reads and parses the file at m_path into doc, recording how that went.
    void readFile(Document &doc) const;
    // Reads the file now, whatever was read before.
    void reload() const;
    // One edit, kept so that it can be made again on the file as read under the lock.
    struct Op {
        enum class Kind : quint8 { Write, DeleteKey, EraseSection };
        Kind kind;
        QString section, key, value;
    };
    // Raises IniWriteError for a document that must not be rewritten.
    void checkEditable(const Document &doc) const;
    // One edit: at once under the lock, or into the open batch.
    void change(Op op);
    // Takes the lock, reads the file afresh and stores it when edits() says it changed; a
    // refusal drops what memory held.
    void locked(const std::function<bool()> &edits);
    // Edits of the document in memory; true when something changed.
    bool apply(Document &doc, const Op &op);
    bool applyWrite(Document &doc, const QString &section, const QString &key,
                    const QString &value);
    bool applyDelete(Document &doc, const QString &section, const QString &key);
    bool applyErase(Document &doc, const QString &section);
    void store(Document &doc, const FileLock &lock);

    QString m_path;
    Mode m_mode;
    // Parsed contents and the file state they came from; a live read reloads only when
    // the file changed on disk.
    mutable std::unique_ptr<Document> m_doc;
    int m_batches = 0;
    std::vector<Op> m_journal; // the open batch's edits, replayed at commit
    bool m_fresh = false;      // inside update(): the document was read under the lock
    bool m_changed = false;    // an edit since the batch or update began changed memory
    FileLock::Options m_lockOptions;
};

// The folder part of a path, with a trailing '/'.
QString folderOf(const QString &filePath);

} // namespace kalmo::core
