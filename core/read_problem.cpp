#include "core/read_problem.h"

namespace kalmo::core {

QString readProblem(const IniFile &file) {
    switch (file.readStatus()) {
    case IniReadStatus::Ok:
    case IniReadStatus::Missing:
        return {};
    case IniReadStatus::Unreadable:
    case IniReadStatus::TooLarge:
        break;
    }
    const QString reason = file.readError();
    return reason.isEmpty() ? QStringLiteral("unreadable") : reason;
}

} // namespace kalmo::core
