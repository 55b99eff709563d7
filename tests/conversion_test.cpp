#include "main_window.h"
#include "message_catcher.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QRadioButton>
#include <QTest>

using namespace calendar;

namespace {

struct Shown
{
    QString text7, text4, text8, text5, text9;
    friend bool operator==(const Shown &, const Shown &) = default;
};

char *toString(const Shown &s)
{
    return QTest::toString(QStringList{s.text7, s.text4, s.text8, s.text5, s.text9}.join(" | "));
}

// The main window on screen, on the fixed day.
struct Window : MainWindow
{
    Window() { QVERIFY(show()); }

    void direction(bool fromGregorian)
    {
        QTest::mouseClick(find(fromGregorian ? "Option1" : "Option2"), Qt::LeftButton, {},
                          QPoint(find("Option1")->width() - 8, 19));
        QCOMPARE(find<QRadioButton>("Option1")->isChecked(), fromGregorian);
    }
    void convert() { press("Command1"); }
    Shown shown() const
    {
        return {field("Text7")->text(), field("Text4")->text(), field("Text8")->text(),
                field("Text5")->text(), field("Text9")->text()};
    }
    // Leaves a field as the user does, with the tab key.
    void tabOutOf(const char *name, const QString &text)
    {
        field(name)->setFocus(Qt::TabFocusReason);
        field(name)->setText(text);
        QTest::keyClick(field(name), Qt::Key_Tab);
    }
};

} // namespace

class ConversionTest : public QObject
{
    Q_OBJECT

private slots:
    void convertingBackSwapsThePairs();
    void convertingTwiceWritesTheSameTexts();
    void badDatesAreToldAndChangeNothing();
    void emptyOrLowEntriesTakeTodaysGregorianValue();
    void typingRightAfterStartReplacesTodaysDay();
    void leavingTheYearMovesToConvert();
    void mouseOnConvertRepairsFirst();
    void theFieldsMenuIsNotLeavingIt();
};

void ConversionTest::convertingBackSwapsThePairs()
{
    Window window;
    // One day known field by field; the others must come back as they went.
    window.type("11", "3", "2024");
    window.convert();
    QCOMPARE(window.shown(), (Shown{"11 مارس 2024 م", "3", "1 رمضان 1445 هـ", "9", "الاثنين"}));
    const char *gregorianDates[][3]
            = {{"11", "3", "2024"}, {"16", "7", "622"},   {"8", "12", "2026"},
               {"29", "2", "2024"}, {"4", "10", "1582"},  {"15", "10", "1582"},
               {"1", "1", "1900"},  {"31", "12", "9999"}, {"1", "1", "9990"}};
    for (const auto &date : gregorianDates) {
        window.direction(true);
        window.type(date[0], date[1], date[2]);
        window.convert();
        const Shown there = window.shown();
        QVERIFY2(there.text8.endsWith("هـ"), date[2]);
        // Type the Hijri day shown back in, as a user would.
        const QStringList hijri = there.text8.split(u' ');
        window.direction(false);
        window.field("Text1")->setText(hijri.first());
        window.field("Text2")->setText(there.text5);
        window.field("Text3")->setText(hijri.at(hijri.size() - 2));
        window.convert();
        QCOMPARE(window.shown(),
                 (Shown{there.text8, there.text5, there.text7, there.text4, there.text9}));
    }
    // 1 Muharram 1 AH, from the Hijri side.
    window.type("1", "1", "1");
    window.convert();
    QCOMPARE(window.shown(), (Shown{"1 محرم 1 هـ", "1", "16 يوليو 622 م", "7", "الجمعة"}));
    QCOMPARE(CurrentCalendar(), Gregorian);
}

void ConversionTest::convertingTwiceWritesTheSameTexts()
{
    Window window;
    const Shown atStart = window.shown();
    window.convert();
    QCOMPARE(window.shown(), atStart); // start-up and conversion agree
    window.type("5", "1", "2025");
    window.convert();
    const Shown once = window.shown();
    window.convert();
    QCOMPARE(window.shown(), once);
    QCOMPARE(once.text4, "1");
    QCOMPARE(once.text5, "7");
}

void ConversionTest::badDatesAreToldAndChangeNothing()
{
    const struct
    {
        bool fromGregorian;
        const char *day, *month, *year, *told;
    } cases[] = {
            {true, "31", "2", "2021", "28"},
            {false, "30", "9", "1446", "رمضان سنة 1446 هـ فيه 29"},
            {true, "ab", "1", "2020", "اليوم"},
            {true, "1", "", "2020", "الشهر"},
            {true, "", "", "", "اليوم"},
            {false, "1", "1", "1x", "السنة"},
            // A separator typed into one field is blamed on that field, not the next.
            {true, "1/", "12", "2026", "خانة اليوم لا تحتوي"},
            {true, "1", "1/", "2026", "خانة الشهر لا تحتوي"},
            {false, "1", "12", "/144", "خانة السنة لا تحتوي"},
    };
    Window window;
    MessageCatcher messages;
    for (const auto &c : cases) {
        window.direction(c.fromGregorian);
        const Shown before = window.shown();
        window.type(c.day, c.month, c.year);
        window.convert();
        QCOMPARE(window.shown(), before);
        QCOMPARE(CurrentCalendar(), Gregorian);
        QVERIFY2(messages.seen().size() == &c - cases + 1, c.told);
        QVERIFY2(messages.seen().last().contains(QString::fromUtf8(c.told)),
                 qPrintable(messages.seen().last()));
        QCOMPARE(messages.directions().last(), Qt::RightToLeft);
    }
    QVERIFY(window.stillConverts());
}

void ConversionTest::emptyOrLowEntriesTakeTodaysGregorianValue()
{
    const struct
    {
        const char *field, *typed, *after;
    } cases[] = {
            {"Text1", "", "12"},       {"Text1", "0", "12"},      {"Text1", "-1", "12"},
            {"Text1", ".5", "12"},     {"Text1", "ab", "12"},     {"Text1", "1", "1"},
            {"Text1", "45", "45"},     {"Text1", "99", "99"},     {"Text1", "1x", "1x"},
            {"Text1", "١٢", "١٢"},     {"Text1", "۰", "12"},      {"Text2", "", "10"},
            {"Text2", "13", "13"},     {"Text2", "0", "10"},      {"Text3", "0.5", "1999"},
            {"Text3", "1.5", "1.5"},   {"Text3", "", "1999"},     {"Text3", " 7", " 7"},
            {"Text1", "\u200F5", "5"}, {"Text2", "\u200F3", "3"}, {"Text3", "\u200F2025", "2025"},
    };
    Window window;
    for (const bool fromGregorian : {true, false}) {
        window.direction(fromGregorian);
        for (const auto &c : cases) {
            window.tabOutOf(c.field, QString::fromUtf8(c.typed));
            QCOMPARE(window.field(c.field)->text(), QString::fromUtf8(c.after));
        }
    }
}

void ConversionTest::typingRightAfterStartReplacesTodaysDay()
{
    Window window; // on the 12th
    QTest::keyClicks(QApplication::focusWidget(), "15");
    QCOMPARE(window.field("Text1")->text(), "15");
}

void ConversionTest::leavingTheYearMovesToConvert()
{
    Window window;
    for (const char *year : {"2024", "", "0"}) {
        window.tabOutOf("Text3", QString::fromUtf8(year));
        QCOMPARE(window.focused(), "Command1");
    }
    // Clicking another field with the mouse leaves the year field too.
    window.field("Text3")->setFocus(Qt::TabFocusReason);
    QTest::mouseClick(window.field("Text1"), Qt::LeftButton);
    QCOMPARE(window.focused(), "Command1");
    window.tabOutOf("Text1", "5");
    QCOMPARE(window.focused(), "Text2"); // the day field leaves the focus where it went
}

void ConversionTest::mouseOnConvertRepairsFirst()
{
    Window window;
    window.type("11", "3", "2024");
    window.field("Text1")->setFocus(Qt::MouseFocusReason);
    window.field("Text1")->clear();
    window.convert();
    QCOMPARE(window.field("Text1")->text(), "12");
    QCOMPARE(window.shown().text7, "12 مارس 2024 م");
}

void ConversionTest::theFieldsMenuIsNotLeavingIt()
{
    Window window;
    QLineEdit *day = window.field("Text1");
    day->setFocus(Qt::MouseFocusReason);
    day->clear();
    // The user empties the field and opens its menu to paste.
    QApplication::clipboard()->setText("15");
    QContextMenuEvent request(QContextMenuEvent::Mouse, QPoint(4, 4),
                              day->mapToGlobal(QPoint(4, 4)));
    QApplication::sendEvent(day, &request);
    auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    QVERIFY(menu);
    QCOMPARE(day->text(), QString());
    menu->close();
    day->paste();
    QCOMPARE(day->text(), "15");
}

QTEST_MAIN(ConversionTest)
#include "conversion_test.moc"
