#include "store/startup.h"

#include "access/gate.h"
#include "access/login.h"
#include "access/setpw.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/openmainwindow.h"
#include "store/cardstore.h"
#include "store/settingsrow.h"
#include "update/version.h"

#include <QApplication>
#include <QLocale>
#include <QMessageBox>
#include <QTranslator>

namespace {

void showDatabaseError(const QString &text)
{
    QMessageBox::warning(nullptr, QObject::tr("Database Error"), text, QMessageBox::Ok);
}

} // namespace

bool prepareStore(const QString &storeDir)
{
    QString error;
    if (!openStore(storeDir, &error)) {
        showDatabaseError(error);
        return false;
    }
    createTables();
    // Without a readable settings row the gate could not tell a set password
    // from none; never let anyone in on a guess.
    if (!SettingsRow::password()) {
        error = SettingsRow::lastError();
        closeStore();
        showDatabaseError(QObject::tr("The settings of the store cannot be read: %1").arg(error));
        return false;
    }
    return true;
}

QString applyLanguage(QTranslator &translator, const QString &translationDir, const QString &systemLocale)
{
    QString lang = SettingsRow::language().value_or(QString());
    if (lang == SettingsRow::none)
        lang = systemLocale;
    (void)translator.load(QStringLiteral("nimbrel_") + lang, translationDir);
    QCoreApplication::installTranslator(&translator);

    if (SettingsRow::lastLang().value_or(QString()) != lang) {
        updateCardTypeNames();
        SettingsRow::setLastLang(lang);
    }
    return lang;
}

QDialog *raiseGate()
{
    Gate::setMainWindowOpener([]() -> QWidget * { return openMainWindow(); });
    QDialog *gate = nullptr;
    if (SettingsRow::password().value_or(QString()) == SettingsRow::none)
        gate = new SetPw(nullptr, true);
    else
        gate = new Login;
    gate->show();
    return gate;
}

int vaultMain(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (!prepareStore())
        return 1;

    QTranslator translator;
    applyLanguage(translator, QCoreApplication::applicationDirPath(), QLocale::system().name());
    raiseGate();

    Version version;
    version.saveEdits = []() {
        for (QWidget *window : QApplication::topLevelWidgets()) {
            if (auto *mainWindow = qobject_cast<MainWindow *>(window); mainWindow && !mainWindow->savePendingEdits())
                return false;
        }
        return true;
    };
    version.startDownload(version.versionFileUrl());
    QObject::connect(&version, &Version::done, &app, &QCoreApplication::quit);
    return app.exec();
}
