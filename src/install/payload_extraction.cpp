#include "install/payload_extraction.h"

#include "base/path_characters.h"
#include "install/payload_sums.h"
#include "platform/platform_errors.h"

const char *const PayloadFileNames[PayloadFileCount] = {"KWB.exe", "ijl15.dll", "KWB.hlp",
                                                        "KWB.cnt", "uninstall.exe"};
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
const char InUseMessage[] = " is in use\r\nClose the program that uses it and try again";

// The message for a file that could not be created.
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

// The system folder, else the Windows folder, else the install folder; a library there
// that was last written no earlier than the installer's own copy, to the second, is kept.
// A copy that cannot be opened or read counts as older.
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
  const CString path = PathIn(folder, PayloadFileNames[LibraryFileIndex]);
  OpenedFile existing(platform.FileSystem);
  FileTimes times;
  FileTime ours = 0;
  // All zeros when there is no library, or its time cannot be read.
  LocalTime shown = {0, 0, 0, 0, 0, 0};
  bool keep = false;
  if (existing.OpenForReading(path) == 0 && platform.FileSystem.ReadTimes(existing.Get(), &times)) {
    // Our copy's time is a whole second, so comparing the times as they are compares the
    // seconds, with no 64-bit division.
    keep = platform.Clock.LocalTimeToFileTime(LibraryFileTime, &ours) && times.LastWrite >= ours;
    platform.Clock.FileTimeToLocalTime(times.LastWrite, &shown);
  }
  const LocalTime &our = LibraryFileTime;
  platform.Record.Write("Library %s: last written %04u-%02u-%02u %02u:%02u:%02u, ours "
                        "%04u-%02u-%02u %02u:%02u:%02u, %s",
                        path.GetString(), shown.Year, shown.Month, shown.Day, shown.Hour,
                        shown.Minute, shown.Second, our.Year, our.Month, our.Day, our.Hour,
                        our.Minute, our.Second, keep ? "kept" : "replaced");
  return LibraryPlacement{static_cast<CString &&>(folder), keep};
}

// Creates a file under a temporary name in folder: the names come from the seed, and one
// that exists is skipped, never opened or removed. On success *path is the file's path;
// on a failure it is empty and the last error comes back.
uint32_t CreateTemporary(const PayloadPlatform &platform, uint32_t &seed, const CString &folder,
                         bool removesItself, CString *path, FileHandle *file) {
  uint32_t error = ErrorFileExists;
  for (int tries = 0; tries < TemporaryNameTries &&
                      (error == ErrorFileExists || error == ErrorAlreadyExists ||
                       error == ErrorAccessDenied);
       ++tries) {
    seed = seed * 1664525u + 1013904223u;
    *path = PathIn(folder, "kwb");
    AppendNumber(*path, seed >> 12, 5, 16);
    *path += ".tmp";
    error = removesItself ? platform.FileSystem.CreateSelfRemoving(*path, file)
                          : platform.FileSystem.CreateNew(*path, file);
  }
  if (error)
    *path = CString();
  return error;
}

// Expands one record into the buffer: written, its magic restored, as an archive under a
// temporary name in the install folder, expanded, and gone again on every way out.
// Returns the count expanded, or sets *failure to the message.
__attribute__((noinline)) int32_t ExpandRecord(const PayloadPlatform &platform, uint32_t &seed,
                     const CString &installFolder, const PayloadRecord &record,
                     uint8_t *buffer, const char **failure) {
  const bool removesItself = platform.ArchiveRemovesItself;
  CString path;
  OpenedFile archive(platform.FileSystem);
  const uint32_t error =
      CreateTemporary(platform, seed, installFolder, removesItself, &path, archive.Receive());
  if (error) {
    *failure = CreationFailureMessage(error);
    return 0;
  }
  *failure = WriteBytes(platform.FileSystem, archive.Get(), Magic, sizeof Magic);
  if (!*failure)
    *failure = WriteBytes(platform.FileSystem, archive.Get(), record.Data, record.Length);
  // An archive that removes itself is expanded through its handle, which the expansion
  // closes; any other is closed first, expanded by name and deleted.
  int32_t expanded = 0;
  const int32_t size = static_cast<int32_t>(ExpansionBufferSize);
  if (!*failure && removesItself)
    expanded = platform.Expansion.ExpandOpenFile(archive.Release(), buffer, size);
  archive.Close();
  if (!removesItself) {
    if (!*failure)
      expanded = platform.Expansion.ExpandFile(path, buffer, size);
    platform.FileSystem.Delete(path);
  }
  if (!*failure && expanded <= 0)
    *failure = ErrorInInstallationMessage;
  return expanded;
}

// Writes the expanded bytes whole under a temporary name in folder, with the fixed
// creation and last-write times (the last-access time stays the platform's; times that
// cannot be read or converted stay as they are). *path names the file whenever one was
// made. Returns null, or the message for the failure.
__attribute__((noinline)) const char *StageFile(const PayloadPlatform &platform, uint32_t &seed, const CString &folder,
                      const uint8_t *bytes, uint32_t size, const LocalTime &stamp,
                      CString *path) {
  OpenedFile file(platform.FileSystem);
  if (CreateTemporary(platform, seed, folder, false, path, file.Receive()) != 0)
    return ErrorCreatingFileMessage;
  const char *failure = WriteBytes(platform.FileSystem, file.Get(), bytes, size);
  FileTimes times;
  FileTime fileTime = 0;
  if (!failure && platform.FileSystem.ReadTimes(file.Get(), &times) &&
      platform.Clock.LocalTimeToFileTime(stamp, &fileTime)) {
    times.Creation = fileTime;
    times.LastWrite = fileTime;
    platform.FileSystem.SetTimes(file.Get(), times);
  }
  return failure;
}

// Puts the staged file in the place of destination. Where the system cannot replace in
// one step (the 95 family), the old file goes aside, the new one in, and the old one is
// deleted; if the new one cannot go in, the old one comes back.
__attribute__((noinline)) uint32_t Replace(Files &files, const CString &staged,
                                           const CString &destination) {
  uint32_t error = files.Move(staged, destination, true);
  if (error != ErrorCallNotImplemented)
    return error;
  const CString aside = staged + "~";
  const uint32_t setAside = files.Move(destination, aside, false);
  if (setAside != 0 && setAside != ErrorFileNotFound)
    return setAside;
  error = files.Move(staged, destination, false);
  if (setAside == 0) {
    if (error)
      files.Move(aside, destination, false);
    else
      files.Delete(aside);
  }
  return error;
}

} // namespace

InstallOutcome ExtractPayload(const PayloadPlatform &platform, const CString &installFolder,
                              int edition, uint32_t *installedBytes) {
  Files &files = platform.FileSystem;
  AllocatedBlock buffer(platform.Memory, ExpansionBufferSize);
  ResourceBytes library = {nullptr, 0};
  ResourceBytes editionFiles = {nullptr, 0};
  ResourceBytes sums = {nullptr, 0};
  const int editionId = EditionResourceId(edition);
  if (!buffer || !platform.Resources.Find(LibraryResourceId, &library) ||
      !platform.Resources.Find(editionId, &editionFiles) ||
      !platform.Resources.Find(PayloadSumsResourceId, &sums)) {
    platform.Messages.Show(ErrorInInstallationMessage);
    return InstallFilesFailed;
  }

  const LibraryPlacement placement = SettleLibraryFolder(platform, installFolder);
  // A library at least as new as ours stays the one that is used: no copy of ours goes
  // anywhere, least of all beside the product, where it would be loaded first.
  const bool skipLibrary = placement.KeepExisting;
  auto destination = [&](int index) {
    return PathIn(index == LibraryFileIndex ? placement.Folder : installFolder,
                  PayloadFileNames[index]);
  };
  // A file that cannot be written in place is not replaced: the user is told before
  // anything is written. Another program may hold it open (a running KWB.exe), and the
  // message says which; a read-only one cannot be written at all. Windows would refuse
  // to move a file over either, but not every implementation of the call does.
  for (int index = 0; index < PayloadFileCount; ++index) {
    if (index == LibraryFileIndex && skipLibrary)
      continue;
    const uint32_t error = files.ProbeWriting(destination(index));
    if (error == ErrorSharingViolation) {
      CString text = PayloadFileNames[index];
      text += InUseMessage;
      platform.Messages.Show(text);
      return InstallFileInUse;
    }
    if (error != 0 && error != ErrorFileNotFound) {
      platform.Messages.Show(ErrorCreatingFileMessage);
      return InstallFilesFailed;
    }
  }

  // Every file is staged whole in its folder before the first one is moved into place.
  CString staged[PayloadFileCount];
  const uint8_t *fileSums[PayloadFileCount] = {};
  uint32_t seed = files.NameSeed();
  const char *failure = nullptr;
  InstallOutcome outcome = InstallFilesFailed;
  uint32_t editionCursor = 0;
  for (int index = 0, editionIndex = 0; index < PayloadFileCount && !failure; ++index) {
    const bool isLibrary = index == LibraryFileIndex;
    PayloadRecord record;
    if (!ReadPayloadRecord(isLibrary ? library : editionFiles, isLibrary ? 0 : editionCursor,
                           &record)) {
      failure = ErrorInInstallationMessage;
      break;
    }
    if (record.Length == 0)
      break;
    if (!isLibrary)
      editionCursor += RecordLengthSize + record.Length;
    const uint8_t *sum = FindExpandedFileSum(sums, isLibrary ? LibraryResourceId : editionId,
                                             isLibrary ? 0 : editionIndex++);
    fileSums[index] = sum;
    if (isLibrary && skipLibrary)
      continue;
    const int32_t expanded =
        ExpandRecord(platform, seed, installFolder, record, buffer.Get(), &failure);
    if (failure)
      break;
    // What the expansion library gives is checked against what was packed before a byte
    // of it is written.
    if (!sum || ReadNumber(sum + 4) != static_cast<uint32_t>(expanded) ||
        ReadNumber(sum) != Crc32(buffer.Get(), static_cast<uint32_t>(expanded))) {
      failure = DamagedSetupMessage;
      outcome = InstallDamaged;
      break;
    }
    failure = StageFile(platform, seed, isLibrary ? placement.Folder : installFolder,
                        buffer.Get(), static_cast<uint32_t>(expanded),
                        isLibrary ? LibraryFileTime : ProductFileTime, &staged[index]);
  }

  for (int index = 0; index < PayloadFileCount && !failure; ++index) {
    const uint8_t *sum = fileSums[index];
    if (!sum)
      continue;
    if (!staged[index].IsEmpty()) {
      const CString path = destination(index);
      if (Replace(files, staged[index], path) != 0) {
        failure = ErrorCreatingFileMessage;
        break;
      }
      staged[index].Truncate(0);
      platform.Record.Write("File %s: %u bytes, CRC-32 %08X checked", path.GetString(),
                            ReadNumber(sum + 4), ReadNumber(sum));
    }
    *installedBytes += ReadNumber(sum + 4);
  }
  if (!failure)
    return InstallCompleted;
  // What the run made goes before the user is told, so that nothing of it stays behind
  // however the run ends while the message is up.
  for (int index = 0; index < PayloadFileCount; ++index)
    if (!staged[index].IsEmpty())
      files.Delete(staged[index]);
  platform.Messages.Show(failure);
  return outcome;
}
