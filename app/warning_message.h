#pragma once

#include <QString>

class QWidget;

// Modal messages in the program's language: right to left, with an Arabic button.
void showWarning(QWidget *parent, const QString &title, const QString &message);
// For news that is no fault, such as a press that had nothing to act on.
void showNotice(QWidget *parent, const QString &title, const QString &message);
