#pragma once

#include <QString>
#include <QTemporaryDir>
#include <memory>

namespace kalmo::schedule {

// Whether a group's document value can be handed to the browser: a web address, or a
// local file that exists ("Нет файла" and empty values are not).
bool isShowableDocument(const QString &value);

// The plain page shown in place of a schedule document that is missing or does not load.
// Written once into a private temporary folder on first use.
class UnavailablePage {
public:
    // Full path of the page; empty when it could not be written (logged).
    QString path();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_path;
};

} // namespace kalmo::schedule
