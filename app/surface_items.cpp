#include "surface_items.h"

#include <QPainter>

RectangleItem::RectangleItem(QColor fill, QColor border, int borderPixels, QWidget *parent)
    : QWidget(parent), m_fill(fill), m_border(border), m_borderPixels(borderPixels)
{
}

void RectangleItem::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), m_border);
    painter.fillRect(rect().marginsRemoved(QMargins(m_borderPixels, m_borderPixels, m_borderPixels,
                                                    m_borderPixels)),
                     m_fill);
}

LineItem::LineItem(QPoint from, QPoint to, QColor colour, int pixels, QWidget *parent)
    : QWidget(parent), m_from(from), m_to(to), m_colour(colour), m_pixels(pixels)
{
    const QRect span = QRect(from, to).normalized();
    setGeometry(span.adjusted(-pixels, -pixels, pixels, pixels));
}

void LineItem::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(QPen(m_colour, m_pixels, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(m_from - pos(), m_to - pos());
}
