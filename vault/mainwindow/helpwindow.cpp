// The help window: one page of rich text, created once and shown again.
#include "mainwindow/mainwindow.h"

#include <QTextEdit>

void MainWindow::helpWindow()
{
    if (!helpView) {
        helpView = new QTextEdit(this);
        helpView->setReadOnly(true);
        helpView->setWindowFlags(Qt::Dialog);
        helpView->setGeometry(geometry().adjusted(40, 40, -40, -40));
        helpView->setWindowIcon(QIcon(QStringLiteral(":/menuicon/help.png")));
        helpView->setWindowTitle(tr("Help"));
        helpView->setText(tr(
            "<p align='center'><b>Help</b></p>"
            "<b>Main view:</b> <ul> <li>Press button <font color=blue>Add</font> to add a new card, and press button "
            "<font color=blue>Open</font> to open current indexical card.</li>"
            " <li>Double click <font color=blue>Category</font> column to select category which can edit at <font "
            "color=blue>Edit Category</font> dialog.</li>"
            " <li>Double click <font color=blue>Type</font> column to select card type, these type contain email "
            "account, password, address, conatact and so on.</li>"
            "<li>Press <font color=blue>Close</font> button can close application and save all cards changed and "
            "added.</li>"
            " </ul><b>Category menu:</b> <ul> <li><font color=blue>Edit:</font> open <font color=blue>Edit "
            "Category</font> dialog to edit card category.</li>"
            "<li><font color=blue>All:</font> display all cards in main view.</li>"
            " </ul><b>Card menu:</b> <ul> <li><font color=blue>Open:</font> open current indexical card in a popup "
            "dialog.</li>"
            "<li><font color=blue>Add:</font> add a new card.</li>"
            " <li><font color=blue>Delete:</font> delete a card which is current indexical, application will popup a "
            "dialog to query you if delete or not.</li>"
            " </ul><b>Options menu:</b> <ul> <li><font color=blue>Set Password:</font> pop up <font color=blue>Set "
            "Password</font> dialog, you must type old password, and input new password and type again to confirm "
            "it.</li>"
            "<li><font color=blue>Language:</font> select a language, contain English and Simple chinese in this "
            "application, if switch to another language, that language will available after restart application.</li>"
            " </ul><b>Edit Category dialog:</b> <ul> <li>Press button <font color=blue>Add</font> to add a new "
            "category, after typed category name, must press <font color=red>Enter</font> to submit.</li>"
            "<li>Press button <font color=blue>Delete</font> to delete a category, if any cards associated with this "
            "category, this category cannot delete.</li>"
            "<li>Double click category name to modify it, must press <font color=red>Enter</font> to submit after "
            "modified.</li>"
            " </ul><b>Card dialog:</b> <ul> <li>Press <font color=blue>Add Line</font> button to add a new line, press "
            "<font color=blue>Close</font> button to close dialog and save all data changed and added and deleted.</li>"
            "<li><font color=blue>Menu:</font></li>"
            " <ul><li><font color=blue>Copy:</font> copy current indexical unit's data to clipboard.</li>"
            "<li><font color=blue>Paste:</font> paste clipboard's data to current indexical unit.</li>"
            "<li><font color=blue>Add Line:</font> add a new line.</li>"
            "<li><font color=blue>Delete Line:</font> delete a line.</li>"
            "<li><font color=blue>Close:</font> close dialog and save all data changed and added and "
            "deleted.</li></ul> </ul>"));
    }
    helpView->setVisible(true);
}
