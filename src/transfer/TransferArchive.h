// Backups of what crossed to or from the timer, so that no transfer loses a schedule on either
// side: every image read or written, by cable or stick, and every stick file about to be
// replaced, kept in "backups" of the data folder under the program's clock; the newest 50 stay.
// The byte trace of the last cable transfer lies beside them.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "model/Clock.h"
#include "model/Result.h"

namespace tavrin {

enum class Medium { Cable, Usb };
enum class Carried { Read, Write, Replaced };

inline constexpr char kBackupFolderName[] = "backups";
inline constexpr char kTraceFileName[] = "last-transfer.trace";
inline constexpr std::size_t kBackupsKept = 50;

class TransferArchive {
 public:
  // An empty `dataFolder` (it could not be prepared) makes every backup fail with a message.
  TransferArchive(std::string dataFolder, const Clock& clock);

  // Writes "YYYYMMDD-HHMMSS-{cable|usb}-{read|write|replaced}.BIN", with "-2", "-3"... when that
  // name is taken, and removes the oldest backups beyond the newest 50. The path written, or the
  // message that says why not.
  Result<std::string> Keep(Medium medium, Carried carried, std::span<const uint8_t> bytes);
  // The backup folder, created when missing.
  Result<std::string> PrepareFolder() const;
  std::string Folder() const;
  std::string TracePath() const;

 private:
  void Prune(const std::string& folder) const;

  std::string dataFolder_;
  const Clock& clock_;
};

}  // namespace tavrin
