#pragma once

#include "core/text_codec.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <memory>
#include <stdexcept>

namespace kalmo::core {

// A refused settings write; the message is "Unable to write to " + path.
class IniWriteError : public std::runtime_error {
public:
    explicit IniWriteError(const QString &path);
    QString text() const { return QString::fromUtf8(what()); }
    QString path() const { return m_path; }

private:
    QString m_path;
};

// An INI file with the semantics of the Windows profile functions: section and key names
// match without regard to case, file order is kept and new sections and keys are appended,
// a value is the rest of the line after the first '=' with blanks trimmed, lines it does not
// understand are kept. Every operation opens the file, reads or writes it and lets it go;
// every write replaces the file atomically. UTF-8 or Windows-1251 is detected on read and
// kept on write; new files are UTF-8.
//
// In snapshot mode the file is read once, at construction, and reads come from memory
// (writes still go to the file and to the snapshot).
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

    // Groups several writes into one replacement of the file: the writes made while a batch
    // is open change memory only, and commit() stores them at once (raising IniWriteError
    // when refused). A batch left without commit() is discarded.
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

    struct Document;

private:
    const Document &load() const;
    void store(Document &doc);
    // Stores an edited copy (or keeps it in memory while a batch is open) and adopts it.
    void apply(Document &doc);

    QString m_path;
    Mode m_mode;
    // Parsed contents and the file state they came from; a live read reloads only when
    // the file changed on disk.
    mutable std::unique_ptr<Document> m_doc;
    int m_batches = 0;
};

// The folder part of a path, with a trailing '/'.
QString folderOf(const QString &filePath);

} // namespace kalmo::core
