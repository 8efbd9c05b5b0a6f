#ifndef CATEGORYFORM_H
#define CATEGORYFORM_H

#include <QDialog>
#include <optional>

class MainWindow;
class QModelIndex;
class QPushButton;
class QSqlRecord;
class QSqlTableModel;
class QTableView;

// The category editor: adds, renames and deletes categories, and keeps the
// main window's category menu in step with what the store holds.
class CategoryForm : public QDialog
{
    Q_OBJECT

public:
    explicit CategoryForm(MainWindow *parent);

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
    void reportFailedSubmit();
    void refuseDeletion(const QString &text);

    QSqlTableModel *model = nullptr;
    QTableView *view = nullptr;
    QPushButton *addButton = nullptr;
    QPushButton *deleteButton = nullptr;
    QPushButton *closeButton = nullptr;
    MainWindow *mainWindow = nullptr;
    // The id given to the row whose INSERT is under way; its menu entry is
    // added once the row is read back from the store.
    std::optional<int> insertingId;
};

#endif
