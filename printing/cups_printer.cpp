#include "cups_printer.h"

#include <QDeadlineTimer>

#include <cups/cups.h>

#include <cerrno>
#include <memory>

namespace printing {
namespace {

// A print action may hold the window this long; the service's last answer can add a
// little, as the wait that notices the deadline is itself a short one.
constexpr int ActionBudgetMs = 4000;
constexpr double WaitSeconds = 0.25;

const char *const NotRunning = "خدمة الطباعة لا تعمل على هذا الجهاز.";
const char *const NotAnswering = "خدمة الطباعة لا تستجيب، فتوقفت المحاولة بعد بضع ثوانٍ.";
const char *const NoDefaultPrinter = "لا توجد طابعة افتراضية معدّة على هذا الجهاز.";
const char *const Refused = "رفضت الطابعة المستند: ";

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

// One print action's connection to the service. CUPS bounds each wait, not the action, so
// every wait asks the one deadline whether to go on.
class Session
{
public:
    Session() : m_deadline(ActionBudgetMs)
    {
        const char *server = cupsServer(); // before ippPort(): it reads the port from CUPS_SERVER
        m_http.reset(httpConnect2(server, ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
                                  int(m_deadline.remainingTime()), nullptr));
        if (!m_http)
            throw PrintError(m_deadline.hasExpired() ? NotAnswering : NotRunning);
        httpSetTimeout(m_http.get(), WaitSeconds, whileTimeLeft, &m_deadline);
    }

    Destination defaultDestination()
    {
        Destination destination(cupsGetNamedDest(m_http.get(), nullptr, nullptr));
        if (!destination)
            fail(NoDefaultPrinter);
        return destination;
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
            const std::string reason = cupsLastErrorString();
            // A job without its document would only sit in the queue.
            cupsCancelDestJob(m_http.get(), destination, job);
            fail(Refused + reason);
        }
    }

private:
    // The service's error texts do not tell a silent service from the failure at hand.
    [[noreturn]] void fail(const std::string &cause) const
    {
        if (httpError(m_http.get()) == ETIMEDOUT || m_deadline.hasExpired())
            throw PrintError(NotAnswering);
        if (cupsLastError() == IPP_STATUS_ERROR_SERVICE_UNAVAILABLE)
            throw PrintError(NotRunning);
        throw PrintError(cause);
    }
    [[noreturn]] void refused() const { fail(Refused + std::string(cupsLastErrorString())); }

    QDeadlineTimer m_deadline;
    std::unique_ptr<http_t, ConnectionCloser> m_http;
};

} // namespace

CupsPrinter::CupsPrinter(QStringList fontFamilies) : m_fontFamilies(std::move(fontFamilies)) { }

void CupsPrinter::setSetting(int setting, SettingValue value)
{
    if (setting == BoldSetting && std::holds_alternative<bool>(value))
        m_style.bold = std::get<bool>(value);
    else if (setting == TextSizeSetting && std::holds_alternative<float>(value))
        m_style.points = std::get<float>(value);
    else
        throw std::invalid_argument("unknown printer setting");
}

void CupsPrinter::writeLine(const QStringList &items)
{
    PrintedLine line = m_style;
    line.text = items.join(QString());
    m_pending.append(line);
}

void CupsPrinter::beginGroup()
{
    m_style.group = ++m_groups;
}

void CupsPrinter::endGroup()
{
    m_style.group = 0;
}

void CupsPrinter::endDocument()
{
    if (m_pending.isEmpty())
        return; // nothing to send: an empty job would only waste paper
    Session session;
    const Destination destination = session.defaultDestination();
    const DestinationInfo info = session.informationOn(destination.get());
    m_paper = session.paperOf(destination.get(), info.get());
    session.submit(destination.get(), info.get(), pendingDocumentPdf());
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
