#include "print_on_exit.h"

#include "design/bidi_text.h"
#include "kept_document.h"
#include "printing/default_printer.h"
#include "warning_message.h"

#include <cstdio>

namespace {

// Draws the pending pages and keeps them as a PDF file: the path they were kept at, or an
// empty one when they could be neither drawn nor kept.
QString keepPendingPages(const printing::DefaultPrinter &printer)
{
    try {
        return keepAsPdf(printer.pendingDocumentPdf());
    } catch (const printing::PrintError &) {
        return {};
    }
}

void tellOnStandardError(const QString &path)
{
    const QString line = path.isEmpty()
            ? QStringLiteral("taqwim: تعذّر حفظ ما في ذاكرة الطابعة في ملف، فضاع. "
                             "The pending print document could not be kept and is lost.")
            : QStringLiteral("taqwim: حُفظ ما في ذاكرة الطابعة في الملف %1 — "
                             "the pending print document was kept as %1")
                      .arg(path);
    std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
}

void tellInMessageBox(const QString &cause, const QString &path)
{
    const QString fate = path.isEmpty()
            ? QStringLiteral("تعذّر الاحتفاظ بالمستند، إذ لم يمكن حفظه في ملف.")
            : QStringLiteral("حُفظ المستند بدلًا من ذلك في الملف: %1.")
                      .arg(design::leftToRight(path));
    showWarning(nullptr, QStringLiteral("الطباعة"),
                QStringLiteral("لم يُطبع ما في ذاكرة الطابعة عند إغلاق البرنامج. %1\n%2")
                        .arg(cause, fate));
}

} // namespace

bool printPendingDocumentOnExit(printing::DefaultPrinter &printer, ExitReport report)
{
    if (!printer.hasPendingDocument())
        return true;
    try {
        printer.endDocument();
        if (report == ExitReport::StandardError)
            std::fputs("taqwim: طُبع ما كان في ذاكرة الطابعة — "
                       "the pending print document was printed\n",
                       stderr);
        return true;
    } catch (const printing::PrintError &error) {
        const QString path = keepPendingPages(printer);
        if (report == ExitReport::StandardError)
            tellOnStandardError(path);
        else
            tellInMessageBox(QString::fromUtf8(error.what()), path);
        return !path.isEmpty();
    }
}

bool keepPendingDocument(printing::DefaultPrinter &printer)
{
    if (!printer.hasPendingDocument())
        return true;
    const QString path = keepPendingPages(printer);
    tellOnStandardError(path);
    if (!path.isEmpty())
        printer.discardDocument(); // kept once is enough, whatever ends the program next
    return !path.isEmpty();
}
