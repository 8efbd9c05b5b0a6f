#ifndef CATEGORYFORM_H
#define CATEGORYFORM_H

#include <QDialog>
#include <QPersistentModelIndex>
#include <QSqlError>

class CategoryActions;
class QModelIndex;
class QPushButton;
class QSqlRecord;
class QTableView;
class StoreTableModel;

// The category editor: adds, renames and deletes categories, and keeps the
// main window's category menu in step with what the store holds.
class CategoryForm : public QDialog
{
    Q_OBJECT

public:
    // The menu is kept in step with every category stored, renamed or deleted.
    CategoryForm(QWidget *parent, CategoryActions *categoryMenu);

    // Why the categories could not be read (valid only then); the editor is
    // then not to be shown.
    QSqlError readError() const { return openError; }

public slots:
    // Every way of closing writes what was typed first.
    void accept() override;
    void reject() override;

protected:
    void resizeEvent(QResizeEvent *event) override;

private slots:
    void addCategory();
    void deleteCategory();
    void beforeInsertCategory(QSqlRecord &record);
    void CategorydataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight);
    void CategoryrowsInserted(const QModelIndex &parent, int start, int end);

private:
    void createModel();
    void createView();
    void createButtons();
    void createLayout();
    void submitLeftRow(const QModelIndex &current, const QModelIndex &previous);
    bool isNewRow(int row) const;
    void reportFailedSubmit();
    void refuseDeletion(const QString &text);
    bool writeOnClose();

    StoreTableModel *model = nullptr;
    QTableView *view = nullptr;
    QPushButton *addButton = nullptr;
    QPushButton *deleteButton = nullptr;
    QPushButton *closeButton = nullptr;
    CategoryActions *mainWindow = nullptr;
    // The row added by "&Add" until it has been stored and read back; it has
    // no menu entry yet and, while pending, nothing to count or delete.
    QPersistentModelIndex newRow;
    bool removingRows = false;
    // A close that failed to write: the next one asks before losing it.
    bool closeRefused = false;
    QSqlError openError;
};

#endif
