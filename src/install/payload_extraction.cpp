#include "install/payload_extraction.h"

#include "base/path_characters.h"
#include "install/payload_sums.h"
#include "platform/platform_errors.h"

const char *const PayloadFileNames[PayloadFileCount] = {"KWB.exe", "ijl15.dll", "KWB.hlp",
                                                        "KWB.cnt", "uninstall.exe"};
const char TemporaryArchiveName[] = "kwb.tmp";
const char TemporaryFileName[] = "kwb.new";
const LocalTime ProductFileTime = {2005, 1, 10, 8, 0, 0};
const LocalTime LibraryFileTime = {2000, 9, 15, 15, 51, 56};

int EditionResourceId(int edition) {
  return edition == 1 ? Edition42ResourceId : Edition311ResourceId;
}

namespace {

// The first four bytes of every compressed file; the record's length stands in their
// place inside the resource.
const char Magic[4] = {'S', 'Z', 'D', 'D'};
const uint32_t RecordLengthSize = 4;

// A system or Windows folder text shorter than this was not read.
const int ShortestFolderText = 2;

const char NoSpaceOnDiskMessage[] = "No space on disk";
const char InvalidPathMessage[] = "Invalid Path";
const char FileErrorMessage[] = "File Error";
const char DiskFullMessage[] = "Disk full\r\nCorrect and retry";
const char ErrorInInstallationMessage[] = "Error in installation";
const char ErrorCreatingFileMessage[] = "Error creating file";

// The message for a file that could not be created or truncated.
const char *CreationFailureMessage(uint32_t error) {
  if (error == ErrorDiskFull)
    return NoSpaceOnDiskMessage;
  if (error == ErrorBadPathname)
    return InvalidPathMessage;
  return FileErrorMessage;
}

// Writes size bytes with one call. Returns null on success, or the message for the
// failure: a full disk when the platform says so or wrote fewer bytes than asked
// without an error, a general failure for any other error.
const char *WriteBytes(Files &files, FileHandle file, const void *data, uint32_t size) {
  uint32_t written = 0;
  uint32_t error = files.Write(file, data, size, &written);
  if (error != 0)
    return error == ErrorHandleDiskFull || error == ErrorDiskFull ? DiskFullMessage
                                                                  : ErrorInInstallationMessage;
  return written < size ? DiskFullMessage : nullptr;
}

// Where the codec library goes, and whether the copy already there is kept.
struct LibraryPlacement {
  CString Folder;
  bool KeepExisting;
};

// True when the library at path can be opened and read and was last written no earlier
// than the installer's own copy, to the second.
bool IsExistingLibraryAsNew(const PayloadPlatform &platform, const CString &path) {
  OpenedFile existing(platform.FileSystem);
  if (existing.OpenForReading(path) != 0)
    return false;
  FileTimes times;
  if (!platform.FileSystem.ReadTimes(existing.Get(), &times))
    return false;
  FileTime installerCopy = 0;
  if (!platform.Clock.LocalTimeToFileTime(LibraryFileTime, &installerCopy))
    return false;
  // Our copy's time is a whole second, so comparing the times as they are compares the
  // seconds, with no 64-bit division.
  return times.LastWrite >= installerCopy;
}

LibraryPlacement SettleLibraryFolder(const PayloadPlatform &platform,
                                     const CString &installFolder) {
  CString folder = platform.Folders.SystemFolder();
  if (folder.GetLength() < ShortestFolderText)
    folder = platform.Folders.WindowsFolder();
  if (folder.GetLength() < ShortestFolderText)
    return LibraryPlacement{installFolder, false};
  // A drive root comes with its backslash; the file name brings its own.
  if (EndsWithBackslash(folder, platform.Characters))
    folder.Truncate(folder.GetLength() - 1);
  bool keep = IsExistingLibraryAsNew(
      platform, folder + "\\" + PayloadFileNames[LibraryFileIndex]);
  return LibraryPlacement{folder, keep};
}

// Creates path as a new file: whatever stands under that name (a file left by an earlier
// run, a link planted there) is removed first and never written through.
uint32_t CreateAfresh(const PayloadPlatform &platform, OpenedFile &file, const CString &path) {
  platform.FileSystem.Delete(path);
  return file.CreateNew(path);
}

// Writes one record, its magic restored, as the temporary archive. On a failure the
// message has been shown and a partly written archive removed.
bool WriteTemporaryArchive(const PayloadPlatform &platform, const CString &archivePath,
                           const PayloadRecord &record) {
  OpenedFile archive(platform.FileSystem);
  uint32_t error = CreateAfresh(platform, archive, archivePath);
  if (error != 0) {
    platform.Messages.Show(CreationFailureMessage(error));
    return false;
  }
  const char *failure = WriteBytes(platform.FileSystem, archive.Get(), Magic, sizeof Magic);
  if (!failure)
    failure = WriteBytes(platform.FileSystem, archive.Get(), record.Data, record.Length);
  if (failure) {
    archive.Close();
    platform.FileSystem.Delete(archivePath);
    platform.Messages.Show(failure);
    return false;
  }
  return true;
}

// Gives the closed file at path its fixed creation and last-write time, keeping the
// last-access time it has. Times that cannot be read, converted or applied are left as
// they are: the file itself is complete.
void StampFileTimes(const PayloadPlatform &platform, OpenedFile &file, const CString &path,
                    const LocalTime &stamp) {
  FileTimes times;
  bool timesRead = platform.FileSystem.ReadTimes(file.Get(), &times);
  file.Close();
  FileTime fileTime = 0;
  if (!timesRead || !platform.Clock.LocalTimeToFileTime(stamp, &fileTime))
    return;
  times.Creation = fileTime;
  times.LastWrite = fileTime;
  platform.FileSystem.SetTimes(path, times);
}

// Writes the expanded bytes as the installed file at path: complete and stamped under a
// temporary name in the same folder, then put in the place of the old file in one step,
// so that a failure at any point leaves the old file as it was. On a failure the message
// has been shown and the temporary file removed.
bool WriteInstalledFile(const PayloadPlatform &platform, const CString &folder,
                        const char *name, const uint8_t *bytes, uint32_t size,
                        const LocalTime &stamp) {
  const CString temporary = folder + "\\" + TemporaryFileName;
  const char *failure = ErrorCreatingFileMessage;
  OpenedFile file(platform.FileSystem);
  if (CreateAfresh(platform, file, temporary) == 0) {
    failure = WriteBytes(platform.FileSystem, file.Get(), bytes, size);
    if (!failure) {
      StampFileTimes(platform, file, temporary, stamp);
      if (platform.FileSystem.Replace(temporary, folder + "\\" + name) == 0)
        return true;
      failure = ErrorCreatingFileMessage;
    }
    file.Close();
    platform.FileSystem.Delete(temporary);
  }
  platform.Messages.Show(failure);
  return false;
}

} // namespace

bool ExtractPayload(const PayloadPlatform &platform, const CString &installFolder,
                    int edition) {
  AllocatedBlock buffer(platform.Memory, ExpansionBufferSize);
  ResourceBytes library = {nullptr, 0};
  ResourceBytes editionFiles = {nullptr, 0};
  ResourceBytes sums = {nullptr, 0};
  const int editionId = EditionResourceId(edition);
  if (!buffer || !platform.Resources.Find(LibraryResourceId, &library) ||
      !platform.Resources.Find(editionId, &editionFiles) ||
      !platform.Resources.Find(PayloadSumsResourceId, &sums)) {
    platform.Messages.Show(ErrorInInstallationMessage);
    return false;
  }

  LibraryPlacement placement = SettleLibraryFolder(platform, installFolder);
  CString archivePath = installFolder + "\\" + TemporaryArchiveName;
  // The library record is read afresh for its one file; the edition records are taken
  // one after the other.
  uint32_t editionCursor = 0;
  bool completed = true;
  for (int index = 0, editionIndex = 0; index < PayloadFileCount; ++index) {
    bool isLibrary = index == LibraryFileIndex;
    PayloadRecord record;
    if (!ReadPayloadRecord(isLibrary ? library : editionFiles, isLibrary ? 0 : editionCursor,
                    &record)) {
      platform.Messages.Show(ErrorInInstallationMessage);
      completed = false;
      break;
    }
    if (record.Length == 0)
      break;
    if (!WriteTemporaryArchive(platform, archivePath, record))
      return false;
    if (!isLibrary)
      editionCursor += RecordLengthSize + record.Length;

    int32_t expanded = platform.Expansion.ExpandFile(archivePath, buffer.Get(),
                                                     static_cast<int32_t>(ExpansionBufferSize));
    // The expansion library's result is checked against what was packed before a byte
    // of it is installed.
    const char *failure = nullptr;
    const uint8_t *sum = FindExpandedFileSum(sums, isLibrary ? LibraryResourceId : editionId,
                                             isLibrary ? 0 : editionIndex++);
    if (expanded <= 0)
      failure = ErrorInInstallationMessage;
    else if (!sum || ReadNumber(sum + 4) != static_cast<uint32_t>(expanded) ||
             ReadNumber(sum) != Crc32(buffer.Get(), static_cast<uint32_t>(expanded)))
      failure = DamagedSetupMessage;
    if (failure) {
      platform.Messages.Show(failure);
      completed = false;
      break;
    }

    // A library at least as new as ours stays untouched in its folder; our copy then
    // goes beside the product instead.
    const CString &folder =
        isLibrary && !placement.KeepExisting ? placement.Folder : installFolder;
    if (!WriteInstalledFile(platform, folder, PayloadFileNames[index], buffer.Get(),
                            static_cast<uint32_t>(expanded),
                            isLibrary ? LibraryFileTime : ProductFileTime)) {
      completed = false;
      break;
    }
  }
  // The archive is missing when the list ended before the first record; that is fine.
  platform.FileSystem.Delete(archivePath);
  return completed;
}
