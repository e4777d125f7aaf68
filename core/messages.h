#pragma once

#include <QString>
#include <QStringList>

namespace kalmo::core {

// Where the program's message boxes go. Production shows a non-blocking box;
// tests record the texts.
class Messages {
public:
    virtual ~Messages() = default;
    // A box with one OK button. An empty title means the application's title.
    virtual void show(const QString &text, const QString &title = QString()) = 0;
};

// Keeps every message for tests to read back.
class RecordingMessages : public Messages {
public:
    struct Entry {
        QString text;
        QString title;
    };
    void show(const QString &text, const QString &title = QString()) override {
        entries.push_back({text, title});
    }
    QStringList texts() const {
        QStringList out;
        for (const Entry &e : entries)
            out << e.text;
        return out;
    }
    QList<Entry> entries;
};

} // namespace kalmo::core
