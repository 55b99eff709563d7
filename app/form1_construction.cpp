// The main window as its layout table draws it: the painted surface, the controls in their
// tab order, and the look they share. What the controls do is in form1.cpp.
#include "form1.h"

#include "about/form2.h"
#include "design/classic_desktop.h"
#include "design/pictures.h"
#include "design/screen_reader.h"
#include "entry_validator.h"
#include "form1_layout.h"
#include "surface_items.h"

#include <QButtonGroup>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <type_traits>

namespace {

void applyLook(QWidget *widget, const form1::ControlDesign &item)
{
    widget->setObjectName(QString::fromLatin1(item.name));
    widget->setGeometry(design::pixels(item.box));
    widget->setLayoutDirection(item.rightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
    if (item.font.points > 0)
        widget->setFont(design::font(item.font));
    if (item.background != design::DefaultColour || item.foreground != design::DefaultColour) {
        QPalette palette = widget->palette();
        if (item.background != design::DefaultColour)
            palette.setColor(QPalette::Base, design::colour(item.background));
        if (item.foreground != design::DefaultColour)
            palette.setColor(QPalette::Text, design::colour(item.foreground));
        widget->setPalette(palette);
    }
    widget->setAccessibleName(
            QString::fromUtf8(item.accessibleName ? item.accessibleName : item.caption));
}

QLineEdit *createTextField(const form1::ControlDesign &item, QWidget *parent)
{
    auto *field = new QLineEdit(parent);
    field->setAlignment(item.alignment);
    if (item.maxLength > 0)
        field->setValidator(new EntryValidator(item.maxLength, field));
    field->setText(QString::fromUtf8(item.caption));
    return field;
}

QPushButton *createPictureButton(const form1::ControlDesign &item, QWidget *parent)
{
    auto *button = new QPushButton(parent);
    const QString path = QString::fromLatin1(item.caption);
    // The largest image the designed picture holds, at its natural size on every screen.
    button->setIconSize(QIcon(path).availableSizes().value(0, QSize(32, 32)));
    button->setIcon(design::icon(path, parent->devicePixelRatio()));
    return button;
}

QRadioButton *createOptionButton(const form1::ControlDesign &item, QWidget *parent)
{
    auto *option = new QRadioButton(QString::fromUtf8(item.caption), parent);
    // A classic option button is an opaque box of button face, not words on the panel.
    option->setAutoFillBackground(true);
    return option;
}

template<typename Widget> Widget *createControl(const form1::ControlDesign &item, QWidget *parent)
{
    if constexpr (std::is_same_v<Widget, QLineEdit>)
        return createTextField(item, parent);
    else if constexpr (std::is_same_v<Widget, QRadioButton>)
        return createOptionButton(item, parent);
    else if (item.showsPicture())
        return createPictureButton(item, parent);
    else
        return new QPushButton(QString::fromUtf8(item.caption), parent);
}

QLabel *createPicture(const form1::SurfaceDesign &item, QWidget *parent)
{
    auto *picture = new QLabel(parent);
    const QPixmap pixmap
            = design::picture(QString::fromLatin1(item.content), parent->devicePixelRatio());
    picture->setPixmap(pixmap);
    picture->setScaledContents(item.stretched);
    const int frame = item.framed ? 2 : 0;
    if (item.framed) {
        picture->setFrameStyle(QFrame::Box | QFrame::Plain);
        picture->setLineWidth(1);
        picture->setContentsMargins(1, 1, 1, 1);
    }
    const QRect box = design::pixels(item.box);
    picture->setGeometry(item.box.width > 0 ? box
                                            : QRect(box.topLeft(),
                                                    pixmap.deviceIndependentSize().toSize().grownBy(
                                                            {frame, frame, frame, frame})));
    return picture;
}

QLabel *createCaption(const form1::SurfaceDesign &item, QWidget *parent)
{
    auto *caption = new QLabel(QString::fromUtf8(item.content), parent);
    caption->setGeometry(design::pixels(item.box));
    caption->setFont(design::font(form1::CaptionFont));
    caption->setAlignment(Qt::AlignCenter);
    caption->setLayoutDirection(Qt::RightToLeft);
    if (item.fill != design::DefaultColour) {
        QPalette palette = caption->palette();
        palette.setColor(QPalette::Window, design::colour(item.fill));
        palette.setColor(QPalette::WindowText, design::colour(item.border));
        caption->setPalette(palette);
        caption->setAutoFillBackground(true);
    }
    return caption;
}

QWidget *createSurfaceItem(const form1::SurfaceDesign &item, QWidget *parent)
{
    switch (item.kind) {
    case form1::SurfaceKind::Picture:
        return createPicture(item, parent);
    case form1::SurfaceKind::Caption:
        return createCaption(item, parent);
    case form1::SurfaceKind::Rectangle: {
        auto *rectangle = new RectangleItem(design::colour(item.fill), design::colour(item.border),
                                            item.borderPixels, parent);
        rectangle->setGeometry(design::pixels(item.box));
        return rectangle;
    }
    case form1::SurfaceKind::Line:
        return new LineItem(design::pixels(item.box.left, item.box.top),
                            design::pixels(item.box.width, item.box.height),
                            design::colour(item.border), item.borderPixels, parent);
    }
    Q_UNREACHABLE();
}

// The captions were drawn around a narrower face than the fallback fonts; narrowing the
// letters keeps the designed size and height without clipping the words. A group shares one
// stretch, the narrowest its captions need: every distinct stretch loads a font of its own,
// and those loads are most of what the window costs at start.
template<typename Captioned> void narrowToFit(const QList<Captioned *> &group)
{
    int stretch = 100;
    for (const Captioned *widget : group) {
        const int needed = widget->fontMetrics().horizontalAdvance(widget->text()) + 2;
        // What the widget draws beside its words, such as an option's round indicator.
        const int beside = std::max(0, widget->sizeHint().width() - needed);
        stretch = std::min(stretch, 100 * (widget->width() - beside) / needed);
    }
    if (stretch >= 100)
        return;
    for (Captioned *widget : group) {
        QFont font = widget->font();
        font.setStretch(std::max(70, stretch));
        widget->setFont(font);
    }
}

} // namespace

Form1::Form1(printing::DefaultPrinter &printer, QWidget *parent)
    : QWidget(parent,
              Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                      | Qt::WindowCloseButtonHint),
      m_printer(printer)
{
    design::letScreenReadersKnowTheWindows();
    setObjectName(QStringLiteral("Form1"));
    // Desktops fill an empty title bar with the Latin program name or "Unnamed Window".
    // Screen readers name the window by its title too.
    setWindowTitle(QStringLiteral("تقويم"));
    setAccessibleDescription(QStringLiteral("محوّل التاريخ الهجري والميلادي"));
    setLayoutDirection(Qt::RightToLeft);
    setFixedSize(design::pixels(form1::clientArea()).size());

    createSurface();
    createControls();
    m_spokenResult = new design::SpokenNotice(this);
    design::giveClassicLook(*this);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, design::colour(form1::background()));
    setPalette(palette);
    setAutoFillBackground(true);
    design::letEnterPressButtons(*this);
    narrowCaptionsToFit();
    connectActions();
    fillWithToday();
}

void Form1::createSurface()
{
    // Created bottom first: a later sibling is painted over an earlier one.
    for (const form1::SurfaceDesign &item : form1::surface()) {
        QWidget *widget = createSurfaceItem(item, this);
        widget->setObjectName(QString::fromLatin1(item.name));
        if (item.toolTip)
            widget->setToolTip(QString::fromLatin1(item.toolTip));
        else
            widget->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
}

void Form1::createControls()
{
    auto *direction = new QButtonGroup(this);
    QWidget *previous = nullptr;
    for (const form1::ControlDesign &item : form1::controls()) {
        QWidget *control = std::visit(
                [&](auto keptIn) -> QWidget * {
                    using Widget = std::remove_pointer_t<
                            std::remove_reference_t<decltype(m_controls.*keptIn)>>;
                    Widget *made = createControl<Widget>(item, this);
                    if constexpr (std::is_same_v<Widget, QRadioButton>)
                        direction->addButton(made);
                    return m_controls.*keptIn = made;
                },
                item.keptIn);
        applyLook(control, item);
        if (previous)
            setTabOrder(previous, control);
        previous = control;
    }
}

void Form1::narrowCaptionsToFit()
{
    QList<QLabel *> captions = findChildren<QLabel *>(Qt::FindDirectChildrenOnly);
    captions.removeIf([](const QLabel *label) { return label->text().isEmpty(); });
    narrowToFit(captions);
    narrowToFit(QList<QAbstractButton *>{m_controls.gregorianToHijri, m_controls.hijriToGregorian,
                                         m_controls.convert, m_controls.addSummary,
                                         m_controls.discard});
}

void Form1::connectActions()
{
    connect(m_controls.convert, &QPushButton::clicked, this, &Form1::convert);
    connect(m_controls.exit, &QPushButton::clicked, this, &Form1::closeWindow);
    connect(m_controls.addSummary, &QPushButton::clicked, this, &Form1::addSummaryToPrintDocument);
    connect(m_controls.discard, &QPushButton::clicked, this, &Form1::discardPrintDocument);
    connect(m_controls.print, &QPushButton::clicked, this, &Form1::printDocument);
    connect(m_controls.showAbout, &QPushButton::clicked, this, &Form1::showAbout);
    for (QLineEdit *entry : {m_controls.day, m_controls.month, m_controls.year})
        entry->installEventFilter(this);
}
