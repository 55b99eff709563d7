#pragma once

// Printed pages read back as poppler reads them, and what every page of summaries must hold.
#include <QList>
#include <QProcess>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QTemporaryFile>
#include <QTest>
#include <QXmlStreamReader>

#include <algorithm>

// Points, as PDF measures paper.
inline const QSizeF A4Paper(595.28, 841.89), LetterPaper(612, 792), A5Paper(419.53, 595.28),
        LabelPaper(255.12, 340.16);
inline constexpr qreal Margin = 20 / 25.4 * 72; // 20 mm on every side
inline constexpr qreal Indent = 10; // room for the two spaces the date lines start with, at 14 pt

struct PrintedText
{
    QRectF box; // points from the page's top left
    QString glyphs; // as pdftotext reads them, left to right

    // A star rule, whatever its length.
    bool isRule() const { return !glyphs.isEmpty() && glyphs.count(u'*') == glyphs.size(); }
};
struct Page
{
    QSizeF size;
    QList<PrintedText> lines; // top to bottom
};

inline QList<Page> pagesOf(const QByteArray &pdf)
{
    QTemporaryFile file;
    if (!file.open() || file.write(pdf) != pdf.size() || !file.flush())
        return {};
    QProcess pdftotext;
    pdftotext.start("pdftotext", {"-bbox-layout", file.fileName(), "-"});
    if (!pdftotext.waitForFinished(10000) || pdftotext.exitCode() != 0)
        return {};
    QList<Page> pages;
    QXmlStreamReader xml(pdftotext.readAllStandardOutput());
    const auto number
            = [&xml](const char *name) { return xml.attributes().value(name).toDouble(); };
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == u"page")
            pages.append({QSizeF(number("width"), number("height")), {}});
        else if (xml.name() == u"line")
            pages.last().lines.append({QRectF(QPointF(number("xMin"), number("yMin")),
                                              QPointF(number("xMax"), number("yMax"))),
                                       {}});
        else if (xml.name() == u"word")
            pages.last().lines.last().glyphs += xml.readElementText();
    }
    return pages;
}

inline bool isOfSize(const Page &page, const QSizeF &paper)
{
    return qAbs(page.size.width() - paper.width()) < 1
            && qAbs(page.size.height() - paper.height()) < 1;
}

// Every line inside the margins, and ending at the right one, as Arabic is read.
inline void expectWithinTheMargins(const Page &page)
{
    const QRectF printable = QRectF(QPointF(0, 0), page.size)
                                     .marginsRemoved(QMarginsF(Margin, Margin, Margin, Margin)
                                                     - QMarginsF(0.5, 0.5, 0.5, 0.5));
    for (const PrintedText &line : page.lines) {
        QVERIFY2(printable.contains(line.box), qPrintable(line.glyphs));
        QVERIFY2(line.box.right() > printable.right() - Indent, qPrintable(line.glyphs));
    }
}

// Whole summaries only, within the margins, each a rule, four lines of text and a rule
// with none wrapped, its text all of one size; on paper narrower than a summary, as large as
// fits: its widest line across the printable width, but for its indent.
inline void expectWholeSummaries(const Page &page, bool narrowPaper)
{
    expectWithinTheMargins(page);
    QVERIFY(!page.lines.isEmpty());
    QCOMPARE(page.lines.size() % 6, 0);
    for (qsizetype first = 0; first < page.lines.size(); first += 6) {
        const QList<PrintedText> summary = page.lines.mid(first, 6);
        QVERIFY(summary.first().isRule() && summary.last().isRule());
        qreal widest = 0;
        for (const PrintedText &text : summary.mid(1, 4)) {
            QVERIFY2(!text.isRule(), qPrintable(text.glyphs));
            QVERIFY2(qAbs(text.box.height() - summary[1].box.height()) < 0.1,
                     qPrintable(text.glyphs));
            widest = std::max(widest, text.box.width());
        }
        const qreal width = page.size.width() - 2 * Margin;
        QVERIFY2(!narrowPaper || widest > 0.9 * width,
                 qPrintable(QStringLiteral("%1 pt of %2").arg(widest).arg(width)));
    }
}
