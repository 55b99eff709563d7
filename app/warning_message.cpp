#include "warning_message.h"

#include <QMessageBox>

namespace {

void showMessage(QMessageBox::Icon icon, QWidget *parent, const QString &title,
                 const QString &message)
{
    QMessageBox box(icon, title, message, QMessageBox::NoButton, parent);
    box.setLayoutDirection(Qt::RightToLeft);
    box.addButton(QStringLiteral("موافق"), QMessageBox::AcceptRole);
    box.exec();
}

} // namespace

void showWarning(QWidget *parent, const QString &title, const QString &message)
{
    showMessage(QMessageBox::Warning, parent, title, message);
}

void showNotice(QWidget *parent, const QString &title, const QString &message)
{
    showMessage(QMessageBox::Information, parent, title, message);
}
