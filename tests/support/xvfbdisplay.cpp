#include "xvfbdisplay.h"

XvfbDisplay::XvfbDisplay()
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
