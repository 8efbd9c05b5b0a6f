#ifndef BUSYWORK_H
#define BUSYWORK_H

#include <functional>

class QWidget;

// Work that takes most of a second or more (Argon2id deriving a key) runs on
// a worker thread while the event loop goes on, so that the windows keep
// painting. Meanwhile `window` is disabled under a busy cursor: no key or
// click reaches it, and a second submit cannot start. Returns once the work
// is done; the window may have been closed meanwhile. The work must not touch
// the store or any widget: both belong to the window's thread.
namespace BusyWork {

void run(QWidget *window, const std::function<void()> &work);

} // namespace BusyWork

#endif
