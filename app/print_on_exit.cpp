#include "print_on_exit.h"

#include "printing/default_printer.h"

#include "warning_message.h"

#include <QDateTime>
#include <QDir>
#include <QSaveFile>
#include <QStandardPaths>

namespace {

// The path the document was written to, or an empty one when no folder would take it.
QString keepAsPdf(const printing::DefaultPrinter &printer)
{
    QByteArray pdf;
    try {
        pdf = printer.pendingDocumentPdf();
    } catch (const printing::PrintError &) {
        return {};
    }
    const QString name = QDateTime::currentDateTime().toString(
            QStringLiteral("'taqwim-'yyyy-MM-dd-HH-mm-ss'.pdf'"));
    for (const QString &folder :
         {QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation), QDir::homePath()}) {
        QSaveFile file(QDir(folder).filePath(name));
        if (!folder.isEmpty() && QDir().mkpath(folder) && file.open(QIODevice::WriteOnly)
            && file.write(pdf) == pdf.size() && file.commit())
            return file.fileName();
    }
    return {};
}

} // namespace

void printPendingDocumentOnExit(printing::DefaultPrinter &printer)
{
    if (!printer.hasPendingDocument())
        return;
    try {
        printer.endDocument();
    } catch (const printing::PrintError &error) {
        const QString path = keepAsPdf(printer);
        const QString fate = path.isEmpty()
                ? QStringLiteral("تعذّر الاحتفاظ بالمستند، إذ لم يمكن حفظه في ملف.")
                : QStringLiteral("حُفظ المستند بدلًا من ذلك في الملف: %1").arg(path);
        showWarning(nullptr, QStringLiteral("الطباعة"),
                    QStringLiteral("لم يُطبع ما في ذاكرة الطابعة عند إغلاق البرنامج. %1\n%2")
                            .arg(QString::fromUtf8(error.what()), fate));
    }
}
