#include "cups_printer.h"

#include "design/bidi_text.h"

#include <QDeadlineTimer>
#include <QString>

#include <cups/cups.h>

#include <sys/socket.h>

#include <cerrno>
#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

namespace printing {
namespace {

// A print action may hold the window this long, whatever the service does: the talk with it
// runs on a thread of its own, and is abandoned when the time is up.
constexpr int ActionBudgetMs = 4000;
constexpr double WaitSeconds = 0.25;

const char *const NotRunning = "خدمة الطباعة لا تعمل على هذا الجهاز.";
const char *const NotAnswering = "خدمة الطباعة لا تستجيب، فتوقفت المحاولة بعد بضع ثوانٍ.";
const char *const NoDefaultPrinter = "لا توجد طابعة افتراضية معدّة على هذا الجهاز.";

// The service's own words stay in their order whatever the sentence around them.
QString refusedBecause(QString reason)
{
    while (reason.endsWith(u'.') || reason.endsWith(u' '))
        reason.chop(1); // the sentence has a full stop of its own
    return QStringLiteral("رفضت الطابعة المستند: %1.").arg(design::leftToRight(reason));
}

struct ConnectionCloser
{
    void operator()(http_t *http) const { httpClose(http); }
};
struct DestinationDeleter
{
    void operator()(cups_dest_t *destination) const { cupsFreeDests(1, destination); }
};
struct DestinationInfoDeleter
{
    void operator()(cups_dinfo_t *info) const { cupsFreeDestInfo(info); }
};
using Destination = std::unique_ptr<cups_dest_t, DestinationDeleter>;
using DestinationInfo = std::unique_ptr<cups_dinfo_t, DestinationInfoDeleter>;

int whileTimeLeft(http_t *, void *deadline)
{
    return !static_cast<const QDeadlineTimer *>(deadline)->hasExpired();
}

// What the window's thread and a talk's thread share: whether the talk is over, and the
// connection's socket, which the window's thread shuts when it gives up waiting so that
// the talk ends soon after.
struct TalkState
{
    std::mutex mutex;
    std::condition_variable over;
    bool done = false;
    bool abandoned = false;
    int socket = -1; // while the connection is open
    std::exception_ptr failure;
};

// One talk's connection to the service. CUPS bounds each wait, not the talk, so every wait
// asks the deadline whether to go on; a service that trickles its answer never lets a wait
// run out, and is dealt with by abandoning the talk.
class Session
{
public:
    Session(const QDeadlineTimer &deadline, TalkState &state) : m_deadline(deadline), m_state(state)
    {
        const char *server = cupsServer(); // before ippPort(): it reads the port from CUPS_SERVER
        m_http.reset(httpConnect2(server, ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
                                  int(m_deadline.remainingTime()), nullptr));
        if (!m_http)
            throw PrintError(m_deadline.hasExpired() ? NotAnswering : NotRunning);
        const std::lock_guard lock(m_state.mutex);
        if (m_state.abandoned)
            throw PrintError(NotAnswering);
        m_state.socket = httpGetFd(m_http.get());
        httpSetTimeout(m_http.get(), WaitSeconds, whileTimeLeft, &m_deadline);
    }

    ~Session()
    {
        const std::lock_guard lock(m_state.mutex);
        m_state.socket = -1; // before it is closed, and its number perhaps reused
    }

    Session(const Session &) = delete;
    Session &operator=(const Session &) = delete;

    Destination defaultDestination()
    {
        Destination destination(cupsGetNamedDest(m_http.get(), nullptr, nullptr));
        if (destination)
            return destination;
        // LPDEST or PRINTER may name a queue that is not there.
        if (const char *named = cupsGetDefault2(m_http.get()))
            fail(QStringLiteral("لا توجد على هذا الجهاز طابعة باسم %1.")
                         .arg(design::leftToRight(QString::fromUtf8(named))));
        fail(QString::fromUtf8(NoDefaultPrinter));
    }

    DestinationInfo informationOn(cups_dest_t *destination)
    {
        DestinationInfo info(cupsCopyDestInfo(m_http.get(), destination));
        if (!info)
            refused();
        return info;
    }

    // The printer's "media-default" itself: cupsGetDestMediaDefault answers with Letter for
    // a queue whose default is A4.
    QPageSize paperOf(cups_dest_t *destination, cups_dinfo_t *info)
    {
        ipp_attribute_t *media = cupsFindDestDefault(m_http.get(), destination, info, "media");
        return paperNamed(media ? ippGetString(media, 0, nullptr) : nullptr);
    }

    // cupsPrintFile2 would wait without bound on a connection of its own.
    void submit(cups_dest_t *destination, cups_dinfo_t *info, const QByteArray &pdf)
    {
        int job = 0;
        if (cupsCreateDestJob(m_http.get(), destination, info, &job, "Taqwim",
                              destination->num_options, destination->options)
            > IPP_STATUS_OK_CONFLICTING)
            refused();
        const bool sent = cupsStartDestDocument(m_http.get(), destination, info, job, "Taqwim",
                                                CUPS_FORMAT_PDF, 0, nullptr, 1)
                        == HTTP_STATUS_CONTINUE
                && cupsWriteRequestData(m_http.get(), pdf.constData(), size_t(pdf.size()))
                        == HTTP_STATUS_CONTINUE
                && cupsFinishDestDocument(m_http.get(), destination, info)
                        <= IPP_STATUS_OK_CONFLICTING;
        if (!sent) {
            const QString reason = QString::fromUtf8(cupsLastErrorString());
            // A job without its document would only sit in the queue.
            cupsCancelDestJob(m_http.get(), destination, job);
            fail(refusedBecause(reason));
        }
    }

private:
    // The service's error texts do not tell a silent service from the failure at hand.
    [[noreturn]] void fail(const QString &cause) const
    {
        if (httpError(m_http.get()) == ETIMEDOUT || m_deadline.hasExpired())
            throw PrintError(NotAnswering);
        if (cupsLastError() == IPP_STATUS_ERROR_SERVICE_UNAVAILABLE)
            throw PrintError(NotRunning);
        throw PrintError(cause.toStdString());
    }
    [[noreturn]] void refused() const
    {
        fail(refusedBecause(QString::fromUtf8(cupsLastErrorString())));
    }

    QDeadlineTimer m_deadline;
    TalkState &m_state;
    std::unique_ptr<http_t, ConnectionCloser> m_http;
};

// Runs the talk on a thread of its own and waits for it until the deadline at most. A talk
// still going then is abandoned: its socket is shut, so it ends soon, on its own, and
// whatever it was doing is as if it had failed.
template<typename Talk> auto talkWithin(const QDeadlineTimer &deadline, Talk talk)
{
    using Result = decltype(talk(std::declval<Session &>()));
    const auto state = std::make_shared<TalkState>();
    const auto result = std::make_shared<std::optional<Result>>();
    std::thread([state, result, deadline, talk = std::move(talk)] {
        try {
            Session session(deadline, *state);
            result->emplace(talk(session));
        } catch (...) {
            state->failure = std::current_exception();
        }
        const std::lock_guard lock(state->mutex);
        state->done = true;
        state->over.notify_all();
    }).detach();
    std::unique_lock lock(state->mutex);
    if (!state->over.wait_until(lock, deadline.deadline<std::chrono::steady_clock>(),
                                [&state] { return state->done; })) {
        state->abandoned = true;
        if (state->socket >= 0)
            ::shutdown(state->socket, SHUT_RDWR);
        throw PrintError(NotAnswering);
    }
    if (state->failure)
        std::rethrow_exception(state->failure);
    return std::move(**result);
}

} // namespace

CupsPrinter::CupsPrinter(QStringList fontFamilies) : m_fontFamilies(std::move(fontFamilies)) { }

void CupsPrinter::setTextStyle(const TextStyle &style)
{
    m_style = style;
}

void CupsPrinter::writeLine(const QStringList &items)
{
    m_pending.append({items.join(QString()), m_style, m_group});
}

void CupsPrinter::beginGroup()
{
    m_group = ++m_groups;
}

void CupsPrinter::endGroup()
{
    m_group = 0;
}

void CupsPrinter::endDocument()
{
    if (m_pending.isEmpty())
        return; // nothing to send: an empty job would only waste paper
    // Two talks, as the pages are drawn here, on the paper the first one finds.
    const QDeadlineTimer deadline(ActionBudgetMs);
    m_paper = talkWithin(deadline, [](Session &session) {
        const Destination destination = session.defaultDestination();
        const DestinationInfo info = session.informationOn(destination.get());
        return session.paperOf(destination.get(), info.get());
    });
    talkWithin(deadline, [pdf = pendingDocumentPdf()](Session &session) {
        const Destination destination = session.defaultDestination();
        const DestinationInfo info = session.informationOn(destination.get());
        session.submit(destination.get(), info.get(), pdf);
        return true;
    });
    m_pending.clear();
}

void CupsPrinter::discardDocument()
{
    m_pending.clear();
}

bool CupsPrinter::hasPendingDocument() const
{
    return !m_pending.isEmpty();
}

QByteArray CupsPrinter::pendingDocumentPdf() const
{
    return pdfPages(m_pending, m_fontFamilies, m_paper);
}

} // namespace printing
