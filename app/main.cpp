#include "design/design_units.h"
#include "form1.h"
#include "print_on_exit.h"
#include "printing/cups_printer.h"
#include "qt_translation.h"
#include "session_end.h"
#include "startup_messages.h"

#include <QApplication>
#include <QTranslator>

#include <cstdlib>

int main(int argc, char *argv[])
{
    StartupMessages startup;
    QApplication app(argc, argv);
    startup.passOn();
    QApplication::setApplicationName(QStringLiteral("taqwim"));
    QApplication::setApplicationVersion(QStringLiteral(TAQWIM_VERSION));
    QApplication::setLayoutDirection(Qt::RightToLeft);
    QTranslator qtArabic;
    installQtArabicTranslation(qtArabic);

    printing::CupsPrinter printer(design::fontFamilies());
    const KeptIfTheDisplayGoes keptIfTheDisplayGoes(printer);
    const EndingSignals endingSignals;
    Form1 window(printer);
    window.showCentred();
    const int status = QApplication::exec();
    if (endingSignals.received()) // no one may be at the screen to read a message
        return printPendingDocumentOnExit(printer, ExitReport::StandardError) ? EXIT_SUCCESS
                                                                              : EXIT_FAILURE;
    printPendingDocumentOnExit(printer);
    return status;
}
