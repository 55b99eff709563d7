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
    // The text just inserted ends at the cursor; what is left past the limit (an insertion
    // at the very start) goes from the end.
    const int excess = std::min(int(input.size()) - m_maxLength, cursor);
    if (excess > 0) {
        input.remove(cursor - excess, excess);
        cursor -= excess;
    }
    input.truncate(m_maxLength);
    return Acceptable;
}
