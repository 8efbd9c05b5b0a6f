#ifndef OPENMAINWINDOW_H
#define OPENMAINWINDOW_H

class MainWindow;

// Creates the main window without parent over the middle half of the primary
// screen (left w/4, top h/4, w/2 by h/2) and shows it. Both gate dialogs end
// in this.
MainWindow *openMainWindow();

#endif
