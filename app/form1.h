#pragma once

#include "form1_layout.h"

#include "calendar/civil_date.h"

#include <QWidget>

#include <initializer_list>
#include <memory>

class QLineEdit;
class Form2;
struct DateResults;

namespace design {
class SpokenNotice;
}
namespace printing {
class DefaultPrinter;
}

// The conversion window: entry fields for a day, month and year, the direction of
// conversion, and the date in both calendars with its weekday.
class Form1 : public QWidget
{
    Q_OBJECT

public:
    explicit Form1(printing::DefaultPrinter &printer, QWidget *parent = nullptr);
    ~Form1() override;

    void showCentred();

protected:
    bool focusNextPrevChild(bool next) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private slots:
    void convert();
    void addSummaryToPrintDocument();
    void discardPrintDocument();
    void printDocument();
    void showAbout();
    void closeWindow();

private:
    enum class Result { SourceDate, SourceMonth, TargetDate, TargetMonth, Weekday };

    void createSurface();
    void createControls();
    void narrowCaptionsToFit();
    void connectActions();

    void fillWithToday();
    // The day the entry fields name in the calendar; an EntryError or a DateError tells what
    // is wrong.
    calendar::Date typedDate(calendar::Calendar calendar) const;
    // Leaving an entry field, by the keyboard or the mouse, repairs what it holds.
    void leaveDay();
    void leaveMonth();
    void leaveYear();
    void showResults(const DateResults &results, std::initializer_list<Result> writeOrder);
    void repairWithToday(QLineEdit *field, int (*todaysPart)(calendar::Date));
    QLineEdit *longDateField(calendar::Calendar calendar) const;

    // Runs one user action. A date the user typed wrong, or anything unexpected, is told in
    // a message; the window stays as it was and goes on.
    template<typename Action> void guarded(Action action);

    form1::Controls m_controls;
    design::SpokenNotice *m_spokenResult = nullptr; // what a conversion gave, for screen readers

    printing::DefaultPrinter &m_printer;
    // The calendar the result fields were last filled from: the options can be changed
    // without converting again, so they cannot tell which long date is which.
    calendar::Calendar m_resultsSource = calendar::Calendar::Gregorian;
    // Made on first use and kept for the run; it has no owner window, so it is not
    // closed along with this one.
    std::unique_ptr<Form2> m_about;
};
