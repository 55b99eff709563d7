#include "text_value.h"

#include "calendar/numerals.h"

#include <QByteArray>

#include <string_view>

namespace {

std::optional<int> digitAt(QStringView text, qsizetype at)
{
    return at < text.size() ? calendar::digitValue(text[at].unicode()) : std::nullopt;
}

} // namespace

QString withoutInvisibleMarks(QStringView text)
{
    const QByteArray utf8 = text.toUtf8();
    return QString::fromStdString(calendar::withoutInvisibleMarks(
            std::string_view(utf8.constData(), std::size_t(utf8.size()))));
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
