#include "design/design_units.h"
#include "form1.h"
#include "print_on_exit.h"
#include "printing/cups_printer.h"
#include "qt_translation.h"
#include "startup_messages.h"

#include <QApplication>
#include <QTranslator>

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
    Form1 window(printer);
    window.showCentred();
    const int status = QApplication::exec();
    printPendingDocumentOnExit(printer);
    return status;
}
