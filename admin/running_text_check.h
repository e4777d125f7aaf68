#pragma once

#include <QString>
#include <optional>

namespace kalmo::admin {

// The running text line holds at most this many characters; a longer file is only reported.
constexpr int kRunningTextLimit = 1489;

struct RunningTextCount {
    int length = 0;
    QString label() const; // "<n> символов"
    bool tooLong() const { return length > kRunningTextLimit; }
};

inline const QString kRunningTextTooLong = QStringLiteral(
    "Файл содержит более 1489 символов, удалите лишние символы в файле бегущей строки");

// Counts the file's text as the running text line will show it: all lines joined without
// line breaks. Nothing when the file cannot be read; `error` then says why.
std::optional<RunningTextCount> countRunningText(const QString &path, QString *error = nullptr);

} // namespace kalmo::admin
