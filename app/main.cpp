#include "form1.h"
#include "form1_layout.h"
#include "print_on_exit.h"
#include "printing/cups_printer.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("taqwim"));
    QApplication::setApplicationVersion(QStringLiteral(TAQWIM_VERSION));
    QApplication::setLayoutDirection(Qt::RightToLeft);

    printing::CupsPrinter printer(form1::fontFamilies());
    Form1 window(printer);
    window.showCentred();
    const int status = QApplication::exec();
    printPendingDocumentOnExit(printer);
    return status;
}
