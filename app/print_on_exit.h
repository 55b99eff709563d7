#pragma once

namespace printing {
class DefaultPrinter;
}

// How the fate of a pending document is told as the program ends: in a message box, or in
// one line on standard error when the session is ending and no one may be there to read a
// box, or the display is gone.
enum class ExitReport { MessageBox, StandardError };

// A document still pending when the program ends goes to the printer rather than being
// lost. When it cannot be printed it is kept as a PDF (kept_document.h), and the user is told
// where, or that it could not be kept either. False when the document is lost.
bool printPendingDocumentOnExit(printing::DefaultPrinter &printer,
                                ExitReport report = ExitReport::MessageBox);

// For a display that has gone away: the document is kept as a PDF at once, without trying
// the printer, as the session is going away. False when the document is lost.
bool keepPendingDocument(printing::DefaultPrinter &printer);
