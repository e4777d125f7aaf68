#include "admin/running_text_check.h"

#include "ticker/ticker_text.h"

namespace kalmo::admin {

QString RunningTextCount::label() const {
    return QString::number(length) + QStringLiteral(" символов");
}

std::optional<RunningTextCount> countRunningText(const QString &path, QString *error) {
    const std::optional<QString> text = ticker::readTickerText(path, error);
    if (!text)
        return std::nullopt;
    return RunningTextCount{int(text->size())};
}

} // namespace kalmo::admin
