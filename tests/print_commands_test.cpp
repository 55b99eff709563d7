#include "design/design_units.h"
#include "main_window.h"
#include "message_catcher.h"
#include "printed_pages.h"
#include "printing/summary.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPdfWriter>
#include <QRadioButton>

using namespace calendar;

namespace {

const QString Style = "style bold 14 pt";

QStringList repeated(const QString &call, int times)
{
    return QStringList(times, call);
}

// The calls of one summary: its style, then its lines kept together on a page.
QStringList summaryCalls(int lines = 8)
{
    return QStringList{Style, "group"} + repeated("line", lines) + QStringList{"group end"};
}

const QString NothingToPrint = "لم يكن في ذاكرة الطابعة شيء لطباعته.";
const QString StillPending = "بقي المستند في ذاكرة الطابعة";

using Window = MainWindow;

// The summary of the window's day, as the window writes it.
RecordedDocument todaysSummary()
{
    Window window;
    window.press("Command3");
    return window.printer.pending;
}

// How wide a text comes out in the summary's 14 pt bold, in points.
qreal widthIn14PointBold(const QString &text)
{
    QBuffer nowhere;
    if (!nowhere.open(QIODevice::WriteOnly))
        qFatal("a buffer in memory did not open");
    QPdfWriter pdf(&nowhere);
    pdf.setResolution(1200);
    QFont font;
    font.setFamilies(design::fontFamilies());
    font.setPointSizeF(14);
    font.setBold(true);
    return QFontMetricsF(font, &pdf).horizontalAdvance(text) * 72 / pdf.resolution();
}

// Summaries as the window writes them, each kept together in its 14 pt bold
// (summaryIsItsStyleThenEightLines), with the longest of the Hijri months.
QList<printing::PrintedLine> summaries(int count, const QString &gregorian = "16 ديسمبر 2026 م")
{
    RecordingPrinter printer;
    printing::writeSummary(printer, {gregorian, "28 جمادى الآخرة 1448 هـ", "الأربعاء"});
    QList<printing::PrintedLine> lines;
    for (int group = 1; group <= count; ++group)
        for (const QString &text : joined(printer.pending))
            lines.append({text, {true, 14}, group});
    return lines;
}

QList<Page> printedOn(const QList<printing::PrintedLine> &lines, const QPageSize &paper)
{
    return pagesOf(printing::pdfPages(lines, design::fontFamilies(), paper));
}

} // namespace

class PrintCommandsTest : public QObject
{
    Q_OBJECT

private slots:
    void summaryIsItsStyleThenEightLines();
    void summariesCollectUntilPrinted();
    void discardStartsAFreshDocument();
    void endAndDiscardAlwaysReachThePrinter();
    void fieldsAreWrittenAsTheyStand();
    void failureWhileWritingKeepsWhatWasWritten();
    void missingPrinterKeepsTheDocumentPending();
    void unexpectedFailureIsToldAndTheWindowGoesOn();
    void datesFollowTheirLabelsInBothDirections();
    void summariesArePrintedRightAlignedIn14PointBold();
    void pagesHoldWholeSummariesOnTheQueuesPaper_data();
    void pagesHoldWholeSummariesOnTheQueuesPaper();
    void aGroupTallerThanAPageBreaksWhereItMust();
    void aWordTooWideAtSixPointsWrapsWhole();
    void summariesFitUnwrappedOnPaperOfAnyWidth();
};

void PrintCommandsTest::summaryIsItsStyleThenEightLines()
{
    Window window;
    window.press("Command3");
    QCOMPARE(window.printer.calls, summaryCalls());
    // Between two rows of stars, the title and each field after its label: the items stand
    // one after another.
    const QStringList rule{QString(48, u'*')};
    QCOMPARE(window.printer.pending,
             (RecordedDocument{rule,
                               {},
                               {" العنوان             "},
                               {"  ", "التاريخ الميلادي:", "12 أكتوبر 1999 م"},
                               {"  ", "يصادف التاريخ الهجري:", "3 رجب 1420 هـ"},
                               {"  ", "اسم اليوم:", "الثلاثاء"},
                               {},
                               rule}));
    QVERIFY(window.printer.printed.isEmpty());
}

void PrintCommandsTest::summariesCollectUntilPrinted()
{
    Window window;
    window.press("Command3");
    window.press("Command3");
    window.press("Command5");
    QCOMPARE(window.printer.calls, summaryCalls() + summaryCalls() + QStringList{"end"});
    QCOMPARE(window.printer.printed.size(), 1);
    QCOMPARE(window.printer.printed[0], todaysSummary() + todaysSummary());
    QVERIFY(!window.printer.hasPendingDocument());
}

void PrintCommandsTest::discardStartsAFreshDocument()
{
    Window window;
    window.press("Command3");
    window.press("Command4");
    window.press("Command3");
    window.press("Command5");
    QCOMPARE(window.printer.printed.size(), 1);
    QCOMPARE(window.printer.printed[0], todaysSummary());
}

void PrintCommandsTest::endAndDiscardAlwaysReachThePrinter()
{
    Window window;
    MessageCatcher messages;
    window.press("Command4");
    QCOMPARE(window.printer.calls, QStringList{"discard"});
    QVERIFY(messages.seen().isEmpty());
    window.press("Command5");
    QCOMPARE(window.printer.calls, QStringList({"discard", "end"}));
    QVERIFY(window.printer.printed.isEmpty());
    // Printing with nothing pending is told, not silent.
    QCOMPARE(messages.seen(), QStringList{NothingToPrint});
    window.press("Command3");
    window.press("Command5");
    QCOMPARE(messages.seen().size(), 1);
}

void PrintCommandsTest::fieldsAreWrittenAsTheyStand()
{
    Window window;
    const QString longText = QString(" %1 ").arg(QString(300, u'ت'));
    window.field("Text7")->setText(longText);
    window.field("Text9")->clear();
    window.press("Command3");
    QCOMPARE(window.printer.pending[3].last(), longText);
    QCOMPARE(joined(window.printer.pending)[5], "  اسم اليوم:");
}

void PrintCommandsTest::failureWhileWritingKeepsWhatWasWritten()
{
    Window window;
    MessageCatcher messages;
    window.printer.failAtLine = 5;
    window.press("Command3");
    // The group is closed even though its fifth line failed.
    QCOMPARE(window.printer.calls, summaryCalls(5));
    QCOMPARE(window.printer.pending, todaysSummary().mid(0, 4));
    QCOMPARE(messages.seen().size(), 1);
    // The next summary goes on from there: the pending part is not lost.
    window.press("Command3");
    window.press("Command5");
    QCOMPARE(window.printer.printed.value(0), todaysSummary().mid(0, 4) + todaysSummary());
}

void PrintCommandsTest::missingPrinterKeepsTheDocumentPending()
{
    Window window;
    MessageCatcher messages;
    window.printer.failToPrint = true;
    window.press("Command3");
    window.press("Command5");
    QCOMPARE(messages.seen().size(), 1);
    QVERIFY(messages.seen().first().contains("لا توجد طابعة افتراضية"));
    QVERIFY(messages.seen().first().contains(StillPending));
    QCOMPARE(window.printer.pending, todaysSummary());
    window.printer.failToPrint = false;
    window.press("Command5");
    QCOMPARE(window.printer.printed.value(0), todaysSummary());
}

void PrintCommandsTest::unexpectedFailureIsToldAndTheWindowGoesOn()
{
    Window window;
    MessageCatcher messages;
    window.printer.internalFault = true;
    window.press("Command3");
    QCOMPARE(messages.seen().size(), 1);
    QVERIFY(messages.seen().first().contains("line written to a closed document"));
    QVERIFY(window.stillConverts());
}

void PrintCommandsTest::datesFollowTheirLabelsInBothDirections()
{
    Window window;
    window.find<QRadioButton>("Option2")->setChecked(true);
    window.type("1", "1", "1446");
    window.press("Command1");
    QCOMPARE(window.field("Text7")->text(), "1 محرم 1446 هـ");
    window.press("Command3");
    const QStringList fields
            = {"7 يوليو 2024 م", "1 محرم 1446 هـ", "الأحد"}; // Gregorian, Hijri, weekday
    for (int line = 3; line <= 5; ++line)
        QCOMPARE(window.printer.pending[line].last(), fields[line - 3]);
    // Choosing the other direction without converting changes nothing shown.
    const RecordedDocument once = window.printer.pending;
    window.find<QRadioButton>("Option1")->setChecked(true);
    window.press("Command3");
    QCOMPARE(window.printer.pending, once + once);
}

void PrintCommandsTest::summariesArePrintedRightAlignedIn14PointBold()
{
    MainWindowOf<ProgramsPrinter> window;
    window.press("Command3");
    window.press("Command3");
    // Until a print service names its paper, the pages are A4.
    const QList<Page> pages = pagesOf(window.printer.pendingDocumentPdf());
    QCOMPARE(pages.size(), 1);
    QVERIFY(isOfSize(pages[0], A4Paper));
    QCOMPARE(pages[0].lines.size(), 12); // the empty lines leave no text behind
    expectWholeSummaries(pages[0], false);
    const qreal weekdayWidth = widthIn14PointBold("اسم اليوم:الثلاثاء");
    for (const int weekdayLine : {4, 10}) {
        const qreal width = pages[0].lines[weekdayLine].box.width();
        QVERIFY2(qAbs(width - weekdayWidth) < 0.02 * weekdayWidth,
                 qPrintable(QStringLiteral("%1 pt, not %2").arg(width).arg(weekdayWidth)));
    }
}

void PrintCommandsTest::pagesHoldWholeSummariesOnTheQueuesPaper_data()
{
    QTest::addColumn<QByteArray>("media");
    QTest::addColumn<QSizeF>("paper");
    QTest::addColumn<int>("pages");
    // Letter takes two summaries a page, A4 three. The star rule is wider than A5 and the
    // label paper, and every line wider than the label.
    QTest::newRow("Letter") << QByteArray("na_letter_8.5x11in") << LetterPaper << 2;
    QTest::newRow("A5") << QByteArray("iso_a5_148x210mm") << A5Paper << 2;
    QTest::newRow("90 x 120 mm") << QByteArray("om_label_90x120mm") << LabelPaper << 2;
    QTest::newRow("A4") << QByteArray("iso_a4_210x297mm") << A4Paper << 2;
    QTest::newRow("none") << QByteArray() << A4Paper << 2;
    QTest::newRow("unknown") << QByteArray("unknown") << A4Paper << 2;
}

void PrintCommandsTest::pagesHoldWholeSummariesOnTheQueuesPaper()
{
    QFETCH(QByteArray, media);
    QFETCH(QSizeF, paper);
    QFETCH(int, pages);
    const QList<Page> printed = printedOn(
            summaries(4), printing::paperNamed(media.isNull() ? nullptr : media.constData()));
    QCOMPARE(printed.size(), pages);
    for (const Page &page : printed) {
        QVERIFY(isOfSize(page, paper));
        expectWholeSummaries(page, paper.width() < LetterPaper.width() * 0.8);
    }
    if (paper == A4Paper)
        QCOMPARE(printed[0].lines.size(), 3 * 6);
}

void PrintCommandsTest::aGroupTallerThanAPageBreaksWhereItMust()
{
    QList<printing::PrintedLine> lines;
    for (int i = 1; i <= 80; ++i)
        lines.append({QString::number(i), {false, 14}, 1});
    const QList<Page> pages = printedOn(lines, QPageSize(QPageSize::A4));
    QVERIFY(pages.size() > 1);
    int next = 1;
    for (const Page &page : pages) {
        expectWithinTheMargins(page);
        // Each page goes on where the last one stopped, and every page but the last is full.
        QCOMPARE(page.lines.value(0).glyphs, QString::number(next));
        next += int(page.lines.size());
        if (&page != &pages.last())
            QVERIFY(page.lines.last().box.bottom()
                    > page.size.height() - Margin - 2 * page.lines.last().box.height());
    }
    QCOMPARE(next, 81);
}

void PrintCommandsTest::aWordTooWideAtSixPointsWrapsWhole()
{
    // Anything may be typed into a result field. Its summary is made smaller only down to
    // 6 pt; a word still too long for a line goes on on the next, never past the margin.
    const QList<Page> pages = printedOn(summaries(1, QString(300, u'ث')), QPageSize(QPageSize::A4));
    const qreal sixPoints = printedOn({{"اسم اليوم:", {true, 6}}}, QPageSize(QPageSize::A4))
                                    .value(0)
                                    .lines.value(0)
                                    .box.height();
    QCOMPARE(pages.size(), 1);
    QVERIFY(pages[0].lines.size() > 6);
    expectWithinTheMargins(pages[0]);
    qsizetype letters = 0;
    for (const PrintedText &line : pages[0].lines) {
        if (!line.isRule())
            QVERIFY2(
                    line.box.height() > sixPoints - 0.05,
                    qPrintable(
                            QStringLiteral("%1 pt, not %2").arg(line.box.height()).arg(sixPoints)));
        letters += line.glyphs.normalized(QString::NormalizationForm_KC).count(u'ث');
    }
    QCOMPARE(letters, 300);
}

void PrintCommandsTest::summariesFitUnwrappedOnPaperOfAnyWidth()
{
    // A line is made small enough to fit by measuring it as it is drawn: measured any other
    // way it comes out a little narrower or wider, and on some width of paper its last word
    // then wraps onto a line of its own. Past 140 mm the summary fits at its own 14 pt.
    for (int millimetres = 90; millimetres <= 140; ++millimetres) {
        const QList<Page> pages = printedOn(
                summaries(1), QPageSize(QSizeF(millimetres, 297), QPageSize::Millimeter));
        QVERIFY(!pages.isEmpty());
        QVERIFY2(pages[0].lines.size() == 6,
                 qPrintable(QStringLiteral("%1 lines on %2 mm")
                                    .arg(pages[0].lines.size())
                                    .arg(millimetres)));
        expectWithinTheMargins(pages[0]);
    }
}

QTEST_MAIN(PrintCommandsTest)
#include "print_commands_test.moc"
