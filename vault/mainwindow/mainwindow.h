#ifndef MAINWINDOW_H
#define MAINWINDOW_H

#include "category/categoryactions.h"

#include <QDialog>
#include <QPointer>

#include <functional>
#include <optional>

class CardForm;
class IdleLock;
class Login;
class FindBar;
class QAction;
class QActionGroup;
class QMenuBar;
class QMenuEx;
class QSqlRecord;
class QTableView;
class QTextEdit;
class StoreTableModel;
class TransferOutcome;
class myDelegate;

// The vault's one main window: the card table, its menus and buttons.
class MainWindow : public QDialog, public CategoryActions
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    // Category filter entries, kept in step by the category editor and the import.
    void addCategoryAction(int id, const QString &name) override;
    void renameCategoryAction(int id, const QString &name) override;
    void removeCategoryAction(int id) override;
    void clearCategoryActions() override;
    void loadCategoryActions() override;

    // The largest id of the table, 0 when it is empty.
    int getMaxId(const QString &table);

    // Writes what the user has typed and not yet saved: a visible card
    // editor's lines, then the card table's edits (an open cell editor
    // included). On failure the user has been told, the edits stay pending
    // and false is returned.
    bool savePendingEdits();

    // Whether the vault is locked: its windows hidden, the login shown.
    bool isLocked() const;

    // When set, asked for the file name of an export or import instead of
    // the file dialog; the caption tells which. Tests and benchmarks use it.
    std::function<QString(const QString &caption)> transferFileName;

public slots:
    void reject() override;

signals:
    void transOpenCard(int id, int type);
    void setProgressValue(int value);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private slots:
    void editCategory();
    void openCategory();
    void openAllCategory();
    void beforeInsertCard(QSqlRecord &record);
    void openCard();
    void addCard();
    void deleteCard();
    void switchLanguage();
    void setPassword();
    void encryptStore();
    void helpWindow();
    void aboutDialog();
    void exportCard();
    void importCard();
    void importCsv();
    void lockVault();
    void exportCsv();
    void openFind();
    void findCards(const QString &text);
    void closeFind();
    void showFirstMatch();
    void searchAllCategories();
    void fitColumns();

private:
    void createCategoryMenu(QMenuBar *menuBar);
    void createCardTable();
    void createCardMenu(QMenuBar *menuBar);
    void createOptionsMenu(QMenuBar *menuBar);
    void createLanguageEntries(QMenuEx *languageMenu);
    void showStoredLanguage(QActionGroup *languageGroup);
    void createLockEntries(QMenuEx *optionsMenu);
    void unlockVault();
    void createHelpMenu(QMenuBar *menuBar);
    void createFind();
    void createLayout(QMenuBar *menuBar);
    QAction *createCategoryEntry(int id, const QString &name);
    void removeCategoryEntry(QAction *entry);
    // Narrowed to the find's text, if any; false, told to the user, when the
    // store refused the read.
    bool applyCategoryFilter(int categoryId);
    // The card table's current row; false when there is no current cell.
    bool takeCurrentCard(QSqlRecord &record);
    void restoreShownEntry();
    // The encryption entry: checked and disabled once the store is encrypted.
    void showEncryption();
    // The filter is the store files' when none is given.
    QString chooseTransferFile(const QString &caption, bool forSaving, const QString &filter = QString());
    // Asks for the vault's password when one is set; false, told, when it is
    // not given or not the one.
    bool askVaultPassword(const QString &title);
    // Asks for the password of a store about to be imported; none when the
    // user cancels.
    std::optional<QString> askImportPassword();
    // Tells how an export or import of `fileName` ended, one box for each kind.
    void tellTransfer(const TransferOutcome &outcome, const QString &fileName);
    // Ends a find, once the pending edits are written: the table shows the
    // category's cards again.
    void leaveFind();
    void showFindCount();
    // The name of the category the table shows, null for all cards.
    QString shownCategoryName() const;

    QMenuEx *categoryMenu = nullptr;
    QMenuEx *cardMenu = nullptr;
    QActionGroup *categoryGroup = nullptr;
    StoreTableModel *cardModel = nullptr;
    QTableView *cardView = nullptr;
    // Draws the type and category names; kept in step with the category entries.
    myDelegate *cardDelegate = nullptr;
    CardForm *cardForm = nullptr;
    QTextEdit *helpView = nullptr;
    // "&All" belongs to categoryGroup too; it is recognised as itself, never by its data.
    QAction *allAction = nullptr;
    // The entry whose filter the card table shows; its check comes back when
    // a filter change is refused.
    QAction *shownEntry = nullptr;
    QAction *encryptAction = nullptr;
    FindBar *findBar = nullptr;
    IdleLock *idleLock = nullptr;
    // Shown while the vault is locked; made at the first lock.
    Login *unlockLogin = nullptr;
    QList<QPointer<QWidget>> lockedWindows;
    // The text the card table is narrowed to, empty when none.
    QString findText;
    // The category whose cards the table shows; -1 (all cards) as in the settings row.
    int shownCategory = -1;
};

#endif
