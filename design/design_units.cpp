#include "design_units.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <cmath>

namespace design {

int pixels(Twips twips)
{
    return int(std::lround(double(twips) / TwipsPerPixel));
}

QRect pixels(const TwipsRect &box)
{
    return {pixels(box.left), pixels(box.top), pixels(box.width), pixels(box.height)};
}

QPoint pixels(Twips x, Twips y)
{
    return {pixels(x), pixels(y)};
}

QColor colour(DesignColour value)
{
    if ((value & 0xFF000000) == 0x80000000) {
        switch (value & 0xFF) {
        case 2: // active title bar
        case 0x0D: // selected text
            return QColor(0x00, 0x00, 0x80);
        case 3: // inactive title bar
        case 0x10: // button shadow
        case 0x11: // disabled text
            return QColor(0x80, 0x80, 0x80);
        case 8: // window text
        case 0x12: // button text
        case 0x15: // button's dark shadow
        case 0x17: // tool-tip text
            return QColor(0x00, 0x00, 0x00);
        case 0x0F: // button face
            return QColor(0xC0, 0xC0, 0xC0);
        case 0x18:
            return QColor(0xFF, 0xFF, 0xE1); // tool-tip background
        default:
            return QColor(0xFF, 0xFF, 0xFF); // window background, title bar text, highlights
        }
    }
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

QStringList fontFamilies()
{
    return {QStringLiteral("Arabic Transparent"), QStringLiteral("Noto Sans Arabic")};
}

QFont font(const Font &size)
{
    QFont font;
    font.setFamilies(fontFamilies());
    // Pixel sizes keep the text in the proportion the layout was drawn for.
    font.setPixelSize(int(std::lround(size.points * PixelsPerInch / 72)));
    font.setWeight(size.bold ? QFont::Bold : QFont::Normal);
    return font;
}

void showCentred(QWidget &window)
{
    const QScreen *screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    QRect frame = window.frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window.move(frame.topLeft());
    window.show();
    window.raise();
    window.activateWindow();
}

} // namespace design
