#pragma once

#include <QString>

namespace printing {

class DefaultPrinter;

// One result as the summary shows it.
struct SummaryFields
{
    QString gregorianDate, hijriDate, weekday;
};

// Writes the eight-line framed summary of a result into the pending document, as one group
// that stays on one page.
void writeSummary(DefaultPrinter &printer, const SummaryFields &fields);

} // namespace printing
