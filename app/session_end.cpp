#include "session_end.h"

#include "print_on_exit.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace {

// The self-pipe: a signal handler may do next to nothing, so it only writes a byte here,
// and the event loop reads it.
int signalPipe[2] = {-1, -1};

extern "C" void tellTheEventLoop(int)
{
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
    errno = saved;
}

bool ignoredAtStart(int number)
{
    struct sigaction current
    {
    };
    return ::sigaction(number, nullptr, &current) == 0 && current.sa_handler == SIG_IGN;
}

void handle(int number, void (*handler)(int))
{
    struct sigaction action
    {
    };
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(number, &action, nullptr);
}

printing::DefaultPrinter *printerToKeep = nullptr;
QtMessageHandler passOn = nullptr;

bool displayIsGone(const QString &message)
{
    return message.startsWith(QLatin1String("The X11 connection broke"))
            || message.startsWith(QLatin1String("The Wayland connection"));
}

void keepWhenTheDisplayGoes(QtMsgType type, const QMessageLogContext &context,
                            const QString &message)
{
    passOn(type, context, message);
    if (printerToKeep && displayIsGone(message))
        keepPendingDocument(*std::exchange(printerToKeep, nullptr)); // once, whatever it says
}

} // namespace

EndingSignals::EndingSignals()
{
    if (::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return; // no pipe, no handlers: the signals keep their usual effect
    auto *notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, &EndingSignals::endTheSession);
    for (const int number : {SIGTERM, SIGHUP, SIGINT}) {
        if (ignoredAtStart(number))
            continue;
        handle(number, tellTheEventLoop);
        m_handled.push_back(number);
    }
}

EndingSignals::~EndingSignals()
{
    restoreDefaults();
    for (int &end : signalPipe)
        if (end >= 0)
            ::close(std::exchange(end, -1));
}

void EndingSignals::restoreDefaults()
{
    for (const int number : m_handled)
        handle(number, SIG_DFL);
    m_handled.clear();
}

void EndingSignals::endTheSession()
{
    char bytes[16];
    while (::read(signalPipe[0], bytes, sizeof bytes) > 0) { }
    restoreDefaults(); // whoever sends another one means it: it ends the program at once
    m_received = true;
    QCoreApplication::quit();
}

KeptIfTheDisplayGoes::KeptIfTheDisplayGoes(printing::DefaultPrinter &printer)
{
    printerToKeep = &printer;
    passOn = qInstallMessageHandler(keepWhenTheDisplayGoes);
}

KeptIfTheDisplayGoes::~KeptIfTheDisplayGoes()
{
    qInstallMessageHandler(passOn);
    printerToKeep = nullptr;
}
