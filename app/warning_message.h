#pragma once

#include <QString>

class QWidget;

// A modal warning in the program's language: right to left, with an Arabic button.
void showWarning(QWidget *parent, const QString &title, const QString &message);
