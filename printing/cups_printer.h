#pragma once

#include "default_printer.h"

#include <QList>

namespace printing {

// The system's default CUPS destination. Ending the document lays its lines out on pages
// of the printer's paper size, right to left, and submits them as one PDF job.
class CupsPrinter : public DefaultPrinter
{
public:
    explicit CupsPrinter(QStringList fontFamilies);

    void setSetting(int setting, SettingValue value) override;
    void writeLine(const QStringList &items) override;
    void endDocument() override;
    void discardDocument() override;
    bool hasPendingDocument() const override;

    struct Line
    {
        QString text;
        bool bold = false;
        float points = 10.0f;
    };

private:
    QStringList m_fontFamilies;
    Line m_style; // what the next line is written with
    QList<Line> m_pending;
};

} // namespace printing
