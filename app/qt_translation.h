#pragma once

class QTranslator;

// Qt's own words (the fields' context menus, for one) in Arabic, where the desktop has
// Qt's translations. Returns whether they were found.
bool installQtArabicTranslation(QTranslator &translator);
