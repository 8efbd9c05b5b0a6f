#include "widget.h"

#include "qttranslation.h"

#include <QApplication>
#include <QIcon>
#include <QLocale>
#include <QTranslator>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QGuiApplication::setWindowIcon(QIcon(QStringLiteral(":/update.png")));
    // The updater has no settings of its own: it speaks the system's language.
    const QString dir = QCoreApplication::applicationDirPath();
    QTranslator translator;
    QTranslator qtTranslator;
    if (translator.load(QStringLiteral("nimbrel_") + QLocale::system().name(), dir)) {
        if (loadQtTranslation(qtTranslator, translator, dir))
            QCoreApplication::installTranslator(&qtTranslator);
        QCoreApplication::installTranslator(&translator);
    }
    Widget widget;
    widget.startDownload(widget.fileUrl(0));
    widget.placeOnScreen();
    widget.show();
    QObject::connect(&widget, &Widget::done, &app, &QCoreApplication::quit);
    return app.exec();
}
