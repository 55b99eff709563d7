#pragma once

#include <QWidget>

class QListWidget;
class QPushButton;

// The About window: a banner and six lines about the program. The main window keeps one
// for the whole run and loads it again each time it is opened after being closed.
class Form2 : public QWidget
{
    Q_OBJECT

public:
    Form2();

    // Loads the window (filling its list) and shows it centred; if it is already shown,
    // only brings it to the front.
    void loadAndShow();

private slots:
    void returnToProgram();

private:
    void createControls();
    void fillList();

    QListWidget *m_list = nullptr; // List1
    QPushButton *m_return = nullptr; // Command1
};
