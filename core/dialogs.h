#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace kalmo::core {

// File-open and folder-picking dialogs. The answer arrives through `done`, once; an empty
// answer means the user cancelled. Production dialogs do not block the event loop, so the
// kiosk's timers keep running while an administrator browses.
class Dialogs {
public:
    using Answer = std::function<void(const QString &path)>;
    virtual ~Dialogs() = default;
    virtual void openFile(const QString &title, const QString &startDir, const QString &filter,
                          Answer done) = 0;
    virtual void pickFolder(const QString &title, const QString &startDir, Answer done) = 0;
};

// Answers from a script, in order, at once; an exhausted script answers "cancelled".
class ScriptedDialogs : public Dialogs {
public:
    void openFile(const QString &, const QString &, const QString &, Answer done) override {
        done(take());
    }
    void pickFolder(const QString &, const QString &, Answer done) override { done(take()); }
    QStringList answers;
    int asked = 0;

private:
    QString take() {
        ++asked;
        return answers.isEmpty() ? QString() : answers.takeFirst();
    }
};

} // namespace kalmo::core
