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
    // Every mark is in the Basic Multilingual Plane, so no surrogate half is one; text the
    // user pasted stays as it was apart from the marks.
    QString kept = text.toString();
    kept.removeIf([](QChar c) { return calendar::isInvisibleMark(c.unicode()); });
    return kept;
}

double TextValue(QStringView typed)
{
    const QString text = withoutInvisibleMarks(typed);
    qsizetype at = 0;
    while (at < text.size() && calendar::isBlank(text[at].unicode()))
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
