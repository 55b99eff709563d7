#include "about/form2.h"
#include "about/form2_layout.h"
#include "main_window.h"

#include <QApplication>
#include <QListWidget>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

namespace {

QStringList lines(const QListWidget *list)
{
    QStringList texts;
    for (int row = 0; row < list->count(); ++row)
        texts << list->item(row)->text();
    return texts;
}

const QStringList SixLines = {"بسم الله الرحمن الرحيم", "برنامج تحويل التاريخ الهجري والميلادي",
                              // Latin runs are isolated, so that "C++" is not drawn as "++C".
                              "إعداد فريق تقويم (\u2066Taqwim\u2069)",
                              QStringLiteral("طُوّر بلغة \u2066C++\u2069 ومكتبة \u2066Qt 6\u2069 "
                                             "(يعمل الآن على \u2066Qt %1\u2069)")
                                      .arg(qVersion()),
                              " هذا البرنامج مجاني", "البحرين 2000"};

// The main window shown, with the About window it opens.
struct Windows : MainWindow
{
    Windows() { form.showCentred(); }

    Form2 *about() const
    {
        for (QWidget *window : QApplication::topLevelWidgets())
            if (auto *about = qobject_cast<Form2 *>(window))
                return about;
        return nullptr;
    }
    QListWidget *list() const { return about()->findChild<QListWidget *>("List1"); }
    void returnFromAbout()
    {
        QTest::mouseClick(about()->findChild<QPushButton *>("Command1"), Qt::LeftButton);
    }
};

} // namespace

class AboutTest : public QObject
{
    Q_OBJECT

private slots:
    void opensWithSixLinesInSlotOrder();
    void isLaidOutAsDesigned();
    void reopeningFillsTheListAfresh();
    void openingAgainOnlyBringsItForward();
    void programEndsWhenBothWindowsAreClosed();
};

void AboutTest::opensWithSixLinesInSlotOrder()
{
    Windows window;
    QVERIFY(!window.about()); // made on first use
    window.press("Command6");
    QVERIFY(window.about());
    QVERIFY(QTest::qWaitForWindowExposed(window.about()));
    QCOMPARE(lines(window.list()), SixLines);
    QVERIFY(window.list()->selectedItems().isEmpty());
    QVERIFY(window.about()->parentWidget() == nullptr);
    QVERIFY(QTest::qWaitForWindowActive(window.about()));
    QCOMPARE(QApplication::focusWidget(), window.list());
    QVERIFY(window.stillConverts()); // the main window stays usable beside it
}

void AboutTest::isLaidOutAsDesigned()
{
    Windows window;
    window.press("Command6");
    Form2 *about = window.about();
    QCOMPARE(about->windowTitle(), "عن البرنامج");
    QCOMPARE(about->size(), design::pixels(form2::clientArea()).size());
    QCOMPARE(about->layoutDirection(), Qt::RightToLeft);
    for (const form2::ControlDesign &row : form2::controls()) {
        const QWidget *control = about->findChild<QWidget *>(row.name);
        QVERIFY2(control, row.name);
        QCOMPARE(control->geometry(), design::pixels(row.box));
        if (row.font.points > 0) {
            QCOMPARE(control->font().pixelSize(), design::font(row.font).pixelSize());
            QCOMPARE(control->font().weight(), QFont::Normal);
        }
    }
    QCOMPARE(window.list()->selectionMode(), QAbstractItemView::SingleSelection);
    const auto *back = about->findChild<QPushButton *>("Command1");
    QCOMPARE(back->text(), "عــودة إلى البرنامج");
    QCOMPARE(back->accessibleName(), back->text());
    QVERIFY(!window.list()->accessibleName().isEmpty());
    QVERIFY(QTest::qWaitForWindowActive(about));
    // Both windows come up in the middle of the screen; the frame, unknown until a window is
    // shown, may move it by its own width.
    for (const QWidget *shown :
         {static_cast<QWidget *>(&window.form), static_cast<QWidget *>(about)}) {
        const QPoint offCentre
                = shown->frameGeometry().center() - shown->screen()->availableGeometry().center();
        QVERIFY2(offCentre.manhattanLength() <= 8, qPrintable(shown->objectName()));
    }
    QTest::keyClick(window.list(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), back);
    // The list is shorter than its six lines: the user scrolls to the last ones.
    QVERIFY(window.list()->verticalScrollBar()->maximum() > 0);
}

void AboutTest::reopeningFillsTheListAfresh()
{
    Windows window;
    window.press("Command6");
    Form2 *first = window.about();
    window.returnFromAbout();
    QVERIFY(!first->isVisible());
    window.press("Command6");
    QCOMPARE(window.about(), first); // one About window for the whole run
    QVERIFY(first->isVisible());
    QCOMPARE(lines(window.list()), SixLines);
}

void AboutTest::openingAgainOnlyBringsItForward()
{
    Windows window;
    window.press("Command6");
    window.list()->setCurrentRow(2);
    const QListWidgetItem *third = window.list()->item(2);
    window.about()->showMinimized();
    window.form.activateWindow();
    window.press("Command6");
    QVERIFY(!(window.about()->windowState() & Qt::WindowMinimized));
    QCOMPARE(window.list()->item(2), third); // not filled again
    QCOMPARE(window.list()->currentRow(), 2);
    QCOMPARE(window.list()->count(), 6);
    QTRY_COMPARE(QApplication::activeWindow(), window.about());
}

void AboutTest::programEndsWhenBothWindowsAreClosed()
{
    enum class Closed { MainAlone, MainFirst, AboutFirst };
    for (const Closed order : {Closed::MainAlone, Closed::MainFirst, Closed::AboutFirst}) {
        Windows window;
        if (order != Closed::MainAlone)
            window.press("Command6");
        bool stillRunning = false;
        // Timers still pending when this pass ends must not reach its locals, nor end a later
        // pass's loop.
        QObject pass;
        QTimer::singleShot(0, &pass, [&] {
            if (order == Closed::AboutFirst)
                window.returnFromAbout();
            window.press("Command2");
            QTimer::singleShot(100, &pass, [&] {
                stillRunning = true; // the event loop outlived the main window
                if (order == Closed::MainFirst)
                    window.returnFromAbout();
            });
        });
        QTimer::singleShot(5000, &pass, [] { QCoreApplication::exit(1); });
        QCOMPARE(QApplication::exec(), 0);
        QVERIFY(!window.form.isVisible());
        QVERIFY(!window.about() || !window.about()->isVisible());
        QCOMPARE(stillRunning, order == Closed::MainFirst);
    }
}

QTEST_MAIN(AboutTest)
#include "about_test.moc"
