#pragma once

#include "core/program_values.h"

#include <QString>

namespace kalmo::admin {

// What the password change on the general page did.
enum class PasswordChange {
    Unchanged,    // an entry was empty: nothing written, nothing said
    WrongCurrent, // the current entry is not the password in force: nothing written
    Changed,      // the pointer file holds the new password, and it is in force
};

// Writes `next` to the pointer file and makes what the file then holds the password in force,
// provided `current` is the password in force. Raises core::IniWriteError when the pointer
// file cannot be written; the password in force is then left as it was.
PasswordChange changePassword(core::ProgramValues &values, const QString &pointerPath,
                              const QString &current, const QString &next);

} // namespace kalmo::admin
