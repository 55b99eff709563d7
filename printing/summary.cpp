#include "summary.h"

#include "default_printer.h"

namespace printing {

void writeSummary(DefaultPrinter &printer, const SummaryFields &fields)
{
    const QString rule(48, u'*');
    const QString indent = QStringLiteral("  ");
    printer.setTextStyle({.bold = true, .points = 14});
    const LinesKeptTogether block(printer);
    printer.writeLine({rule});
    printer.writeLine({});
    printer.writeLine({QStringLiteral(" العنوان             ")});
    printer.writeLine({indent, QStringLiteral("التاريخ الميلادي:"), fields.gregorianDate});
    printer.writeLine({indent, QStringLiteral("يصادف التاريخ الهجري:"), fields.hijriDate});
    printer.writeLine({indent, QStringLiteral("اسم اليوم:"), fields.weekday});
    printer.writeLine({});
    printer.writeLine({rule});
}

} // namespace printing
