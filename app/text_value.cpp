#include "text_value.h"

#include "calendar/numerals.h"

namespace {

std::optional<int> digitAt(QStringView text, qsizetype at)
{
    return at < text.size() ? calendar::digitValue(text[at].unicode()) : std::nullopt;
}

} // namespace

QString withoutInvisibleMarks(QStringView text)
{
    QString kept;
    kept.reserve(text.size());
    for (const QChar c : text) // every mark is a single UTF-16 unit
        if (!calendar::isInvisibleMark(c.unicode()))
            kept += c;
    return kept;
}

double TextValue(QStringView typed)
{
    const QString text = withoutInvisibleMarks(typed);
    qsizetype at = 0;
    while (at < text.size() && (text[at] == u' ' || text[at] == u'\t' || text[at] == u'\u00A0'))
        ++at;
    double sign = 1.0;
    if (at < text.size() && (text[at] == u'-' || text[at] == u'+'))
        sign = text[at++] == u'-' ? -1.0 : 1.0;

    double value = 0.0;
    for (; const std::optional<int> digit = digitAt(text, at); ++at)
        value = value * 10.0 + *digit;
    if (at < text.size() && text[at] == u'.') {
        double scale = 0.1;
        for (++at; const std::optional<int> digit = digitAt(text, at); ++at, scale /= 10.0)
            value += *digit * scale;
    }
    return sign * value;
}
