#pragma once

namespace printing {
class DefaultPrinter;
}

// A document still pending when the program ends goes to the printer rather than being
// lost silently. When it cannot be printed it is kept as a PDF in the user's documents
// folder (the home folder if that cannot be written), and the user is told where, or that
// it could not be kept either.
void printPendingDocumentOnExit(printing::DefaultPrinter &printer);
