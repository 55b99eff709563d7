// Presses the main window's print buttons against the real CUPS printer, for
// run_print_e2e.py, which owns the scheduler and reads what reaches the printer. The
// scheduler is chosen by CUPS_SERVER. Prints what it saw; exits 1 when the window did not
// behave as the scenario expects, 2 on a wrong command line.
#include "design/design_units.h"
#include "form1.h"
#include "message_catcher.h"
#include "print_on_exit.h"
#include "printing/cups_printer.h"
#ifndef Q_MOC_RUN // moc cannot read the standard library's concepts
#include "calendar/calendar_service.h"
#endif

#include <QApplication>
#include <QBuffer>
#include <QElapsedTimer>
#include <QFontMetricsF>
#include <QLineEdit>
#include <QPdfWriter>
#include <QPushButton>
#include <QTest>

#include <cstdio>

namespace {

// 8 December 2026; the harness knows the dates this day prints as.
constexpr int FixedDay = 20795;

const QString NoPrinter = QStringLiteral("لا توجد طابعة افتراضية");
const QString NotRunning = QStringLiteral("خدمة الطباعة لا تعمل");
const QString NotAnswering = QStringLiteral("خدمة الطباعة لا تستجيب");
const QString NothingToPrint = QStringLiteral("لم يكن في ذاكرة الطابعة شيء لطباعته.");
const QString KeptAs = QStringLiteral("حُفظ المستند بدلًا من ذلك في الملف: ");

class Run
{
public:
    Run() : m_today(calendar::Date::fromDays(FixedDay)), m_window(m_printer)
    {
        m_window.showCentred();
        m_shown = QTest::qWaitForWindowExposed(&m_window);
    }

    bool shown() const { return m_shown; }

    void press(const char *name)
    {
        auto *button = m_window.findChild<QPushButton *>(QString::fromLatin1(name));
        if (!button) {
            fail(QStringLiteral("no button %1").arg(QString::fromLatin1(name)));
            return;
        }
        std::printf("press %s\n", name);
        QTest::mouseClick(button, Qt::LeftButton);
    }

    // Messages shown since the last call.
    QStringList newMessages()
    {
        const QStringList all = m_messages.seen();
        const QStringList fresh = all.mid(m_reported);
        m_reported = int(all.size());
        for (const QString &text : fresh)
            std::printf("message: %s\n", qPrintable(QString(text).replace(u'\n', u' ')));
        return fresh;
    }

    bool pending()
    {
        const bool pending = m_printer.hasPendingDocument();
        std::printf("pending: %s\n", pending ? "yes" : "no");
        return pending;
    }

    QString field(const char *name) const
    {
        const auto *field = m_window.findChild<QLineEdit *>(QString::fromLatin1(name));
        return field ? field->text() : QString();
    }
    void type(const char *name, const QString &text)
    {
        if (auto *field = m_window.findChild<QLineEdit *>(QString::fromLatin1(name)))
            field->setText(text);
    }

    printing::DefaultPrinter &printer() { return m_printer; }

    void expect(bool holds, const char *what)
    {
        if (!holds)
            fail(QString::fromUtf8(what));
    }
    void fail(const QString &why)
    {
        std::printf("FAILED: %s\n", qPrintable(why));
        m_failed = true;
    }
    bool failed() const { return m_failed; }

private:
    calendar::FixedToday m_today;
    printing::CupsPrinter m_printer{design::fontFamilies()};
    Form1 m_window;
    MessageCatcher m_messages;
    int m_reported = 0;
    bool m_shown = false;
    bool m_failed = false;
};

// A message the user can read: Arabic, with no stray Latin letters from a library's own
// English error text.
bool isArabicSentence(const QString &text)
{
    bool arabic = false;
    for (const QChar c : text) {
        if (c.script() == QChar::Script_Latin)
            return false;
        arabic = arabic || c.script() == QChar::Script_Arabic;
    }
    return arabic;
}

// How wide the weekday line comes out in the summary's 14 pt bold, measured on a PDF at the
// printer's resolution, so that the harness can tell the size and weight on paper.
void printWeekdayLineWidth(const QString &weekday)
{
    QBuffer nowhere;
    nowhere.open(QIODevice::WriteOnly);
    QPdfWriter pdf(&nowhere);
    pdf.setResolution(1200);
    QFont font;
    font.setFamilies(design::fontFamilies());
    font.setPointSizeF(14);
    font.setBold(true);
    const qreal width
            = QFontMetricsF(font, &pdf).horizontalAdvance(QStringLiteral("اسم اليوم:") + weekday);
    std::printf("weekday line width: %.2f pt\n", width * 72 / pdf.resolution());
}

void printSummaries(Run &run, int count)
{
    for (int i = 0; i < count; ++i)
        run.press("Command3");
    run.expect(run.newMessages().isEmpty(), "adding summaries showed a message");
    run.expect(run.pending(), "the summaries left no pending document");
    run.press("Command5");
    run.expect(run.newMessages().isEmpty(), "printing showed a message");
    run.expect(!run.pending(), "the document is still pending after printing");
}

void printTwo(Run &run)
{
    printWeekdayLineWidth(run.field("Text9"));
    printSummaries(run, 2);
}

void printFour(Run &run)
{
    printSummaries(run, 4);
}

void discard(Run &run)
{
    run.press("Command3");
    run.press("Command4");
    run.expect(!run.pending(), "the document is still pending after discarding it");
    run.press("Command5");
    run.expect(run.newMessages() == QStringList{NothingToPrint},
               "printing with nothing pending did not say there was nothing to print");
    run.expect(!run.pending(), "printing an empty document left one pending");
}

// One press of the printer button with a summary pending fails for the cause given, with
// a plain Arabic message, and keeps the document.
void printFailsWith(Run &run, const QString &cause)
{
    run.press("Command3");
    QElapsedTimer held;
    held.start();
    run.press("Command5");
    std::printf("the window was held %lld ms\n", held.elapsed());
    run.expect(held.elapsed() < 10000, "printing held the window 10 s or more");
    const QStringList messages = run.newMessages();
    run.expect(messages.size() == 1, "a failed print showed not one message");
    run.expect(messages.value(0).contains(cause), "the message does not tell the cause");
    run.expect(isArabicSentence(messages.value(0)), "the message is not plain Arabic");
    run.expect(run.pending(), "the document was lost when printing failed");
}

// Closing the program with the document pending, as main() does: it is kept as a PDF and
// the message names it, for the harness to read.
void exitKeepsTheDocument(Run &run, const QString &cause)
{
    std::printf("exit with a pending document\n");
    printPendingDocumentOnExit(run.printer());
    const QStringList atExit = run.newMessages();
    run.expect(atExit.size() == 1 && atExit.value(0).contains(cause),
               "closing the program did not say why the document was not printed");
    // The path laid out left to right whatever the sentence, and its full stop outside it.
    const QString message = atExit.value(0);
    const qsizetype start = message.indexOf(KeptAs + QChar(0x2066)) + KeptAs.size() + 1;
    const qsizetype end = message.indexOf(QChar(0x2069) + QStringLiteral("."), start);
    run.expect(start > KeptAs.size() && end > start,
               "closing the program did not name the file the document was kept in");
    std::printf("kept at: %s\n", qPrintable(message.mid(start, end - start)));
}

void silentService(Run &run)
{
    printFailsWith(run, NotAnswering);
    // The window answers again: a conversion goes through.
    run.type("Text1", QStringLiteral("11"));
    run.type("Text2", QStringLiteral("3"));
    run.type("Text3", QStringLiteral("2024"));
    run.press("Command1");
    run.expect(run.field("Text8") == QStringLiteral("1 رمضان 1445 هـ"),
               "the window did not convert after the failed print");
}

void noService(Run &run)
{
    printFailsWith(run, NotRunning);
    exitKeepsTheDocument(run, NotRunning);
}

void noDefault(Run &run)
{
    printFailsWith(run, NoPrinter);
    // The user goes on: a second try fails the same way and still keeps the document.
    run.press("Command5");
    const QStringList again = run.newMessages();
    run.expect(again.size() == 1 && again.value(0).contains(NoPrinter),
               "a second try did not fail the same way");
    run.expect(run.pending(), "the document was lost on the second try");
    exitKeepsTheDocument(run, NoPrinter);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setLayoutDirection(Qt::RightToLeft);
    const QString scenario = argc == 2 ? QString::fromLocal8Bit(argv[1]) : QString();
    void (*steps)(Run &) = scenario == u"print-two" ? printTwo
            : scenario == u"print-four"             ? printFour
            : scenario == u"discard"                ? discard
            : scenario == u"no-default"             ? noDefault
            : scenario == u"silent-service"         ? silentService
            : scenario == u"no-service"             ? noService
                                                    : nullptr;
    if (!steps) {
        std::fprintf(stderr,
                     "usage: %s print-two|print-four|discard|no-default|silent-service|"
                     "no-service\n",
                     argv[0]);
        return 2;
    }

    Run run;
    if (!run.shown())
        run.fail(QStringLiteral("the window was not shown"));
    // The harness looks for these dates on paper; if the window shows another day, the
    // paper cannot match and the cause should be plain.
    std::printf("shown: %s | %s | %s\n", qPrintable(run.field("Text7")),
                qPrintable(run.field("Text8")), qPrintable(run.field("Text9")));
    if (!run.failed())
        steps(run);
    std::printf("%s %s\n", qPrintable(scenario), run.failed() ? "FAILED" : "ok");
    std::fflush(stdout);
    return run.failed() ? 1 : 0;
}
