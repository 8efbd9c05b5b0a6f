#include "category/categoryform.h"

#include "mainwindow/mainwindow.h"

CategoryForm::CategoryForm(MainWindow *parent)
    : QDialog(parent)
    , mainWindow(parent)
{
    setWindowTitle(tr("Edit Category"));
}
