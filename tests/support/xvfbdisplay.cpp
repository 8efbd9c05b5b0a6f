#include "xvfbdisplay.h"

#include <QByteArray>

#ifdef Q_OS_UNIX
#include <csignal>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

XvfbDisplay::XvfbDisplay()
{
    // Without a display Qt runs offscreen, where the tests that need one skip.
    qputenv("QT_QPA_PLATFORM", "offscreen");
#ifdef Q_OS_UNIX
    int fds[2] = {-1, -1};
    const pid_t child = pipe(fds) == 0 ? fork() : -1;
    if (child == 0) {
        dup2(open("/dev/null", O_WRONLY), 2);
        const QByteArray fd = QByteArray::number(fds[1]);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.constData(), "-screen", "0", "1024x768x24", "-nolisten", "tcp",
               static_cast<char *>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    // Xvfb writes the display number once it accepts clients.
    QByteArray number;
    char c;
    while (child > 0 && read(fds[0], &c, 1) == 1 && c != '\n')
        number += c;
    close(fds[0]);
    if (number.isEmpty()) {
        failure = QStringLiteral("Xvfb is missing or did not start (install xvfb)");
        if (child > 0)
            waitpid(child, nullptr, 0);
        return;
    }
    pid = child;
    qputenv("DISPLAY", ':' + number);
    qputenv("QT_QPA_PLATFORM", "xcb");
#else
    failure = QStringLiteral("Xvfb runs on X11 systems only");
#endif
}

XvfbDisplay::~XvfbDisplay()
{
#ifdef Q_OS_UNIX
    if (pid > 0) {
        kill(static_cast<pid_t>(pid), SIGTERM);
        waitpid(static_cast<pid_t>(pid), nullptr, 0);
    }
#endif
}
