#pragma once

namespace printing {
class DefaultPrinter;
}

// A document still pending when the program ends goes to the printer rather than being
// lost silently; if it cannot, the user is told so.
void printPendingDocumentOnExit(printing::DefaultPrinter &printer);
