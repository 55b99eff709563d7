#pragma once

#include <QByteArray>
#include <QList>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

// A print service on a port of this machine that answers as CUPS does, as slowly or as
// wrongly as a test asks: the default printer and its attributes, a job, its document and
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
        bool refuseDocument = false; // as a printer does a format it cannot take
    };

    explicit PrintServiceDouble(Answers answers);
    ~PrintServiceDouble();
    PrintServiceDouble(const PrintServiceDouble &) = delete;
    PrintServiceDouble &operator=(const PrintServiceDouble &) = delete;

    QByteArray address() const; // for CUPS_SERVER
    QList<int> operations() const; // the IPP operations asked for, in order
    QList<QByteArray> documents() const; // the documents taken
    // Until every connection the client made is closed, or the time is up.
    bool waitForClosedConnections(std::chrono::milliseconds atMost);

private:
    void acceptConnections();
    void serve(int connection);
    QByteArray answer(const QByteArray &request);
    bool deliver(int connection, const QByteArray &bytes, bool trickling);
    bool pause(std::chrono::milliseconds time);

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
