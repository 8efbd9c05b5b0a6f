#ifndef OPENMAINWINDOW_H
#define OPENMAINWINDOW_H

class MainWindow;

// Creates the main window without parent over the middle half of the primary
// screen (left w/4, top h/4, w/2 by h/2) and shows it. The start-up sequence
// hands it to the gate, which calls it once the password has been given.
MainWindow *openMainWindow();

#endif
