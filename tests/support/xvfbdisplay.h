#ifndef XVFBDISPLAY_H
#define XVFBDISPLAY_H

#include <QProcess>

// A real X display for the cases the offscreen platform cannot show: there
// windows never take the focus, so a table never makes its first cell current.
// Made before the QApplication: starts Xvfb on a free display and points Qt's
// xcb platform at it, for the life of the object; without Xvfb, Qt runs offscreen.
class XvfbDisplay
{
public:
    XvfbDisplay();
    // Ended by a signal it can clean up after.
    ~XvfbDisplay() { xvfb.terminate(), xvfb.waitForFinished(); }

    bool isRunning() const { return failure.isEmpty(); }
    // Why there is no display, for the skip message.
    QString failure;

private:
    QProcess xvfb;
};

#endif
