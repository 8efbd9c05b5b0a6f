#ifndef PRIVATEFILE_H
#define PRIVATEFILE_H

#include <QString>

// Files of the user's that no other account may read: the store, its lock
// file and exports. On POSIX they are made with mode 0600; elsewhere the
// user's own folder already keeps others out.
namespace PrivateFile {

// Files created while the object lives get no permission for group or
// others (the process's umask is narrowed, then put back).
class OwnerOnly
{
public:
    OwnerOnly();
    ~OwnerOnly();
    OwnerOnly(const OwnerOnly &) = delete;
    OwnerOnly &operator=(const OwnerOnly &) = delete;

private:
    unsigned int savedMask = 0;
};

// Takes group's and others' permissions away from an existing file; never
// gives any. Quietly does nothing where the file system keeps no modes.
void restrictToOwner(const QString &path);

} // namespace PrivateFile

#endif
