#ifndef CLIPBOARDGUARD_H
#define CLIPBOARDGUARD_H

#include <QObject>
#include <QPointer>
#include <QTimer>

class QMimeData;

// Puts a secret on the clipboard marked so that clipboard managers keep no
// copy of it, and takes it off again after a while and when the program
// ends, unless something else has been copied since.
class ClipboardGuard : public QObject
{
    Q_OBJECT

public:
    // The program's one guard.
    static ClipboardGuard *instance();

    void copy(const QString &text);

    // How long a copy stays on the clipboard.
    static constexpr int clearDelayMs = 30000;

public slots:
    // Empties the clipboard when it still holds exactly what copy() put there.
    void clearCopy();

private:
    explicit ClipboardGuard(QObject *parent);

    QTimer timer {this};
    QPointer<const QMimeData> placed;
    QString placedText;
};

#endif
