// The free-space text that the folder browser shows below its tree.
#pragma once

#include "base/cstring.h"
#include "platform/drives.h"

// The free space of the drive of path (its first three characters, "C:\"): "NKB free"
// below 8192 KB, "NMB free" from there on (whole megabytes, rounded down), and an empty
// text from 0xFFFF0000 KB on or when the drive cannot be asked. The kilobytes are the
// free bytes divided by 1024, worked out in 64 bits, so that volumes with clusters
// smaller than a kilobyte (floppy disks) show what they hold.
CString FreeSpaceText(const CString &path, Drives &drives);
