#ifndef QTTRANSLATION_H
#define QTTRANSLATION_H

#include <QString>

class QTranslator;

// Qt's own texts (message box buttons, file dialogs, the edit menu of line
// edits) come in Qt's "qtbase_" translations, not in the program's.

// Loads into qtTranslator Qt's translation of the language that the loaded
// program translation `own` speaks: from dir when the build delivered it
// there, else from Qt's translations folder. An empty `own` (English) loads
// nothing, so Qt's texts never speak another language than the program's.
bool loadQtTranslation(QTranslator &qtTranslator, const QTranslator &own, const QString &dir);

#endif
