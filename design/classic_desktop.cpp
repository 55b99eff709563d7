#include "classic_desktop.h"

#include "design_units.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QPushButton>
#include <QStyle>
#include <QStyleFactory>

namespace design {
namespace {

// One for the process; the application owns it.
QStyle *classicStyle()
{
    static QPointer<QStyle> style;
    if (!style) {
        style = QStyleFactory::create(QStringLiteral("Windows"));
        if (style)
            style->setParent(qApp);
    }
    return style;
}

// A button only receives keys while it has the focus.
class EnterPressesButton : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
            return false;
        if (!key->isAutoRepeat())
            static_cast<QPushButton *>(watched)->click();
        return true;
    }
};

// The classic desktop's system colours in the roles Qt paints with.
QPalette classicPalette()
{
    const auto system = [](DesignColour index) { return colour(0x80000000 | index); };
    const QColor face = system(0x0F), shadow = system(0x10), windowBackground = system(5);
    QPalette palette(system(8), face, windowBackground, shadow, face.darker(120), system(0x12),
                     windowBackground, windowBackground, face);
    palette.setColor(QPalette::Shadow, system(0x15));
    palette.setColor(QPalette::Highlight, system(0x0D));
    palette.setColor(QPalette::HighlightedText, system(0x0E));
    palette.setColor(QPalette::ToolTipBase, system(0x18));
    palette.setColor(QPalette::ToolTipText, system(0x17));
    palette.setColor(QPalette::PlaceholderText, system(0x11));
    for (const QPalette::ColorRole role :
         {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
        palette.setColor(QPalette::Disabled, role, system(0x11));
    return palette;
}

} // namespace

void giveClassicLook(QWidget &window)
{
    window.setPalette(classicPalette());
    QStyle *style = classicStyle();
    if (!style)
        return; // a Qt built without it keeps the application's style
    // A widget's style does not pass to its children.
    window.setStyle(style);
    for (QWidget *child : window.findChildren<QWidget *>())
        child->setStyle(style);
}

void letEnterPressButtons(QWidget &window)
{
    auto *enter = new EnterPressesButton(&window);
    for (QPushButton *button : window.findChildren<QPushButton *>())
        button->installEventFilter(enter);
}

} // namespace design
