#ifndef CATEGORYFORM_H
#define CATEGORYFORM_H

#include <QDialog>

class MainWindow;

// The category editor: adds, renames and deletes categories.
class CategoryForm : public QDialog
{
    Q_OBJECT

public:
    explicit CategoryForm(MainWindow *parent);

private:
    MainWindow *mainWindow = nullptr;
};

#endif
