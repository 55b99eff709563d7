#pragma once

#include "default_printer.h"

#include <QByteArray>
#include <QList>
#include <QPageSize>
#include <QString>
#include <QStringList>

// How the pending document comes out on paper, apart from the print service that takes it.
namespace printing {

struct PrintedLine
{
    QString text;
    TextStyle style;
    int group = 0; // lines of one group share a number; 0 stands alone
};

// The lines laid out top to bottom within 20 mm margins, each right-aligned as Arabic is
// read, as a PDF. On narrow paper a group's text is made smaller, all alike, until its widest
// line fits (not below 6 pt), and a rule (one symbol over and over) is shortened to the whole
// symbols that fit; a line still too wide wraps, and nothing is cut at the margin. A new page
// starts before a line, or a group of lines, that no longer fits; a group taller than a page
// breaks where it must. Throws PrintError if no page can be drawn.
QByteArray pdfPages(const QList<PrintedLine> &lines, const QStringList &fontFamilies,
                    const QPageSize &paper);

// The paper a queue's "media-default" names, as a PWG media name; A4 for a queue that names
// none, or one this program does not know.
QPageSize paperNamed(const char *pwgMedia);

} // namespace printing
