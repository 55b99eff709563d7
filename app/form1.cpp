#include "form1.h"

#include "about/form2.h"
#include "date_results.h"
#include "design/classic_desktop.h"
#include "design/pictures.h"
#include "design/screen_reader.h"
#include "entry_validator.h"
#include "form1_layout.h"

#include <QButtonGroup>
#include <QFocusEvent>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "printing/default_printer.h"
#include "printing/summary.h"
#include "surface_items.h"
#include "text_value.h"
#include "warning_message.h"

using namespace calendar;

namespace {

QString text(const std::string &utf8)
{
    return QString::fromStdString(utf8);
}

void applyLook(QWidget *widget, const form1::ControlDesign &item)
{
    widget->setObjectName(QString::fromLatin1(item.name));
    widget->setGeometry(form1::pixels(item.box));
    widget->setLayoutDirection(item.rightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
    if (item.font.points > 0)
        widget->setFont(form1::font(item.font));
    if (item.background != form1::DefaultColour || item.foreground != form1::DefaultColour) {
        QPalette palette = widget->palette();
        if (item.background != form1::DefaultColour)
            palette.setColor(QPalette::Base, form1::colour(item.background));
        if (item.foreground != form1::DefaultColour)
            palette.setColor(QPalette::Text, form1::colour(item.foreground));
        widget->setPalette(palette);
    }
    widget->setAccessibleName(text(item.accessibleName ? item.accessibleName : item.caption));
}

QWidget *createTextField(const form1::ControlDesign &item, QWidget *parent)
{
    auto *field = new QLineEdit(parent);
    field->setAlignment(item.alignment);
    if (item.maxLength > 0)
        field->setValidator(new EntryValidator(item.maxLength, field));
    field->setText(text(item.caption));
    return field;
}

QWidget *createPictureButton(const form1::ControlDesign &item, QWidget *parent)
{
    auto *button = new QPushButton(parent);
    const QString path = QString::fromLatin1(item.caption);
    // The largest image the designed picture holds, at its natural size on every screen.
    button->setIconSize(QIcon(path).availableSizes().value(0, QSize(32, 32)));
    button->setIcon(design::icon(path, parent->devicePixelRatio()));
    return button;
}

QLabel *createPicture(const form1::SurfaceDesign &item, QWidget *parent)
{
    auto *picture = new QLabel(parent);
    const QPixmap pixmap
            = design::picture(QString::fromLatin1(item.content), parent->devicePixelRatio());
    picture->setPixmap(pixmap);
    picture->setScaledContents(item.stretched);
    const int frame = item.framed ? 2 : 0;
    if (item.framed) {
        picture->setFrameStyle(QFrame::Box | QFrame::Plain);
        picture->setLineWidth(1);
        picture->setContentsMargins(1, 1, 1, 1);
    }
    const QRect box = form1::pixels(item.box);
    picture->setGeometry(item.box.width > 0 ? box
                                            : QRect(box.topLeft(),
                                                    pixmap.deviceIndependentSize().toSize().grownBy(
                                                            {frame, frame, frame, frame})));
    return picture;
}

// The captions were drawn around a narrower face than the fallback fonts; narrowing the
// letters keeps the designed size and height without clipping the words. A group shares one
// stretch, the narrowest its captions need: every distinct stretch loads a font of its own,
// and those loads are most of what the window costs at start.
template<typename Captioned> void narrowToFit(const QList<Captioned *> &group)
{
    int stretch = 100;
    for (const Captioned *widget : group) {
        const int needed = widget->fontMetrics().horizontalAdvance(widget->text()) + 2;
        // What the widget draws beside its words, such as an option's round indicator.
        const int beside = std::max(0, widget->sizeHint().width() - needed);
        stretch = std::min(stretch, 100 * (widget->width() - beside) / needed);
    }
    if (stretch >= 100)
        return;
    for (Captioned *widget : group) {
        QFont font = widget->font();
        font.setStretch(std::max(70, stretch));
        widget->setFont(font);
    }
}

QLabel *createCaption(const form1::SurfaceDesign &item, QWidget *parent)
{
    auto *caption = new QLabel(text(item.content), parent);
    caption->setGeometry(form1::pixels(item.box));
    caption->setFont(form1::font({10.2, true}));
    caption->setAlignment(Qt::AlignCenter);
    caption->setLayoutDirection(Qt::RightToLeft);
    if (item.fill != form1::DefaultColour) {
        QPalette palette = caption->palette();
        palette.setColor(QPalette::Window, form1::colour(item.fill));
        palette.setColor(QPalette::WindowText, form1::colour(item.border));
        caption->setPalette(palette);
        caption->setAutoFillBackground(true);
    }
    return caption;
}

QWidget *createSurfaceItem(const form1::SurfaceDesign &item, QWidget *parent)
{
    switch (item.kind) {
    case form1::SurfaceKind::Picture:
        return createPicture(item, parent);
    case form1::SurfaceKind::Caption:
        return createCaption(item, parent);
    case form1::SurfaceKind::Rectangle: {
        auto *rectangle = new RectangleItem(form1::colour(item.fill), form1::colour(item.border),
                                            item.borderPixels, parent);
        rectangle->setGeometry(form1::pixels(item.box));
        return rectangle;
    }
    case form1::SurfaceKind::Line:
        return new LineItem(form1::pixels(item.box.left, item.box.top),
                            form1::pixels(item.box.width, item.box.height),
                            form1::colour(item.border), item.borderPixels, parent);
    }
    Q_UNREACHABLE();
}

// One sentence, read right to left: "Monday, <the date as entered>, corresponding to <the
// same day in the other calendar>".
QString spoken(const DateResults &results)
{
    return text(results.weekday + "، " + results.sourceLongDate + " الموافق "
                + results.targetLongDate);
}

QWidget *createControl(const form1::ControlDesign &item, QWidget *parent)
{
    switch (item.kind) {
    case form1::ControlKind::TextField:
        return createTextField(item, parent);
    case form1::ControlKind::CommandButton:
        return new QPushButton(text(item.caption), parent);
    case form1::ControlKind::PictureButton:
        return createPictureButton(item, parent);
    case form1::ControlKind::OptionButton: {
        auto *option = new QRadioButton(text(item.caption), parent);
        // A classic option button is an opaque box of button face, not words on the panel.
        option->setAutoFillBackground(true);
        return option;
    }
    }
    Q_UNREACHABLE();
}

} // namespace

Form1::Form1(printing::DefaultPrinter &printer, QWidget *parent)
    : QWidget(parent,
              Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                      | Qt::MSWindowsFixedSizeDialogHint),
      m_printer(printer)
{
    design::letScreenReadersKnowTheWindows();
    setObjectName(QStringLiteral("Form1"));
    // Desktops fill an empty title bar with the Latin program name or "Unnamed Window".
    // Screen readers name the window by its title too.
    setWindowTitle(QStringLiteral("تقويم"));
    setAccessibleDescription(QStringLiteral("محوّل التاريخ الهجري والميلادي"));
    setLayoutDirection(Qt::RightToLeft);
    setFixedSize(form1::pixels(form1::clientArea()).size());

    createSurface();
    keepControls(createControls());
    m_spokenResult = new design::SpokenNotice(this);
    design::giveClassicLook(*this);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, form1::colour(form1::background()));
    setPalette(palette);
    setAutoFillBackground(true);
    design::letEnterPressButtons(*this);
    narrowCaptionsToFit();
    connectActions();
    fillWithToday();
}

Form1::~Form1() = default;

void Form1::showCentred()
{
    design::showCentred(*this);
    // As when the field is reached with Tab: what is typed first replaces today's day.
    m_day->selectAll();
    m_day->setFocus(Qt::OtherFocusReason);
}

void Form1::createSurface()
{
    // Created bottom first: a later sibling is painted over an earlier one.
    for (const form1::SurfaceDesign &item : form1::surface()) {
        QWidget *widget = createSurfaceItem(item, this);
        widget->setObjectName(QString::fromLatin1(item.name));
        if (item.kind == form1::SurfaceKind::Picture && QByteArray(item.name) == "Image4")
            widget->setToolTip(QString::fromLatin1(form1::emblemToolTip()));
        else
            widget->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
}

Form1::MadeControls Form1::createControls()
{
    MadeControls made{};
    auto *direction = new QButtonGroup(this);
    QWidget *previous = nullptr;
    for (const form1::ControlDesign &item : form1::controls()) {
        QWidget *control = createControl(item, this);
        applyLook(control, item);
        made[std::size_t(item.control)] = control;
        if (auto *option = qobject_cast<QRadioButton *>(control))
            direction->addButton(option);
        if (previous)
            setTabOrder(previous, control);
        previous = control;
    }
    return made;
}

void Form1::keepControls(const MadeControls &made)
{
    using form1::Control;
    const auto kept = [&made]<typename Kind>(Control control, Kind *&member) {
        member = qobject_cast<Kind *>(made[std::size_t(control)]);
        Q_ASSERT_X(member, "Form1", "the layout made this control of another kind");
    };
    kept(Control::Text1, m_day);
    kept(Control::Text2, m_month);
    kept(Control::Text3, m_year);
    kept(Control::Text7, m_sourceDate);
    kept(Control::Text4, m_sourceMonth);
    kept(Control::Text8, m_targetDate);
    kept(Control::Text5, m_targetMonth);
    kept(Control::Text9, m_weekday);
    kept(Control::Option1, m_gregorianToHijri);
    kept(Control::Option2, m_hijriToGregorian);
    kept(Control::Command1, m_convert);
    kept(Control::Command2, m_exit);
    kept(Control::Command3, m_addSummary);
    kept(Control::Command4, m_discard);
    kept(Control::Command5, m_print);
    kept(Control::Command6, m_showAbout);
}

void Form1::narrowCaptionsToFit()
{
    QList<QLabel *> captions = findChildren<QLabel *>(Qt::FindDirectChildrenOnly);
    captions.removeIf([](const QLabel *label) { return label->text().isEmpty(); });
    narrowToFit(captions);
    narrowToFit(QList<QAbstractButton *>{m_gregorianToHijri, m_hijriToGregorian, m_convert,
                                         m_addSummary, m_discard});
}

void Form1::connectActions()
{
    connect(m_convert, &QPushButton::clicked, this, &Form1::convert);
    connect(m_exit, &QPushButton::clicked, this, &Form1::closeWindow);
    connect(m_addSummary, &QPushButton::clicked, this, &Form1::addSummaryToPrintDocument);
    connect(m_discard, &QPushButton::clicked, this, &Form1::discardPrintDocument);
    connect(m_print, &QPushButton::clicked, this, &Form1::printDocument);
    connect(m_showAbout, &QPushButton::clicked, this, &Form1::showAbout);
    for (QLineEdit *entry : {m_day, m_month, m_year})
        entry->installEventFilter(this);
}

template<typename Action> void Form1::guarded(Action action)
{
    try {
        action();
    } catch (const DateError &error) {
        showWarning(this, QStringLiteral("تاريخ غير صحيح"), QString::fromUtf8(error.what()));
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
        m_gregorianToHijri->setChecked(true);
        const Date today = GetToday();
        m_day->setText(QString::number(DayOfMonth(today)));
        m_month->setText(QString::number(MonthOfYear(today)));
        m_year->setText(QString::number(YearOf(today)));
        showResults(resultsFor(today, Gregorian),
                    {Result::SourceDate, Result::SourceMonth, Result::TargetDate, Result::Weekday,
                     Result::TargetMonth});
        m_resultsSource = Gregorian;
    });
}

void Form1::convert()
{
    guarded([this] {
        const bool fromGregorian = m_gregorianToHijri->isChecked();
        const int source = fromGregorian ? Gregorian : Hijri;
        CheckDateField(m_day->text().toStdString(), DateField::Day);
        CheckDateField(m_month->text().toStdString(), DateField::Month);
        CheckDateField(m_year->text().toStdString(), DateField::Year);
        const QString dateText = m_day->text() + u'/' + m_month->text() + u'/' + m_year->text();
        const DateResults results = resultsFor(readDate(dateText.toStdString(), source), source);
        if (fromGregorian)
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

bool Form1::eventFilter(QObject *watched, QEvent *event)
{
    // Switching to another window or opening a menu is not leaving the field.
    const auto leaving = [event] {
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
    };
    if (event->type() == QEvent::FocusOut && leaving()) {
        if (watched == m_day)
            leaveDay();
        else if (watched == m_month)
            leaveMonth();
        else if (watched == m_year)
            leaveYear();
    }
    return QWidget::eventFilter(watched, event);
}

void Form1::leaveDay()
{
    guarded([this] { repairWithToday(m_day, DayOfMonth); });
}

void Form1::leaveMonth()
{
    guarded([this] { repairWithToday(m_month, MonthOfYear); });
}

void Form1::leaveYear()
{
    guarded([this] { repairWithToday(m_year, YearOf); });
    m_convert->setFocus(Qt::OtherFocusReason);
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
            m_sourceDate->setText(text(results.sourceLongDate));
            break;
        case Result::SourceMonth:
            m_sourceMonth->setText(text(results.sourceMonth));
            break;
        case Result::TargetDate:
            m_targetDate->setText(text(results.targetLongDate));
            break;
        case Result::TargetMonth:
            m_targetMonth->setText(text(results.targetMonth));
            break;
        case Result::Weekday:
            m_weekday->setText(text(results.weekday));
            break;
        }
    }
}

void Form1::addSummaryToPrintDocument()
{
    guarded([this] {
        printing::writeSummary(m_printer,
                               {longDateField(Gregorian)->text(), longDateField(Hijri)->text(),
                                m_weekday->text()});
    });
}

QLineEdit *Form1::longDateField(int calendar) const
{
    return calendar == m_resultsSource ? m_sourceDate : m_targetDate;
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
    if (focusWidget() == m_year) {
        m_convert->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
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
