// The product's files, carried compressed in three data resources of the installer,
// expanded into the install folder (and the codec library into the system folder).
//
// A resource is a run of records closed by a 32-bit zero: each record is a 32-bit
// little-endian count N and N bytes, which are a compressed file in the SZDD format
// without its first four bytes, the letters "SZDD", whose place the count takes.
#pragma once

#include "base/cstring.h"
#include "base/code_page.h"
#include "platform/files.h"
#include "platform/log.h"
#include "platform/lz_expansion.h"
#include "platform/memory_blocks.h"
#include "platform/message_display.h"
#include "platform/payload_resources.h"
#include "platform/system_folders.h"
#include "platform/time_zone.h"
#include "resource_ids.h"

#include <stdint.h>

// The resource that holds ijl15.dll for both editions, and the two edition resources
// with the other four files.
const int LibraryResourceId = IDR_LIBRARY_PAYLOAD;
const int Edition311ResourceId = IDR_EDITION_311_PAYLOAD;
const int Edition42ResourceId = IDR_EDITION_42_PAYLOAD;

// The edition resource for the Setup dialog's edition: 131 for 1 (version 4.2), 130 for
// anything else (in practice 0, version 3.1.1).
int EditionResourceId(int edition);

// The installed files in the order their records are taken. Index 1, the codec library,
// comes from the library resource; the others from the edition resource, one record
// after the other.
const int PayloadFileCount = 5;
const int LibraryFileIndex = 1;
extern const char *const PayloadFileNames[PayloadFileCount];

// The compressed copy of one record is written into the install folder and expanded from
// there, and each installed file is written whole into its folder before it replaces the
// old one, each under a name no one can foresee: "kwb", five hexadecimal digits and
// ".tmp", made from the platform's seed, each name created new and skipped when it
// exists. This many names are tried.
const int TemporaryNameTries = 16;

// Every file is expanded by one read into a buffer of this many bytes (a decimal two
// million), so no packed file may expand to more.
const uint32_t ExpansionBufferSize = 2000000;

// The creation and last-write times every installed file is given: the product's files
// and the codec library. Both are local times, converted with the daylight saving of
// their own date.
extern const LocalTime ProductFileTime;
extern const LocalTime LibraryFileTime;

// How one press of OK ended.
enum InstallOutcome {
  InstallNotRun,        // no edition chosen, a run already under way, or the dialog closed
  InstallCompleted,
  InstallFolderRefused, // the folder could not be created
  InstallFilesFailed,   // a file could not be written or expanded
  InstallFileInUse,     // a file to be replaced is held open by another program
  InstallDamaged,       // what was expanded is not what was packed
};

// The services the extraction works through.
struct PayloadPlatform {
  PayloadResources &Resources;
  MemoryBlocks &Memory;
  Files &FileSystem;
  LzExpansion &Expansion;
  SystemFolders &Folders;
  TimeZone &Clock;
  const CodePage &Characters;
  MessageDisplay &Messages;
  Log &Record;
  // The NT family: the archive is made so that the system removes it, and is expanded
  // through the handle it was written with.
  bool ArchiveRemovesItself;
};

// Expands the edition's files and the codec library into installFolder (an existing
// folder, without a trailing backslash): every file is first written whole under a
// temporary name beside the one it replaces, and only when all are there are they moved
// into place. A file to be replaced that another program holds open stops the run
// before anything is written. Returns InstallCompleted when the list of files has run
// out (all five, or a zero record length ended it early) and adds the installed files'
// sizes to *installedBytes; on a failure it removes what it made, shows exactly one
// message and returns the outcome. Only a move that fails part way leaves files moved
// before it.
InstallOutcome ExtractPayload(const PayloadPlatform &platform, const CString &installFolder,
                              int edition, uint32_t *installedBytes);
