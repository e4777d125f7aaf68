#pragma once

#include <QString>
#include <optional>

namespace kalmo::ticker {

// Texts the line shows in place of a missing text file.
inline const QString kMissingFileAtStart = QStringLiteral("Отсутствует файл бегущей строки");
inline const QString kMissingFileAtReread = QStringLiteral("Нет доступа до файла бегущей строки");

// The lines of a text joined with nothing between them: every CR, LF or CRLF goes.
QString joinLines(const QString &text);

// Reads the running text file (a BOM selects UTF-8 or UTF-16, otherwise valid UTF-8 is
// UTF-8 and anything else Windows-1251) and joins its lines. Gives nothing when the file
// does not exist or cannot be read; `error` then says why.
std::optional<QString> readTickerText(const QString &path, QString *error = nullptr);

} // namespace kalmo::ticker
