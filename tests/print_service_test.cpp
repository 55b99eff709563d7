// The talks with the print service, against a double of it that answers as CUPS does, as
// slowly or as wrongly as each test asks.
#include "main_window.h"
#include "message_catcher.h"
#include "printed_pages.h"
#include "test_environment.h"

#include <QTemporaryDir>

#include <cups/ipp.h>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

using namespace std::chrono_literals;

namespace {

using Clock = std::chrono::steady_clock;

// A print service on a port of this machine with one printer, the default, answering the
// questions a print asks: which printer is the default, what it is like, a job, its document,
// its cancelling. Each connection is served on a thread of its own.
class PrintServiceDouble
{
public:
    struct Answers
    {
        QByteArray media = "iso_a4_210x297mm"; // the printer's default paper
        std::chrono::milliseconds delay{0}; // before each answer
        // The job's creation answered a byte at a time: no wait for data ever runs out.
        bool trickleJob = false;
        bool listening = true;
        bool hasDefault = true;
        bool refuseJobs = false; // as a queue that has been told to reject jobs
        bool refuseDocument = false; // as a printer does a format it cannot take
    };

    explicit PrintServiceDouble(Answers answers) : m_answers(std::move(answers))
    {
        m_listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        ::bind(m_listener, reinterpret_cast<sockaddr *>(&address), sizeof address);
        ::getsockname(m_listener, reinterpret_cast<sockaddr *>(&address), &length);
        m_port = ntohs(address.sin_port);
        if (m_answers.listening && ::listen(m_listener, 8) == 0)
            m_acceptor = std::thread([this] { acceptConnections(); });
    }

    ~PrintServiceDouble()
    {
        {
            const std::lock_guard lock(m_mutex);
            m_stopping = true;
            for (const int connection : m_connections)
                ::shutdown(connection, SHUT_RDWR);
        }
        m_changed.notify_all();
        ::shutdown(m_listener, SHUT_RDWR);
        if (m_acceptor.joinable())
            m_acceptor.join();
        ::close(m_listener);
        for (std::thread &server : m_servers)
            server.join();
    }

    PrintServiceDouble(const PrintServiceDouble &) = delete;
    PrintServiceDouble &operator=(const PrintServiceDouble &) = delete;

    QByteArray address() const { return "127.0.0.1:" + QByteArray::number(m_port); }

    // The IPP operations asked for, in order.
    QList<int> operations() const
    {
        const std::lock_guard lock(m_mutex);
        return m_operations;
    }
    QList<QByteArray> documents() const
    {
        const std::lock_guard lock(m_mutex);
        return m_documents;
    }

    // Until the client has closed every connection it made, or the time is up.
    bool waitForClosedConnections(std::chrono::milliseconds atMost)
    {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, atMost, [this] { return m_connections.empty(); });
    }

private:
    void acceptConnections()
    {
        for (int connection;
             (connection = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC)) >= 0;) {
            const std::lock_guard lock(m_mutex);
            m_connections.push_back(connection);
            m_servers.emplace_back([this, connection] { serve(connection); });
        }
    }

    void serve(int connection)
    {
        QByteArray buffer;
        while (const std::optional<QByteArray> request = readRequest(connection, buffer)) {
            int operation = 0;
            const QByteArray response = answer(*request, operation);
            if (!deliver(connection, response,
                         operation == IPP_OP_CREATE_JOB && m_answers.trickleJob))
                break;
        }
        const std::lock_guard lock(m_mutex);
        m_connections.erase(std::find(m_connections.begin(), m_connections.end(), connection));
        ::close(connection);
        m_changed.notify_all();
    }

    QByteArray answer(const QByteArray &body, int &operation);
    bool deliver(int connection, const QByteArray &bytes, bool trickling);

    // False when the double is being stopped.
    bool pause(std::chrono::milliseconds time)
    {
        std::unique_lock lock(m_mutex);
        return !m_changed.wait_for(lock, time, [this] { return m_stopping; });
    }

    static bool receiveMore(int connection, QByteArray &buffer)
    {
        char bytes[65536];
        const ssize_t received = ::recv(connection, bytes, sizeof bytes, 0);
        buffer.append(bytes, std::max<ssize_t>(received, 0));
        return received > 0;
    }
    static bool send(int connection, const QByteArray &bytes)
    {
        return ::send(connection, bytes.constData(), std::size_t(bytes.size()), MSG_NOSIGNAL)
                == bytes.size();
    }
    static std::optional<QByteArray> readRequest(int connection, QByteArray &buffer);

    Answers m_answers;
    int m_listener = -1;
    int m_port = 0;
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_stopping = false;
    std::vector<int> m_connections; // open ones
    std::vector<std::thread> m_servers;
    QList<int> m_operations;
    QList<QByteArray> m_documents;
    std::thread m_acceptor;
};

// The body of the next HTTP request on the connection, sent whole or in chunks.
std::optional<QByteArray> PrintServiceDouble::readRequest(int connection, QByteArray &buffer)
{
    // The buffer holding its first `size` bytes, and what comes after them.
    const auto holds = [&](qsizetype size) {
        while (buffer.size() < size)
            if (!receiveMore(connection, buffer))
                return false;
        return true;
    };
    const auto lineEnd = [&](const char *end) {
        qsizetype at;
        while ((at = buffer.indexOf(end)) < 0)
            if (!receiveMore(connection, buffer))
                return qsizetype(-1);
        return at;
    };
    const qsizetype headersEnd = lineEnd("\r\n\r\n");
    if (headersEnd < 0)
        return std::nullopt;
    const QByteArray headers = buffer.left(headersEnd).toLower();
    buffer.remove(0, headersEnd + 4);
    if (headers.contains("expect: 100-continue")
        && !send(connection, "HTTP/1.1 100 Continue\r\n\r\n"))
        return std::nullopt;
    QByteArray body;
    if (!headers.contains("transfer-encoding: chunked")) {
        const qsizetype field = headers.indexOf("content-length:");
        const qsizetype length
                = field < 0 ? 0 : headers.mid(field + 15).split('\r')[0].trimmed().toLongLong();
        if (!holds(length))
            return std::nullopt;
        body = buffer.left(length);
        buffer.remove(0, length);
        return body;
    }
    for (;;) {
        const qsizetype line = lineEnd("\r\n");
        const qsizetype size = line < 0 ? -1 : buffer.left(line).toLongLong(nullptr, 16);
        if (size < 0 || !holds(line + 2 + size + 2))
            return std::nullopt;
        body += buffer.mid(line + 2, size);
        buffer.remove(0, line + 2 + size + 2);
        if (size == 0)
            return body;
    }
}

struct IppDeleter
{
    void operator()(ipp_t *ipp) const { ippDelete(ipp); }
};
using Ipp = std::unique_ptr<ipp_t, IppDeleter>;

struct Bytes
{
    QByteArray data;
    qsizetype read = 0;
};

ssize_t readBytes(void *bytes, ipp_uchar_t *to, size_t size)
{
    auto *from = static_cast<Bytes *>(bytes);
    const qsizetype taken = std::min<qsizetype>(qsizetype(size), from->data.size() - from->read);
    std::memcpy(to, from->data.constData() + from->read, std::size_t(taken));
    from->read += taken;
    return taken;
}

ssize_t writeBytes(void *bytes, ipp_uchar_t *from, size_t size)
{
    static_cast<Bytes *>(bytes)->data.append(reinterpret_cast<const char *>(from), qsizetype(size));
    return ssize_t(size);
}

void describePrinter(ipp_t *response, const QByteArray &uri, const QByteArray &media)
{
    const auto keyword = [response](const char *name, const char *value) {
        ippAddString(response, IPP_TAG_PRINTER, IPP_TAG_KEYWORD, name, nullptr, value);
    };
    ippAddString(response, IPP_TAG_PRINTER, IPP_TAG_NAME, "printer-name", nullptr, "double");
    ippAddString(response, IPP_TAG_PRINTER, IPP_TAG_URI, "printer-uri-supported", nullptr,
                 uri.constData());
    keyword("uri-security-supported", "none");
    keyword("uri-authentication-supported", "none");
    ippAddInteger(response, IPP_TAG_PRINTER, IPP_TAG_ENUM, "printer-state", IPP_PSTATE_IDLE);
    keyword("printer-state-reasons", "none");
    ippAddBoolean(response, IPP_TAG_PRINTER, "printer-is-accepting-jobs", 1);
    keyword("media-default", media.constData());
    keyword("media-supported", media.constData());
    ippAddString(response, IPP_TAG_PRINTER, IPP_TAG_MIMETYPE, "document-format-supported", nullptr,
                 "application/pdf");
}

void fail(ipp_t *response, ipp_status_t status, const char *message)
{
    ippSetStatusCode(response, status);
    ippAddString(response, IPP_TAG_OPERATION, IPP_TAG_TEXT, "status-message", nullptr, message);
}

QByteArray PrintServiceDouble::answer(const QByteArray &body, int &operation)
{
    Bytes request{body};
    const Ipp asked(ippNew());
    if (ippReadIO(&request, readBytes, 1, nullptr, asked.get()) != IPP_STATE_DATA)
        return "HTTP/1.1 400 Bad Request\r\nContent-Length: 0\r\n\r\n";
    operation = ippGetOperation(asked.get());
    const char *printer
            = ippGetString(ippFindAttribute(asked.get(), "printer-uri", IPP_TAG_URI), 0, nullptr);
    const QByteArray uri = "ipp://" + address() + "/printers/double";
    const Ipp response(ippNewResponse(asked.get()));
    if (printer && uri != printer)
        fail(response.get(), IPP_STATUS_ERROR_NOT_FOUND, "The printer does not exist.");
    else if (operation == IPP_OP_CUPS_GET_DEFAULT && !m_answers.hasDefault)
        fail(response.get(), IPP_STATUS_ERROR_NOT_FOUND, "No default destination.");
    else if (operation == IPP_OP_CUPS_GET_DEFAULT || operation == IPP_OP_GET_PRINTER_ATTRIBUTES)
        describePrinter(response.get(), uri, m_answers.media);
    else if (operation == IPP_OP_CREATE_JOB && m_answers.refuseJobs)
        fail(response.get(), IPP_STATUS_ERROR_NOT_ACCEPTING_JOBS, "Not accepting jobs.");
    else if (operation == IPP_OP_CREATE_JOB)
        ippAddInteger(response.get(), IPP_TAG_JOB, IPP_TAG_INTEGER, "job-id", 7);
    else if (operation == IPP_OP_SEND_DOCUMENT && m_answers.refuseDocument)
        fail(response.get(), IPP_STATUS_ERROR_DOCUMENT_FORMAT_NOT_SUPPORTED, "Unsupported format.");
    Bytes answered;
    while (ippWriteIO(&answered, writeBytes, 1, nullptr, response.get()) != IPP_STATE_DATA) { }
    const std::lock_guard lock(m_mutex);
    m_operations << operation;
    if (operation == IPP_OP_SEND_DOCUMENT && ippGetStatusCode(response.get()) == IPP_STATUS_OK)
        m_documents << body.mid(request.read);
    return "HTTP/1.1 200 OK\r\nContent-Type: application/ipp\r\nContent-Length: "
            + QByteArray::number(answered.data.size()) + "\r\n\r\n" + answered.data;
}

bool PrintServiceDouble::deliver(int connection, const QByteArray &bytes, bool trickling)
{
    if (!pause(m_answers.delay))
        return false;
    if (!trickling)
        return send(connection, bytes);
    for (const char byte : bytes)
        if (!send(connection, QByteArray(1, byte)) || !pause(10ms))
            return false;
    return true;
}

// The double as the print service the program finds, with none of the user's printer settings.
struct PrintService
{
    explicit PrintService(PrintServiceDouble::Answers answers = {}, const QByteArray &lpdest = {})
        : service(std::move(answers)), home(folder.path()),
          server("CUPS_SERVER", service.address()),
          serverRoot("CUPS_SERVERROOT", folder.path().toUtf8()), named("LPDEST", lpdest),
          printer("PRINTER", {})
    {
    }

    PrintServiceDouble service;
    QTemporaryDir folder;
    TemporaryHome home;
    EnvironmentSetting server, serverRoot, named, printer;
};

using Window = MainWindowOf<ProgramsPrinter>;

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
    void eachRefusalIsToldInItsOwnWords();
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
    QVERIFY(messages.seen().value(0).startsWith("خدمة الطباعة لا تستجيب"));
    QVERIFY(window.printer.hasPendingDocument());
    QVERIFY(print.service.operations().contains(IPP_OP_CREATE_JOB));
    // The abandoned talk ends with the deadline, and never submits what it was told to.
    QVERIFY(print.service.waitForClosedConnections(4s));
    QCOMPARE(print.service.documents().size(), 0);
}

void PrintServiceTest::eachRefusalIsToldInItsOwnWords()
{
    // Names and the service's own words isolated, the sentence's full stop outside them.
    const struct
    {
        PrintServiceDouble::Answers answers;
        QByteArray lpdest;
        const char *told;
    } cases[] = {
            {{.listening = false}, {}, "خدمة الطباعة لا تعمل على هذا الجهاز."},
            {{.hasDefault = false}, {}, "لا توجد طابعة افتراضية معدّة على هذا الجهاز."},
            {{}, "taqwim-missing", "لا توجد على هذا الجهاز طابعة باسم \u2066taqwim-missing\u2069."},
            {{.refuseJobs = true}, {}, "رفضت الطابعة المستند: \u2066Not accepting jobs\u2069."},
            {{.refuseDocument = true}, {}, "رفضت الطابعة المستند: \u2066Unsupported format\u2069."},
    };
    for (const auto &[answers, lpdest, told] : cases) {
        PrintService print(answers, lpdest);
        ProgramsPrinter printer;
        printer.writeLine({"line"});
        try {
            printer.endDocument();
            QFAIL(told);
        } catch (const printing::PrintError &error) {
            QCOMPARE(QString::fromUtf8(error.what()), QString::fromUtf8(told));
        }
        QVERIFY(printer.hasPendingDocument());
        // A job without its document would only sit in the queue.
        const QList<int> asked = print.service.operations();
        QVERIFY(asked.lastIndexOf(IPP_OP_CANCEL_JOB) >= asked.lastIndexOf(IPP_OP_SEND_DOCUMENT));
    }
}

void PrintServiceTest::aDiscardedDocumentNeverReachesTheService()
{
    PrintService print;
    Window window;
    MessageCatcher messages;
    window.press("Command3");
    window.press("Command4");
    window.press("Command5");
    QCOMPARE(messages.seen(), QStringList{"لم يكن في ذاكرة الطابعة شيء لطباعته."});
    QCOMPARE(print.service.operations(), QList<int>());
    window.press("Command3");
    window.press("Command5");
    QCOMPARE(messages.seen().size(), 1);
    QCOMPARE(print.service.documents().size(), 1);
}

QTEST_MAIN(PrintServiceTest)
#include "print_service_test.moc"
