#include "screen_reader.h"

#include <QAccessibleWidget>

namespace design {
namespace {

QAccessibleInterface *accessibleByRole(const QString &className, QObject *object)
{
    // Asked before Qt's own factory, for each class of the object from the most derived on.
    // Only the program's own widgets, made straight from QWidget, are given a role here;
    // Qt's, a message box among them, keep the ones Qt gives them.
    auto *widget = qobject_cast<QWidget *>(object);
    const QMetaObject *madeAs = object->metaObject();
    if (!widget || className != QLatin1String(madeAs->className())
        || madeAs->superClass() != &QWidget::staticMetaObject)
        return nullptr;
    if (qobject_cast<SpokenNotice *>(widget))
        return new QAccessibleWidget(widget, QAccessible::Notification);
    if (!widget->isWindow())
        return nullptr;
    switch (widget->windowType()) {
    case Qt::Window:
        return new QAccessibleWidget(widget, QAccessible::Window);
    case Qt::Dialog:
        return new QAccessibleWidget(widget, QAccessible::Dialog);
    default:
        return nullptr;
    }
}

} // namespace

void letScreenReadersKnowTheWindows()
{
    [[maybe_unused]] static const bool installed = [] {
        QAccessible::installFactory(accessibleByRole);
        return true;
    }();
}

SpokenNotice::SpokenNotice(QWidget *parent) : QWidget(parent)
{
    letScreenReadersKnowTheWindows();
    setObjectName(QStringLiteral("SpokenNotice"));
    setGeometry(0, 0, 0, 0);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
}

void SpokenNotice::say(const QString &words)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    // Screen readers speak an announcement whatever has the focus; it comes from the window,
    // which they know, as this notice is never shown.
    QAccessibleAnnouncementEvent announcement(window(), words);
    QAccessible::updateAccessibility(&announcement);
#else
    // Qt before 6.8 has no announcements. Appearing is what is spoken, so each notice appears
    // afresh, even with the same words.
    hide();
    setAccessibleName(words);
    show();
#endif
}

} // namespace design
