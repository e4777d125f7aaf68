#pragma once

#include <QString>

namespace kalmo::app {

// The file name without its extension (from the last '.' on): the caption of a shown photo.
QString photoCaption(const QString &path);

// The entry without the folder prefix and without everything from its first '.' on, as the
// error texts name a photo.
QString photoShortName(const QString &entry, const QString &folder);

} // namespace kalmo::app
