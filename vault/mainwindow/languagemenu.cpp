// The "&Language" entries: the choice is stored now and takes effect at the next start.
#include "mainwindow/mainwindow.h"

#include "plaintext.h"
#include "widgets/qmenuex.h"
#include "store/settingsrow.h"

#include <QActionGroup>

void MainWindow::createLanguageEntries(QMenuEx *languageMenu)
{
    auto *languageGroup = new QActionGroup(this);
    auto entry = [&](const QString &text, const QString &toolTip, const QString &code) {
        auto *action = new QAction(text, this);
        action->setToolTip(toolTip);
        languageGroup->addAction(action);
        action->setCheckable(true);
        action->setData(code);
        return action;
    };
    QAction *english = entry(tr("English"), tr("switch langange to English"), QStringLiteral("en"));
    QAction *chinese =
        entry(tr("Chinese(Simplified)"), tr("switch language to simplified chinese"), QStringLiteral("zh_CN"));
    showStoredLanguage(languageGroup);
    languageMenu->addAction(english);
    languageMenu->addAction(chinese);
    connect(english, &QAction::triggered, this, &MainWindow::switchLanguage);
    connect(chinese, &QAction::triggered, this, &MainWindow::switchLanguage);
}

// The check mark shows what is stored, which after a refused write is the
// earlier choice, or none.
void MainWindow::showStoredLanguage(QActionGroup *languageGroup)
{
    const QString stored = SettingsRow::language().value_or(QString());
    for (QAction *action : languageGroup->actions()) {
        if (action->data().toString() == stored)
            return action->setChecked(true);
    }
    // An exclusive group keeps one entry checked; none is, for a language never stored.
    if (QAction *checked = languageGroup->checkedAction()) {
        languageGroup->setExclusionPolicy(QActionGroup::ExclusionPolicy::None);
        checked->setChecked(false);
        languageGroup->setExclusionPolicy(QActionGroup::ExclusionPolicy::Exclusive);
    }
}

void MainWindow::switchLanguage()
{
    auto *entry = qobject_cast<QAction *>(sender());
    if (!entry)
        return;
    const QString code = entry->data().toString();
    QString error;
    QString detail;
    if (!SettingsRow::setLanguage(code, &error, &detail)) {
        showStoredLanguage(entry->actionGroup());
        PlainText::tell(this, QMessageBox::Warning, tr("Switch language"),
                        tr("The language could not be stored. %1").arg(error), QMessageBox::Ok, QMessageBox::NoButton,
                        detail);
        return;
    }
    if (SettingsRow::lastLang().value_or(QString()) != code) {
        PlainText::tell(this, QMessageBox::Information, tr("Switch language"),
                        tr("Switch language to %1, available after restart application.").arg(entry->text()));
    }
}
