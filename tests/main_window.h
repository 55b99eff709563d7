#pragma once

#include "design/design_units.h"
#include "form1.h"
#include "printing/cups_printer.h"
#include "recording_printer.h"
#ifndef Q_MOC_RUN // moc cannot read the standard library's concepts
#include "app/calendar_service.h"
#endif

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

// 12 October 1999: long past, so that no clock running the tests reads it.
inline constexpr calendar::Date TestsToday = calendar::Date::fromDays(10876);

// The main window on a fixed day, printing into a recording printer or the one named. It is
// not shown until show() is called.
template<typename Printer = RecordingPrinter> struct MainWindowOf
{
    explicit MainWindowOf(calendar::Date day = TestsToday) : today(day) { }

    // Shown centred and active, as the program starts it.
    bool show()
    {
        form.showCentred();
        return QTest::qWaitForWindowActive(&form);
    }

    template<typename Widget = QWidget> Widget *find(const char *name) const
    {
        return form.template findChild<Widget *>(QLatin1StringView(name));
    }
    QLineEdit *field(const char *name) const { return find<QLineEdit>(name); }
    QString focused() const { return QApplication::focusWidget()->objectName(); }

    void press(const char *name) { QTest::mouseClick(find<QPushButton>(name), Qt::LeftButton); }
    void type(const QString &day, const QString &month, const QString &year)
    {
        field("Text1")->setText(day);
        field("Text2")->setText(month);
        field("Text3")->setText(year);
    }
    // «تحويل» still converts what is typed, whatever happened before.
    bool stillConverts()
    {
        type("5", "1", "2025");
        press("Command1");
        return field("Text7")->text().startsWith("5 ");
    }

    calendar::FixedToday today;
    Printer printer;
    Form1 form{printer};
};
using MainWindow = MainWindowOf<>;

// The printer the program prints with, on the print service CUPS_SERVER names.
struct ProgramsPrinter : printing::CupsPrinter
{
    ProgramsPrinter() : CupsPrinter(design::fontFamilies()) { }
};
