#include "core/colors.h"

#include "core/strict_int.h"

#include <QGuiApplication>
#include <array>

namespace kalmo::core {

namespace {

constexpr ColorCode rgb(unsigned r, unsigned g, unsigned b) {
    return static_cast<ColorCode>(r | (g << 8) | (b << 16));
}
constexpr ColorCode sys(unsigned index) {
    return static_cast<ColorCode>(0xFF000000u | index);
}

constexpr std::array<NamedColor, 52> kNames{{
    {"clBlack", rgb(0x00, 0x00, 0x00)},
    {"clMaroon", rgb(0x80, 0x00, 0x00)},
    {"clGreen", rgb(0x00, 0x80, 0x00)},
    {"clOlive", rgb(0x80, 0x80, 0x00)},
    {"clNavy", rgb(0x00, 0x00, 0x80)},
    {"clPurple", rgb(0x80, 0x00, 0x80)},
    {"clTeal", rgb(0x00, 0x80, 0x80)},
    {"clGray", rgb(0x80, 0x80, 0x80)},
    {"clSilver", rgb(0xC0, 0xC0, 0xC0)},
    {"clRed", rgb(0xFF, 0x00, 0x00)},
    {"clLime", rgb(0x00, 0xFF, 0x00)},
    {"clYellow", rgb(0xFF, 0xFF, 0x00)},
    {"clBlue", rgb(0x00, 0x00, 0xFF)},
    {"clFuchsia", rgb(0xFF, 0x00, 0xFF)},
    {"clAqua", rgb(0x00, 0xFF, 0xFF)},
    {"clWhite", rgb(0xFF, 0xFF, 0xFF)},
    {"clMoneyGreen", rgb(0xC0, 0xDC, 0xC0)},
    {"clSkyBlue", rgb(0xA6, 0xCA, 0xF0)},
    {"clCream", rgb(0xFF, 0xFB, 0xF0)},
    {"clMedGray", rgb(0xA0, 0xA0, 0xA4)},
    {"clScrollBar", sys(0)},
    {"clBackground", sys(1)},
    {"clActiveCaption", sys(2)},
    {"clInactiveCaption", sys(3)},
    {"clMenu", sys(4)},
    {"clWindow", sys(5)},
    {"clWindowFrame", sys(6)},
    {"clMenuText", sys(7)},
    {"clWindowText", sys(8)},
    {"clCaptionText", sys(9)},
    {"clActiveBorder", sys(10)},
    {"clInactiveBorder", sys(11)},
    {"clAppWorkSpace", sys(12)},
    {"clHighlight", sys(13)},
    {"clHighlightText", sys(14)},
    {"clBtnFace", sys(15)},
    {"clBtnShadow", sys(16)},
    {"clGrayText", sys(17)},
    {"clBtnText", sys(18)},
    {"clInactiveCaptionText", sys(19)},
    {"clBtnHighlight", sys(20)},
    {"cl3DDkShadow", sys(21)},
    {"cl3DLight", sys(22)},
    {"clInfoText", sys(23)},
    {"clInfoBk", sys(24)},
    {"clHotLight", sys(26)},
    {"clGradientActiveCaption", sys(27)},
    {"clGradientInactiveCaption", sys(28)},
    {"clMenuHighlight", sys(29)},
    {"clMenuBar", sys(30)},
    {"clNone", kColorNone},
    {"clDefault", kColorDefault},
}};

// System colours without a palette role: the classic desktop's values.
struct FixedSystem {
    unsigned index;
    QRgb rgb;
};
constexpr std::array<FixedSystem, 15> kFixedSystem{{
    {0, 0xC8C8C8},  // scroll bar
    {1, 0x000000},  // desktop
    {2, 0x99B4D1},  // active caption
    {3, 0xBFCDDB},  // inactive caption
    {6, 0x646464},  // window frame
    {9, 0x000000},  // caption text
    {10, 0xB4B4B4}, // active border
    {11, 0xF4F7FC}, // inactive border
    {12, 0xABABAB}, // application workspace
    {19, 0x434E54}, // inactive caption text
    {25, 0x000000}, // unused number
    {27, 0xB9D1EA}, // gradient of the active caption
    {28, 0xD7E4F2}, // gradient of the inactive caption
    {29, 0x3399FF}, // menu highlight
    {30, 0xF0F0F0}, // menu bar
}};

std::optional<QPalette::ColorRole> paletteRole(unsigned index) {
    switch (index) {
    case 4: // menu
        return QPalette::Window;
    case 5: // window (the inside of entries and lists)
        return QPalette::Base;
    case 7: // menu text
        return QPalette::WindowText;
    case 8: // window text
        return QPalette::Text;
    case 13:
        return QPalette::Highlight;
    case 14:
        return QPalette::HighlightedText;
    case 15: // button face
        return QPalette::Button;
    case 16: // button shadow
        return QPalette::Dark;
    case 18:
        return QPalette::ButtonText;
    case 20: // button highlight
        return QPalette::Light;
    case 21:
        return QPalette::Shadow;
    case 22:
        return QPalette::Midlight;
    case 23:
        return QPalette::ToolTipText;
    case 24:
        return QPalette::ToolTipBase;
    case 26: // hot-tracked item
        return QPalette::Link;
    default:
        return std::nullopt;
    }
}

} // namespace

std::span<const NamedColor> namedColors() {
    return kNames;
}

std::optional<ColorCode> colorFromText(const QString &text) {
    const QString t = text.trimmed();
    for (const NamedColor &n : kNames)
        if (t.compare(QLatin1String(n.name), Qt::CaseInsensitive) == 0)
            return n.code;
    // Hexadecimal takes all 32 bits, so the system colours' "$FF0000nn" reads back.
    if (t.startsWith(u'$') && t.size() >= 2 && t.size() <= 9) {
        bool ok = false;
        const uint u = t.mid(1).toUInt(&ok, 16);
        if (ok)
            return static_cast<ColorCode>(u);
    }
    return parseInt(t);
}

QString colorToText(ColorCode code) {
    for (const NamedColor &n : kNames)
        if (n.code == code)
            return QLatin1String(n.name);
    return QStringLiteral("$%1").arg(static_cast<quint32>(code), 8, 16, QLatin1Char('0')).toUpper();
}

QColor toQColor(ColorCode code, const QPalette &palette) {
    if (code == kColorNone)
        return QColor(Qt::transparent);
    if (code == kColorDefault)
        return QColor();
    const auto u = static_cast<quint32>(code);
    if ((u & 0xFF000000u) == 0xFF000000u) {
        const unsigned index = u & 0xFFu;
        if (index == 17) // grey text: disabled text
            return palette.color(QPalette::Disabled, QPalette::Text);
        if (auto role = paletteRole(index))
            return palette.color(QPalette::Active, *role);
        for (const FixedSystem &f : kFixedSystem)
            if (f.index == index)
                return QColor(f.rgb);
        return QColor(Qt::black);
    }
    return QColor(int(u & 0xFF), int((u >> 8) & 0xFF), int((u >> 16) & 0xFF));
}

QColor toQColor(ColorCode code) {
    return toQColor(code, QGuiApplication::palette());
}

ColorCode fromQColor(const QColor &colour) {
    const QColor c = colour.toRgb();
    return rgb(unsigned(c.red()), unsigned(c.green()), unsigned(c.blue()));
}

} // namespace kalmo::core
