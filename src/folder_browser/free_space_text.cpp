#include "folder_browser/free_space_text.h"

namespace {

const uint64_t KilobytesShownInMegabytes = 8192;
const uint64_t KilobytesTooLargeToShow = 0xFFFF0000u;

} // namespace

CString FreeSpaceText(const CString &path, Drives &drives) {
  const CString root = path.Left(3);
  VolumeFreeSpace space;
  if (!drives.FreeSpace(root, &space))
    return CString();
  const uint64_t clusterBytes = uint64_t(space.SectorsPerCluster) * space.BytesPerSector;
  // The free bytes as the two 32-bit halves of the cluster size, each times the count, so
  // that no 64-bit division is needed; a volume whose free bytes do not even fit in 64
  // bits is far beyond the largest size shown.
  const uint64_t low = (clusterBytes & 0xFFFFFFFFu) * space.FreeClusters;
  const uint64_t high = (clusterBytes >> 32) * space.FreeClusters + (low >> 32);
  if (high >> 32)
    return CString();
  const uint64_t kilobytes = (high << 32 | (low & 0xFFFFFFFFu)) >> 10;
  if (kilobytes >= KilobytesTooLargeToShow)
    return CString();
  CString text;
  if (kilobytes < KilobytesShownInMegabytes) {
    AppendNumber(text, static_cast<uint32_t>(kilobytes));
    text += "KB free";
  } else {
    AppendNumber(text, static_cast<uint32_t>(kilobytes / 1024));
    text += "MB free";
  }
  return text;
}
