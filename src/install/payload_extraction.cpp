#include "install/payload_extraction.h"

#include "base/path_characters.h"
#include "platform/platform_errors.h"

const char *const PayloadFileNames[PayloadFileCount] = {"KWB.exe", "ijl15.dll", "KWB.hlp",
                                                        "KWB.cnt", "uninstall.exe"};
const char TemporaryArchiveName[] = "kwb.tmp";
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

struct Record {
  const uint8_t *Data;
  uint32_t Length;
};

// Reads the record that starts at offset. Returns false when its length field, or the
// data the field announces, would run past the end of the resource: the resource is
// damaged, and nothing beyond its end may be read.
bool ReadRecord(const ResourceBytes &resource, uint32_t offset, Record *record) {
  if (resource.Size < RecordLengthSize || offset > resource.Size - RecordLengthSize)
    return false;
  const uint8_t *field = resource.Data + offset;
  uint32_t length = static_cast<uint32_t>(field[0]) | static_cast<uint32_t>(field[1]) << 8 |
                    static_cast<uint32_t>(field[2]) << 16 |
                    static_cast<uint32_t>(field[3]) << 24;
  if (length > resource.Size - offset - RecordLengthSize)
    return false;
  record->Data = field + RecordLengthSize;
  record->Length = length;
  return true;
}

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
  return times.LastWrite / FileTimeTicksPerSecond >= installerCopy / FileTimeTicksPerSecond;
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

// Writes one record, its magic restored, as the temporary archive. On a failure the
// message has been shown and a partly written archive removed.
bool WriteTemporaryArchive(const PayloadPlatform &platform, const CString &archivePath,
                           const Record &record) {
  OpenedFile archive(platform.FileSystem);
  uint32_t error = archive.CreateForWriting(archivePath);
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

// Writes the expanded bytes as the installed file at path and stamps its times. On a
// failure the message has been shown; after a failed write the temporary archive is
// removed, while the partly written file stays.
bool WriteInstalledFile(const PayloadPlatform &platform, const CString &path,
                        const uint8_t *bytes, uint32_t size, const CString &archivePath,
                        const LocalTime &stamp) {
  OpenedFile file(platform.FileSystem);
  if (file.CreateForWriting(path) != 0) {
    platform.Messages.Show(ErrorCreatingFileMessage);
    return false;
  }
  if (const char *failure = WriteBytes(platform.FileSystem, file.Get(), bytes, size)) {
    platform.FileSystem.Delete(archivePath);
    file.Close();
    platform.Messages.Show(failure);
    return false;
  }
  StampFileTimes(platform, file, path, stamp);
  return true;
}

} // namespace

bool ExtractPayload(const PayloadPlatform &platform, const CString &installFolder,
                    int edition) {
  AllocatedBlock buffer(platform.Memory, ExpansionBufferSize);
  ResourceBytes library = {nullptr, 0};
  ResourceBytes editionFiles = {nullptr, 0};
  if (!buffer || !platform.Resources.Find(LibraryResourceId, &library) ||
      !platform.Resources.Find(EditionResourceId(edition), &editionFiles)) {
    platform.Messages.Show(ErrorInInstallationMessage);
    return false;
  }

  LibraryPlacement placement = SettleLibraryFolder(platform, installFolder);
  CString archivePath = installFolder + "\\" + TemporaryArchiveName;
  // The library record is read afresh for its one file; the edition records are taken
  // one after the other.
  uint32_t editionCursor = 0;
  for (int index = 0; index < PayloadFileCount; ++index) {
    bool isLibrary = index == LibraryFileIndex;
    Record record;
    if (!ReadRecord(isLibrary ? library : editionFiles, isLibrary ? 0 : editionCursor,
                    &record)) {
      platform.Messages.Show(ErrorInInstallationMessage);
      return false;
    }
    if (record.Length == 0)
      break;
    if (!WriteTemporaryArchive(platform, archivePath, record))
      return false;
    if (!isLibrary)
      editionCursor += RecordLengthSize + record.Length;

    int32_t expanded = platform.Expansion.ExpandFile(archivePath, buffer.Get(),
                                                     static_cast<int32_t>(ExpansionBufferSize));
    if (expanded <= 0) {
      platform.Messages.Show(ErrorInInstallationMessage);
      return false;
    }

    // A library at least as new as ours stays untouched in its folder; our copy then
    // goes beside the product instead.
    const CString &folder =
        isLibrary && !placement.KeepExisting ? placement.Folder : installFolder;
    if (!WriteInstalledFile(platform, folder + "\\" + PayloadFileNames[index], buffer.Get(),
                            static_cast<uint32_t>(expanded), archivePath,
                            isLibrary ? LibraryFileTime : ProductFileTime))
      return false;
  }
  // The archive is missing when the list ended before the first record; that is fine.
  platform.FileSystem.Delete(archivePath);
  return true;
}
