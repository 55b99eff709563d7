#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

// Keeps a document the printer could not take as a PDF in the user's documents folder, or
// the home folder when that cannot be written. Nothing is ever left half-written under any
// name, and no file that is there already is replaced: the bytes go into a file that has no
// name yet, are flushed to the disk and checked, and only then take the first free name of
// "taqwim-<date>-<time>.pdf", "taqwim-<date>-<time>-2.pdf" and so on.
//
// Returns the path kept at, or an empty one when no folder would take the document whole.
QString keepAsPdf(const QByteArray &pdf, const QDateTime &when = QDateTime::currentDateTime());
