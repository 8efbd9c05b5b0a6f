#ifndef GATE_H
#define GATE_H

#include <functional>

class QWidget;

// What lies behind the password gate. The gate dialogs know no main window:
// the start-up sequence hands them the one way to open it.
namespace Gate {

using Opener = std::function<QWidget *()>;

void setMainWindowOpener(Opener opener);

// Opens what lies behind the gate; null when no opener was set.
QWidget *openMainWindow();

} // namespace Gate

#endif
