#pragma once

#include <QColor>
#include <QWidget>

// Painted parts of a window's surface that have no behaviour of their own.

class RectangleItem : public QWidget
{
public:
    RectangleItem(QColor fill, QColor border, int borderPixels, QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_fill, m_border;
    int m_borderPixels;
};

// A straight line between two points of the parent; the widget covers just enough of the
// parent to hold it.
class LineItem : public QWidget
{
public:
    LineItem(QPoint from, QPoint to, QColor colour, int pixels, QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPoint m_from, m_to;
    QColor m_colour;
    int m_pixels;
};
