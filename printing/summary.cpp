#include "summary.h"

#include "default_printer.h"

namespace printing {

void writeSummary(DefaultPrinter &printer, const FieldReader &gregorianDate,
                  const FieldReader &hijriDate, const FieldReader &weekday)
{
    const QString rule(48, u'*');
    const QString indent = QStringLiteral("  ");
    printer.setSetting(BoldSetting, true);
    printer.setSetting(TextSizeSetting, 14.0f);
    const LinesKeptTogether block(printer);
    printer.writeLine({rule});
    printer.writeLine({});
    printer.writeLine({QStringLiteral(" العنوان             ")});
    printer.writeLine({indent, QStringLiteral("التاريخ الميلادي:"), gregorianDate()});
    printer.writeLine({indent, QStringLiteral("يصادف التاريخ الهجري:"), hijriDate()});
    printer.writeLine({indent, QStringLiteral("اسم اليوم:"), weekday()});
    printer.writeLine({});
    printer.writeLine({rule});
}

} // namespace printing
