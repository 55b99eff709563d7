#include "form1.h"
#include "kept_document.h"
#include "message_catcher.h"
#include "print_on_exit.h"
#include "recording_printer.h"
#ifndef Q_MOC_RUN // moc cannot read the standard library's concepts
#include "calendar/calendar_service.h"
#endif

#include <QDir>
#include <QDirIterator>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include <sys/resource.h>

#include <csignal>

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

// HOME and XDG_CONFIG_HOME pointed at a folder of the test's own for as long as it lives,
// so that what the program keeps lands there and the user's own folders do not count.
class TemporaryHome
{
public:
    explicit TemporaryHome(const QString &home)
        : m_home(qgetenv("HOME")), m_config(qgetenv("XDG_CONFIG_HOME"))
    {
        qputenv("HOME", home.toUtf8());
        qputenv("XDG_CONFIG_HOME", (home + "/.config").toUtf8());
    }
    ~TemporaryHome()
    {
        restore("HOME", m_home);
        restore("XDG_CONFIG_HOME", m_config);
    }
    TemporaryHome(const TemporaryHome &) = delete;
    TemporaryHome &operator=(const TemporaryHome &) = delete;

private:
    static void restore(const char *name, const QByteArray &value)
    {
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value);
    }

    QByteArray m_home, m_config;
};

// The one file kept in the folder, and what it holds.
QString keptIn(const QString &folder, QByteArray *contents)
{
    const QStringList kept = QDir(folder).entryList({"taqwim-*.pdf"}, QDir::Files);
    if (kept.size() != 1)
        return {};
    QFile file(QDir(folder).filePath(kept.first()));
    file.open(QIODevice::ReadOnly);
    *contents = file.readAll();
    return file.fileName();
}

// The main window on 8 December 2026, printing into a recording printer.
struct Window
{
    void press(const char *name)
    {
        QTest::mouseClick(form.findChild<QPushButton *>(name), Qt::LeftButton);
    }
    QLineEdit *field(const char *name) { return form.findChild<QLineEdit *>(name); }

    FixedToday today{Date::fromDays(20795)};
    RecordingPrinter printer;
    Form1 form{printer};
};

// A disk that takes only the first few bytes of any file, as a full one does: writes beyond
// them fail, for as long as it lives.
class FullDisk
{
public:
    FullDisk() : m_sizeSignal(std::signal(SIGXFSZ, SIG_IGN))
    {
        getrlimit(RLIMIT_FSIZE, &m_limit);
        rlimit tiny = m_limit;
        tiny.rlim_cur = 8;
        setrlimit(RLIMIT_FSIZE, &tiny);
    }
    ~FullDisk()
    {
        setrlimit(RLIMIT_FSIZE, &m_limit);
        std::signal(SIGXFSZ, m_sizeSignal);
    }
    FullDisk(const FullDisk &) = delete;
    FullDisk &operator=(const FullDisk &) = delete;

private:
    rlimit m_limit{};
    void (*m_sizeSignal)(int);
};

// Every file under the folder, hidden ones included.
QStringList filesUnder(const QString &folder)
{
    QStringList files;
    QDirIterator each(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (each.hasNext())
        files << each.next();
    return files;
}

const QStringList Today = block("8 ديسمبر 2026 م", "28 جمادى الآخرة 1448 هـ", "الثلاثاء");

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
    void pendingDocumentIsPrintedOrKeptAtExit();
    void aDocumentIsKeptWholeOrNotAtAll();
    void aKeptDocumentNeverReplacesAFile();
};

void PrintCommandsTest::summaryIsTheSettingsThenEightLines()
{
    Window window;
    window.press("Command3");
    QCOMPARE(window.printer.calls, summaryCalls());
    QCOMPARE(joined(window.printer.pending), Today);
    // Items stand one after another: the indent, the label, the field.
    QCOMPARE(window.printer.pending[3],
             QStringList({"  ", "التاريخ الميلادي:", "8 ديسمبر 2026 م"}));
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

void PrintCommandsTest::pendingDocumentIsPrintedOrKeptAtExit()
{
    RecordingPrinter printer;
    printPendingDocumentOnExit(printer);
    QVERIFY(printer.calls.isEmpty()); // nothing pending, nothing sent

    printer.pending << QStringList{"line"};
    printPendingDocumentOnExit(printer);
    QCOMPARE(printer.printed.size(), 1);

    // What cannot be printed is kept in the documents folder, made for it.
    QTemporaryDir home;
    const TemporaryHome pinned(home.path());
    MessageCatcher messages;
    printer.pending = {{"first line"}, {"second"}};
    printer.failToPrint = true;
    printPendingDocumentOnExit(printer);
    QByteArray kept;
    const QString path = keptIn(home.filePath("Documents"), &kept);
    QVERIFY(!path.isEmpty());
    QCOMPARE(kept, QByteArray("first line\nsecond"));
    QCOMPARE(messages.seen().size(), 1);
    QVERIFY(messages.seen().first().contains("لم يُطبع"));
    QVERIFY(messages.seen().first().contains(path));
    QVERIFY(!messages.seen().first().contains(StillPending));

    // A documents folder that cannot be made leaves the home folder.
    QFile::remove(path);
    QDir(home.path()).rmdir("Documents");
    QFile blocker(home.filePath("Documents"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    printPendingDocumentOnExit(printer);
    const QString inHome = keptIn(home.path(), &kept);
    QVERIFY(!inHome.isEmpty());
    QVERIFY(messages.seen().value(1).contains(inHome));
    QCOMPARE(kept, QByteArray("first line\nsecond"));

    // With nowhere to write, the user is told plainly.
    const TemporaryHome unusable(blocker.fileName() + "/home");
    printPendingDocumentOnExit(printer);
    QCOMPARE(messages.seen().size(), 3);
    QVERIFY(messages.seen().last().contains("تعذّر الاحتفاظ بالمستند"));
}

void PrintCommandsTest::aDocumentIsKeptWholeOrNotAtAll()
{
    QTemporaryDir home;
    const TemporaryHome pinned(home.path());
    MessageCatcher messages;
    RecordingPrinter printer;
    printer.pending = {{"first line"}, {"second"}};
    printer.failToPrint = true;
    {
        const FullDisk full;
        QVERIFY(!printPendingDocumentOnExit(printer));
    }
    QCOMPARE(filesUnder(home.path()), QStringList());
    QCOMPARE(messages.seen().size(), 1);
    QVERIFY(messages.seen().first().contains("تعذّر الاحتفاظ بالمستند"));
    QVERIFY(!messages.seen().first().contains(".pdf"));
}

void PrintCommandsTest::aKeptDocumentNeverReplacesAFile()
{
    QTemporaryDir home;
    const TemporaryHome pinned(home.path());
    const QDateTime second(QDate(2031, 3, 4), QTime(5, 6, 7));
    const QString first = keepAsPdf("first", second);
    QCOMPARE(QFileInfo(first).fileName(), "taqwim-2031-03-04-05-06-07.pdf");
    // A second copy of the program closing in the same second, and a third.
    const QString again = keepAsPdf("second", second);
    QCOMPARE(QFileInfo(again).fileName(), "taqwim-2031-03-04-05-06-07-2.pdf");
    QCOMPARE(QFileInfo(keepAsPdf("third", second)).fileName(), "taqwim-2031-03-04-05-06-07-3.pdf");
    QFile kept(first);
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), QByteArray("first"));
    QCOMPARE(filesUnder(home.path()).size(), 3);
}

QTEST_MAIN(PrintCommandsTest)
#include "print_commands_test.moc"
