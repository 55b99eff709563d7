#include "about/form2.h"
#include "form1.h"
#include "qt_translation.h"
#include "recording_printer.h"
#ifndef Q_MOC_RUN // moc cannot read the standard library's concepts
#include "calendar/calendar_service.h"
#endif

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QStyle>
#include <QTest>
#include <QTranslator>

using namespace calendar;

namespace {

Date gregorianDay(const char *text)
{
    CalendarScope scope(Gregorian);
    return ParseDate(text);
}

QString textOf(const QWidget &window, const char *name)
{
    return window.findChild<QLineEdit *>(QLatin1StringView(name))->text();
}

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

struct ExpectedControl
{
    const char *name;
    QRect geometry;
    int fontPixels;
    const char *background, *foreground; // nullptr: the style's own
    int maxLength;
    Qt::LayoutDirection direction;
    const char *accessibleName;
};

} // namespace

class Form1Test : public QObject
{
    Q_OBJECT

private slots:
    void startsWithTodayInBothCalendars();
    void writesOneDigitDaysWithoutLeadingZeros();
    void controlsStandWhereTheLayoutPutsThem();
    void surfaceIsPaintedBeneathTheControlsInOrder();
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
    FixedToday today(gregorianDay("12/10/1999"));
    RecordingPrinter printer;
    Form1 window(printer);
    QVERIFY(window.findChild<QRadioButton *>("Option1")->isChecked());
    QVERIFY(!window.findChild<QRadioButton *>("Option2")->isChecked());
    QCOMPARE(textOf(window, "Text1"), "12");
    QCOMPARE(textOf(window, "Text2"), "10");
    QCOMPARE(textOf(window, "Text3"), "1999");
    QCOMPARE(textOf(window, "Text7"), "12 أكتوبر 1999 م");
    QCOMPARE(textOf(window, "Text4"), "10");
    QCOMPARE(textOf(window, "Text8"), "3 رجب 1420 هـ");
    QCOMPARE(textOf(window, "Text5"), "7");
    QCOMPARE(textOf(window, "Text9"), "الثلاثاء");
    QCOMPARE(CurrentCalendar(), Gregorian);
}

void Form1Test::writesOneDigitDaysWithoutLeadingZeros()
{
    FixedToday today(gregorianDay("5/9/1999"));
    RecordingPrinter printer;
    Form1 window(printer);
    QCOMPARE(textOf(window, "Text1"), "5");
    QCOMPARE(textOf(window, "Text2"), "9");
    QCOMPARE(textOf(window, "Text4"), "9");
    QCOMPARE(textOf(window, "Text5"), "5"); // 25 Jumada al-Ula 1420
    QCOMPARE(textOf(window, "Text7"), "5 سبتمبر 1999 م");
}

void Form1Test::controlsStandWhereTheLayoutPutsThem()
{
    const auto L = Qt::LeftToRight, R = Qt::RightToLeft;
    const ExpectedControl expected[] = {
            // The entry fields' limits count digits only: entryFieldsLimitWhatIsTyped.
            {"Text1", {359, 52, 44, 31}, 20, "#ffffff", "#000080", 32767, L, "اليوم"},
            {"Text2", {276, 54, 44, 31}, 20, "#ffffff", "#000080", 32767, L, "الشهر"},
            {"Text3", {150, 54, 89, 31}, 20, "#ffffff", "#000080", 32767, L, "السنة"},
            {"Text7", {100, 229, 313, 38}, 23, "#400040", "#00ff00", 32767, R, "التاريخ المدخل"},
            {"Text8", {100, 267, 313, 38}, 23, "#400040", "#00ff00", 32767, R, "التاريخ المقابل"},
            {"Text9", {101, 193, 313, 38}, 23, "#400040", "#00ff00", 32767, L, "اسم اليوم"},
            {"Command1", {47, 55, 79, 31}, 17, nullptr, nullptr, 0, L, "تحويل"},
            {"Option2", {242, 113, 172, 38}, 17, nullptr, nullptr, 0, R, "الهجري إلى الميلادي"},
            {"Option1", {72, 113, 172, 38}, 17, nullptr, nullptr, 0, R, "الميلادي إلى الهجري"},
            {"Text4",
             {56, 231, 39, 33},
             23,
             nullptr,
             nullptr,
             32767,
             R,
             "رقم الشهر في التاريخ المدخل"},
            {"Text5",
             {56, 273, 40, 30},
             23,
             nullptr,
             nullptr,
             32767,
             R,
             "رقم الشهر في التاريخ المقابل"},
            {"Command2", {409, 321, 52, 46}, 0, nullptr, nullptr, 0, L, "خروج"},
            {"Command3", {249, 336, 157, 30}, 17, nullptr, nullptr, 0, R, "إلى ذاكرة الطابعة"},
            {"Command4", {89, 336, 157, 30}, 17, nullptr, nullptr, 0, R, "إلغاء ذاكرة الطابعة"},
            {"Command5", {28, 321, 52, 46}, 0, nullptr, nullptr, 0, L, "طباعة"},
            {"Command6", {26, 112, 22, 204}, 0, nullptr, nullptr, 0, L, "عن البرنامج"},
    };
    RecordingPrinter printer;
    Form1 window(printer);
    QCOMPARE(window.size(), QSize(461, 392));
    QCOMPARE(window.windowTitle(), "تقويم");
    QCOMPARE(window.accessibleDescription(), "محوّل التاريخ الهجري والميلادي");
    QCOMPARE(window.layoutDirection(), Qt::RightToLeft);
    QCOMPARE(window.palette().color(QPalette::Window).name(), "#c0c0c0");
    QVERIFY(!(window.windowFlags()
              & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    for (const ExpectedControl &e : expected) {
        QWidget *control = window.findChild<QWidget *>(QLatin1StringView(e.name));
        QVERIFY2(control, e.name);
        QCOMPARE(control->geometry(), e.geometry);
        QCOMPARE(control->layoutDirection(), e.direction);
        QCOMPARE(control->accessibleName(), QString::fromUtf8(e.accessibleName));
        QVERIFY2(control->focusPolicy() & Qt::TabFocus, e.name);
        if (e.fontPixels) {
            QCOMPARE(control->font().pixelSize(), e.fontPixels);
            QCOMPARE(control->font().weight(), QFont::Bold);
            QVERIFY(control->font().families().contains("Noto Sans Arabic"));
            QCOMPARE(control->font().families().value(0), "Arabic Transparent");
        }
        if (e.background) {
            QCOMPARE(control->palette().color(QPalette::Base).name(), e.background);
            QCOMPARE(control->palette().color(QPalette::Text).name(), e.foreground);
        }
        if (auto *field = qobject_cast<QLineEdit *>(control))
            QCOMPARE(field->maxLength(), e.maxLength);
        if (auto *button = qobject_cast<QPushButton *>(control)) {
            QVERIFY(!button->isDefault());
            QVERIFY(!button->autoDefault());
            QCOMPARE(button->icon().isNull(), e.fontPixels != 0);
        }
    }
    QCOMPARE(window.findChild<QLineEdit *>("Text7")->alignment(), Qt::AlignCenter);
    QCOMPARE(window.findChild<QLineEdit *>("Text1")->alignment() & Qt::AlignHorizontal_Mask,
             Qt::AlignLeft);
}

void Form1Test::surfaceIsPaintedBeneathTheControlsInOrder()
{
    const struct
    {
        const char *name;
        QRect geometry;
    } painted[] = {
            {"Image1", {24, -8, 461, 400}},
            {"Shape1", {69, 110, 349, 45}},
            {"Shape2", {31, 48, 423, 42}},
            {"Label4", {240, 55, 32, 31}},
            {"Label2", {402, 52, 37, 32}},
            {"Label3", {322, 53, 36, 31}},
            {"Image2", {-3, -6, 24, 400}},
            {"Shape3", {50, 182, 385, 136}},
            {"Label1", {55, 210, 43, 20}},
            {"Label5", {61, 185, 33, 22}},
            {"Image3", {21, 369, 450, 24}},
            {"Line1", {}},
            {"Line2", {}},
            {"Image4", {24, 1, 46, 36}},
    };
    RecordingPrinter printer;
    Form1 window(printer);
    const QObjectList children = window.children();
    qsizetype previous = -1;
    for (const auto &item : painted) {
        auto *widget = window.findChild<QWidget *>(QLatin1StringView(item.name));
        QVERIFY2(widget, item.name);
        const qsizetype place = children.indexOf(widget);
        QVERIFY2(place > previous, item.name); // stacked above what comes before it
        previous = place;
        if (!item.geometry.isNull())
            QCOMPARE(widget->geometry(), item.geometry);
    }
    for (const char *control : {"Text1", "Command1", "Option1", "Command6"})
        QVERIFY(children.indexOf(window.findChild<QWidget *>(QLatin1StringView(control)))
                > previous);
    const QWidget *line1 = window.findChild<QWidget *>("Line1");
    QVERIFY(line1->geometry().contains(QPoint(21, 367)));
    QVERIFY(line1->geometry().contains(QPoint(460, 368)));
    const QString tip = window.findChild<QWidget *>("Image4")->toolTip();
    QVERIFY(tip.contains("Taqwim") && tip.contains("2.0") && tip.contains("Taqwim team"));
    for (const QChar c : tip)
        QVERIFY(c.unicode() < 0x80);
    // Colours are written 0x00BBGGRR: Shape1's 0x00404000 is a dark teal, not an olive.
    const QImage band = window.findChild<QWidget *>("Shape1")->grab().toImage();
    QCOMPARE(band.pixelColor(band.rect().center()).name(), "#004040");
    QCOMPARE(band.pixelColor(1, 1).name(), "#ffffff");
    auto *year = window.findChild<QLabel *>("Label4");
    QCOMPARE(year->text(), "السنة");
    QCOMPARE(year->palette().color(QPalette::Window).name(), "#808080");
    QCOMPARE(year->palette().color(QPalette::WindowText).name(), "#ffffe1");
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
    RecordingPrinter printer;
    Form1 window(printer);
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

    RecordingPrinter printer;
    Form1 window(printer);
    Form2 about;
    window.showCentred();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
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
    RecordingPrinter printer;
    Form1 window(printer);
    QStringList chain;
    QWidget *widget = window.findChild<QWidget *>("Text1");
    do {
        if (widget->focusPolicy() & Qt::TabFocus)
            chain << widget->objectName();
        widget = widget->nextInFocusChain();
    } while (widget->objectName() != "Text1");
    QCOMPARE(chain,
             QStringList({"Text1", "Text2", "Text3", "Text7", "Text8", "Text9", "Command1",
                          "Option2", "Option1", "Text4", "Text5", "Command2", "Command3",
                          "Command4", "Command5", "Command6"}));

    window.showCentred();
    QVERIFY(QTest::qWaitForWindowActive(&window));
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
    window.findChild<QRadioButton *>("Option2")->setChecked(true);
    QCOMPARE(tabFrom("Command1"), "Option2");
    QCOMPARE(tabFrom("Option2"), "Text4");
    QCOMPARE(tabFrom("Text4", Qt::ShiftModifier), "Option2");
}

void Form1Test::entryFieldsLimitWhatIsTyped()
{
    RecordingPrinter printer;
    Form1 window(printer);
    for (const auto &[name, typed, kept] :
         {std::tuple{"Text1", "123", "12"}, std::tuple{"Text2", "123", "12"},
          std::tuple{"Text3", "12345", "1234"}}) {
        auto *field = window.findChild<QLineEdit *>(name);
        field->clear();
        QTest::keyClicks(field, typed);
        QCOMPARE(field->text(), kept);
    }
    // Pasted digits keep the marks Arabic text carries; the marks go, the digits count. No
    // text starts with U+FEFF here: QString takes a leading one for a byte order mark.
    for (const auto &[name, pasted, kept] :
         {std::tuple{"Text1", u"\u200F12", u"12"}, std::tuple{"Text2", u"\u200F3\u200F", u"3"},
          std::tuple{"Text3", u"\u202B\u20662026\u2069\u202C", u"2026"},
          std::tuple{"Text1", u"\u061C\uFEFF٥", u"٥"}}) {
        auto *field = window.findChild<QLineEdit *>(name);
        field->clear();
        QApplication::clipboard()->setText(QString::fromUtf16(pasted));
        field->paste();
        QCOMPARE(field->text(), QString::fromUtf16(kept));
    }
    auto *day = window.findChild<QLineEdit *>("Text1");
    day->setText("1");
    day->setCursorPosition(0);
    QApplication::clipboard()->setText("\u200F234");
    day->paste(); // what does not fit is cut from the end of what was pasted
    QCOMPARE(day->text(), "21");
    auto *result = window.findChild<QLineEdit *>("Text9");
    QTest::keyClicks(result, "x");
    QVERIFY(result->text().endsWith("x")); // result fields accept typing
}

void Form1Test::enterPressesOnlyAFocusedButton()
{
    RecordingPrinter printer;
    Form1 window(printer);
    window.showCentred();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QStringList pressedNames;
    for (QPushButton *button : window.findChildren<QPushButton *>())
        connect(button, &QPushButton::clicked, &window,
                [&pressedNames, button] { pressedNames << button->objectName(); });
    const auto pressed = [&pressedNames] { return std::exchange(pressedNames, {}); };
    for (const char *name : {"Text1", "Text3", "Text7", "Option1"}) {
        QWidget *control = window.findChild<QWidget *>(name);
        control->setFocus();
        QTest::keyClick(control, Qt::Key_Return);
        QTest::keyClick(control, Qt::Key_Enter);
        QTest::keyClick(control, Qt::Key_Escape);
    }
    QVERIFY(window.isVisible());
    QCOMPARE(pressed(), QStringList());

    auto *button = window.findChild<QPushButton *>("Command3");
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
