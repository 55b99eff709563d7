#pragma once

#include <QString>

#include <functional>

namespace printing {

class DefaultPrinter;

using FieldReader = std::function<QString()>;

// Writes the eight-line framed summary of a result into the pending document, as one group
// that stays on one page. Each field is read right before its line is written.
void writeSummary(DefaultPrinter &printer, const FieldReader &gregorianDate,
                  const FieldReader &hijriDate, const FieldReader &weekday);

} // namespace printing
