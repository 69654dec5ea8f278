#pragma once
// The exit statuses of zorvan-flash, as --help documents them. Every run record carries
// one, whichever program made the run, so the window's records use them too.

namespace zorvan {

enum ExitCode : int {
  kExitOk = 0,              // the job was done: image ready, device identified, run completed
  kExitUsage = 1,           // the command line itself was wrong
  kExitHexError = 2,        // the HEX text was refused or could not be read
  kExitPortError = 3,       // the port could not be opened, read or written
  kExitNotFound = 4,        // no loader answered on the port
  kExitUnknownLoader = 5,   // the loader speaks another version
  kExitRefused = 6,         // the device already holds this or a newer firmware
  kExitFailed = 7,          // a programming step failed for good
  kExitStopped = 8,         // the operator stopped the run (Ctrl+C)
  kExitDeclined = 9,        // the device's memory is beyond the erase address or too small for the firmware
  kExitBadDescription = 10, // the device describes itself with six characters that are no number
  kExitGangIncomplete = 11, // a gang run: not every device was programmed (the table says which)
  kExitRecordFailed = 12,   // the run record file could not be opened (nothing started) or written
  kExitLoopFailures = 13,   // a production loop ended, and at least one device failed in it
  kExitDumpFailed = 14,     // check: --dump-image or --dump-hex could not be written
  kExitRecordsUnreadable = 15,  // records: the file is missing or cannot be read
  kExitNoRecords = 16,      // records: the file holds no run record
};

}  // namespace zorvan
