#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QStringList>
#include <QTimer>

// Answers every message box the window opens, and remembers what each one said.
class MessageCatcher : public QObject
{
public:
    MessageCatcher()
    {
        connect(&m_poll, &QTimer::timeout, this, [this] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                m_seen << box->text();
                m_directions << box->layoutDirection();
                box->buttons().value(0)->click();
            }
        });
        m_poll.start(5);
    }
    QStringList seen() const { return m_seen; }
    QList<Qt::LayoutDirection> directions() const { return m_directions; }

private:
    QTimer m_poll;
    QStringList m_seen;
    QList<Qt::LayoutDirection> m_directions;
};
