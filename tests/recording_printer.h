#pragma once

#include "printing/default_printer.h"

#include <QList>
#include <QStringList>

#include <stdexcept>

using RecordedDocument = QList<QStringList>; // lines, each a list of items

// Each line as it reads on paper: its items one directly after another.
inline QStringList joined(const RecordedDocument &document)
{
    QStringList lines;
    for (const QStringList &items : document)
        lines << items.join(QString());
    return lines;
}

// A default printer that keeps what it is asked to do, and can be told to fail.
class RecordingPrinter : public printing::DefaultPrinter
{
public:
    using Document = RecordedDocument;

    QStringList calls; // every operation, in order
    Document pending;
    QList<Document> printed;
    int failAtLine = 0; // the n-th line written from now on fails; 0 never
    bool failToPrint = false;
    bool internalFault = false; // a bug rather than a refusal: not a PrintError

    void setTextStyle(const printing::TextStyle &style) override
    {
        calls << QStringLiteral("style %1 %2 pt")
                         .arg(QLatin1String(style.bold ? "bold" : "plain"))
                         .arg(style.points);
    }
    void writeLine(const QStringList &items) override
    {
        calls << QStringLiteral("line");
        if (internalFault)
            throw std::logic_error("line written to a closed document");
        if (failAtLine > 0 && --failAtLine == 0)
            throw printing::PrintError("تعذّرت الكتابة في ذاكرة الطابعة.");
        pending << items;
    }
    void beginGroup() override { calls << QStringLiteral("group"); }
    void endGroup() override { calls << QStringLiteral("group end"); }
    void endDocument() override
    {
        calls << QStringLiteral("end");
        if (failToPrint)
            throw printing::PrintError("لا توجد طابعة افتراضية معدّة على هذا الجهاز.");
        if (!pending.isEmpty())
            printed << pending;
        pending.clear();
    }
    void discardDocument() override
    {
        calls << QStringLiteral("discard");
        pending.clear();
    }
    bool hasPendingDocument() const override { return !pending.isEmpty(); }
    // Stands for the pages: the pending lines as text, one a line.
    QByteArray pendingDocumentPdf() const override { return joined(pending).join(u'\n').toUtf8(); }
};
