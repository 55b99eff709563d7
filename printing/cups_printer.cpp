#include "cups_printer.h"

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTemporaryFile>

#include <cups/cups.h>

#include <memory>

namespace printing {
namespace {

struct DestinationDeleter
{
    void operator()(cups_dest_t *destination) const { cupsFreeDests(1, destination); }
};
using Destination = std::unique_ptr<cups_dest_t, DestinationDeleter>;

Destination defaultDestination()
{
    Destination destination(cupsGetNamedDest(CUPS_HTTP_DEFAULT, nullptr, nullptr));
    if (!destination)
        throw PrintError("لا توجد طابعة افتراضية معدّة على هذا الجهاز. بقي المستند في ذاكرة "
                         "الطابعة، ويمكن طباعته بعد إعداد طابعة.");
    return destination;
}

QPageSize paperOf(const char *printerName)
{
    const QPageSize size
            = QPrinterInfo::printerInfo(QString::fromUtf8(printerName)).defaultPageSize();
    return size.isValid() ? size : QPageSize(QPageSize::A4);
}

// Lays the lines out top to bottom, each right-aligned as Arabic is read, starting a new
// page wherever the next line no longer fits.
void render(const QList<CupsPrinter::Line> &lines, const QStringList &fontFamilies,
            QPrinter &printer)
{
    QPainter painter;
    if (!painter.begin(&printer))
        throw PrintError("تعذّر إعداد صفحات الطباعة.");
    painter.setLayoutDirection(Qt::RightToLeft);
    const QRectF page(QPointF(0, 0),
                      printer.pageLayout().paintRectPixels(printer.resolution()).size());
    qreal top = 0;
    for (const CupsPrinter::Line &line : lines) {
        QFont font;
        font.setFamilies(fontFamilies);
        font.setPointSizeF(line.points);
        font.setBold(line.bold);
        painter.setFont(font);
        const int flags = Qt::AlignAbsolute | Qt::AlignRight | Qt::AlignTop | Qt::TextWordWrap;
        const qreal height = std::max(QFontMetricsF(font, &printer).lineSpacing(),
                                      painter.boundingRect(page, flags, line.text).height());
        if (top > 0 && top + height > page.height()) {
            printer.newPage();
            top = 0;
        }
        painter.drawText(QRectF(0, top, page.width(), height), flags, line.text);
        top += height;
    }
    painter.end();
}

} // namespace

CupsPrinter::CupsPrinter(QStringList fontFamilies) : m_fontFamilies(std::move(fontFamilies)) { }

void CupsPrinter::setSetting(int setting, SettingValue value)
{
    if (setting == BoldSetting && std::holds_alternative<bool>(value))
        m_style.bold = std::get<bool>(value);
    else if (setting == TextSizeSetting && std::holds_alternative<float>(value))
        m_style.points = std::get<float>(value);
    else
        throw std::invalid_argument("unknown printer setting");
}

void CupsPrinter::writeLine(const QStringList &items)
{
    Line line = m_style;
    line.text = items.join(QString());
    m_pending.append(line);
}

void CupsPrinter::endDocument()
{
    if (m_pending.isEmpty())
        return; // nothing to send: an empty job would only waste paper
    const Destination destination = defaultDestination();

    QTemporaryFile pdf;
    if (!pdf.open())
        throw PrintError("تعذّر تجهيز ملف مؤقت للطباعة.");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf.fileName());
    printer.setPageSize(paperOf(destination->name));
    printer.setPageMargins(QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter);
    printer.setDocName(QStringLiteral("Taqwim"));
    render(m_pending, m_fontFamilies, printer);

    const int job = cupsPrintFile2(CUPS_HTTP_DEFAULT, destination->name,
                                   pdf.fileName().toLocal8Bit().constData(), "Taqwim",
                                   destination->num_options, destination->options);
    if (job == 0)
        throw PrintError(std::string("رفضت خدمة الطباعة المستند، وبقي في ذاكرة الطابعة: ")
                         + cupsLastErrorString());
    m_pending.clear();
}

void CupsPrinter::discardDocument()
{
    m_pending.clear();
}

bool CupsPrinter::hasPendingDocument() const
{
    return !m_pending.isEmpty();
}

} // namespace printing
