#include "print_on_exit.h"

#include "printing/default_printer.h"

#include "warning_message.h"

void printPendingDocumentOnExit(printing::DefaultPrinter &printer)
{
    if (!printer.hasPendingDocument())
        return;
    try {
        printer.endDocument();
    } catch (const printing::PrintError &error) {
        showWarning(nullptr, QStringLiteral("الطباعة"),
                    QStringLiteral("لم يُطبع ما في ذاكرة الطابعة عند إغلاق البرنامج.\n%1")
                            .arg(QString::fromUtf8(error.what())));
    }
}
