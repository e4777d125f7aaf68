#include "core/theme.h"

#include <QGuiApplication>
#include <array>

namespace kalmo::core {

namespace {

struct ThemeColours {
    const char *name;
    QRgb window, text, button, buttonText, base, highlight;
};

// Window and text colours are what the screens read; the rest dresses the controls.
constexpr std::array<ThemeColours, 29> kThemes{{
    {"Amakrits", 0x2B2B36, 0xE8E8F0, 0x3A3A4A, 0xF0F0F0, 0x22222C, 0x7C5CBF},
    {"Amethyst Kamri", 0xE6E0EE, 0x2A1F3D, 0xD3C6E6, 0x2A1F3D, 0xFFFFFF, 0x8A63B8},
    {"Aqua Graphite", 0x3C4148, 0xE6EEF5, 0x4A5058, 0xE6EEF5, 0x30343A, 0x3FA7D6},
    {"Aqua Light Slate", 0xDDE3E9, 0x1E2A36, 0xC9D3DD, 0x1E2A36, 0xFFFFFF, 0x3FA7D6},
    {"Auric", 0x2A2A2A, 0xF2E3B3, 0x3A3630, 0xF2E3B3, 0x202020, 0xC9A43A},
    {"Carbon", 0x1E1E1E, 0xD8D8D8, 0x2D2D2D, 0xE0E0E0, 0x151515, 0x4C7BD9},
    {"Charcoal Dark Slate", 0x2F343A, 0xE0E4E8, 0x3B4148, 0xE0E4E8, 0x262A2F, 0x5A8FC7},
    {"Cobalt XEMedia", 0x14233D, 0xDCE6F5, 0x1E3358, 0xDCE6F5, 0x0E1A2E, 0x3F7FE0},
    {"Cyan Dusk", 0x263238, 0xDDF3F7, 0x31424A, 0xDDF3F7, 0x1D272C, 0x26B3C9},
    {"Cyan Night", 0x101820, 0xCFEFF5, 0x1A2832, 0xCFEFF5, 0x0A1016, 0x1CA6BF},
    {"Emerald Light Slate", 0xDCE5E0, 0x17302A, 0xC5D6CD, 0x17302A, 0xFFFFFF, 0x2E9E6B},
    {"Glossy", 0x2C2C2C, 0xF5F5F5, 0x464646, 0xFFFFFF, 0x1F1F1F, 0x3D8EE0},
    {"Golden Graphite", 0x33312D, 0xF0E2C0, 0x45423C, 0xF0E2C0, 0x282622, 0xD4A23C},
    {"Iceberg Classico", 0xE9F1F7, 0x1B2B3A, 0xD4E3EE, 0x1B2B3A, 0xFFFFFF, 0x4A90C8},
    {"Lavender Classico", 0xECE8F4, 0x2B2440, 0xDAD2EA, 0x2B2440, 0xFFFFFF, 0x8C7BC4},
    {"Light", 0xF0F0F0, 0x000000, 0xE1E1E1, 0x000000, 0xFFFFFF, 0x0078D7},
    {"Luna", 0xECE9D8, 0x000000, 0xD6DFF7, 0x000000, 0xFFFFFF, 0x316AC5},
    {"Metropolis UI Black", 0x000000, 0xFFFFFF, 0x1F1F1F, 0xFFFFFF, 0x111111, 0x0A84FF},
    {"Metropolis UI Blue", 0x1B4F8C, 0xFFFFFF, 0x2563A8, 0xFFFFFF, 0x163F70, 0x7FB2F0},
    {"Metropolis UI Dark", 0x1D1D1D, 0xF0F0F0, 0x2B2B2B, 0xF0F0F0, 0x141414, 0x2D89EF},
    {"Metropolis UI Green", 0x1E5631, 0xFFFFFF, 0x2A7042, 0xFFFFFF, 0x174426, 0x7FD19A},
    {"Obsidian", 0x17191C, 0xC9CED6, 0x23262B, 0xC9CED6, 0x101214, 0x5E81AC},
    {"Ruby Graphite", 0x35302F, 0xF2DEDE, 0x47403F, 0xF2DEDE, 0x2A2625, 0xC0392B},
    {"Sapphire Kamri", 0xDDE4F2, 0x16244A, 0xC4D0EA, 0x16244A, 0xFFFFFF, 0x2F5FC4},
    {"Silver", 0xD9D9DE, 0x1A1A1A, 0xC8C8CF, 0x1A1A1A, 0xFFFFFF, 0x5A7DB8},
    {"Slate Classico", 0xCBD2D9, 0x1C232B, 0xB8C1CB, 0x1C232B, 0xF4F6F8, 0x4F6D8F},
    {"Smokey Quartz Kamri", 0xE4DFDA, 0x2E2620, 0xD2C9C0, 0x2E2620, 0xFFFFFF, 0x9C7B5E},
    {"TabletDark", 0x1E1E1E, 0xFFFFFF, 0x2E2E2E, 0xFFFFFF, 0x262626, 0x1BA1E2},
    {"Turquoise Gray", 0x3D4446, 0xE3F4F2, 0x4B5456, 0xE3F4F2, 0x333A3C, 0x2BB5A5},
}};

const ThemeColours *find(const QString &name) {
    for (const ThemeColours &t : kThemes)
        if (name == QLatin1String(t.name))
            return &t;
    return nullptr;
}

QPalette build(const ThemeColours &t) {
    QPalette p;
    const QColor window(t.window), text(t.text), button(t.button), buttonText(t.buttonText),
        base(t.base), highlight(t.highlight);
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Base, base);
    p.setColor(QPalette::AlternateBase, button);
    p.setColor(QPalette::Text, base.lightness() < 128 ? QColor(Qt::white) : QColor(Qt::black));
    p.setColor(QPalette::Button, button);
    p.setColor(QPalette::ButtonText, buttonText);
    p.setColor(QPalette::Highlight, highlight);
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::ToolTipBase, base);
    p.setColor(QPalette::ToolTipText, text);
    p.setColor(QPalette::PlaceholderText, text.darker(150));
    p.setColor(QPalette::Light, button.lighter(150));
    p.setColor(QPalette::Midlight, button.lighter(120));
    p.setColor(QPalette::Mid, button.darker(120));
    p.setColor(QPalette::Dark, button.darker(160));
    p.setColor(QPalette::Shadow, Qt::black);
    p.setColor(QPalette::Disabled, QPalette::WindowText, text.darker(180));
    p.setColor(QPalette::Disabled, QPalette::ButtonText, buttonText.darker(180));
    p.setColor(QPalette::Disabled, QPalette::Text, text.darker(180));
    return p;
}

} // namespace

QStringList Themes::names() {
    QStringList out{QStringLiteral("Windows")};
    for (const ThemeColours &t : kThemes)
        out << QLatin1String(t.name);
    return out;
}

bool Themes::contains(const QString &name) {
    return name == QLatin1String("Windows") || find(name) != nullptr;
}

bool Themes::palette(const QString &name, QPalette &out) {
    if (name == QLatin1String("Windows")) {
        out = QPalette(); // the platform's default
        return true;
    }
    if (const ThemeColours *t = find(name)) {
        out = build(*t);
        return true;
    }
    return false;
}

QString Themes::apply(const QString &name) {
    QPalette p;
    if (!palette(name, p))
        return QStringLiteral("Style '%1' not found.").arg(name);
    QGuiApplication::setPalette(p);
    return QString();
}

QColor Themes::windowColour() {
    return QGuiApplication::palette().color(QPalette::Window);
}
QColor Themes::textColour() {
    return QGuiApplication::palette().color(QPalette::WindowText);
}

} // namespace kalmo::core
