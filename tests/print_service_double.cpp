#include "print_service_double.h"

#include <cups/ipp.h>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <memory>
#include <optional>

namespace {

constexpr std::chrono::milliseconds TrickleInterval{10};

struct IppDeleter
{
    void operator()(ipp_t *ipp) const { ippDelete(ipp); }
};

bool receiveMore(int connection, QByteArray &buffer)
{
    char bytes[65536];
    const ssize_t received = ::recv(connection, bytes, sizeof bytes, 0);
    if (received <= 0)
        return false;
    buffer.append(bytes, received);
    return true;
}

// At least `size` bytes in the buffer, read from the connection as needed.
bool receiveAtLeast(int connection, QByteArray &buffer, qsizetype size)
{
    while (buffer.size() < size)
        if (!receiveMore(connection, buffer))
            return false;
    return true;
}

bool send(int connection, const QByteArray &bytes)
{
    return ::send(connection, bytes.constData(), std::size_t(bytes.size()), MSG_NOSIGNAL)
            == bytes.size();
}

// The body of the next HTTP request on the connection: sent whole, or in chunks.
std::optional<QByteArray> readRequest(int connection, QByteArray &buffer)
{
    qsizetype end;
    while ((end = buffer.indexOf("\r\n\r\n")) < 0)
        if (!receiveMore(connection, buffer))
            return std::nullopt;
    const QByteArray headers = buffer.left(end).toLower();
    buffer.remove(0, end + 4);
    if (headers.contains("expect: 100-continue")
        && !send(connection, "HTTP/1.1 100 Continue\r\n\r\n"))
        return std::nullopt;
    QByteArray body;
    if (!headers.contains("transfer-encoding: chunked")) {
        const qsizetype at = headers.indexOf("content-length:");
        const qsizetype length
                = at < 0 ? 0 : headers.mid(at + 15).split('\r').value(0).trimmed().toLongLong();
        if (!receiveAtLeast(connection, buffer, length))
            return std::nullopt;
        body = buffer.left(length);
        buffer.remove(0, length);
        return body;
    }
    for (;;) {
        qsizetype line;
        while ((line = buffer.indexOf("\r\n")) < 0)
            if (!receiveMore(connection, buffer))
                return std::nullopt;
        const qsizetype size = buffer.left(line).toLongLong(nullptr, 16);
        if (!receiveAtLeast(connection, buffer, line + 2 + size + 2))
            return std::nullopt;
        body += buffer.mid(line + 2, size);
        buffer.remove(0, line + 2 + size + 2);
        if (size == 0)
            return body;
    }
}

ssize_t appendTo(void *bytes, ipp_uchar_t *data, size_t size)
{
    static_cast<QByteArray *>(bytes)->append(reinterpret_cast<const char *>(data), qsizetype(size));
    return ssize_t(size);
}

QByteArray httpAnswer(ipp_t *response)
{
    QByteArray body;
    while (ippWriteIO(&body, appendTo, 1, nullptr, response) != IPP_STATE_DATA) { }
    return "HTTP/1.1 200 OK\r\nContent-Type: application/ipp\r\nContent-Length: "
            + QByteArray::number(body.size()) + "\r\n\r\n" + body;
}

void describePrinter(ipp_t *response, const QByteArray &uri, const QByteArray &media)
{
    ippAddString(response, IPP_TAG_PRINTER, IPP_TAG_NAME, "printer-name", nullptr, "double");
    ippAddString(response, IPP_TAG_PRINTER, IPP_TAG_URI, "printer-uri-supported", nullptr,
                 uri.constData());
    ippAddString(response, IPP_TAG_PRINTER, IPP_TAG_KEYWORD, "uri-security-supported", nullptr,
                 "none");
    ippAddString(response, IPP_TAG_PRINTER, IPP_TAG_KEYWORD, "uri-authentication-supported",
                 nullptr, "none");
    ippAddInteger(response, IPP_TAG_PRINTER, IPP_TAG_ENUM, "printer-state", IPP_PSTATE_IDLE);
    ippAddString(response, IPP_TAG_PRINTER, IPP_TAG_KEYWORD, "printer-state-reasons", nullptr,
                 "none");
    ippAddBoolean(response, IPP_TAG_PRINTER, "printer-is-accepting-jobs", 1);
    for (const char *name : {"media-default", "media-supported"})
        ippAddString(response, IPP_TAG_PRINTER, IPP_TAG_KEYWORD, name, nullptr, media.constData());
    ippAddString(response, IPP_TAG_PRINTER, IPP_TAG_MIMETYPE, "document-format-supported", nullptr,
                 "application/pdf");
}

} // namespace

PrintServiceDouble::PrintServiceDouble(Answers answers) : m_answers(std::move(answers))
{
    m_listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(m_listener, reinterpret_cast<sockaddr *>(&address), sizeof address);
    ::listen(m_listener, 8);
    ::getsockname(m_listener, reinterpret_cast<sockaddr *>(&address), &length);
    m_port = ntohs(address.sin_port);
    m_acceptor = std::thread([this] { acceptConnections(); });
}

PrintServiceDouble::~PrintServiceDouble()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
        for (const int connection : m_connections)
            ::shutdown(connection, SHUT_RDWR);
    }
    m_changed.notify_all();
    ::shutdown(m_listener, SHUT_RDWR);
    m_acceptor.join();
    ::close(m_listener);
    for (std::thread &server : m_servers)
        server.join();
}

QByteArray PrintServiceDouble::address() const
{
    return "127.0.0.1:" + QByteArray::number(m_port);
}

QList<int> PrintServiceDouble::operations() const
{
    const std::lock_guard lock(m_mutex);
    return m_operations;
}

QList<QByteArray> PrintServiceDouble::documents() const
{
    const std::lock_guard lock(m_mutex);
    return m_documents;
}

bool PrintServiceDouble::waitForClosedConnections(std::chrono::milliseconds atMost)
{
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, atMost, [this] { return m_connections.empty(); });
}

void PrintServiceDouble::acceptConnections()
{
    for (;;) {
        const int connection = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection < 0)
            return;
        const std::lock_guard lock(m_mutex);
        if (m_stopping) {
            ::close(connection);
            return;
        }
        m_connections.push_back(connection);
        m_servers.emplace_back([this, connection] { serve(connection); });
    }
}

void PrintServiceDouble::serve(int connection)
{
    QByteArray buffer;
    while (const std::optional<QByteArray> request = readRequest(connection, buffer)) {
        const QByteArray response = answer(*request);
        const bool creatingJob = request->size() > 3 && request->at(3) == IPP_OP_CREATE_JOB;
        if (!deliver(connection, response, creatingJob && m_answers.trickleJob))
            break;
    }
    const std::lock_guard lock(m_mutex);
    m_connections.erase(std::find(m_connections.begin(), m_connections.end(), connection));
    ::close(connection);
    m_changed.notify_all();
}

QByteArray PrintServiceDouble::answer(const QByteArray &request)
{
    if (request.size() < 8)
        return "HTTP/1.1 400 Bad Request\r\nContent-Length: 0\r\n\r\n";
    const auto byte = [&request](int at) { return int(quint8(request[at])); };
    const int operation = byte(2) << 8 | byte(3);
    const int requestId = byte(4) << 24 | byte(5) << 16 | byte(6) << 8 | byte(7);
    const std::unique_ptr<ipp_t, IppDeleter> response(ippNew());
    ippSetVersion(response.get(), 2, 0);
    ippSetRequestId(response.get(), requestId);
    ippSetStatusCode(response.get(), IPP_STATUS_OK);
    ippAddString(response.get(), IPP_TAG_OPERATION, IPP_TAG_CHARSET, "attributes-charset", nullptr,
                 "utf-8");
    ippAddString(response.get(), IPP_TAG_OPERATION, IPP_TAG_LANGUAGE, "attributes-natural-language",
                 nullptr, "en");
    switch (operation) {
    case IPP_OP_CUPS_GET_DEFAULT:
    case IPP_OP_GET_PRINTER_ATTRIBUTES:
        describePrinter(response.get(), "ipp://" + address() + "/printers/double", m_answers.media);
        break;
    case IPP_OP_CREATE_JOB:
        ippAddInteger(response.get(), IPP_TAG_JOB, IPP_TAG_INTEGER, "job-id", 7);
        ippAddInteger(response.get(), IPP_TAG_JOB, IPP_TAG_ENUM, "job-state", IPP_JSTATE_PENDING);
        break;
    case IPP_OP_SEND_DOCUMENT:
        if (m_answers.refuseDocument) {
            ippSetStatusCode(response.get(), IPP_STATUS_ERROR_DOCUMENT_FORMAT_NOT_SUPPORTED);
            ippAddString(response.get(), IPP_TAG_OPERATION, IPP_TAG_TEXT, "status-message", nullptr,
                         "Unsupported format");
        } else {
            const std::lock_guard lock(m_mutex);
            m_documents << request.mid(request.indexOf("%PDF-"));
        }
        break;
    default:
        break;
    }
    const std::lock_guard lock(m_mutex);
    m_operations << operation;
    return httpAnswer(response.get());
}

bool PrintServiceDouble::deliver(int connection, const QByteArray &bytes, bool trickling)
{
    if (!pause(m_answers.delay))
        return false;
    if (!trickling)
        return send(connection, bytes);
    for (const char byte : bytes)
        if (!send(connection, QByteArray(1, byte)) || !pause(TrickleInterval))
            return false;
    return true;
}

// False when the double is being stopped.
bool PrintServiceDouble::pause(std::chrono::milliseconds time)
{
    std::unique_lock lock(m_mutex);
    return !m_changed.wait_for(lock, time, [this] { return m_stopping; });
}
