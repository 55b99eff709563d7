#pragma once

#include <QList>
#include <QStringList>

// Answers every message box the program opens while it lives, and remembers what each one
// said. A box that opens while no catcher lives is one the test did not expect: it fails
// the test and is closed, where waiting for a click that never comes would hang it. Every
// program built with message_catcher.cpp watches for boxes from its start.
class MessageCatcher
{
public:
    MessageCatcher();
    ~MessageCatcher();
    MessageCatcher(const MessageCatcher &) = delete;
    MessageCatcher &operator=(const MessageCatcher &) = delete;

    QStringList seen() const { return m_seen; }
    QList<Qt::LayoutDirection> directions() const { return m_directions; }

    // Answers the message box on screen, if there is one.
    static void answerBox();

private:
    MessageCatcher *m_outer;
    QStringList m_seen;
    QList<Qt::LayoutDirection> m_directions;
};
