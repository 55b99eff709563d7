// Presses the main window's print buttons against the real CUPS printer, for
// run_print_e2e.py, which owns the scheduler and reads what reaches the printer. The
// scheduler is chosen by CUPS_SERVER. Prints what it saw; exits 1 when the window did not
// behave as the scenario expects, 2 on a wrong command line.
#include "main_window.h"
#include "message_catcher.h"
#include "print_on_exit.h"

#include <QApplication>
#include <QElapsedTimer>

#include <cstdio>

namespace {

const QString NoPrinter = QStringLiteral("لا توجد طابعة افتراضية");
const QString NotRunning = QStringLiteral("خدمة الطباعة لا تعمل");
const QString KeptAs = QStringLiteral("حُفظ المستند بدلًا من ذلك في الملف: ");
// The harness names the missing queue in LPDEST, and makes the refusing one reject jobs.
const QString MissingQueue
        = QStringLiteral("لا توجد على هذا الجهاز طابعة باسم \u2066taqwim-missing\u2069.");
const QString RefusedBy = QStringLiteral("رفضت الطابعة المستند: \u2066");

class Run
{
public:
    Run() // on the tests' fixed day, whose dates the harness knows as they print
    {
        m_window.form.showCentred();
        m_shown = QTest::qWaitForWindowExposed(&m_window.form);
    }

    bool shown() const { return m_shown; }

    void press(const char *name)
    {
        auto *button = m_window.find<QPushButton>(name);
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
        const bool pending = m_window.printer.hasPendingDocument();
        std::printf("pending: %s\n", pending ? "yes" : "no");
        return pending;
    }

    QString field(const char *name) const
    {
        const QLineEdit *field = m_window.field(name);
        return field ? field->text() : QString();
    }

    printing::DefaultPrinter &printer() { return m_window.printer; }

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
    MessageCatcher m_messages;
    MainWindowOf<ProgramsPrinter> m_window;
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

void printTwo(Run &run)
{
    for (int i = 0; i < 2; ++i)
        run.press("Command3");
    run.expect(run.newMessages().isEmpty(), "adding summaries showed a message");
    run.expect(run.pending(), "the summaries left no pending document");
    run.press("Command5");
    run.expect(run.newMessages().isEmpty(), "printing showed a message");
    run.expect(!run.pending(), "the document is still pending after printing");
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

// A failure the print service words itself, or a queue's name: the Latin text isolated in
// the Arabic sentence, whose full stop stays outside it.
void printFailsNaming(Run &run, const QString &start, const QString &end)
{
    run.press("Command3");
    run.press("Command5");
    const QString message = run.newMessages().value(0).section(u'\n', 0, 0);
    run.expect(message.startsWith(start) && message.endsWith(end),
               "the message does not name the printer's trouble in its own words");
    run.expect(!message.contains(QStringLiteral(".\u2069")), "a full stop inside the isolate");
    run.expect(run.pending(), "the document was lost when printing failed");
}

void missingQueue(Run &run)
{
    printFailsNaming(run, MissingQueue, MissingQueue);
}

void refused(Run &run)
{
    printFailsNaming(run, RefusedBy, QStringLiteral("\u2069."));
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
            : scenario == u"no-default"             ? noDefault
            : scenario == u"no-service"             ? noService
            : scenario == u"missing-queue"          ? missingQueue
            : scenario == u"refused"                ? refused
                                                    : nullptr;
    if (!steps) {
        std::fprintf(stderr, "usage: %s print-two|no-default|no-service|missing-queue|refused\n",
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
