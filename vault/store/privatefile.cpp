#include "store/privatefile.h"

#include <QFile>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace PrivateFile {

OwnerOnly::OwnerOnly()
{
#ifdef Q_OS_UNIX
    savedMask = umask(077);
#endif
}

OwnerOnly::~OwnerOnly()
{
#ifdef Q_OS_UNIX
    umask(savedMask);
#endif
}

void restrictToOwner(const QString &path)
{
#ifdef Q_OS_UNIX
    const QFile::Permissions others =
        QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
    const QFile::Permissions current = QFile::permissions(path);
    if (current & others)
        QFile::setPermissions(path, current & ~others);
#else
    Q_UNUSED(path);
#endif
}

} // namespace PrivateFile
