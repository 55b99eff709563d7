#pragma once

#include <QObject>

#include <csignal>
#include <vector>

namespace printing {
class DefaultPrinter;
}

// The ways a desktop session ends a program without closing its windows: a signal (SIGTERM
// when the session ends or the machine shuts down, SIGHUP when the terminal it was started
// from goes, SIGINT for Ctrl+C), and the display itself going away. Neither may lose a
// pending print document.

// Ends the event loop on the first SIGTERM, SIGHUP or SIGINT, as closing both windows
// would; a second one ends the program at once. A signal the program was started with
// ignored (nohup, a script's background job) stays ignored, as in GNU programs.
class EndingSignals : public QObject
{
public:
    EndingSignals();
    ~EndingSignals() override;
    EndingSignals(const EndingSignals &) = delete;
    EndingSignals &operator=(const EndingSignals &) = delete;

    bool received() const { return m_received; }

private:
    void endTheSession();
    void restoreDefaults();

    std::vector<int> m_handled;
    bool m_received = false;
};

// While it lives, a display that goes away leaves the printer's pending document kept as a
// PDF. Qt's X11 and Wayland platforms then say so in a warning and call exit() right after,
// from inside the event loop; the warning is the last moment when Qt can still draw the
// pages, as exit's handlers run after parts of Qt are gone.
class KeptIfTheDisplayGoes
{
public:
    explicit KeptIfTheDisplayGoes(printing::DefaultPrinter &printer);
    ~KeptIfTheDisplayGoes();
    KeptIfTheDisplayGoes(const KeptIfTheDisplayGoes &) = delete;
    KeptIfTheDisplayGoes &operator=(const KeptIfTheDisplayGoes &) = delete;
};
