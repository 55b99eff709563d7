// The talks with the print service, against a double that answers as CUPS does, as slowly
// or as wrongly as each test asks.
#include "main_window.h"
#include "message_catcher.h"
#include "print_service_double.h"
#include "printed_pages.h"
#include "test_environment.h"

#include <QTemporaryDir>

#include <cups/ipp.h>

#include <chrono>

using namespace std::chrono_literals;

namespace {

using Clock = std::chrono::steady_clock;

const QString NotAnswering = "خدمة الطباعة لا تستجيب";
const QString StillPending = "بقي المستند في ذاكرة الطابعة";
const QString NothingToPrint = "لم يكن في ذاكرة الطابعة شيء لطباعته.";

using Window = MainWindowOf<ProgramsPrinter>;

// The double as the print service the program finds, with none of the user's printer settings.
struct PrintService
{
    explicit PrintService(PrintServiceDouble::Answers answers = {})
        : service(std::move(answers)), home(folder.path()),
          server("CUPS_SERVER", service.address()),
          serverRoot("CUPS_SERVERROOT", folder.path().toUtf8()), lpdest("LPDEST", {}),
          printer("PRINTER", {})
    {
    }

    PrintServiceDouble service;
    QTemporaryDir folder;
    TemporaryHome home;
    EnvironmentSetting server, serverRoot, lpdest, printer;
};

// How long pressing the button held the window.
Clock::duration press(Window &window, const char *button)
{
    const Clock::time_point start = Clock::now();
    window.press(button);
    return Clock::now() - start;
}

QString seconds(Clock::duration held)
{
    return QString::number(std::chrono::duration<double>(held).count()) + " s";
}

} // namespace

class PrintServiceTest : public QObject
{
    Q_OBJECT

private slots:
    void aSlowServiceIsWaitedForAndPrintsOnItsPaper();
    void aSubmissionPastTheDeadlineIsAbandonedThere();
    void aJobWhoseDocumentIsRefusedIsCancelled();
    void aDiscardedDocumentNeverReachesTheService();
};

void PrintServiceTest::aSlowServiceIsWaitedForAndPrintsOnItsPaper()
{
    PrintService print({.media = "om_label_90x120mm", .delay = 300ms});
    Window window;
    MessageCatcher messages;
    for (int summary = 0; summary < 4; ++summary)
        window.press("Command3");
    const Clock::duration held = press(window, "Command5");
    QCOMPARE(messages.seen(), QStringList());
    QVERIFY(!window.printer.hasPendingDocument());
    QVERIFY2(held >= 300ms * print.service.operations().size() && held < 4s,
             qPrintable(seconds(held)));
    QCOMPARE(print.service.documents().size(), 1);
    qsizetype lines = 0;
    for (const Page &page : pagesOf(print.service.documents().value(0))) {
        QVERIFY(isOfSize(page, LabelPaper));
        expectWholeSummaries(page, true);
        lines += page.lines.size();
    }
    QCOMPARE(lines, 4 * 6);
}

void PrintServiceTest::aSubmissionPastTheDeadlineIsAbandonedThere()
{
    // The paper asked for slowly, then the job's creation answered a byte at a time.
    PrintService print({.delay = 700ms, .trickleJob = true});
    Window window;
    MessageCatcher messages;
    window.press("Command3");
    const Clock::duration held = press(window, "Command5");
    QVERIFY2(held > 3900ms && held < 5s, qPrintable(seconds(held)));
    QCOMPARE(messages.seen().size(), 1);
    QVERIFY(messages.seen().value(0).contains(NotAnswering));
    QVERIFY(messages.seen().value(0).contains(StillPending));
    QVERIFY(window.printer.hasPendingDocument());
    QVERIFY(print.service.operations().contains(IPP_OP_CREATE_JOB));
    // The abandoned talk ends with the deadline, and never submits what it was told to.
    QVERIFY(print.service.waitForClosedConnections(4s));
    QCOMPARE(print.service.documents().size(), 0);
}

void PrintServiceTest::aJobWhoseDocumentIsRefusedIsCancelled()
{
    PrintService print({.refuseDocument = true});
    ProgramsPrinter printer;
    printer.writeLine({"line"});
    try {
        printer.endDocument();
        QFAIL("a refused document was taken for printed");
    } catch (const printing::PrintError &error) {
        QCOMPARE(QString::fromUtf8(error.what()),
                 "رفضت الطابعة المستند: \u2066Unsupported format\u2069.");
    }
    // A job without its document would only sit in the queue.
    const QList<int> asked = print.service.operations();
    QVERIFY(asked.lastIndexOf(IPP_OP_CANCEL_JOB) > asked.lastIndexOf(IPP_OP_SEND_DOCUMENT));
    QVERIFY(printer.hasPendingDocument());
}

void PrintServiceTest::aDiscardedDocumentNeverReachesTheService()
{
    PrintService print;
    Window window;
    MessageCatcher messages;
    window.press("Command3");
    window.press("Command4");
    window.press("Command5");
    QCOMPARE(messages.seen(), QStringList{NothingToPrint});
    QCOMPARE(print.service.operations(), QList<int>());
    window.press("Command3");
    window.press("Command5");
    QCOMPARE(messages.seen().size(), 1);
    QCOMPARE(print.service.documents().size(), 1);
}

QTEST_MAIN(PrintServiceTest)
#include "print_service_test.moc"
