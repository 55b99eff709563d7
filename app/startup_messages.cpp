#include "startup_messages.h"

#include <QList>
#include <QString>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>
#include <utility>

namespace {

struct HeldMessage
{
    QtMsgType type;
    QByteArray category;
    QString text;
};

QList<HeldMessage> held;
QtMessageHandler previous = nullptr;

void holdOrEnd(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (type == QtFatalMsg) {
        // The only fatal message of the set-up: no platform (a display) could be opened.
        std::fputs("taqwim: لا توجد شاشة يُعرض عليها البرنامج. "
                   "Cannot open a window: no display is available (is DISPLAY set?)\n",
                   stderr);
        std::_Exit(1);
    }
    held.append({type, QByteArray(context.category), text});
}

} // namespace

StartupMessages::StartupMessages()
{
    previous = qInstallMessageHandler(holdOrEnd);
}

void StartupMessages::passOn()
{
    if (!std::exchange(m_holding, false))
        return;
    qInstallMessageHandler(previous);
    for (const HeldMessage &message : std::exchange(held, {})) {
        const QMessageLogContext context(nullptr, 0, nullptr, message.category.constData());
        qt_message_output(message.type, context, message.text);
    }
}
