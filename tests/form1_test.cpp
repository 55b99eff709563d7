#include "about/form2.h"
#include "form1_layout.h"
#include "main_window.h"
#include "qt_translation.h"
#include "surface_items.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QImageReader>
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QStyle>
#include <QTest>
#include <QTranslator>

using namespace calendar;

namespace {

// WCAG's contrast ratio between the most common colour of a part of an image (its ground)
// and the colour that stands out most from it (its text).
double contrastOfWords(const QImage &image)
{
    QHash<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ++counts[image.pixel(x, y)];
    const auto luminance = [](QRgb rgb) {
        const auto linear = [](int c) {
            const double v = c / 255.0;
            return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(qRed(rgb)) + 0.7152 * linear(qGreen(rgb))
                + 0.0722 * linear(qBlue(rgb)) + 0.05;
    };
    const QRgb ground
            = std::max_element(counts.keyValueBegin(), counts.keyValueEnd(), [](auto a, auto b) {
                  return a.second < b.second;
              })->first;
    double contrast = 1.0;
    for (const QRgb colour : counts.keys())
        contrast = std::max(contrast,
                            std::max(luminance(colour), luminance(ground))
                                    / std::min(luminance(colour), luminance(ground)));
    return contrast;
}

} // namespace

class Form1Test : public QObject
{
    Q_OBJECT

private slots:
    void startsWithTodayInBothCalendars();
    void writesOneDigitDaysWithoutLeadingZeros();
    void designUnitsBecomePixelsColoursAndFonts();
    void eachControlIsMadeAsItsRowSays();
    void theSurfaceIsPaintedAsItsRowsSay();
    void picturesHaveTheirKindsAndSizes();
    void picturesAreDrawnForTheScreen();
    void keepsTheClassicLookUnderAForeignTheme();
    void focusFollowsTheTabOrder();
    void entryFieldsLimitWhatIsTyped();
    void enterPressesOnlyAFocusedButton();
    void qtsOwnWordsAreArabic();
};

void Form1Test::startsWithTodayInBothCalendars()
{
    const MainWindow window; // 12 October 1999
    QVERIFY(window.find<QRadioButton>("Option1")->isChecked());
    QVERIFY(!window.find<QRadioButton>("Option2")->isChecked());
    for (const auto &[name, shown] :
         {std::pair("Text1", "12"), std::pair("Text2", "10"), std::pair("Text3", "1999"),
          std::pair("Text7", "12 أكتوبر 1999 م"), std::pair("Text4", "10"),
          std::pair("Text8", "3 رجب 1420 هـ"), std::pair("Text5", "7"),
          std::pair("Text9", "الثلاثاء")})
        QCOMPARE(window.field(name)->text(), QString::fromUtf8(shown));
    QCOMPARE(CurrentCalendar(), Gregorian);
}

void Form1Test::writesOneDigitDaysWithoutLeadingZeros()
{
    const MainWindow window(TestsToday - calendar::Days{37}); // 5 September 1999
    for (const auto &[name, shown] :
         {std::pair("Text1", "5"), std::pair("Text2", "9"), std::pair("Text4", "9"),
          std::pair("Text5", "5"), // 25 Jumada al-Ula 1420
          std::pair("Text7", "5 سبتمبر 1999 م")})
        QCOMPARE(window.field(name)->text(), QString::fromUtf8(shown));
}

void Form1Test::designUnitsBecomePixelsColoursAndFonts()
{
    // Twelve twips to the pixel, to the nearest; a half away from zero.
    for (const auto &[twips, pixels] :
         {std::pair(4308, 359), std::pair(5, 0), std::pair(6, 1), std::pair(17, 1),
          std::pair(18, 2), std::pair(-6, -1), std::pair(-96, -8)})
        QCOMPARE(design::pixels(twips), pixels);
    QCOMPARE(design::pixels(design::TwipsRect{4308, 624, 528, 372}), QRect(359, 52, 44, 31));
    QCOMPARE(design::pixels(252, 4404), QPoint(21, 367));
    // Colours are written 0x00BBGGRR, or name one of the classic desktop's system colours.
    for (const auto &[value, name] :
         {std::pair(0x00404000u, "#004040"), std::pair(0x000000FFu, "#ff0000"),
          std::pair(0x00FF0000u, "#0000ff"), std::pair(0x80000002u, "#000080"),
          std::pair(0x80000003u, "#808080"), std::pair(0x80000005u, "#ffffff"),
          std::pair(0x8000000Fu, "#c0c0c0"), std::pair(0x80000012u, "#000000"),
          std::pair(0x80000018u, "#ffffe1")})
        QCOMPARE(design::colour(value).name(), name);
    // Points of the Arabic face, drawn at the layout's 120 pixels to the inch.
    for (const auto &[points, pixels] :
         {std::pair(12.0, 20), std::pair(13.8, 23), std::pair(10.2, 17)}) {
        const QFont font = design::font({points, true});
        QCOMPARE(font.pixelSize(), pixels);
        QCOMPARE(font.weight(), QFont::Bold);
        QCOMPARE(font.families().value(0), "Arabic Transparent");
        QVERIFY(font.families().contains("Noto Sans Arabic"));
    }
    QCOMPARE(design::font({10.2, false}).weight(), QFont::Normal);
}

void Form1Test::eachControlIsMadeAsItsRowSays()
{
    const MainWindow window;
    QCOMPARE(window.form.size(), design::pixels(form1::clientArea()).size());
    QCOMPARE(window.form.palette().color(QPalette::Window), design::colour(form1::background()));
    QCOMPARE(window.form.windowTitle(), "تقويم");
    QCOMPARE(window.form.accessibleDescription(), "محوّل التاريخ الهجري والميلادي");
    QCOMPARE(window.form.layoutDirection(), Qt::RightToLeft);
    QVERIFY(!(window.form.windowFlags()
              & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    for (const form1::ControlDesign &row : form1::controls()) {
        const QWidget *control = window.find(row.name);
        QVERIFY2(control, row.name);
        QCOMPARE(control->geometry(), design::pixels(row.box));
        QCOMPARE(control->layoutDirection(), row.rightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
        QCOMPARE(control->accessibleName(),
                 QString::fromUtf8(row.accessibleName ? row.accessibleName : row.caption));
        QVERIFY2(control->focusPolicy() & Qt::TabFocus, row.name);
        if (row.font.points > 0) { // captions may be narrowed to fit, never made smaller
            const QFont designed = design::font(row.font);
            QCOMPARE(control->font().pixelSize(), designed.pixelSize());
            QCOMPARE(control->font().weight(), designed.weight());
            QCOMPARE(control->font().families(), designed.families());
        }
        if (row.background != design::DefaultColour)
            QCOMPARE(control->palette().color(QPalette::Base), design::colour(row.background));
        if (row.foreground != design::DefaultColour)
            QCOMPARE(control->palette().color(QPalette::Text), design::colour(row.foreground));
        if (const auto *field = qobject_cast<const QLineEdit *>(control))
            QCOMPARE(field->alignment(), row.alignment);
        if (const auto *button = qobject_cast<const QAbstractButton *>(control)) {
            const bool picture
                    = QFile::exists(QString::fromUtf8(row.caption)); // a picture it holds
            QCOMPARE(button->icon().isNull(), !picture);
            QCOMPARE(button->text(), picture ? QString() : QString::fromUtf8(row.caption));
        }
        if (const auto *button = qobject_cast<const QPushButton *>(control))
            QVERIFY(!button->isDefault() && !button->autoDefault());
    }
}

void Form1Test::theSurfaceIsPaintedAsItsRowsSay()
{
    const MainWindow window;
    const QObjectList children = window.form.children();
    qsizetype below = -1;
    for (const form1::SurfaceDesign &row : form1::surface()) {
        QWidget *item = window.find(row.name);
        QVERIFY2(item, row.name);
        QVERIFY2(children.indexOf(item) > below, row.name); // painted over the rows before it
        below = children.indexOf(item);
        const QRect box = design::pixels(row.box);
        switch (row.kind) {
        case form1::SurfaceKind::Picture: {
            // Laid out at its box, or where the box starts at the picture's own size.
            const QSize own
                    = qobject_cast<const QLabel *>(item)->pixmap().deviceIndependentSize().toSize();
            QCOMPARE(item->geometry(), row.box.width > 0 ? box : QRect(box.topLeft(), own));
            break;
        }
        case form1::SurfaceKind::Rectangle: {
            QCOMPARE(item->geometry(), box);
            const QImage painted = item->grab().toImage();
            QCOMPARE(painted.pixelColor(painted.rect().center()), design::colour(row.fill));
            QCOMPARE(painted.pixelColor(0, 0), design::colour(row.border));
            break;
        }
        case form1::SurfaceKind::Line: {
            QVERIFY2(dynamic_cast<const LineItem *>(item), row.name);
            // Drawn from one end to the other: its middle is of its colour.
            const QPoint middle = QRect(design::pixels(row.box.left, row.box.top),
                                        design::pixels(row.box.width, row.box.height))
                                          .normalized()
                                          .center();
            QCOMPARE(item->grab().toImage().pixelColor(middle - item->pos()),
                     design::colour(row.border));
            break;
        }
        case form1::SurfaceKind::Caption: {
            const auto *caption = qobject_cast<const QLabel *>(item);
            QCOMPARE(item->geometry(), box);
            QCOMPARE(caption->text(), QString::fromUtf8(row.content));
            if (row.fill != design::DefaultColour) {
                QCOMPARE(caption->palette().color(QPalette::Window), design::colour(row.fill));
                QCOMPARE(caption->palette().color(QPalette::WindowText),
                         design::colour(row.border));
            }
            break;
        }
        }
    }
    for (const form1::ControlDesign &row : form1::controls())
        QVERIFY2(children.indexOf(window.find(row.name)) > below, row.name);
    const QString tip = window.find("Image4")->toolTip();
    QVERIFY(tip.contains("Taqwim") && tip.contains("2.0") && tip.contains("Taqwim team"));
    for (const QChar c : tip)
        QVERIFY(c.unicode() < 0x80);
}

void Form1Test::picturesHaveTheirKindsAndSizes()
{
    const struct
    {
        const char *path, *format;
        QSize size;
    } pictures[] = {
            {":/pictures/background.bmp", "bmp", {256, 256}},
            {":/pictures/strip_left.gif", "gif", {24, 400}},
            {":/pictures/strip_bottom.gif", "gif", {450, 24}},
            {":/pictures/emblem.gif", "gif", {42, 32}},
            {":/pictures/printer.bmp", "bmp", {24, 23}},
            {":/pictures/about_strip.gif", "gif", {24, 200}},
    };
    for (const auto &p : pictures) {
        QImageReader reader(p.path);
        QCOMPARE(reader.format(), QByteArray(p.format));
        QCOMPARE(reader.read().size(), p.size);
        if (QByteArray(p.format) == "bmp") { // a 256-colour palette
            QFile file(p.path);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(int(file.readAll().at(28)), 8);
        }
    }
    // A 16-colour icon holding a 32 x 32 and a 16 x 16 image.
    QFile icon(":/pictures/exit.ico");
    QVERIFY(icon.open(QIODevice::ReadOnly));
    const QByteArray bytes = icon.readAll();
    const auto u16 = [&](int at) { return quint8(bytes[at]) | quint8(bytes[at + 1]) << 8; };
    QCOMPARE(u16(2), 1); // icon, not cursor
    QCOMPARE(u16(4), 2);
    QSet<int> sizes;
    for (int entry = 0; entry < 2; ++entry) {
        const int at = 6 + 16 * entry;
        sizes.insert(quint8(bytes[at]));
        QCOMPARE(quint8(bytes[at + 2]), 16); // colours in the palette
        QCOMPARE(u16(at + 6), 4); // bits per pixel
    }
    QCOMPARE(sizes, (QSet<int>{32, 16}));
}

void Form1Test::picturesAreDrawnForTheScreen()
{
    // Run at a device pixel ratio of 1 and, with QT_SCALE_FACTOR=2, of 2.
    const MainWindow main;
    const QWidget &window = main.form;
    Form2 about;
    const qreal ratio = window.devicePixelRatio();
    const struct
    {
        const QWidget &window;
        const char *name, *designed;
    } pictures[] = {
            {window, "Image1", ":/pictures/background.bmp"},
            {window, "Image2", ":/pictures/strip_left.gif"},
            {window, "Image3", ":/pictures/strip_bottom.gif"},
            {window, "Image4", ":/pictures/emblem.gif"},
            {about, "Image1", ":/about/banner.gif"},
    };
    for (const auto &p : pictures) {
        const QPixmap pixmap = p.window.findChild<QLabel *>(p.name)->pixmap();
        QCOMPARE(pixmap.devicePixelRatio(), ratio);
        QCOMPARE(pixmap.deviceIndependentSize().toSize(), QImageReader(p.designed).size());
    }
    for (const char *name : {"Command2", "Command5", "Command6"}) {
        const auto *button = window.findChild<QPushButton *>(name);
        const QSize size = button->iconSize();
        QCOMPARE(button->icon().pixmap(size, ratio).size(), size * ratio);
        // A screen of ordinary resolution never loads the sharper pictures.
        QCOMPARE(button->icon().availableSizes().contains(size * 2), ratio > 1);
    }
}

void Form1Test::keepsTheClassicLookUnderAForeignTheme()
{
    // What a dark desktop theme gives the application before its windows are built: its
    // colours, and a style of its own.
    const QPalette desktop = QApplication::palette();
    const QString desktopStyle = QApplication::style()->name();
    const auto restore = qScopeGuard([&desktop, &desktopStyle] {
        QApplication::setPalette(desktop);
        QApplication::setStyle(desktopStyle);
    });
    QApplication::setStyle("Fusion");
    QPalette dark(QColor(0x35, 0x35, 0x35), QColor(0x20, 0x20, 0x20));
    dark.setColor(QPalette::Text, Qt::white);
    dark.setColor(QPalette::ButtonText, Qt::white);
    dark.setColor(QPalette::WindowText, Qt::white);
    QApplication::setPalette(dark);

    MainWindow main;
    Form2 about;
    QVERIFY(main.show());
    QWidget &window = main.form;
    const auto classic = [](const QWidget *control, QPalette::ColorRole ground,
                            QPalette::ColorRole words, const char *groundColour) {
        QCOMPARE(control->palette().color(ground).name(), groundColour);
        QCOMPARE(control->palette().color(words).name(), "#000000");
    };
    for (const char *name : {"Command1", "Command3", "Command4", "Option1", "Option2"})
        classic(window.findChild<QWidget *>(name), QPalette::Button, QPalette::ButtonText,
                "#c0c0c0");
    for (const char *name : {"Text4", "Text5"})
        classic(window.findChild<QWidget *>(name), QPalette::Base, QPalette::Text, "#ffffff");
    classic(about.findChild<QWidget *>("List1"), QPalette::Base, QPalette::Text, "#ffffff");
    classic(about.findChild<QWidget *>("Command1"), QPalette::Button, QPalette::ButtonText,
            "#c0c0c0");
    // Selected text stays readable: white on navy.
    for (const QWidget *control :
         {window.findChild<QWidget *>("Text1"), window.findChild<QWidget *>("Text8"),
          about.findChild<QWidget *>("List1")}) {
        QCOMPARE(control->palette().color(QPalette::Highlight).name(), "#000080");
        QCOMPARE(control->palette().color(QPalette::HighlightedText).name(), "#ffffff");
    }
    for (QWidget *shown : {static_cast<QWidget *>(&window), static_cast<QWidget *>(&about)}) {
        const QList<QWidget *> controls = shown->findChildren<QWidget *>() << shown;
        for (const QWidget *control : controls)
            QVERIFY2(control->style()->name() == "windows", qPrintable(control->objectName()));
    }

    const QImage grab = window.grab().toImage();
    for (const char *name : {"Option1", "Option2"}) {
        const auto *option = window.findChild<QRadioButton *>(name);
        QVERIFY(option->autoFillBackground()); // an opaque box, as classic options are
        const QImage words = grab.copy(QRect(option->geometry().topLeft() * grab.devicePixelRatio(),
                                             option->size() * grab.devicePixelRatio()));
        const double contrast = contrastOfWords(words);
        QVERIFY2(contrast >= 4.5, qPrintable(QStringLiteral("%1: %2:1").arg(name).arg(contrast)));
    }
}

void Form1Test::focusFollowsTheTabOrder()
{
    MainWindow main;
    QStringList chain, rows;
    for (const form1::ControlDesign &row : form1::controls())
        rows << row.name;
    QWidget *widget = main.find(rows.first().toLatin1());
    do {
        if (widget->focusPolicy() & Qt::TabFocus)
            chain << widget->objectName();
        widget = widget->nextInFocusChain();
    } while (widget->objectName() != rows.first());
    QCOMPARE(chain, rows);

    QVERIFY(main.show());
    QCOMPARE(QApplication::focusWidget()->objectName(), "Text1");
    // The checked option stands for its group in the keyboard's path.
    const auto tabFrom = [](const char *name, Qt::KeyboardModifiers modifiers = {}) {
        QWidget *from = QApplication::focusWidget()->window()->findChild<QWidget *>(name);
        from->setFocus(Qt::TabFocusReason);
        QTest::keyClick(from, Qt::Key_Tab, modifiers);
        return QApplication::focusWidget()->objectName();
    };
    QCOMPARE(tabFrom("Command1"), "Option1");
    QCOMPARE(tabFrom("Option1"), "Text4");
    QCOMPARE(tabFrom("Text4", Qt::ShiftModifier), "Option1");
    main.find<QRadioButton>("Option2")->setChecked(true);
    QCOMPARE(tabFrom("Command1"), "Option2");
    QCOMPARE(tabFrom("Option2"), "Text4");
    QCOMPARE(tabFrom("Text4", Qt::ShiftModifier), "Option2");
}

void Form1Test::entryFieldsLimitWhatIsTyped()
{
    const MainWindow window;
    for (const form1::ControlDesign &row : form1::controls()) {
        if (row.maxLength == 0)
            continue;
        QLineEdit *field = window.field(row.name);
        field->clear();
        QTest::keyClicks(field, QString(row.maxLength + 1, u'7'));
        QCOMPARE(field->text(), QString(row.maxLength, u'7'));
    }
    // Pasted digits keep the marks Arabic text carries; the marks go, the digits count. No
    // text starts with U+FEFF here: QString takes a leading one for a byte order mark.
    for (const auto &[name, pasted, kept] :
         {std::tuple{"Text1", u"\u200F12", u"12"}, std::tuple{"Text2", u"\u200F3\u200F", u"3"},
          std::tuple{"Text3", u"\u202B\u20662026\u2069\u202C", u"2026"},
          std::tuple{"Text1", u"\u061C\uFEFF٥", u"٥"}}) {
        QLineEdit *field = window.field(name);
        field->clear();
        QApplication::clipboard()->setText(QString::fromUtf16(pasted));
        field->paste();
        QCOMPARE(field->text(), QString::fromUtf16(kept));
    }
    QLineEdit *day = window.field("Text1");
    day->setText("1");
    day->setCursorPosition(0);
    QApplication::clipboard()->setText("\u200F234");
    day->paste(); // what does not fit is cut from the end of what was pasted
    QCOMPARE(day->text(), "21");
    QLineEdit *result = window.field("Text9");
    QTest::keyClicks(result, "x");
    QVERIFY(result->text().endsWith("x")); // result fields accept typing
}

void Form1Test::enterPressesOnlyAFocusedButton()
{
    MainWindow main;
    QVERIFY(main.show());
    QWidget &window = main.form;
    QStringList pressedNames;
    for (QPushButton *button : window.findChildren<QPushButton *>())
        connect(button, &QPushButton::clicked, &window,
                [&pressedNames, button] { pressedNames << button->objectName(); });
    const auto pressed = [&pressedNames] { return std::exchange(pressedNames, {}); };
    for (const char *name : {"Text1", "Text3", "Text7", "Option1"}) {
        QWidget *control = main.find(name);
        control->setFocus();
        QTest::keyClick(control, Qt::Key_Return);
        QTest::keyClick(control, Qt::Key_Enter);
        QTest::keyClick(control, Qt::Key_Escape);
    }
    QVERIFY(window.isVisible());
    QCOMPARE(pressed(), QStringList());

    auto *button = main.find<QPushButton>("Command3");
    button->setFocus();
    QTest::keyClick(button, Qt::Key_Return);
    QTest::keyClick(button, Qt::Key_Enter);
    QTest::keyClick(button, Qt::Key_Space);
    QCOMPARE(pressed(), QStringList({"Command3", "Command3", "Command3"}));
    // A held key repeats its press; the summary is written once.
    QKeyEvent repeated(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(button, &repeated);
    QCOMPARE(pressed(), QStringList());
    QVERIFY(!button->isDefault());

    // The About window answers the keys alike: its list is no button, its return button is.
    Form2 about;
    about.loadAndShow();
    QVERIFY(QTest::qWaitForWindowActive(&about));
    auto *list = about.findChild<QListWidget *>("List1");
    QTest::keyClick(list, Qt::Key_Escape);
    QTest::keyClick(list, Qt::Key_Return);
    QVERIFY(about.isVisible());
    auto *back = about.findChild<QPushButton *>("Command1");
    back->setFocus();
    QTest::keyClick(back, Qt::Key_Return);
    QVERIFY(!about.isVisible());
}

void Form1Test::qtsOwnWordsAreArabic()
{
    QTranslator translator;
    QVERIFY(installQtArabicTranslation(translator));
    // The entry fields' context menu.
    const QString copy = QCoreApplication::translate("QLineEdit", "&Copy");
    QVERIFY2(copy.contains(QRegularExpression(QStringLiteral("[\\x{0621}-\\x{064A}]"))),
             qPrintable(copy));
    QCoreApplication::removeTranslator(&translator);
}

QTEST_MAIN(Form1Test)
#include "form1_test.moc"
