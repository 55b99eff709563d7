#include "entry_validator.h"

#include "text_value.h"

#include <algorithm>

EntryValidator::EntryValidator(int maxLength, QObject *parent)
    : QValidator(parent), m_maxLength(maxLength)
{
}

QValidator::State EntryValidator::validate(QString &input, int &cursor) const
{
    cursor = int(withoutInvisibleMarks(QStringView(input).left(cursor)).size());
    input = withoutInvisibleMarks(input);
    // The text just inserted ends at the cursor.
    const int excess = std::min(int(input.size()) - m_maxLength, cursor);
    if (excess > 0) {
        input.remove(cursor - excess, excess);
        cursor -= excess;
    }
    input.truncate(m_maxLength);
    cursor = std::min(cursor, m_maxLength);
    return Acceptable;
}
