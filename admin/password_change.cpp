#include "admin/password_change.h"

#include "core/ini_file.h"
#include "core/program_values.h"

namespace kalmo::admin {

PasswordChange changePassword(core::ProgramValues &values, const QString &pointerPath,
                              const QString &current, const QString &next) {
    if (current.isEmpty() || next.isEmpty())
        return PasswordChange::Unchanged;
    if (current != values.password)
        return PasswordChange::WrongCurrent;
    core::IniFile pointer(pointerPath);
    const QString section = QStringLiteral("passwd");
    pointer.writeString(section, section, next);
    // What the file holds is what the next start will use, so that is what counts now.
    values.password =
        pointer.readString(section, section, QString::fromLatin1(core::defaults::kPassword));
    return PasswordChange::Changed;
}

} // namespace kalmo::admin
