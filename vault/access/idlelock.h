#ifndef IDLELOCK_H
#define IDLELOCK_H

#include <QObject>
#include <QTimer>

// Tells when the vault's windows have had no keyboard or mouse input for
// the chosen time, so that an unattended vault locks itself.
class IdleLock : public QObject
{
    Q_OBJECT

public:
    explicit IdleLock(QObject *parent = nullptr);

    // 0: never.
    void setMinutes(int minutes);
    int minutes() const { return chosenMinutes; }
    // Runs the timer again from now (after an unlock).
    void restart();
    void stop() { timer.stop(); }

    // The choices offered, in minutes; 0 is never.
    static const QList<int> &choices();
    static constexpr int defaultMinutes = 5;

    // Milliseconds per minute; tests shorten it.
    static int msPerMinute;

signals:
    void idle();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QTimer timer;
    int chosenMinutes = defaultMinutes;
};

#endif
