#include "page_layout.h"

#include "default_printer.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QTextOption>

#include <cups/cups.h>

namespace printing {
namespace {

// The smallest size most print is still read at. A block is never made smaller than this to
// fit narrow paper; a line still too wide then wraps.
constexpr qreal SmallestPoints = 6;

// Right-aligned, as Arabic is read. A word wider than the paper breaks between two characters
// instead of being cut off at the margin.
QTextOption lineOption(QTextOption::WrapMode wrap = QTextOption::WrapAtWordBoundaryOrAnywhere)
{
    QTextOption option(Qt::AlignAbsolute | Qt::AlignRight | Qt::AlignTop);
    option.setTextDirection(Qt::RightToLeft);
    option.setWrapMode(wrap);
    return option;
}

QFont fontOf(const PrintedLine &line, const QStringList &fontFamilies, qreal scale = 1)
{
    QFont font;
    font.setFamilies(fontFamilies);
    const qreal points = line.style.points;
    font.setPointSizeF(std::max(points * scale, std::min(points, SmallestPoints)));
    font.setBold(line.style.bold);
    return font;
}

// The width drawText gives the line, unwrapped: laid out by the same code, with the same
// font and options, as it is drawn. A font's advance widths alone come out a few pixels
// narrower, which on narrow paper wrapped a line that had been made small enough to fit.
qreal drawnWidth(QPainter &painter, const QFont &font, const QString &text)
{
    painter.setFont(font);
    const QRectF unbounded(0, 0, 1e9, 1e9);
    return painter.boundingRect(unbounded, text, lineOption(QTextOption::NoWrap)).width();
}

// One symbol over and over, such as the summary's row of stars: a rule is drawn as far as the
// paper allows, in whole characters, instead of making its block smaller.
bool isRule(const QString &text)
{
    return text.size() > 1 && !text.front().isLetterOrNumber() && !text.front().isSpace()
            && text.count(text.front()) == text.size();
}

QString ruleToFit(const QString &rule, QPainter &painter, const QFont &font, qreal width)
{
    qsizetype length = rule.size();
    while (length > 1 && drawnWidth(painter, font, rule.left(length)) > width)
        --length;
    return rule.left(length);
}

// Where the lines kept together with the one at `first` end: its whole group, or the line
// itself.
qsizetype endOfGroup(const QList<PrintedLine> &lines, qsizetype first)
{
    qsizetype end = first + 1;
    if (lines[first].group != 0)
        while (end < lines.size() && lines[end].group == lines[first].group)
            ++end;
    return end;
}

// A block's text is made smaller, all of it alike, until its widest line fits the paper.
qreal scaleToFit(const QList<PrintedLine> &block, const QStringList &fontFamilies,
                 QPainter &painter, qreal width)
{
    const auto widestAt = [&](qreal scale) {
        qreal widest = 0;
        for (const PrintedLine &line : block)
            if (!isRule(line.text))
                widest = std::max(
                        widest, drawnWidth(painter, fontOf(line, fontFamilies, scale), line.text));
        return widest;
    };
    // Text does not narrow quite in step with its size, so each guess is measured again, and
    // after the first two aims a little lower; below the smallest size nothing narrows any
    // more, and the guesses end.
    qreal scale = 1;
    for (int guess = 0; guess < 12; ++guess) {
        const qreal widest = widestAt(scale);
        if (widest <= width)
            break;
        scale *= width / widest * (guess < 2 ? 1.0 : 0.99);
    }
    return scale;
}

struct LaidLine
{
    QString text;
    QFont font;
    qreal height;
};

QList<LaidLine> laidOut(const QList<PrintedLine> &lines, const QStringList &fontFamilies,
                        QPainter &painter, const QRectF &page)
{
    QList<LaidLine> laid;
    for (qsizetype first = 0; first < lines.size();) {
        const qsizetype end = endOfGroup(lines, first);
        const QList<PrintedLine> block = lines.mid(first, end - first);
        const qreal scale = scaleToFit(block, fontFamilies, painter, page.width());
        for (const PrintedLine &line : block) {
            const QFont font = fontOf(line, fontFamilies, scale);
            const QFontMetricsF metrics(font, painter.device());
            const QString text = isRule(line.text)
                    ? ruleToFit(line.text, painter, font, page.width())
                    : line.text;
            painter.setFont(font);
            // A long line wraps, so it may take more than one line's height.
            laid.append({text, font,
                         std::max(metrics.lineSpacing(),
                                  painter.boundingRect(page, text, lineOption()).height())});
        }
        first = end;
    }
    return laid;
}

// The height the lines from `first` on need to stay on one page: the whole of its group,
// or the line alone.
qreal neededFrom(qsizetype first, const QList<PrintedLine> &lines, const QList<LaidLine> &laid)
{
    if (first > 0 && lines[first].group != 0 && lines[first - 1].group == lines[first].group)
        return laid[first].height;
    qreal needed = 0;
    for (qsizetype i = first; i < endOfGroup(lines, first); ++i)
        needed += laid[i].height;
    return needed;
}

void render(const QList<PrintedLine> &lines, const QStringList &fontFamilies, QPdfWriter &pdf)
{
    QPainter painter;
    if (!painter.begin(&pdf))
        throw PrintError("تعذّر إعداد صفحات الطباعة.");
    painter.setLayoutDirection(Qt::RightToLeft);
    const QRectF page(QPointF(0, 0), pdf.pageLayout().paintRectPixels(pdf.resolution()).size());
    const QList<LaidLine> laid = laidOut(lines, fontFamilies, painter, page);
    qreal top = 0;
    for (qsizetype i = 0; i < laid.size(); ++i) {
        if (top > 0 && top + neededFrom(i, lines, laid) > page.height()) {
            pdf.newPage();
            top = 0;
        }
        painter.setFont(laid[i].font);
        painter.drawText(QRectF(0, top, page.width(), laid[i].height), laid[i].text, lineOption());
        top += laid[i].height;
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
