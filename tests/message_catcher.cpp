#include "message_catcher.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <utility>

namespace {

MessageCatcher *innermost = nullptr;

// A message box runs a loop of its own, so a timer of the application's is what sees it.
void watchForMessageBoxes()
{
    auto *poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, &MessageCatcher::answerBox);
    poll->start(5);
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(watchForMessageBoxes)

MessageCatcher::MessageCatcher() : m_outer(std::exchange(innermost, this)) { }

MessageCatcher::~MessageCatcher()
{
    innermost = m_outer;
}

void MessageCatcher::answerBox()
{
    auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
    if (!box)
        return;
    if (innermost) {
        innermost->m_seen << box->text();
        innermost->m_directions << box->layoutDirection();
    } else {
        const QByteArray unexpected = "a message box no test expected: " + box->text().toUtf8();
        if (QTest::currentTestFunction())
            QTest::qFail(unexpected.constData(), __FILE__, __LINE__);
        else
            qCritical("%s", unexpected.constData());
    }
    box->buttons().value(0)->click();
}
