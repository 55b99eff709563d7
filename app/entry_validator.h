#pragma once

#include <QValidator>

// What an entry field keeps of what is typed or pasted into it: the invisible direction marks
// that Arabic text carries are dropped before the field's length limit counts, so a pasted
// "\u200F12" is 12, not an unreadable "\u200F1". The limit works as a line edit's own: what
// does not fit of an insertion is cut from its end.
class EntryValidator : public QValidator
{
public:
    EntryValidator(int maxLength, QObject *parent);

    State validate(QString &input, int &cursor) const override;

private:
    int m_maxLength;
};
