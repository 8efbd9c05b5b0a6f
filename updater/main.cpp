#include "widget.h"

#include "programfiles.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTimer>
#include <QTranslator>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // The vault's translation is read into memory: the file itself is about
    // to be replaced.
    QFile qm(QDir(QCoreApplication::applicationDirPath())
                 .filePath(QStringLiteral("nimbrel_%1.qm").arg(QLocale::system().name())));
    const QByteArray texts = qm.open(QIODevice::ReadOnly) ? qm.readAll() : QByteArray();
    QTranslator translator;
    if (translator.load(reinterpret_cast<const uchar *>(texts.constData()), static_cast<int>(texts.size())))
        QCoreApplication::installTranslator(&translator);

    Widget widget;
    widget.placeOnScreen();
    widget.show();
    QObject::connect(&widget, &Widget::done, &app, &QCoreApplication::quit);
    // Started from the event loop, so that even an at once failure's done() ends it.
    QTimer::singleShot(0, &widget, &Widget::start);
    return app.exec();
}
