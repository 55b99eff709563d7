#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <stdexcept>

// The desktop's default printer as the program sees it: a pending document that collects
// lines of text until it is ended (printed) or discarded.
namespace printing {

// How a line's text looks on paper.
struct TextStyle
{
    bool bold = false;
    qreal points = 10;
};

// A step the printer could not take. what() is one Arabic sentence (UTF-8) for the user that
// tells the cause; what became of the document is for the caller to say.
class PrintError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

class DefaultPrinter
{
public:
    virtual ~DefaultPrinter() = default;

    // Holds for every line written after it.
    virtual void setTextStyle(const TextStyle &style) = 0;
    // The items one after another, then a line break; the first line opens a document.
    virtual void writeLine(const QStringList &items) = 0;
    // The lines written between the two stay on one page whenever they fit on one.
    virtual void beginGroup() = 0;
    virtual void endGroup() = 0;
    // Sends the pending document to the printer. On failure it stays pending.
    virtual void endDocument() = 0;
    virtual void discardDocument() = 0;
    virtual bool hasPendingDocument() const = 0;
    // The pages the printer would have had, as a PDF, for keeping what cannot be printed.
    virtual QByteArray pendingDocumentPdf() const = 0;
};

// Keeps the lines written during its lifetime together, also when a line fails.
class LinesKeptTogether
{
public:
    explicit LinesKeptTogether(DefaultPrinter &printer) : m_printer(printer)
    {
        m_printer.beginGroup();
    }
    ~LinesKeptTogether() { m_printer.endGroup(); }
    LinesKeptTogether(const LinesKeptTogether &) = delete;
    LinesKeptTogether &operator=(const LinesKeptTogether &) = delete;

private:
    DefaultPrinter &m_printer;
};

} // namespace printing
