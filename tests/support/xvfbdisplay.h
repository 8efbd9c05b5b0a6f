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
    XvfbDisplay()
    {
        // Without a display Qt runs offscreen, where the tests that need one skip.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        // Xvfb writes the display number to its output once it accepts clients.
        xvfb.setStandardErrorFile(QProcess::nullDevice());
        xvfb.start(QStringLiteral("Xvfb"), {"-displayfd", "1", "-screen", "0", "1024x768x24", "-nolisten", "tcp"});
        QByteArray number;
        while (!number.endsWith('\n') && xvfb.waitForReadyRead(10000))
            number += xvfb.readAllStandardOutput();
        if (number.trimmed().isEmpty()) {
            failure = QStringLiteral("Xvfb is missing or did not start (install xvfb)");
            xvfb.kill();
            xvfb.waitForFinished();
            return;
        }
        qputenv("DISPLAY", ':' + number.trimmed());
        qputenv("QT_QPA_PLATFORM", "xcb");
    }
    // Ended by a signal it can clean up after.
    ~XvfbDisplay() { xvfb.terminate(), xvfb.waitForFinished(); }

    bool isRunning() const { return failure.isEmpty(); }
    // Why there is no display, for the skip message.
    QString failure;

private:
    QProcess xvfb;
};

#endif
