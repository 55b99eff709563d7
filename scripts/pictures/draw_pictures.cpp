// Draws the program's pictures. scripts/make-pictures builds and runs this, then turns the
// PNGs it leaves in the work folder into GIFs and 8-bit PNGs with ImageMagick. Every picture
// of the windows is drawn twice: as it has always been, and at twice the resolution as
// NAME@2x.png for screens with a device pixel ratio of 2, where the 1x one would be blown up
// into a blur. The two BMPs and the icon are written here instead: ImageMagick picks the bit
// depth of a BMP or ICO from the number of colours used, and those files must stay 8-bit and
// 4-bit however few colours they use.
//
//   draw_pictures WORK_DIR RESOURCES_DIR

#include <QColor>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QFontInfo>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QTransform>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <numbers>
#include <set>
#include <vector>

namespace {

QString workDir, resourceDir;

[[noreturn]] void fail(const QString &why)
{
    std::fprintf(stderr, "draw_pictures: %s\n", qPrintable(why));
    std::exit(1);
}

// Our own generator rather than the standard library's distributions, whose output may
// differ between library versions: re-running must give byte-identical pictures.
class Grain
{
public:
    explicit Grain(std::uint64_t seed) : state(seed) { }
    double next()
    {
        std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        z ^= z >> 31;
        return double(z >> 11) / double(1ull << 53);
    }

private:
    std::uint64_t state;
};

// Smooth noise that wraps at its period, so the texture has no seam if it is ever tiled.
class WrappingNoise
{
public:
    WrappingNoise(int cells, std::uint64_t seed) : n(cells), lattice(std::size_t(cells * cells))
    {
        Grain grain(seed);
        for (double &v : lattice)
            v = grain.next();
    }
    // u and v run over [0, 1) for one period.
    double at(double u, double v) const
    {
        const double x = u * n, y = v * n;
        const int x0 = int(std::floor(x)), y0 = int(std::floor(y));
        const double fx = smooth(x - x0), fy = smooth(y - y0);
        const auto cell = [&](int cx, int cy) {
            return lattice[std::size_t(((cy % n + n) % n) * n + ((cx % n + n) % n))];
        };
        const double top = cell(x0, y0) * (1 - fx) + cell(x0 + 1, y0) * fx;
        const double bottom = cell(x0, y0 + 1) * (1 - fx) + cell(x0 + 1, y0 + 1) * fx;
        return top * (1 - fy) + bottom * fy;
    }

private:
    static double smooth(double t) { return t * t * (3 - 2 * t); }
    int n;
    std::vector<double> lattice;
};

QColor mix(const QColor &a, const QColor &b, double t)
{
    t = std::clamp(t, 0.0, 1.0);
    return QColor::fromRgbF(float(a.redF() + (b.redF() - a.redF()) * t),
                            float(a.greenF() + (b.greenF() - a.greenF()) * t),
                            float(a.blueF() + (b.blueF() - a.blueF()) * t));
}

// By family name, as the program itself asks for it; a silent fallback to another font
// would shape the Arabic differently and change the pictures, so a missing font stops the run.
QFont installedFont(const QString &family, int pixelSize, QFont::Weight weight)
{
    QFont font(family);
    font.setPixelSize(pixelSize);
    font.setWeight(weight);
    font.setStyleStrategy(QFont::PreferAntialias);
    if (QFontInfo(font).family() != family)
        fail(QStringLiteral("the font \"%1\" is not installed (fonts-noto-core)").arg(family));
    return font;
}

// Arabic must go through Qt's shaping; a path keeps the joined letter forms and lets us
// centre the ink itself rather than the font's generous line box.
QPainterPath textPath(const QFont &font, const QString &text)
{
    QPainterPath path;
    path.addText(0, 0, font, text);
    return path;
}

void savePng(const QImage &image, const QString &name)
{
    if (!image.save(workDir + QLatin1Char('/') + name + QStringLiteral(".png"), "PNG"))
        fail(QStringLiteral("could not write %1.png").arg(name));
}

// Named as Qt looks for a picture's high-resolution version.
QString atScale(const QString &name, int scale)
{
    return scale == 1 ? name : name + QStringLiteral("@%1x").arg(scale);
}

void saveResource(const QImage &image, const QString &name, const char *format)
{
    if (!image.save(resourceDir + QLatin1Char('/') + name, format))
        fail(QStringLiteral("could not write %1").arg(name));
}

// Pads the palette to a full 256 entries because Qt writes a BMP with 16 colours or fewer
// as 4-bit; the colours are sorted so their order never depends on the drawing order.
QImage toIndexed256(const QImage &source)
{
    const QImage rgb = source.convertToFormat(QImage::Format_RGB32);
    std::map<QRgb, int> index;
    for (int y = 0; y < rgb.height(); ++y)
        for (int x = 0; x < rgb.width(); ++x)
            index.emplace(rgb.pixel(x, y), 0);
    if (index.size() > 256)
        fail(QStringLiteral("a palette picture uses %1 colours").arg(index.size()));
    QList<QRgb> table;
    for (auto &[colour, i] : index) {
        i = int(table.size());
        table << colour;
    }
    while (table.size() < 256)
        table << qRgb(0, 0, 0);
    QImage out(rgb.size(), QImage::Format_Indexed8);
    out.setColorTable(table);
    for (int y = 0; y < rgb.height(); ++y)
        for (int x = 0; x < rgb.width(); ++x)
            out.setPixel(x, y, uint(index.at(rgb.pixel(x, y))));
    return out;
}

// ---------------------------------------------------------------------------------------
// The dark blue-green cloth. Its value in [0, 1] is shared by the window background (as a
// palette index) and the banner (as a colour), so both read as the same material.

const QColor teal0(0x08, 0x34, 0x34), teal1(0x17, 0x55, 0x55);

// period is in the picture's own pixels; at a larger scale the threads widen with it, and the
// grain, taken a pixel at a time, becomes finer rather than coarser.
double clothValue(int x, int y, int period, int scale, const WrappingNoise &coarse,
                  const WrappingNoise &fine, Grain &grain)
{
    // A basket weave of 4-pixel threads: each cell is crossed by one thread, lit along its
    // middle, so the eye reads a fabric rather than random grain.
    const int threadWidth = 4 * scale;
    const int cx = x / threadWidth, cy = y / threadWidth;
    const bool across = (cx + cy) % 2 == 0;
    const double inCell = ((across ? y : x) % threadWidth + 0.5) / double(threadWidth);
    const double alongCell = ((across ? x : y) % threadWidth + 0.5) / double(threadWidth);
    const double thread = std::sin(std::numbers::pi * inCell)
            * (0.8 + 0.2 * std::sin(std::numbers::pi * alongCell));
    const double u = double(x) / period, v = double(y) / period;
    double value = 0.34 + 0.30 * thread + 0.34 * (coarse.at(u, v) - 0.5)
            + 0.22 * (fine.at(u, v) - 0.5) + 0.10 * (grain.next() - 0.5);
    return std::clamp(value, 0.0, 1.0);
}

QImage background(int scale)
{
    const int size = 256 * scale;
    const WrappingNoise coarse(4, 11), fine(16, 12);
    Grain grain(13);
    QImage image(size, size, QImage::Format_Indexed8);
    QList<QRgb> table;
    for (int i = 0; i < 256; ++i)
        table << mix(teal0, teal1, i / 255.0).rgb();
    image.setColorTable(table);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            image.setPixel(
                    x, y,
                    uint(std::lround(clothValue(x, y, size, scale, coarse, fine, grain) * 255)));
    return image;
}

void drawBackground()
{
    const QImage image = background(1);
    saveResource(image, QStringLiteral("background.bmp"), "BMP");
    savePng(image, QStringLiteral("background"));
    savePng(background(2), atScale(QStringLiteral("background"), 2));
}

// ---------------------------------------------------------------------------------------
// Strips with lettering. Each is drawn lying down and turned afterwards, so the lettering
// code deals with ordinary horizontal text only.

struct StripStyle
{
    QColor edge, middle, rim, rimShadow, letters, shadow;
    QString family;
    int pixelSize;
};

const StripStyle goldStrip{QColor(0x4E, 0x3A, 0x08),           QColor(0x9A, 0x77, 0x19),
                           QColor(0xC9, 0xA2, 0x3E),           QColor(0x3A, 0x2A, 0x04),
                           QColor(0xF6, 0xDC, 0x8A),           QColor(0x35, 0x26, 0x03),
                           QStringLiteral("Noto Kufi Arabic"), 12};

const StripStyle blueStrip{QColor(0x0A, 0x1E, 0x70),           QColor(0x1F, 0x4C, 0xC4),
                           QColor(0x6E, 0x94, 0xF0),           QColor(0x05, 0x10, 0x40),
                           QColor(0xFF, 0xE4, 0x1A),           QColor(0x04, 0x0C, 0x38),
                           QStringLiteral("Noto Kufi Arabic"), 13};

void paintStripGround(QPainter &p, const QSize &size, const StripStyle &style)
{
    QLinearGradient across(0, 0, 0, size.height());
    across.setColorAt(0.0, style.edge);
    across.setColorAt(0.45, style.middle);
    across.setColorAt(0.55, style.middle);
    across.setColorAt(1.0, style.edge);
    p.fillRect(QRect(QPoint(0, 0), size), across);
    p.fillRect(0, 0, size.width(), 1, style.rimShadow);
    p.fillRect(0, size.height() - 1, size.width(), 1, style.rimShadow);
    p.fillRect(0, 2, size.width(), 1, style.rim);
    p.fillRect(0, size.height() - 3, size.width(), 1, style.rim);
}

QPainterPath star(QPointF centre, double outer, double inner, int points)
{
    QPainterPath path;
    for (int i = 0; i < 2 * points; ++i) {
        const double angle = std::numbers::pi * i / points - std::numbers::pi / 2;
        const double r = i % 2 ? inner : outer;
        const QPointF at = centre + QPointF(std::cos(angle) * r, std::sin(angle) * r);
        i ? path.lineTo(at) : path.moveTo(at);
    }
    path.closeSubpath();
    return path;
}

void fillWithShadow(QPainter &p, const QPainterPath &path, const QBrush &brush,
                    const QColor &shadow, QPointF offset)
{
    p.fillPath(path.translated(offset), shadow);
    p.fillPath(path, brush);
}

// Lays the words out as star, words, star, words, ..., star with equal gaps, so the
// pattern ends the same way at both ends of the strip. A larger scale draws the same layout
// on a finer grid, so the lettering of both versions sits in the same places.
QImage letteredStrip(int length, int thickness, const StripStyle &style, const QString &words,
                     int copies, int scale)
{
    QImage image(QSize(length, thickness) * scale, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(scale, scale);
    paintStripGround(p, QSize(length, thickness), style);

    const QFont font = installedFont(style.family, style.pixelSize, QFont::Bold);
    const QPainterPath text = textPath(font, words);
    const QRectF ink = text.boundingRect();
    const double starSize = 3.8;
    const double used = copies * ink.width() + (copies + 1) * 2 * starSize;
    const double gap = (length - used) / (2.0 * copies + 2);
    if (gap < 3)
        fail(QStringLiteral("the lettering does not fit a strip %1 long").arg(length));
    const double middle = thickness / 2.0;
    double x = gap;
    for (int i = 0; i <= copies; ++i) {
        fillWithShadow(p, star(QPointF(x + starSize, middle), starSize, starSize * 0.42, 4),
                       style.letters, style.shadow, QPointF(0.7, 0.7));
        x += 2 * starSize + gap;
        if (i == copies)
            break;
        const QPointF at(x - ink.left(), middle - ink.center().y());
        fillWithShadow(p, text.translated(at), style.letters, style.shadow, QPointF(0.8, 0.8));
        x += ink.width() + gap;
    }
    return image;
}

// Turned anticlockwise: the words then read downwards with their tops facing the window's
// left edge, the way a spine is lettered.
QImage standUp(const QImage &lying)
{
    return lying.transformed(QTransform().rotate(-90));
}

const QString calendarWords = QStringLiteral("التقويم الهجري والميلادي");

void drawStrips()
{
    for (int scale : {1, 2}) {
        savePng(standUp(letteredStrip(400, 24, goldStrip, calendarWords, 2, scale)),
                atScale(QStringLiteral("strip_left"), scale));
        savePng(letteredStrip(450, 24, goldStrip, calendarWords, 2, scale),
                atScale(QStringLiteral("strip_bottom"), scale));
        savePng(standUp(letteredStrip(200, 24, blueStrip, QStringLiteral("عن البرنامج"), 1, scale)),
                atScale(QStringLiteral("about_strip"), scale));
    }
}

// ---------------------------------------------------------------------------------------

// GIF keeps only on/off transparency, so the soft edge is blended here over the colour the
// badge sits on (the cloth) and only what lies wholly outside is left transparent.
QImage emblem(int scale)
{
    const QSize size = QSize(42, 32) * scale;
    QImage badge(size * 4, QImage::Format_ARGB32_Premultiplied);
    badge.fill(Qt::transparent);
    {
        QPainter p(&badge);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(4 * scale, 4 * scale);
        const QRectF body(1.5, 2.5, 39, 27);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x3A, 0x1A, 0x00, 150));
        p.drawRoundedRect(body.translated(0.8, 1.0), 8, 8);
        QLinearGradient fill(0, body.top(), 0, body.bottom());
        fill.setColorAt(0.0, QColor(0xFF, 0xC2, 0x5A));
        fill.setColorAt(0.5, QColor(0xF8, 0x8C, 0x14));
        fill.setColorAt(1.0, QColor(0xD0, 0x5E, 0x00));
        p.setPen(QPen(QColor(0x8A, 0x3C, 0x00), 1.2));
        p.setBrush(fill);
        p.drawRoundedRect(body, 8, 8);
        p.setPen(QPen(QColor(0xFF, 0xE2, 0xA8, 200), 0.9));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(body.adjusted(1.6, 1.6, -1.6, -1.6), 6.5, 6.5);

        const QFont font = installedFont(QStringLiteral("Noto Sans"), 16, QFont::Black);
        const QPainterPath text = textPath(font, QStringLiteral("2.0"));
        const QPointF at = body.center() - text.boundingRect().center();
        p.fillPath(text.translated(at + QPointF(0.8, 0.9)), QColor(0x7A, 0x30, 0x00));
        p.fillPath(text.translated(at), QColor(0xFF, 0xFF, 0xF4));
    }
    const QImage small = badge.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                                 .convertToFormat(QImage::Format_ARGB32);
    const QColor under = mix(teal0, teal1, 0.4);
    QImage out(size, QImage::Format_ARGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x) {
            const QColor c = QColor::fromRgba(small.pixel(x, y));
            if (c.alphaF() < 0.2) {
                out.setPixel(x, y, qRgba(0, 0, 0, 0));
                continue;
            }
            const double a = c.alphaF();
            const QColor flat = QColor::fromRgbF(float(c.redF() * a + under.redF() * (1 - a)),
                                                 float(c.greenF() * a + under.greenF() * (1 - a)),
                                                 float(c.blueF() * a + under.blueF() * (1 - a)));
            out.setPixel(x, y, flat.rgb());
        }
    return out;
}

void drawEmblem()
{
    for (int scale : {1, 2})
        savePng(emblem(scale), atScale(QStringLiteral("emblem"), scale));
}

// ---------------------------------------------------------------------------------------
// Pixel pictures: the exit icon and the printer are drawn pixel by pixel with no smoothing,
// since at 16 to 32 pixels a smoothed edge turns into a blur, and a 16-colour icon has no
// colours to spare for one anyway.
//
// Placed pixels are on the design's grid, which a larger scale turns into blocks. Shapes are
// given row by row on the finer grid instead, so that a slope climbs a pixel at a time there
// rather than in blocks: that, not a smoothed edge, is what keeps the larger version crisp.

using Span = std::array<int, 2>; // the first and last x of one row of a shape

class Pixels
{
public:
    Pixels(QSize size, int scale) : scale(scale), image(size * scale, QImage::Format_ARGB32)
    {
        image.fill(Qt::transparent);
    }

    // The first and last pixel of the picture under the design's pixel `at`.
    int first(int at) const { return at * scale; }
    int last(int at) const { return (at + 1) * scale - 1; }
    std::function<Span(int)> columns(int x0, int x1) const
    {
        return [span = Span{first(x0), last(x1)}](int) { return span; };
    }

    void rect(int x0, int y0, int x1, int y1, QColor c) // corners included
    {
        each(x0, y0, x1, y1, [&](int x, int y) { put(x, y, c); });
    }
    void set(int x, int y, QColor c) { rect(x, y, x, y, c); }
    void recolour(int x0, int y0, int x1, int y1, QColor from, QColor to)
    {
        each(x0, y0, x1, y1, [&](int x, int y) {
            if (QColor::fromRgba(image.pixel(x, y)) == from)
                put(x, y, to);
        });
    }
    // A closed shape over the design's rows top to bottom; span(y) gives row y of the picture.
    // Its outline is as thick as one pixel of the design, so both scales weigh the same.
    void shape(int top, int bottom, const std::function<Span(int)> &span, QColor fill, QColor line)
    {
        std::set<std::pair<int, int>> inside;
        for (int y = first(top); y <= last(bottom); ++y)
            for (int x = span(y)[0]; x <= span(y)[1]; ++x)
                inside.insert({x, y});
        const auto out = [&](int x, int y) { return !inside.count({x, y}); };
        for (const auto &[x, y] : inside) {
            bool edge = false;
            for (int d = 1; d <= scale; ++d)
                edge = edge || out(x - d, y) || out(x + d, y) || out(x, y - d) || out(x, y + d);
            put(x, y, edge ? line : fill);
        }
    }

    const int scale;
    QImage image;

private:
    void each(int x0, int y0, int x1, int y1, const std::function<void(int, int)> &at) const
    {
        for (int y = first(y0); y <= last(y1); ++y)
            for (int x = first(x0); x <= last(x1); ++x)
                at(x, y);
    }
    void put(int x, int y, QColor c)
    {
        if (image.rect().contains(x, y))
            image.setPixel(x, y, c.rgba());
    }
};

// The icon's sixteen colours. Index 0 is also what a transparent pixel holds, as Windows
// expects black under a set AND-mask bit.
const std::array<QColor, 16> iconPalette = {
        QColor(0x00, 0x00, 0x00), QColor(0x4A, 0x28, 0x0C), QColor(0x8A, 0x55, 0x22),
        QColor(0xC8, 0x8A, 0x44), QColor(0xE8, 0xB8, 0x70), QColor(0x40, 0x40, 0x40),
        QColor(0x80, 0x80, 0x80), QColor(0xC0, 0xC0, 0xC0), QColor(0xFF, 0xFF, 0xFF),
        QColor(0x10, 0x5A, 0x10), QColor(0x1E, 0xA0, 0x28), QColor(0x7C, 0xE8, 0x6C),
        QColor(0x12, 0x18, 0x30), QColor(0x26, 0x34, 0x5C), QColor(0xFF, 0xD0, 0x20),
        QColor(0x00, 0x00, 0x80),
};
enum Ink {
    Black,
    DarkWood,
    Wood,
    LightWood,
    PaleWood,
    DarkGrey,
    Grey,
    Silver,
    White,
    DarkGreen,
    Green,
    LightGreen,
    Night,
    Dusk,
    Brass,
    Navy
};
QColor ink(Ink i)
{
    return iconPalette[std::size_t(i)];
}

// A left-pointing arrow: head with its tip at tipX, shaft of rows [top, bottom] to tailX.
void arrowLeft(Pixels &px, int tipX, int top, int bottom, int headLength, int tailX)
{
    const int spread = headLength - 1, shaftTop = px.first(top), shaftBottom = px.last(bottom);
    px.shape(
            top - spread, bottom + spread,
            [&](int y) {
                const int fromShaft = std::max({shaftTop - y, y - shaftBottom, 0});
                return Span{px.first(tipX) + fromShaft, px.last(fromShaft ? tipX + spread : tailX)};
            },
            ink(Green), ink(DarkGreen));
    // Light along the upper side, as if lit from above.
    px.recolour(tipX + 2, top + 1, tailX - 1, top + 1, ink(Green), ink(LightGreen));
}

QImage exitIcon32(int scale)
{
    Pixels px(QSize(32, 32), scale);
    px.rect(13, 1, 30, 30, ink(DarkWood)); // frame
    px.rect(14, 2, 29, 29, ink(Wood));
    px.rect(14, 2, 29, 2, ink(LightWood));
    px.rect(16, 4, 27, 29, ink(Night)); // the dark outside beyond the doorway
    px.rect(11, 30, 31, 31, ink(DarkGrey)); // threshold
    px.rect(12, 30, 30, 30, ink(Grey));
    // The leaf, swung open on its right-hand hinges: its far edge looks shorter, as seen at
    // an angle, so the top and bottom slope towards it, two pixels across for each one down.
    px.shape(
            4, 29,
            [&](int y) {
                const int down = std::min({y - px.first(4), px.last(29) - y, 3 * scale});
                return Span{px.first(19) + 2 * (3 * scale - down), px.last(27)};
            },
            ink(LightWood), ink(DarkWood));
    for (int y = 9; y <= 24; ++y)
        px.set(23, y, ink(Wood)); // panel groove
    px.set(21, 19, ink(Brass));
    px.set(21, 20, ink(Brass));
    arrowLeft(px, 1, 13, 17, 7, 22);
    return px.image;
}

QImage exitIcon16()
{
    Pixels px(QSize(16, 16), 1);
    px.rect(6, 0, 15, 15, ink(DarkWood));
    px.rect(7, 1, 14, 14, ink(Wood));
    px.rect(8, 2, 14, 15, ink(Night));
    px.shape(
            2, 15,
            [](int y) {
                return Span{(y < 4 || y > 13) ? 12 : 11, 14};
            },
            ink(LightWood), ink(DarkWood));
    px.set(12, 10, ink(Brass));
    px.rect(5, 15, 15, 15, ink(DarkGrey));
    arrowLeft(px, 0, 6, 9, 5, 12);
    return px.image;
}

void appendLe(QByteArray &out, quint32 value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.append(char((value >> (8 * i)) & 0xFF));
}

// One 4-bit picture in the icon's layout: a BMP header giving twice the height (picture
// then mask), the palette, the colour rows and the transparency (AND) rows, bottom up.
QByteArray iconImage(const QImage &picture)
{
    const int w = picture.width(), h = picture.height();
    const int colourStride = ((w * 4 + 31) / 32) * 4, maskStride = ((w + 31) / 32) * 4;
    QByteArray out;
    appendLe(out, 40, 4);
    appendLe(out, quint32(w), 4);
    appendLe(out, quint32(2 * h), 4);
    appendLe(out, 1, 2);
    appendLe(out, 4, 2);
    appendLe(out, 0, 4);
    appendLe(out, quint32((colourStride + maskStride) * h), 4);
    appendLe(out, 0, 4);
    appendLe(out, 0, 4);
    appendLe(out, 16, 4);
    appendLe(out, 0, 4);
    for (const QColor &c : iconPalette) {
        out.append(char(c.blue()));
        out.append(char(c.green()));
        out.append(char(c.red()));
        out.append(char(0));
    }
    const auto indexOf = [&](int x, int y) {
        const QColor c = QColor::fromRgba(picture.pixel(x, y));
        if (c.alpha() == 0)
            return 0;
        const auto found = std::find(iconPalette.begin(), iconPalette.end(), QColor(c.rgb()));
        if (found == iconPalette.end())
            fail(QStringLiteral("the exit icon uses a colour outside its palette"));
        return int(found - iconPalette.begin());
    };
    for (int y = h - 1; y >= 0; --y) {
        QByteArray row(colourStride, 0);
        for (int x = 0; x < w; ++x)
            row[x / 2] = char(row[x / 2] | (indexOf(x, y) << (x % 2 ? 0 : 4)));
        out += row;
    }
    for (int y = h - 1; y >= 0; --y) {
        QByteArray row(maskStride, 0);
        for (int x = 0; x < w; ++x)
            if (qAlpha(picture.pixel(x, y)) == 0)
                row[x / 8] = char(row[x / 8] | (0x80 >> (x % 8)));
        out += row;
    }
    return out;
}

void drawExitIcon()
{
    const std::array<QImage, 2> pictures = {exitIcon32(1), exitIcon16()};
    QByteArray file;
    appendLe(file, 0, 2);
    appendLe(file, 1, 2); // an icon, not a cursor
    appendLe(file, quint32(pictures.size()), 2);
    std::vector<QByteArray> bodies;
    quint32 offset = 6 + 16 * quint32(pictures.size());
    for (const QImage &picture : pictures) {
        bodies.push_back(iconImage(picture));
        file.append(char(picture.width()));
        file.append(char(picture.height()));
        file.append(char(16));
        file.append(char(0));
        appendLe(file, 1, 2);
        appendLe(file, 4, 2);
        appendLe(file, quint32(bodies.back().size()), 4);
        appendLe(file, offset, 4);
        offset += quint32(bodies.back().size());
    }
    for (const QByteArray &body : bodies)
        file += body;
    QFile out(resourceDir + QStringLiteral("/exit.ico"));
    if (!out.open(QIODevice::WriteOnly) || out.write(file) != file.size())
        fail(QStringLiteral("could not write exit.ico"));
    savePng(pictures[0], QStringLiteral("exit32"));
    savePng(pictures[1], QStringLiteral("exit16"));
    savePng(exitIcon32(2), atScale(QStringLiteral("exit"), 2));
}

// Drawn on the grey of a classic button face, which the picture button shows around it.
QImage printer(int scale)
{
    const QColor face(0xC0, 0xC0, 0xC0), line(0x20, 0x20, 0x20), paperLine(0x90, 0x90, 0x90);
    Pixels px(QSize(24, 23), scale);
    px.rect(0, 0, 23, 22, face);
    px.shape(0, 9, px.columns(6, 17), Qt::white, line); // the sheet waiting at the back
    for (int y : {2, 4, 6})
        px.rect(8, y, y == 6 ? 12 : 15, y, paperLine);
    // The body's corners are cut; on a finer grid the cut rounds off a pixel at a time.
    px.shape(
            8, 18,
            [&](int y) {
                const int cut = std::max(0, scale - std::min(y - px.first(8), px.last(18) - y));
                return Span{px.first(1) + cut, px.last(22) - cut};
            },
            QColor(0x9C, 0x9C, 0xA4), line);
    px.rect(2, 9, 21, 11, QColor(0xE4, 0xE4, 0xEC)); // top, catching the light
    px.rect(2, 12, 21, 12, QColor(0x70, 0x70, 0x78));
    px.rect(2, 17, 21, 17, QColor(0x70, 0x70, 0x78));
    px.rect(4, 14, 19, 14, line); // the slot the printed sheet comes out of
    px.set(19, 10, QColor(0x20, 0xD0, 0x30)); // power light
    px.set(17, 10, QColor(0x50, 0x50, 0x58));
    px.shape(14, 22, px.columns(5, 18), Qt::white, line); // the printed sheet
    for (int y : {16, 18, 20})
        px.rect(7, y, y == 20 ? 11 : 16, y, paperLine);
    return px.image;
}

void drawPrinter()
{
    const QImage out = toIndexed256(printer(1));
    saveResource(out, QStringLiteral("printer.bmp"), "BMP");
    savePng(out, QStringLiteral("printer"));
    savePng(printer(2), atScale(QStringLiteral("printer"), 2));
}

// ---------------------------------------------------------------------------------------
// The About window's banner and the desktop icon share the cloth, gold and crescent.

const QColor goldLight(0xF8, 0xE0, 0x90), goldMid(0xD8, 0xAE, 0x44), goldDeep(0x8B, 0x6B, 0x14),
        goldShadow(0x12, 0x0C, 0x02);

QLinearGradient goldFill(double top, double bottom)
{
    QLinearGradient g(0, top, 0, bottom);
    g.setColorAt(0.0, goldLight);
    g.setColorAt(0.55, goldMid);
    g.setColorAt(1.0, QColor(0xB0, 0x84, 0x1C));
    return g;
}

QPainterPath crescent(QPointF centre, double radius, double bite, double angle)
{
    QPainterPath moon, shade;
    moon.addEllipse(centre, radius, radius);
    const QPointF shift(std::cos(angle) * radius * bite, std::sin(angle) * radius * bite);
    shade.addEllipse(centre + shift, radius * 0.86, radius * 0.86);
    return moon.subtracted(shade);
}

QImage cloth(QSize size, std::uint64_t seed, int scale)
{
    const WrappingNoise coarse(4, seed), fine(16, seed + 1);
    Grain grain(seed + 2);
    QImage image(size * scale, QImage::Format_RGB32);
    const int period = std::max(image.width(), image.height());
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(
                    x, y,
                    mix(teal0, teal1, clothValue(x, y, period, scale, coarse, fine, grain)).rgb());
    return image;
}

QImage banner(int scale)
{
    const QSize size(400, 120);
    QImage image = cloth(size, 21, scale);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(scale, scale);
    QRadialGradient shade(QPointF(200, 60), 230);
    shade.setColorAt(0.0, QColor(0, 0, 0, 0));
    shade.setColorAt(1.0, QColor(0, 0x10, 0x10, 150));
    p.fillRect(QRect(QPoint(0, 0), size), shade);

    p.setPen(QPen(goldDeep, 2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(3, 3, 394, 114));
    p.setPen(QPen(goldMid, 1));
    p.drawRect(QRectF(7.5, 7.5, 385, 105));
    for (QPointF corner :
         {QPointF(7.5, 7.5), QPointF(392.5, 7.5), QPointF(7.5, 112.5), QPointF(392.5, 112.5)})
        p.fillPath(star(corner, 5, 2, 4), goldLight);

    const QFont titleFont = installedFont(QStringLiteral("Noto Kufi Arabic"), 44, QFont::Bold);
    const QPainterPath title = textPath(titleFont, QStringLiteral("تقويم"));
    const QRectF titleInk = title.boundingRect();
    const QPainterPath placedTitle = title.translated(QPointF(200, 44) - titleInk.center());
    const QRectF placed = placedTitle.boundingRect();
    p.fillPath(placedTitle.translated(2, 2), goldShadow);
    p.setPen(QPen(QColor(0x5A, 0x42, 0x08), 1));
    p.setBrush(goldFill(placed.top(), placed.bottom()));
    p.drawPath(placedTitle);

    // A crescent and star on each side of the name, facing inwards.
    for (int side : {-1, 1}) {
        const QPointF centre(200 + side * (placed.width() / 2 + 34), 42);
        const QPainterPath moon = crescent(centre, 14, 0.42, side < 0 ? 0.0 : std::numbers::pi);
        fillWithShadow(p, moon, goldFill(centre.y() - 14, centre.y() + 14), goldShadow,
                       QPointF(1.5, 1.5));
        const QPointF starAt = centre + QPointF(side * -2.0, -1.0);
        fillWithShadow(p, star(starAt, 5, 2, 5), goldLight, goldShadow, QPointF(1, 1));
    }

    // A rule with a diamond in the middle between the name and the line under it.
    QLinearGradient rule(40, 0, 360, 0);
    rule.setColorAt(0.0, QColor(0xD8, 0xAE, 0x44, 0));
    rule.setColorAt(0.5, goldMid);
    rule.setColorAt(1.0, QColor(0xD8, 0xAE, 0x44, 0));
    p.fillRect(QRectF(40, 73.5, 320, 1), rule);
    p.fillPath(star(QPointF(200, 74), 4, 1.6, 4), goldLight);

    const QFont lineFont = installedFont(QStringLiteral("Noto Naskh Arabic"), 19, QFont::Bold);
    const QPainterPath line = textPath(lineFont, QStringLiteral("محوّل التاريخ الهجري والميلادي"));
    const QPainterPath placedLine
            = line.translated(QPointF(200, 95) - line.boundingRect().center());
    fillWithShadow(p, placedLine, QColor(0xF2, 0xD8, 0x84), goldShadow, QPointF(1.2, 1.2));
    p.end();
    return image;
}

void drawBanner()
{
    for (int scale : {1, 2})
        savePng(banner(scale), atScale(QStringLiteral("banner"), scale));
}

// Drawn on a 256-unit grid; the small icon drops the fine detail that would only blur.
QImage appIcon(int size)
{
    const bool small = size < 96;
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 256.0, size / 256.0);

    const QRectF tile(10, 10, 236, 236);
    QPainterPath tileShape;
    tileShape.addRoundedRect(tile, 44, 44);
    const QImage ground = cloth(QSize(256, 256), 31, 1);
    QRadialGradient light(QPointF(110, 90), 200);
    light.setColorAt(0.0, QColor(0x2A, 0x70, 0x70, 110));
    light.setColorAt(1.0, QColor(0x00, 0x14, 0x14, 120));
    p.save();
    p.setClipPath(tileShape);
    p.drawImage(0, 0, ground);
    p.fillRect(tile, light);
    p.restore();
    p.setPen(QPen(goldMid, small ? 12 : 7));
    p.setBrush(Qt::NoBrush);
    p.drawPath(tileShape);
    if (!small) {
        p.setPen(QPen(goldDeep, 2));
        p.drawRoundedRect(tile.adjusted(9, 9, -9, -9), 36, 36);
    }

    // The calendar page.
    const QRectF page(56, 72, 144, 136);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 90));
    p.drawRoundedRect(page.translated(5, 6), 12, 12);
    QLinearGradient paper(0, page.top(), 0, page.bottom());
    paper.setColorAt(0.0, QColor(0xFB, 0xF0, 0xCC));
    paper.setColorAt(1.0, QColor(0xE8, 0xD2, 0x94));
    p.setBrush(paper);
    p.setPen(QPen(goldDeep, small ? 5 : 3));
    p.drawRoundedRect(page, 12, 12);
    QPainterPath header;
    header.addRoundedRect(page.adjusted(0, 0, 0, -(page.height() - 40)), 12, 12);
    header.addRect(QRectF(page.left(), page.top() + 20, page.width(), 20));
    p.setPen(Qt::NoPen);
    p.fillPath(header.simplified(), goldFill(page.top(), page.top() + 40));
    p.setPen(QPen(goldDeep, small ? 5 : 3));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(page, 12, 12);
    p.drawLine(QPointF(page.left(), page.top() + 40), QPointF(page.right(), page.top() + 40));
    // Binding rings.
    for (double x : {96.0, 160.0}) {
        p.setPen(QPen(goldShadow, small ? 12 : 10, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(x + 1.5, 60), QPointF(x + 1.5, 92));
        p.setPen(QPen(goldLight, small ? 9 : 7, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(x, 58), QPointF(x, 90));
    }
    // The crescent on the page says Hijri at a glance.
    const QPointF moonAt(128, 158);
    const QPainterPath moon = crescent(moonAt, 34, 0.40, -std::numbers::pi / 4);
    p.fillPath(moon.translated(2.5, 2.5), QColor(0x60, 0x48, 0x0C, 120));
    p.fillPath(moon, QColor(0x0E, 0x48, 0x48));
    p.fillPath(star(QPointF(141, 146), small ? 11 : 9, small ? 4.5 : 3.6, 5),
               QColor(0x0E, 0x48, 0x48));
    if (!small) {
        for (int i = 0; i < 4; ++i) { // a few day marks in the corners of the page
            const double x = i % 2 ? 178 : 72, y = i / 2 ? 190 : 126;
            p.fillRect(QRectF(x - 5, y - 5, 10, 10), QColor(0xB8, 0x92, 0x3A));
        }
    }
    p.end();
    return image;
}

void drawAppIcons()
{
    QDir().mkpath(resourceDir + QStringLiteral("/icons"));
    for (int size : {48, 256}) {
        const QImage icon = appIcon(size);
        saveResource(icon, QStringLiteral("icons/taqwim-%1.png").arg(size), "PNG");
        savePng(icon, QStringLiteral("taqwim-%1").arg(size));
    }
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 3)
        fail(QStringLiteral("usage: draw_pictures WORK_DIR RESOURCES_DIR"));
    workDir = QString::fromLocal8Bit(argv[1]);
    resourceDir = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(workDir);
    QDir().mkpath(resourceDir);
    drawBackground();
    drawStrips();
    drawEmblem();
    drawExitIcon();
    drawPrinter();
    drawBanner();
    drawAppIcons();
    return 0;
}
