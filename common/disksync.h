#ifndef DISKSYNC_H
#define DISKSYNC_H

#include <QString>

class QFileDevice;

// Brings what was written to the disk itself, so that a crash or a power cut
// after a rename never finds the new name over contents that were lost.
namespace DiskSync {

// Flushes an open file and waits for its contents to reach the disk.
bool syncFile(QFileDevice &file);
// Waits for the renames and removals in dir to reach the disk (POSIX; on
// Windows each rename is written through by itself).
void syncDir(const QString &dir);

} // namespace DiskSync

#endif
