#include "cardeditor/clipboardguard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

ClipboardGuard *ClipboardGuard::instance()
{
    static QPointer<ClipboardGuard> guard;
    if (!guard)
        guard = new ClipboardGuard(QCoreApplication::instance());
    return guard;
}

ClipboardGuard::ClipboardGuard(QObject *parent)
    : QObject(parent)
{
    timer.setSingleShot(true);
    timer.setInterval(clearDelayMs);
    connect(&timer, &QTimer::timeout, this, &ClipboardGuard::clearCopy);
    // Still owned by the program at its end, the secret would be handed to a
    // clipboard manager to keep.
    connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this, &ClipboardGuard::clearCopy);
}

void ClipboardGuard::copy(const QString &text)
{
    auto *data = new QMimeData;
    data->setText(text);
#ifdef Q_OS_WIN
    data->setData(
        QStringLiteral("application/x-qt-windows-mime;value=\"ExcludeClipboardContentFromMonitorProcessing\""),
        QByteArray(4, '\0'));
#else
    data->setData(QStringLiteral("x-kde-passwordManagerHint"), QByteArrayLiteral("secret"));
#endif
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->setMimeData(data, QClipboard::Clipboard);
    // What the platform gives back while the program owns the clipboard.
    placed = clipboard->mimeData(QClipboard::Clipboard);
    placedText = text;
    timer.start();
}

void ClipboardGuard::clearCopy()
{
    timer.stop();
    QClipboard *clipboard = QGuiApplication::clipboard();
    // Another copy replaces the data object, even one of the same text.
    if (placed && clipboard->mimeData(QClipboard::Clipboard) == placed
        && clipboard->text(QClipboard::Clipboard) == placedText)
        clipboard->clear(QClipboard::Clipboard);
    placed = nullptr;
    placedText.clear();
}
