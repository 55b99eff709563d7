#include "form2.h"

#include "design/bidi_text.h"
#include "design/classic_desktop.h"
#include "design/design_units.h"
#include "design/pictures.h"
#include "design/screen_reader.h"
#include "form2_layout.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace {

QStringList informationLines()
{
    return {QStringLiteral("بسم الله الرحمن الرحيم"),
            QStringLiteral("برنامج تحويل التاريخ الهجري والميلادي"),
            QStringLiteral("إعداد فريق تقويم (%1)")
                    .arg(design::leftToRight(QStringLiteral("Taqwim"))),
            QStringLiteral("طُوّر بلغة %1 ومكتبة %2 (يعمل الآن على %3)")
                    .arg(design::leftToRight(QStringLiteral("C++")),
                         design::leftToRight(QStringLiteral("Qt 6")),
                         design::leftToRight(QStringLiteral("Qt ")
                                             + QString::fromLatin1(qVersion()))),
            QStringLiteral(" هذا البرنامج مجاني"),
            QStringLiteral("البحرين 2000")};
}

void applyLook(QWidget *widget, const form2::ControlDesign &item)
{
    widget->setObjectName(QString::fromLatin1(item.name));
    widget->setGeometry(design::pixels(item.box));
    if (item.font.points > 0)
        widget->setFont(design::font(item.font));
    if (item.accessibleName)
        widget->setAccessibleName(QString::fromUtf8(item.accessibleName));
    else if (item.kind != form2::ControlKind::FramedPicture)
        widget->setAccessibleName(QString::fromUtf8(item.caption));
}

QLabel *createPicture(const form2::ControlDesign &item, QWidget *parent)
{
    auto *picture = new QLabel(parent);
    picture->setPixmap(
            design::picture(QString::fromLatin1(item.caption), parent->devicePixelRatio()));
    picture->setFrameStyle(QFrame::Box | QFrame::Plain);
    picture->setContentsMargins(1, 1, 1, 1);
    return picture;
}

QListWidget *createList(QWidget *parent)
{
    auto *list = new QListWidget(parent);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setSortingEnabled(false);
    return list;
}

QPushButton *createButton(const form2::ControlDesign &item, QWidget *parent)
{
    auto *button = new QPushButton(QString::fromUtf8(item.caption), parent);
    button->setAutoDefault(false);
    return button;
}

} // namespace

Form2::Form2() : QWidget(nullptr, Qt::Dialog)
{
    design::letScreenReadersKnowTheWindows();
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QString::fromUtf8(form2::title()));
    QPixmap noIcon(16, 16);
    noIcon.fill(Qt::transparent);
    setWindowIcon(noIcon);
    setLayoutDirection(Qt::RightToLeft);
    setFixedSize(design::pixels(form2::clientArea()).size());
    createControls();
    design::giveClassicLook(*this);
    design::letEnterPressButtons(*this);
}

void Form2::createControls()
{
    for (const form2::ControlDesign &item : form2::controls()) {
        QWidget *control = nullptr;
        switch (item.kind) {
        case form2::ControlKind::FramedPicture:
            control = createPicture(item, this);
            break;
        case form2::ControlKind::List:
            control = m_list = createList(this);
            break;
        case form2::ControlKind::CommandButton:
            control = m_return = createButton(item, this);
            connect(m_return, &QPushButton::clicked, this, &Form2::returnToProgram);
            break;
        }
        applyLook(control, item);
    }
}

void Form2::loadAndShow()
{
    if (isVisible()) {
        // A minimised window still counts as visible; it has to be brought back first.
        setWindowState(windowState() & ~Qt::WindowMinimized);
        raise();
        activateWindow();
        return;
    }
    fillList();
    design::showCentred(*this);
    m_list->setFocus(Qt::OtherFocusReason);
}

void Form2::fillList()
{
    m_list->clear();
    m_list->addItems(informationLines());
}

void Form2::returnToProgram()
{
    close();
}
