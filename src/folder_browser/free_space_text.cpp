#include "folder_browser/free_space_text.h"

namespace {

const uint64_t KilobytesShownInMegabytes = 8192;
const uint64_t KilobytesTooLargeToShow = 0xFFFF0000u;

void AppendNumber(CString &text, uint64_t number) {
  char digits[24];
  int count = 0;
  do {
    digits[count++] = static_cast<char>('0' + number % 10);
    number /= 10;
  } while (number);
  while (count)
    text += digits[--count];
}

} // namespace

CString FreeSpaceText(const CString &path, Drives &drives) {
  const CString root = path.Left(3);
  VolumeFreeSpace space;
  if (!drives.FreeSpace(root, &space))
    return CString();
  const uint64_t clusterBytes = uint64_t(space.SectorsPerCluster) * space.BytesPerSector;
  // A volume whose free bytes do not even fit in 64 bits is far beyond the largest size
  // shown.
  if (space.FreeClusters && clusterBytes > UINT64_MAX / space.FreeClusters)
    return CString();
  const uint64_t kilobytes = clusterBytes * space.FreeClusters / 1024;
  if (kilobytes >= KilobytesTooLargeToShow)
    return CString();
  CString text;
  if (kilobytes < KilobytesShownInMegabytes) {
    AppendNumber(text, kilobytes);
    text += "KB free";
  } else {
    AppendNumber(text, kilobytes / 1024);
    text += "MB free";
  }
  return text;
}
