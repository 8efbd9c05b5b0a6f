#include "widget.h"

#include "programfiles.h"
#include "qttranslation.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QIcon>
#include <QLocale>
#include <QTimer>
#include <QTranslator>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QGuiApplication::setWindowIcon(QIcon(QStringLiteral(":/update.png")));
    // The updater has no settings of its own: it speaks the system's language.
    // The vault's translation is read into memory: the file itself is about
    // to be replaced.
    const QString dir = QCoreApplication::applicationDirPath();
    QFile qm(QDir(dir).filePath(ProgramFiles::translationName(QLocale::system().name())));
    const QByteArray texts = qm.open(QIODevice::ReadOnly) ? qm.readAll() : QByteArray();
    QTranslator translator;
    QTranslator qtTranslator;
    if (translator.load(reinterpret_cast<const uchar *>(texts.constData()), static_cast<int>(texts.size()))) {
        if (loadQtTranslation(qtTranslator, translator, dir))
            QCoreApplication::installTranslator(&qtTranslator);
        QCoreApplication::installTranslator(&translator);
    }

    Widget widget;
    // The vault names its own version: only a newer release may replace it.
    const QStringList args = QCoreApplication::arguments();
    if (const qsizetype at = args.indexOf(QStringLiteral("--installed")); at > 0)
        widget.setInstalledVersion(args.value(at + 1).toInt());
    widget.placeOnScreen();
    widget.show();
    QObject::connect(&widget, &Widget::done, &app, &QCoreApplication::quit);
    // Started from the event loop, so that even an at once failure's done() ends it.
    QTimer::singleShot(0, &widget, &Widget::start);
    return app.exec();
}
