// What becomes of a document still pending when the program ends: printed, or kept as a PDF
// that is whole or not there at all, and how the user is told.
#include "kept_document.h"
#include "message_catcher.h"
#include "print_on_exit.h"
#include "recording_printer.h"
#include "test_environment.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTest>

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <utility>

namespace {

// The one file kept in the folder, and what it holds.
QString keptIn(const QString &folder, QByteArray *contents)
{
    const QStringList kept = QDir(folder).entryList({"taqwim-*.pdf"}, QDir::Files);
    if (kept.size() != 1)
        return {};
    QFile file(QDir(folder).filePath(kept.first()));
    *contents = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    return file.fileName();
}

// The system's calls, with one step failing as a disk or a file system does. Writes take
// at most a few bytes at a time, as they may on a slow or nearly full disk.
class FailingDisk : public KeepingCalls
{
public:
    enum class Step { None, OpenUnnamed, CreateTemporary, Write, Fsync, Fstat, Link, Close };

    FailingDisk(Step failing, bool unnamedFiles, QString home)
        : m_failing(failing), m_unnamedFiles(unnamedFiles), m_home(std::move(home))
    {
    }

    // A name of the series was taken before the bytes were flushed to the disk.
    bool namedBeforeFsync() const { return m_namedBeforeFsync; }

    int openUnnamed(const char *folder) override
    {
        // Network and FUSE file systems have no files without a name.
        if (!m_unnamedFiles)
            return failWith(EOPNOTSUPP);
        return failing(Step::OpenUnnamed) ? failWith(EACCES) : KeepingCalls::openUnnamed(folder);
    }
    int createTemporary(char *pathTemplate) override
    {
        return failing(Step::CreateTemporary) ? failWith(EACCES)
                                              : KeepingCalls::createTemporary(pathTemplate);
    }
    ssize_t write(int fd, const char *bytes, std::size_t size) override
    {
        if (failing(Step::Write) && m_written > 0)
            return failWith(ENOSPC); // the disk took what room it had left
        const ssize_t written = KeepingCalls::write(fd, bytes, std::min<std::size_t>(size, 100));
        m_written += std::max<ssize_t>(written, 0);
        return written;
    }
    int fsync(int fd) override
    {
        m_namedBeforeFsync = m_namedBeforeFsync
                || !filesUnder(m_home).filter(QStringLiteral("/taqwim-")).isEmpty();
        return failing(Step::Fsync) ? failWith(EIO) : KeepingCalls::fsync(fd);
    }
    int fstat(int fd, struct stat *info) override
    {
        const int status = KeepingCalls::fstat(fd, info);
        if (failing(Step::Fstat))
            --info->st_size; // what reached the disk is short of what was written
        return status;
    }
    int linkat(const char *from, const char *to, int flags) override
    {
        return failing(Step::Link) ? failWith(EIO) : KeepingCalls::linkat(from, to, flags);
    }
    int close(int fd) override
    {
        // A network file system tells of a failed write only now, having closed the file.
        const int status = KeepingCalls::close(fd);
        return failing(Step::Close) && status == 0 ? failWith(EIO) : status;
    }

private:
    bool failing(Step step) const { return m_failing == step; }
    static int failWith(int error)
    {
        errno = error;
        return -1;
    }

    Step m_failing;
    bool m_unnamedFiles;
    QString m_home;
    qsizetype m_written = 0;
    bool m_namedBeforeFsync = false;
};

// What the code under test writes on standard error while this lives: its own lines.
class StandardErrorLines
{
public:
    StandardErrorLines() : m_saved(::dup(STDERR_FILENO))
    {
        if (!m_file.open())
            qFatal("no temporary file for standard error");
        std::fflush(stderr);
        ::dup2(m_file.handle(), STDERR_FILENO);
    }
    ~StandardErrorLines()
    {
        std::fflush(stderr);
        ::dup2(m_saved, STDERR_FILENO);
        ::close(m_saved);
    }
    StandardErrorLines(const StandardErrorLines &) = delete;
    StandardErrorLines &operator=(const StandardErrorLines &) = delete;

    // The lines the program wrote itself, not Qt's warnings.
    QStringList programs()
    {
        std::fflush(stderr);
        QFile written(m_file.fileName());
        return QString::fromUtf8(written.open(QIODevice::ReadOnly) ? written.readAll() : "")
                .split(u'\n')
                .filter(QRegularExpression("^taqwim: "));
    }

private:
    int m_saved;
    QTemporaryFile m_file;
};

} // namespace

class KeepingTest : public QObject
{
    Q_OBJECT

private slots:
    void aDocumentIsKeptAtHomeWhenTheDocumentsFolderIsNot();
    void aDocumentIsKeptWholeOrNotAtAll();
    void aKeptDocumentNeverReplacesAFile();
    void theEndIsToldInOneLineOnlyWhenTheSessionEnds();
};

void KeepingTest::aDocumentIsKeptAtHomeWhenTheDocumentsFolderIsNot()
{
    RecordingPrinter printer;
    QVERIFY(printPendingDocumentOnExit(printer));
    QVERIFY(printer.calls.isEmpty()); // nothing pending, nothing sent

    QTemporaryDir home;
    const TemporaryHome pinned(home.path());
    QVERIFY(QFile(home.filePath("Documents")).open(QIODevice::WriteOnly)); // not a folder
    MessageCatcher messages;
    printer.pending = {{"first line"}, {"second"}};
    printer.failToPrint = true;
    QVERIFY(printPendingDocumentOnExit(printer));
    QByteArray kept;
    const QString path = keptIn(home.path(), &kept);
    QCOMPARE(kept, QByteArray("first line\nsecond"));
    QVERIFY(!path.isEmpty() && messages.seen().value(0).contains(path));
}

void KeepingTest::aDocumentIsKeptWholeOrNotAtAll()
{
    using Step = FailingDisk::Step;
    const QByteArray pdf(1000, 'x');
    for (const bool unnamedFiles : {true, false}) {
        for (const auto &[failing, step] :
             {std::pair(Step::None, "nothing"), std::pair(Step::OpenUnnamed, "open"),
              std::pair(Step::CreateTemporary, "mkostemp"), std::pair(Step::Write, "write"),
              std::pair(Step::Fsync, "fsync"), std::pair(Step::Fstat, "fstat"),
              std::pair(Step::Link, "linkat"), std::pair(Step::Close, "close")}) {
            const QByteArray row = QByteArray(step) + " failing, "
                    + (unnamedFiles ? "with unnamed files" : "without unnamed files");
            QTemporaryDir home;
            const TemporaryHome pinned(home.path());
            FailingDisk disk(failing, unnamedFiles, home.path());
            const QString path = keepAsPdf(pdf, QDateTime::currentDateTime(), disk);
            const bool keeps = failing == Step::None
                    || (failing == Step::CreateTemporary && unnamedFiles)
                    || (failing == Step::OpenUnnamed && !unnamedFiles);
            QVERIFY2(path.isEmpty() != keeps, row.constData());
            QCOMPARE(filesUnder(home.path()), keeps ? QStringList{path} : QStringList());
            QVERIFY2(!disk.namedBeforeFsync(), row.constData());
            QFile kept(path);
            if (keeps) {
                QVERIFY(kept.open(QIODevice::ReadOnly));
                QCOMPARE(kept.readAll(), pdf);
            }
        }
    }
}

void KeepingTest::aKeptDocumentNeverReplacesAFile()
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

void KeepingTest::theEndIsToldInOneLineOnlyWhenTheSessionEnds()
{
    enum class Fate { Printed, Kept, Lost };
    const QString printed = "taqwim: طُبع ما كان في ذاكرة الطابعة — "
                            "the pending print document was printed";
    const QString kept = "taqwim: حُفظ ما في ذاكرة الطابعة في الملف %1 — "
                         "the pending print document was kept as %1";
    const QString lost = "taqwim: تعذّر حفظ ما في ذاكرة الطابعة في ملف، فضاع. "
                         "The pending print document could not be kept and is lost.";
    // In a box, the path laid out left to right whatever the sentence, its full stop outside.
    const QString keptInBox = "لم يُطبع ما في ذاكرة الطابعة عند إغلاق البرنامج. لا توجد طابعة "
                              "افتراضية معدّة على هذا الجهاز.\nحُفظ المستند بدلًا من ذلك في "
                              "الملف: \u2066%1\u2069.";
    const QString lostInBox = "لم يُطبع ما في ذاكرة الطابعة عند إغلاق البرنامج. لا توجد طابعة "
                              "افتراضية معدّة على هذا الجهاز.\nتعذّر الاحتفاظ بالمستند، إذ لم "
                              "يمكن حفظه في ملف.";
    for (const ExitReport report : {ExitReport::StandardError, ExitReport::MessageBox}) {
        for (const Fate fate : {Fate::Printed, Fate::Kept, Fate::Lost}) {
            QTemporaryDir home;
            const TemporaryHome pinned(home.path() + (fate == Fate::Lost ? "/none" : ""));
            // A home below a file, where no folder can be made.
            QVERIFY(fate != Fate::Lost || QFile(home.filePath("none")).open(QIODevice::WriteOnly));
            RecordingPrinter printer;
            printer.pending << QStringList{"line"};
            printer.failToPrint = fate != Fate::Printed;
            MessageCatcher messages;
            StandardErrorLines said;
            QCOMPARE(printPendingDocumentOnExit(printer, report), fate != Fate::Lost);
            QByteArray contents;
            const QString path = keptIn(home.filePath("Documents"), &contents);
            QCOMPARE(contents, fate == Fate::Kept ? QByteArray("line") : QByteArray());
            const QString line = fate == Fate::Printed ? printed
                    : fate == Fate::Kept               ? kept.arg(path)
                                                       : lost;
            const QString box = fate == Fate::Printed ? QString()
                    : fate == Fate::Kept              ? keptInBox.arg(path)
                                                      : lostInBox;
            const bool session = report == ExitReport::StandardError;
            QCOMPARE(said.programs(), session ? QStringList{line} : QStringList());
            QCOMPARE(messages.seen(), session || box.isEmpty() ? QStringList() : QStringList{box});
        }
    }
    // The display gone: kept at once, without trying the printer, and told in one line.
    QTemporaryDir home;
    const TemporaryHome pinned(home.path());
    RecordingPrinter printer;
    printer.pending << QStringList{"line"};
    StandardErrorLines said;
    QVERIFY(keepPendingDocument(printer));
    QByteArray contents;
    QCOMPARE(said.programs(), QStringList{kept.arg(keptIn(home.filePath("Documents"), &contents))});
    QCOMPARE(printer.calls, QStringList{"discard"});
}

QTEST_MAIN(KeepingTest)
#include "keeping_test.moc"
