#include "design/design_units.h"
#include "form1.h"
#include "message_catcher.h"
#include "printing/cups_printer.h"
#include "recording_printer.h"
#include "test_environment.h"
#ifndef Q_MOC_RUN // moc cannot read the standard library's concepts
#include "calendar/calendar_service.h"
#endif

#include <QBuffer>
#include <QFontMetricsF>
#include <QLineEdit>
#include <QPdfWriter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTcpServer>
#include <QTemporaryFile>
#include <QTest>
#include <QXmlStreamReader>

using namespace calendar;

namespace {

const QString Rule(48, u'*');
const QStringList Settings = {"set 0x10029 true", "set 0x10004 14"};

QStringList block(const QString &gregorian, const QString &hijri, const QString &weekday)
{
    return {Rule,
            "",
            " العنوان             ",
            "  التاريخ الميلادي:" + gregorian,
            "  يصادف التاريخ الهجري:" + hijri,
            "  اسم اليوم:" + weekday,
            "",
            Rule};
}

QStringList repeated(const QString &call, int times)
{
    return QStringList(times, call);
}

// The calls of one summary: the settings, then its lines kept together on a page.
QStringList summaryCalls(int lines = 8)
{
    return Settings + QStringList{"group"} + repeated("line", lines) + QStringList{"group end"};
}

const QString NothingToPrint = "لم يكن في ذاكرة الطابعة شيء لطباعته.";
const QString StillPending = "بقي المستند في ذاكرة الطابعة";

// The printer the program prints with, apart from the print service it talks to.
struct PdfPrinter : printing::CupsPrinter
{
    PdfPrinter() : CupsPrinter(design::fontFamilies()) { }
};

// The main window on 12 October 1999, printing into a recording printer, or the real one.
template<typename Printer> struct WindowWith
{
    void press(const char *name)
    {
        QTest::mouseClick(form.findChild<QPushButton *>(name), Qt::LeftButton);
    }
    QLineEdit *field(const char *name) { return form.findChild<QLineEdit *>(name); }

    FixedToday today{Date::fromDays(10876)};
    Printer printer;
    Form1 form{printer};
};
using Window = WindowWith<RecordingPrinter>;

const QStringList Today = block("12 أكتوبر 1999 م", "3 رجب 1420 هـ", "الثلاثاء");

// Points, as PDF measures paper.
const QSizeF A4Paper(595.28, 841.89), LetterPaper(612, 792), A5Paper(419.53, 595.28),
        LabelPaper(255.12, 340.16);
constexpr qreal Margin = 20 / 25.4 * 72; // 20 mm on every side
constexpr qreal Indent = 10; // room for the two spaces the date lines start with, at 14 pt

struct PrintedText
{
    QRectF box; // points from the page's top left
    QString glyphs; // as pdftotext reads them, left to right
};
struct Page
{
    QSizeF size;
    QList<PrintedText> lines; // top to bottom
};

// The pages of a PDF as poppler reads them back.
QList<Page> pagesOf(const QByteArray &pdf)
{
    QTemporaryFile file;
    if (!file.open() || file.write(pdf) != pdf.size() || !file.flush())
        return {};
    QProcess pdftotext;
    pdftotext.start("pdftotext", {"-bbox-layout", file.fileName(), "-"});
    if (!pdftotext.waitForFinished(10000) || pdftotext.exitCode() != 0)
        return {};
    QList<Page> pages;
    QXmlStreamReader xml(pdftotext.readAllStandardOutput());
    const auto number
            = [&xml](const char *name) { return xml.attributes().value(name).toDouble(); };
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == u"page")
            pages.append({QSizeF(number("width"), number("height")), {}});
        else if (xml.name() == u"line")
            pages.last().lines.append({QRectF(QPointF(number("xMin"), number("yMin")),
                                              QPointF(number("xMax"), number("yMax"))),
                                       {}});
        else if (xml.name() == u"word")
            pages.last().lines.last().glyphs += xml.readElementText();
    }
    return pages;
}

// Where a page breaks summaries apart: the number of star rules, whatever their length, on
// each page.
QList<int> rulesPerPage(const QList<Page> &pages)
{
    QList<int> rules;
    for (const Page &page : pages)
        rules << int(
                std::count_if(page.lines.begin(), page.lines.end(), [](const PrintedText &line) {
                    return !line.glyphs.isEmpty() && line.glyphs.count(u'*') == line.glyphs.size();
                }));
    return rules;
}

// Every line inside the margins, and ending at the right one, as Arabic is read.
void expectWithinTheMargins(const Page &page)
{
    const QRectF printable = QRectF(QPointF(0, 0), page.size)
                                     .marginsRemoved(QMarginsF(Margin, Margin, Margin, Margin)
                                                     - QMarginsF(0.5, 0.5, 0.5, 0.5));
    for (const PrintedText &line : page.lines) {
        QVERIFY2(printable.contains(line.box), qPrintable(line.glyphs));
        QVERIFY2(line.box.right() > printable.right() - Indent, qPrintable(line.glyphs));
    }
}

// How wide a text comes out in the summary's 14 pt bold, in points.
qreal widthIn14PointBold(const QString &text)
{
    QBuffer nowhere;
    nowhere.open(QIODevice::WriteOnly);
    QPdfWriter pdf(&nowhere);
    pdf.setResolution(1200);
    QFont font;
    font.setFamilies(design::fontFamilies());
    font.setPointSizeF(14);
    font.setBold(true);
    return QFontMetricsF(font, &pdf).horizontalAdvance(text) * 72 / pdf.resolution();
}

// Summaries as the window writes them: eight lines of 14 pt bold, kept together, with the
// longest of the Hijri months.
QList<printing::PrintedLine> summaries(int count)
{
    QList<printing::PrintedLine> lines;
    for (int group = 1; group <= count; ++group)
        for (const QString &text : block("16 ديسمبر 2026 م", "28 جمادى الآخرة 1448 هـ", "الأربعاء"))
            lines.append({text, true, 14.0f, group});
    return lines;
}

// The address of a port on this machine that no print service listens on.
QByteArray noPrintService()
{
    QTcpServer closed;
    closed.listen(QHostAddress::LocalHost);
    return "127.0.0.1:" + QByteArray::number(closed.serverPort());
}

} // namespace

class PrintCommandsTest : public QObject
{
    Q_OBJECT

private slots:
    void summaryIsTheSettingsThenEightLines();
    void summariesCollectUntilPrinted();
    void discardStartsAFreshDocument();
    void endAndDiscardAlwaysReachThePrinter();
    void fieldsAreWrittenAsTheyStand();
    void eachFieldIsReadRightBeforeItsLine();
    void failureWhileWritingKeepsWhatWasWritten();
    void missingPrinterKeepsTheDocumentPending();
    void unexpectedFailureIsToldAndTheWindowGoesOn();
    void datesFollowTheirLabelsInBothDirections();
    void summariesArePrintedRightAlignedIn14PointBold();
    void pagesHoldWholeSummariesOnTheQueuesPaper_data();
    void pagesHoldWholeSummariesOnTheQueuesPaper();
    void aGroupTallerThanAPageBreaksWhereItMust();
    void aWordWiderThanThePaperWrapsWhole();
    void summariesFitUnwrappedOnPaperOfAnyWidth();
    void aDiscardedDocumentNeverReachesTheService();
};

void PrintCommandsTest::summaryIsTheSettingsThenEightLines()
{
    Window window;
    window.press("Command3");
    QCOMPARE(window.printer.calls, summaryCalls());
    QCOMPARE(joined(window.printer.pending), Today);
    // Items stand one after another: the indent, the label, the field.
    QCOMPARE(window.printer.pending[3],
             QStringList({"  ", "التاريخ الميلادي:", "12 أكتوبر 1999 م"}));
    QCOMPARE(window.printer.pending[1], QStringList());
    QCOMPARE(window.printer.pending[2].join(QString()).size(), 21);
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
    QCOMPARE(joined(window.printer.printed[0]), Today + Today);
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
    QCOMPARE(joined(window.printer.printed[0]), Today);
    QCOMPARE(joined(window.printer.printed[0]).first(), Rule);
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

void PrintCommandsTest::eachFieldIsReadRightBeforeItsLine()
{
    Window window;
    window.printer.afterLine = [&window](int line) {
        if (line == 4)
            window.field("Text8")->setText("changed after line 4");
    };
    window.press("Command3");
    QCOMPARE(window.printer.pending[4].last(), "changed after line 4");
}

void PrintCommandsTest::failureWhileWritingKeepsWhatWasWritten()
{
    Window window;
    MessageCatcher messages;
    window.printer.failAtLine = 5;
    window.press("Command3");
    // The group is closed even though its fifth line failed.
    QCOMPARE(window.printer.calls, summaryCalls(5));
    QCOMPARE(joined(window.printer.pending), Today.mid(0, 4));
    QCOMPARE(messages.seen().size(), 1);
    // The next summary goes on from there: the pending part is not lost.
    window.press("Command3");
    window.press("Command5");
    QCOMPARE(joined(window.printer.printed.value(0)), Today.mid(0, 4) + Today);
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
    QCOMPARE(joined(window.printer.pending), Today);
    window.printer.failToPrint = false;
    window.press("Command5");
    QCOMPARE(joined(window.printer.printed.value(0)), Today);
}

void PrintCommandsTest::unexpectedFailureIsToldAndTheWindowGoesOn()
{
    Window window;
    MessageCatcher messages;
    window.printer.internalFault = true;
    window.press("Command3");
    QCOMPARE(messages.seen().size(), 1);
    QVERIFY(messages.seen().first().contains("line written to a closed document"));
    window.field("Text1")->setText("11");
    window.field("Text2")->setText("3");
    window.field("Text3")->setText("2024");
    window.press("Command1");
    QCOMPARE(window.field("Text8")->text(), "1 رمضان 1445 هـ");
}

void PrintCommandsTest::datesFollowTheirLabelsInBothDirections()
{
    Window window;
    window.form.findChild<QRadioButton *>("Option2")->setChecked(true);
    window.field("Text1")->setText("1");
    window.field("Text2")->setText("9");
    window.field("Text3")->setText("1445");
    window.press("Command1");
    QCOMPARE(window.field("Text7")->text(), "1 رمضان 1445 هـ");
    const QStringList ramadan = block("11 مارس 2024 م", "1 رمضان 1445 هـ", "الاثنين");
    window.press("Command3");
    QCOMPARE(joined(window.printer.pending), ramadan);
    // Choosing the other direction without converting changes nothing shown.
    window.form.findChild<QRadioButton *>("Option1")->setChecked(true);
    window.press("Command3");
    QCOMPARE(joined(window.printer.pending), ramadan + ramadan);
}

void PrintCommandsTest::summariesArePrintedRightAlignedIn14PointBold()
{
    WindowWith<PdfPrinter> window;
    window.press("Command3");
    window.press("Command3");
    // Until a print service names its paper, the pages are A4.
    const QList<Page> pages = pagesOf(window.printer.pendingDocumentPdf());
    QCOMPARE(pages.size(), 1);
    QVERIFY(qAbs(pages[0].size.width() - A4Paper.width()) < 1);
    QVERIFY(qAbs(pages[0].size.height() - A4Paper.height()) < 1);
    // The two empty lines of each summary leave no text behind.
    QCOMPARE(pages[0].lines.size(), 12);
    QCOMPARE(rulesPerPage(pages), QList<int>{4});
    expectWithinTheMargins(pages[0]);
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
    QTest::addColumn<QList<int>>("rules");
    // Letter takes two summaries a page, A4 three; a summary split across pages would leave
    // an odd number of rules on both. The star rule is wider than A5 and the label paper, and
    // every line wider than the label.
    QTest::newRow("Letter") << QByteArray("na_letter_8.5x11in") << LetterPaper << QList<int>{4, 4};
    QTest::newRow("A5") << QByteArray("iso_a5_148x210mm") << A5Paper << QList<int>{4, 4};
    QTest::newRow("90 x 120 mm") << QByteArray("om_label_90x120mm") << LabelPaper
                                 << QList<int>{4, 4};
    QTest::newRow("A4") << QByteArray("iso_a4_210x297mm") << A4Paper << QList<int>{6, 2};
    QTest::newRow("none") << QByteArray() << A4Paper << QList<int>{6, 2};
    QTest::newRow("unknown") << QByteArray("unknown") << A4Paper << QList<int>{6, 2};
}

void PrintCommandsTest::pagesHoldWholeSummariesOnTheQueuesPaper()
{
    QFETCH(QByteArray, media);
    QFETCH(QSizeF, paper);
    QFETCH(QList<int>, rules);
    const QPageSize queuesPaper
            = printing::paperNamed(media.isNull() ? nullptr : media.constData());
    const QList<Page> pages
            = pagesOf(printing::pdfPages(summaries(4), design::fontFamilies(), queuesPaper));
    QCOMPARE(rulesPerPage(pages), rules);
    for (const Page &page : pages) {
        QVERIFY(qAbs(page.size.width() - paper.width()) < 1);
        QVERIFY(qAbs(page.size.height() - paper.height()) < 1);
        expectWithinTheMargins(page);
        // Six lines of text a summary, none wrapped.
        QCOMPARE(page.lines.size(), 3 * rulesPerPage({page}).value(0));
    }
}

void PrintCommandsTest::aGroupTallerThanAPageBreaksWhereItMust()
{
    QList<printing::PrintedLine> lines;
    for (int i = 1; i <= 80; ++i)
        lines.append({QString::number(i), false, 14.0f, 1});
    const QList<Page> pages
            = pagesOf(printing::pdfPages(lines, design::fontFamilies(), QPageSize(QPageSize::A4)));
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

void PrintCommandsTest::aWordWiderThanThePaperWrapsWhole()
{
    // Anything may be typed into a result field: a word too long for a line even at the
    // smallest size goes on on the next line, never past the margin.
    const QList<Page> pages = pagesOf(printing::pdfPages(
            {{QString(300, u'ت'), true, 14.0f}}, design::fontFamilies(), QPageSize(QPageSize::A4)));
    QCOMPARE(pages.size(), 1);
    QVERIFY(pages[0].lines.size() > 1);
    expectWithinTheMargins(pages[0]);
    qsizetype letters = 0;
    for (const PrintedText &line : pages[0].lines)
        letters += line.glyphs.size();
    QCOMPARE(letters, 300);
}

void PrintCommandsTest::summariesFitUnwrappedOnPaperOfAnyWidth()
{
    // A line is made small enough to fit by measuring it as it is drawn: measured any other
    // way it comes out a little narrower or wider, and on some width of paper its last word
    // then wraps onto a line of its own. Past 140 mm the summary fits at its own 14 pt.
    for (int millimetres = 90; millimetres <= 140; ++millimetres) {
        const QPageSize paper(QSizeF(millimetres, 297), QPageSize::Millimeter);
        const QList<Page> pages
                = pagesOf(printing::pdfPages(summaries(1), design::fontFamilies(), paper));
        QVERIFY(!pages.isEmpty());
        QVERIFY2(pages[0].lines.size() == 6,
                 qPrintable(QStringLiteral("%1 lines on %2 mm")
                                    .arg(pages[0].lines.size())
                                    .arg(millimetres)));
        expectWithinTheMargins(pages[0]);
    }
}

void PrintCommandsTest::aDiscardedDocumentNeverReachesTheService()
{
    const EnvironmentSetting nowhere("CUPS_SERVER", noPrintService());
    WindowWith<PdfPrinter> window;
    MessageCatcher messages;
    window.press("Command3");
    window.press("Command4");
    window.press("Command5");
    QCOMPARE(messages.seen(), QStringList{NothingToPrint});
    // Sending anything would have met the missing service, and said so.
    window.press("Command3");
    window.press("Command5");
    QCOMPARE(messages.seen().size(), 2);
    QVERIFY(messages.seen().last().contains("خدمة الطباعة لا تعمل"));
    QVERIFY(window.printer.hasPendingDocument());
}

QTEST_MAIN(PrintCommandsTest)
#include "print_commands_test.moc"
