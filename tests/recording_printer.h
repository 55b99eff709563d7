#pragma once

#include "printing/default_printer.h"

#include <QList>
#include <QStringList>

// A default printer that keeps what it is asked to do, and can be told to fail.
class RecordingPrinter : public printing::DefaultPrinter
{
public:
    QStringList calls; // every operation, in order
    QList<QStringList> pending; // the lines of the pending document, items joined by '|'
    QList<QStringList> printed; // documents sent to the printer
    int failAtLine = 0; // the n-th line written from now on fails; 0 never
    bool failToPrint = false;

    void setSetting(int setting, printing::SettingValue value) override
    {
        calls << (std::holds_alternative<bool>(value)
                          ? QStringLiteral("set %1 %2").arg(setting).arg(std::get<bool>(value))
                          : QStringLiteral("set %1 %2").arg(setting).arg(std::get<float>(value)));
    }
    void writeLine(const QStringList &items) override
    {
        calls << QStringLiteral("line");
        if (failAtLine > 0 && --failAtLine == 0)
            throw printing::PrintError("تعذّرت الكتابة في ذاكرة الطابعة.");
        if (pending.isEmpty())
            pending << QStringList();
        pending.last() << items.join(u'|');
    }
    void endDocument() override
    {
        calls << QStringLiteral("end");
        if (failToPrint)
            throw printing::PrintError("لا توجد طابعة افتراضية معدّة على هذا الجهاز.");
        printed += pending;
        pending.clear();
    }
    void discardDocument() override
    {
        calls << QStringLiteral("discard");
        pending.clear();
    }
    bool hasPendingDocument() const override { return !pending.isEmpty(); }
};
