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

#include <array>

namespace {

// Slot 0 stays empty, as in the table the lines were first kept in.
std::array<QString, 7> informationLines()
{
    return {QString(),
            QStringLiteral("بسم الله الرحمن الرحيم"),
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

} // namespace

Form2::Form2() : QWidget(nullptr, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint)
{
    design::letScreenReadersKnowTheWindows();
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("عن البرنامج"));
    QPixmap noIcon(16, 16);
    noIcon.fill(Qt::transparent);
    setWindowIcon(noIcon);
    setLayoutDirection(Qt::RightToLeft);
    setFixedSize(design::pixels(form2::ClientArea).size());
    createControls();
    design::giveClassicLook(*this);
    design::letEnterPressButtons(*this);
}

void Form2::createControls()
{
    auto *banner = new QLabel(this);
    banner->setObjectName(QString::fromLatin1(form2::Banner.name));
    banner->setPixmap(design::picture(QStringLiteral(":/about/banner.gif"), devicePixelRatio()));
    banner->setFrameStyle(QFrame::Box | QFrame::Plain);
    banner->setContentsMargins(1, 1, 1, 1);
    banner->setGeometry(design::pixels(form2::Banner.box));

    m_list = new QListWidget(this);
    m_list->setObjectName(QString::fromLatin1(form2::List.name));
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setSortingEnabled(false);
    m_list->setGeometry(design::pixels(form2::List.box));
    m_list->setFont(design::font(form2::Text));
    m_list->setAccessibleName(QStringLiteral("معلومات عن البرنامج"));

    m_return = new QPushButton(QStringLiteral("عــودة إلى البرنامج"), this);
    m_return->setObjectName(QString::fromLatin1(form2::Return.name));
    m_return->setGeometry(design::pixels(form2::Return.box));
    m_return->setFont(design::font(form2::Text));
    m_return->setAutoDefault(false);
    m_return->setAccessibleName(m_return->text());
    connect(m_return, &QPushButton::clicked, this, &Form2::returnToProgram);

    setTabOrder(m_list, m_return);
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
    const std::array<QString, 7> lines = informationLines();
    for (std::size_t slot = 1; slot < lines.size(); ++slot)
        m_list->addItem(lines[slot]);
}

void Form2::returnToProgram()
{
    close();
}
