#pragma once

#include "default_printer.h"
#include "page_layout.h"

#include <QList>
#include <QPageSize>

namespace printing {

// The system's default CUPS destination. Ending the document lays its lines out on pages
// of the printer's paper size, right to left, and submits them as one PDF job. Every talk
// with the print service shares one deadline of a few seconds, so that a service that is
// hung cannot freeze the window.
class CupsPrinter : public DefaultPrinter
{
public:
    explicit CupsPrinter(QStringList fontFamilies);

    void setTextStyle(const TextStyle &style) override;
    void writeLine(const QStringList &items) override;
    void beginGroup() override;
    void endGroup() override;
    void endDocument() override;
    void discardDocument() override;
    bool hasPendingDocument() const override;
    QByteArray pendingDocumentPdf() const override;

private:
    QStringList m_fontFamilies;
    TextStyle m_style; // what the next line is written with
    int m_group = 0; // of the next line; 0 for none
    int m_groups = 0;
    QList<PrintedLine> m_pending;
    QPageSize m_paper{QPageSize::A4}; // the default printer's, as last heard from the service
};

} // namespace printing
