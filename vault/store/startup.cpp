#include "store/startup.h"

#include "access/gate.h"
#include "access/login.h"
#include "access/setpw.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/openmainwindow.h"
#include "store/cardstore.h"
#include "store/settingsrow.h"
#include "store/storecheck.h"
#include "store/storelock.h"
#include "update/version.h"
#include "plaintext.h"

#include "programfiles.h"
#include "qttranslation.h"
#include "releaseinstall.h"
#include "updatelock.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QLocale>
#include <QProcess>
#include <QTranslator>

namespace {

void showDatabaseError(const QString &text)
{
    PlainText::tell(nullptr, QMessageBox::Warning, QObject::tr("Database Error"), text);
}

// Qt 6 asks for these under a context that its own Chinese translation does
// not have yet (it still files them under QFileDialog); the program's
// translation carries them so that the file dialogs show no English word.
[[maybe_unused]] const char *const qtFolderText[2] =
    QT_TRANSLATE_NOOP3("QAbstractFileIconProvider", "Folder", "All other platforms");
[[maybe_unused]] const char *const qtTextsMissingFromQt[] = {
    QT_TRANSLATE_NOOP("QAbstractFileIconProvider", "Drive"),
    QT_TRANSLATE_NOOP("QAbstractFileIconProvider", "Unknown"),
};

QString loadLanguage(QTranslator &translator, const QString &translationDir, const QString &systemLocale,
                     QTranslator *qtTranslator)
{
    QString lang = SettingsRow::language().value_or(QString());
    if (lang == SettingsRow::none)
        lang = systemLocale;
    (void)translator.load(QStringLiteral("nimbrel_") + lang, translationDir);
    // Installed first, so that the program's own texts win wherever both know a text.
    if (qtTranslator && loadQtTranslation(*qtTranslator, translator, translationDir))
        QCoreApplication::installTranslator(qtTranslator);
    QCoreApplication::installTranslator(&translator);
    return lang;
}

void recordLanguage(const QString &lang)
{
    // Recorded only with the names written, so that a start that could not
    // write them leaves the rewrite to the next one.
    if (SettingsRow::lastLang().value_or(QString()) != lang && updateCardTypeNames())
        SettingsRow::setLastLang(lang);
}

QString inUseAtStart(const QString &error)
{
    return QObject::tr("The store is in use by another program:\n%1\n\n"
                       "Start Nimbrel again when that program has let go of it.")
        .arg(error);
}

// Asks what to do with a store the check found wanting; nothing has been
// written to it. True to go on: read-only for a damaged or incomplete store,
// with a new vault in an empty file.
bool goOnWith(const StoreCheck &check, const QString &path)
{
    const QString file = QDir::toNativeSeparators(path);
    if (check.verdict == StoreCheck::Verdict::EmptyFile) {
        return PlainText::tell(nullptr, QMessageBox::Warning, QObject::tr("Empty Store"),
                               QObject::tr("The store %1 is empty: it holds no cards, no settings and no "
                                           "password, perhaps because a copy or a crash cut it short. If you "
                                           "have a copy of it, quit and put the copy in its place.\n\n"
                                           "Start a new, empty vault in it?")
                                   .arg(file),
                               QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
            == QMessageBox::Yes;
    }
    const QString text = check.verdict == StoreCheck::Verdict::Damaged
        ? QObject::tr("The store %1 is damaged: some of what it holds cannot be read, and writing to it "
                      "could lose more.")
              .arg(file)
        : QObject::tr("The store %1 lacks its tables %2 while it holds other cards.").arg(file, check.detail);
    return PlainText::tell(nullptr, QMessageBox::Warning, QObject::tr("Damaged Store"),
                           text + QLatin1String("\n\n")
                               + QObject::tr("Nothing has been changed in it. Open it read-only, to read and "
                                             "export what is left? Otherwise Nimbrel quits and leaves the "
                                             "file as it is."),
                           QMessageBox::Open | QMessageBox::Close, QMessageBox::Close,
                           check.verdict == StoreCheck::Verdict::Damaged ? check.detail : QString())
        == QMessageBox::Open;
}

} // namespace

bool prepareStore(const QString &storeDir, const std::function<void()> &beforeQuestions)
{
    QString error;
    bool inUse = false;
    const bool wasEmpty = StoreCheck::isEmptyFile(storeFilePathIn(storeDir));
    if (!openStore(storeDir, &error, &inUse)) {
        showDatabaseError(inUse ? inUseAtStart(error) : error);
        return false;
    }
    const StoreCheck check = StoreCheck::run(wasEmpty);
    // A store that could not be checked is not written either: the start
    // ends as when the lock kept it from being opened.
    if (check.verdict == StoreCheck::Verdict::Unchecked) {
        closeStore();
        showDatabaseError(inUseAtStart(check.detail));
        return false;
    }
    if (check.verdict != StoreCheck::Verdict::Sound) {
        if (beforeQuestions)
            beforeQuestions();
        if (!goOnWith(check, storeFilePath())) {
            closeStore();
            return false;
        }
    }
    if (check.verdict == StoreCheck::Verdict::Damaged || check.verdict == StoreCheck::Verdict::Incomplete)
        setStoreReadOnly();
    else
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

QString applyLanguage(QTranslator &translator, const QString &translationDir, const QString &systemLocale,
                      QTranslator *qtTranslator)
{
    const QString lang = loadLanguage(translator, translationDir, systemLocale, qtTranslator);
    recordLanguage(lang);
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

int runVault(const QString &storeDir)
{
    const QString programDir = storeDir.isEmpty() ? QCoreApplication::applicationDirPath() : storeDir;
    UpdateLock updating(programDir);
    if (!updating.claim(0)) {
        PlainText::tell(nullptr, QMessageBox::Information, QObject::tr("Nimbrel"),
                        QObject::tr("An update of Nimbrel is being installed. The updater starts Nimbrel "
                                    "again when it is done; this copy ends."));
        return 0;
    }
    StoreLock lock(storeDir);
    const StoreLock::Claim claim = lock.claim();
    if (claim == StoreLock::Claim::HeldElsewhere) {
        PlainText::tell(nullptr, QMessageBox::Information, QObject::tr("Nimbrel"),
                        QObject::tr("The vault is already open in another copy of Nimbrel. "
                                    "Use that one; this copy ends without touching the store."));
        return 0;
    }
    if (claim == StoreLock::Claim::FolderNotWritable) {
        PlainText::tell(nullptr, QMessageBox::Warning, QObject::tr("Nimbrel"),
                        QObject::tr("The folder %1 cannot be written by this account, so the lock file %2 "
                                    "cannot be taken over. When no other copy of Nimbrel runs, it was left by a "
                                    "copy that ended: remove it with the rights of the folder's owner, or install "
                                    "Nimbrel in a folder of your own. This copy ends without touching the store.")
                            .arg(QDir::toNativeSeparators(QFileInfo(lock.path()).absolutePath()),
                                 QDir::toNativeSeparators(lock.path())));
        return 1;
    }
    // An update cut short by a crash is finished or undone before anything
    // of it is loaded; the program that runs may then be the other version.
    if (ReleaseInstall(programDir).recover()) {
        lock.release();
        updating.release();
        QProcess::startDetached(ProgramFiles::pathIn(programDir, ProgramFiles::vaultName()), QStringList());
        return 0;
    }
    updating.release();
    // Questions about the store come in the user's language: the
    // translation is loaded once the store has been read, before any write.
    QTranslator translator;
    QTranslator qtTranslator;
    std::optional<QString> lang;
    const auto translate = [&]() {
        if (!lang)
            lang = loadLanguage(translator, QCoreApplication::applicationDirPath(), QLocale::system().name(),
                                &qtTranslator);
    };
    if (!prepareStore(storeDir, translate))
        return 1;
    translate();
    recordLanguage(*lang);
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
    // The updater starts the vault again once it is done; the store is its by then.
    QObject::connect(&version, &Version::done, qApp, [&lock]() { lock.release(); });
    QObject::connect(&version, &Version::done, qApp, &QCoreApplication::quit);
    return QApplication::exec();
}

int vaultMain(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // The window manager's task list and switcher show it for every window.
    QGuiApplication::setWindowIcon(QIcon(QStringLiteral(":/menuicon/sc.png")));
    // Wayland finds the icon and name of the windows through the installed desktop entry.
    QGuiApplication::setDesktopFileName(QStringLiteral("nimbrel"));
    return runVault();
}
