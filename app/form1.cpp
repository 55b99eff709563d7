#include "form1.h"

#include "about/form2.h"
#include "calendar_service.h"
#include "date_error_text.h"
#include "date_results.h"
#include "date_words.h"
#include "design/screen_reader.h"
#include "printing/default_printer.h"
#include "printing/summary.h"
#include "text_value.h"
#include "warning_message.h"

#include <QButtonGroup>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

using namespace calendar;

namespace {

// The date as entered, then the same day in the other calendar.
QString spoken(const DateResults &results)
{
    return QString::fromStdString(correspondingDatesText(results.weekday, results.sourceLongDate,
                                                         results.targetLongDate));
}

} // namespace

Form1::~Form1() = default;

void Form1::showCentred()
{
    design::showCentred(*this);
    // As when the field is reached with Tab: what is typed first replaces today's day.
    m_controls.day->selectAll();
    m_controls.day->setFocus(Qt::OtherFocusReason);
}

template<typename Action> void Form1::guarded(Action action)
{
    try {
        action();
    } catch (const EntryError &error) {
        showWarning(this, QStringLiteral("تاريخ غير صحيح"), dateErrorText(error));
    } catch (const DateError &error) {
        showWarning(this, QStringLiteral("تاريخ غير صحيح"), dateErrorText(error));
    } catch (const printing::PrintError &error) {
        showWarning(this, QStringLiteral("الطباعة"), QString::fromUtf8(error.what()));
    } catch (const std::exception &error) {
        showWarning(this, QStringLiteral("خطأ غير متوقع"),
                    QStringLiteral("تعذّر إتمام العملية بسبب خطأ داخلي في البرنامج: %1")
                            .arg(QString::fromLocal8Bit(error.what())));
    } catch (...) {
        showWarning(this, QStringLiteral("خطأ غير متوقع"),
                    QStringLiteral("تعذّر إتمام العملية بسبب خطأ داخلي في البرنامج."));
    }
}

void Form1::fillWithToday()
{
    guarded([this] {
        m_controls.gregorianToHijri->setChecked(true);
        const Date today = GetToday();
        m_controls.day->setText(QString::number(DayOfMonth(today)));
        m_controls.month->setText(QString::number(MonthOfYear(today)));
        m_controls.year->setText(QString::number(YearOf(today)));
        showResults(resultsFor(today, Calendar::Gregorian),
                    {Result::SourceDate, Result::SourceMonth, Result::TargetDate, Result::Weekday,
                     Result::TargetMonth});
        m_resultsSource = Calendar::Gregorian;
    });
}

void Form1::convert()
{
    guarded([this] {
        const Calendar source
                = m_controls.gregorianToHijri->isChecked() ? Calendar::Gregorian : Calendar::Hijri;
        const DateResults results = resultsFor(typedDate(source), source);
        if (source == Calendar::Gregorian)
            showResults(results,
                        {Result::SourceDate, Result::SourceMonth, Result::TargetDate,
                         Result::TargetMonth, Result::Weekday});
        else
            showResults(results,
                        {Result::SourceMonth, Result::SourceDate, Result::TargetDate,
                         Result::Weekday, Result::TargetMonth});
        m_resultsSource = source;
        m_spokenResult->say(spoken(results));
    });
}

Date Form1::typedDate(Calendar calendar) const
{
    CheckDateField(m_controls.day->text().toStdString(), DateField::Day);
    CheckDateField(m_controls.month->text().toStdString(), DateField::Month);
    CheckDateField(m_controls.year->text().toStdString(), DateField::Year);
    const QString dateText = m_controls.day->text() + u'/' + m_controls.month->text() + u'/'
            + m_controls.year->text();
    return readDate(dateText.toStdString(), calendar);
}

bool Form1::eventFilter(QObject *watched, QEvent *event)
{
    // Switching to another window or opening a menu is not leaving the field.
    const auto leaving = [event] {
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
    };
    if (event->type() == QEvent::FocusOut && leaving()) {
        if (watched == m_controls.day)
            leaveDay();
        else if (watched == m_controls.month)
            leaveMonth();
        else if (watched == m_controls.year)
            leaveYear();
    }
    return QWidget::eventFilter(watched, event);
}

void Form1::leaveDay()
{
    guarded([this] { repairWithToday(m_controls.day, DayOfMonth); });
}

void Form1::leaveMonth()
{
    guarded([this] { repairWithToday(m_controls.month, MonthOfYear); });
}

void Form1::leaveYear()
{
    guarded([this] { repairWithToday(m_controls.year, YearOf); });
    m_controls.convert->setFocus(Qt::OtherFocusReason);
}

void Form1::repairWithToday(QLineEdit *field, int (*todaysPart)(Date))
{
    if (TextValue(field->text()) < 1.0)
        field->setText(QString::number(todaysPart(GetToday())));
}

void Form1::showResults(const DateResults &results, std::initializer_list<Result> writeOrder)
{
    for (const Result result : writeOrder) {
        switch (result) {
        case Result::SourceDate:
            m_controls.sourceDate->setText(QString::fromStdString(results.sourceLongDate));
            break;
        case Result::SourceMonth:
            m_controls.sourceMonth->setText(QString::fromStdString(results.sourceMonth));
            break;
        case Result::TargetDate:
            m_controls.targetDate->setText(QString::fromStdString(results.targetLongDate));
            break;
        case Result::TargetMonth:
            m_controls.targetMonth->setText(QString::fromStdString(results.targetMonth));
            break;
        case Result::Weekday:
            m_controls.weekday->setText(QString::fromStdString(results.weekday));
            break;
        }
    }
}

void Form1::addSummaryToPrintDocument()
{
    guarded([this] {
        printing::writeSummary(m_printer,
                               {longDateField(Calendar::Gregorian)->text(),
                                longDateField(Calendar::Hijri)->text(),
                                m_controls.weekday->text()});
    });
}

QLineEdit *Form1::longDateField(Calendar calendar) const
{
    return calendar == m_resultsSource ? m_controls.sourceDate : m_controls.targetDate;
}

void Form1::discardPrintDocument()
{
    guarded([this] { m_printer.discardDocument(); });
}

void Form1::printDocument()
{
    guarded([this] {
        const QString title = QStringLiteral("الطباعة");
        const bool pending = m_printer.hasPendingDocument();
        try {
            m_printer.endDocument();
        } catch (const printing::PrintError &error) {
            // The error tells the cause; only here, with the program going on, does the
            // document still wait for another try.
            showWarning(this, title,
                        QStringLiteral("%1\nبقي المستند في ذاكرة الطابعة، ويمكن طباعته حين "
                                       "تصبح الطابعة جاهزة.")
                                .arg(QString::fromUtf8(error.what())));
            return;
        }
        if (!pending)
            showNotice(this, title, QStringLiteral("لم يكن في ذاكرة الطابعة شيء لطباعته."));
    });
}

bool Form1::focusNextPrevChild(bool next)
{
    // Leaving the year field goes on to «تحويل» either way. Going there directly, not by way
    // of the next field in the tab order, keeps screen readers from being told of that field.
    if (focusWidget() == m_controls.year) {
        m_controls.convert->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
        return true;
    }
    if (!QWidget::focusNextPrevChild(next))
        return false;
    // The keyboard enters the direction group at its selected option, as on the desktops
    // this window was designed for; the other option is reached with the arrow keys.
    const auto *option = qobject_cast<QRadioButton *>(focusWidget());
    if (option && !option->isChecked() && option->group()->checkedButton())
        option->group()->checkedButton()->setFocus(next ? Qt::TabFocusReason
                                                        : Qt::BacktabFocusReason);
    return true;
}

void Form1::showAbout()
{
    guarded([this] {
        if (!m_about)
            m_about = std::make_unique<Form2>();
        m_about->loadAndShow();
    });
}

void Form1::closeWindow()
{
    close();
}
