#include "warning_message.h"

#include <QMessageBox>

void showWarning(QWidget *parent, const QString &title, const QString &message)
{
    QMessageBox box(QMessageBox::Warning, title, message, QMessageBox::NoButton, parent);
    box.setLayoutDirection(Qt::RightToLeft);
    box.addButton(QStringLiteral("موافق"), QMessageBox::AcceptRole);
    box.exec();
}
