#include "core/program_values.h"

#include "core/ini_file.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace kalmo::core {

QString ProgramValues::dataFolder() const {
    return folderOf(mainSettingsPath);
}

QString ProgramValues::asset(const QString &relative) const {
    const QString own = baseFolder + relative;
    if (programDataFolder.isEmpty() || QFileInfo::exists(own))
        return own;
    const QString shipped = programDataFolder + relative;
    return QFileInfo::exists(shipped) ? shipped : own;
}

QString ProgramValues::resolve(const QString &name) const {
    if (!QDir::isRelativePath(name))
        return name;
    return baseFolder + name;
}

FontStyles FontStyles::parse(const QString &text) {
    FontStyles s;
    s.bold = text.contains(QLatin1String("fsBold"));
    s.italic = text.contains(QLatin1String("fsItalic"));
    s.underline = text.contains(QLatin1String("fsUnderline"));
    s.strikeOut = text.contains(QLatin1String("fsStrikeOut"));
    return s;
}

QString FontStyles::toText() const {
    QStringList names;
    if (bold)
        names << QStringLiteral("fsBold");
    if (italic)
        names << QStringLiteral("fsItalic");
    if (underline)
        names << QStringLiteral("fsUnderline");
    if (strikeOut)
        names << QStringLiteral("fsStrikeOut");
    return '[' + names.join(',') + ']';
}

void FontStyles::applyTo(QFont &font) const {
    font.setBold(bold);
    font.setItalic(italic);
    font.setUnderline(underline);
    font.setStrikeOut(strikeOut);
}

} // namespace kalmo::core
