// What the folder tree asks about a drive, by the path of its root ("C:\").
#pragma once

#include <stdint.h>

// The drive types the platform reports; the folder tree lists only these two.
const uint32_t DriveTypeRemovable = 2;
const uint32_t DriveTypeFixed = 3;

// The free space of a volume in the platform's own units.
struct VolumeFreeSpace {
  uint32_t SectorsPerCluster;
  uint32_t BytesPerSector;
  uint32_t FreeClusters;
};

class Drives {
protected:
  // Implementations are destroyed as what they are, never through this interface.
  ~Drives() = default;

public:
  // The platform's drive type: 0 unknown, 1 no such root, 2 removable, 3 fixed, 4 remote,
  // 5 CD-ROM, 6 RAM disk.
  virtual uint32_t TypeOf(const char *root) = 0;
  // False when the volume cannot be asked, as with a removable drive without a medium.
  virtual bool FreeSpace(const char *root, VolumeFreeSpace *space) = 0;
};
