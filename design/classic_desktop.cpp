#include "classic_desktop.h"

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

} // namespace

QPalette classicPalette()
{
    const QColor face(0xC0, 0xC0, 0xC0), white(Qt::white), black(Qt::black);
    QPalette palette(black, face, white, QColor(0x80, 0x80, 0x80), QColor(0xA0, 0xA0, 0xA0), black,
                     white, white, face);
    palette.setColor(QPalette::Shadow, black);
    palette.setColor(QPalette::Highlight, QColor(0x00, 0x00, 0x80));
    palette.setColor(QPalette::HighlightedText, white);
    palette.setColor(QPalette::ToolTipBase, QColor(0xFF, 0xFF, 0xE1));
    palette.setColor(QPalette::ToolTipText, black);
    palette.setColor(QPalette::PlaceholderText, QColor(0x80, 0x80, 0x80));
    palette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x80, 0x80, 0x80));
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0x80, 0x80, 0x80));
    palette.setColor(QPalette::Disabled, QPalette::Text, QColor(0x80, 0x80, 0x80));
    return palette;
}

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
