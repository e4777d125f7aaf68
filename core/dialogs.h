#pragma once

#include <QString>
#include <QStringList>

namespace kalmo::core {

// File-open and folder-picking dialogs. An empty result means the user cancelled.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual QString openFile(const QString &title, const QString &startDir,
                             const QString &filter) = 0;
    virtual QString pickFolder(const QString &title, const QString &startDir) = 0;
};

// Answers from a script, in order; an exhausted script answers "cancelled".
class ScriptedDialogs : public Dialogs {
public:
    QString openFile(const QString &, const QString &, const QString &) override { return take(); }
    QString pickFolder(const QString &, const QString &) override { return take(); }
    QStringList answers;
    int asked = 0;

private:
    QString take() {
        ++asked;
        return answers.isEmpty() ? QString() : answers.takeFirst();
    }
};

} // namespace kalmo::core
