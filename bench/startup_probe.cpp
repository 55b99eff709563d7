// Starts the main window as the program does, or a bare Qt window of the same size (empty,
// or with one Arabic label), and prints the wall-clock time at which its first frame has been
// painted and the peak memory by then. scripts/bench-startup compares the two.
#include "design/design_units.h"
#include "form1.h"
#include "printing/cups_printer.h"

#include <QApplication>
#include <QLabel>
#include <QTimer>

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

class FirstFrame : public QObject
{
public:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            // The frame is on screen once this paint and its flush are done.
            QTimer::singleShot(0, this, &FirstFrame::report);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    void report()
    {
        const auto now = std::chrono::system_clock::now().time_since_epoch();
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        std::printf("%lld %ld\n",
                    static_cast<long long>(
                            std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()),
                    usage.ru_maxrss);
        std::fflush(stdout);
        QCoreApplication::quit();
    }
    bool m_seen = false;
};

} // namespace

int main(int argc, char *argv[])
{
    const bool bare = argc > 1 && std::strcmp(argv[1], "--bare") == 0;
    const bool label = argc > 1 && std::strcmp(argv[1], "--label") == 0;
    QApplication app(argc, argv);
    QApplication::setLayoutDirection(Qt::RightToLeft);
    FirstFrame firstFrame;
    printing::CupsPrinter printer(design::fontFamilies());
    std::unique_ptr<QWidget> window;
    if (bare || label) {
        window = std::make_unique<QWidget>();
        window->resize(461, 392);
        if (label) { // what any window pays to show one line of Arabic
            auto *text = new QLabel(QStringLiteral("التاريخ الهجري"), window.get());
            text->setFont(design::font({12.0, true}));
        }
        window->installEventFilter(&firstFrame);
        window->show();
    } else {
        auto form = std::make_unique<Form1>(printer);
        form->installEventFilter(&firstFrame);
        form->showCentred();
        window = std::move(form);
    }
    return QApplication::exec();
}
