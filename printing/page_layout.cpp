#include "page_layout.h"

#include "default_printer.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

#include <cups/cups.h>

namespace printing {
namespace {

constexpr int LineFlags = Qt::AlignAbsolute | Qt::AlignRight | Qt::AlignTop | Qt::TextWordWrap;

QFont fontOf(const PrintedLine &line, const QStringList &fontFamilies)
{
    QFont font;
    font.setFamilies(fontFamilies);
    font.setPointSizeF(line.points);
    font.setBold(line.bold);
    return font;
}

// A long line wraps, so it may take more than one line's height.
qreal heightOf(const QString &text, const QFont &font, QPainter &painter, const QRectF &page)
{
    painter.setFont(font);
    return std::max(QFontMetricsF(font, painter.device()).lineSpacing(),
                    painter.boundingRect(page, LineFlags, text).height());
}

// The height the lines from `first` on need to stay on one page: the whole of its group,
// or the line alone.
qreal neededFrom(qsizetype first, const QList<PrintedLine> &lines, const QList<qreal> &heights)
{
    const int group = lines[first].group;
    if (group == 0 || (first > 0 && lines[first - 1].group == group))
        return heights[first];
    qreal needed = 0;
    for (qsizetype i = first; i < lines.size() && lines[i].group == group; ++i)
        needed += heights[i];
    return needed;
}

void render(const QList<PrintedLine> &lines, const QStringList &fontFamilies, QPdfWriter &pdf)
{
    QPainter painter;
    if (!painter.begin(&pdf))
        throw PrintError("تعذّر إعداد صفحات الطباعة.");
    painter.setLayoutDirection(Qt::RightToLeft);
    const QRectF page(QPointF(0, 0), pdf.pageLayout().paintRectPixels(pdf.resolution()).size());
    QList<QFont> fonts;
    QList<qreal> heights;
    for (const PrintedLine &line : lines) {
        fonts << fontOf(line, fontFamilies);
        heights << heightOf(line.text, fonts.last(), painter, page);
    }
    qreal top = 0;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (top > 0 && top + neededFrom(i, lines, heights) > page.height()) {
            pdf.newPage();
            top = 0;
        }
        painter.setFont(fonts[i]);
        painter.drawText(QRectF(0, top, page.width(), heights[i]), LineFlags, lines[i].text);
        top += heights[i];
    }
    painter.end();
}

} // namespace

QByteArray pdfPages(const QList<PrintedLine> &lines, const QStringList &fontFamilies,
                    const QPageSize &paper)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        pdf.setResolution(1200);
        pdf.setTitle(QStringLiteral("Taqwim"));
        pdf.setCreator(QStringLiteral("taqwim"));
        pdf.setPageLayout(QPageLayout(paper, QPageLayout::Portrait, QMarginsF(20, 20, 20, 20),
                                      QPageLayout::Millimeter));
        render(lines, fontFamilies, pdf);
    }
    return buffer.data();
}

QPageSize paperNamed(const char *pwgMedia)
{
    const pwg_media_t *size = pwgMedia ? pwgMediaForPWG(pwgMedia) : nullptr;
    if (!size || size->width <= 0 || size->length <= 0)
        return QPageSize(QPageSize::A4);
    // Hundredths of a millimetre; matched to a named size where one is that close.
    return QPageSize(QSizeF(size->width, size->length) / 100.0, QPageSize::Millimeter, QString(),
                     QPageSize::FuzzyMatch);
}

} // namespace printing
