#include "qttranslation.h"

#include <QLibraryInfo>
#include <QTranslator>

bool loadQtTranslation(QTranslator &qtTranslator, const QTranslator &own, const QString &dir)
{
    if (own.isEmpty() || own.language().isEmpty())
        return false;
    const QString name = QStringLiteral("qtbase_") + own.language();
    return qtTranslator.load(name, dir) || qtTranslator.load(name, QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}
