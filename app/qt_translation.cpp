#include "qt_translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

bool installQtArabicTranslation(QTranslator &translator)
{
    return translator.load(QStringLiteral("qtbase_ar"),
                           QLibraryInfo::path(QLibraryInfo::TranslationsPath))
            && QCoreApplication::installTranslator(&translator);
}
