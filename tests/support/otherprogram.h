#ifndef OTHERPROGRAM_H
#define OTHERPROGRAM_H

#include <QString>

// Another program on a store file: a connection of its own that never waits
// for a lock. With `begin` ("BEGIN IMMEDIATE", "BEGIN EXCLUSIVE") it holds
// that lock from the start until release() or its end.
class OtherProgram
{
public:
    explicit OtherProgram(const QString &filePath, const QString &begin = QString());
    ~OtherProgram();

    OtherProgram(const OtherProgram &) = delete;
    OtherProgram &operator=(const OtherProgram &) = delete;

    // Runs the statement; false with the driver's text in `error`.
    bool exec(const QString &sql);
    void release();

    QString error;

private:
    const QString name;
};

#endif
