#include "transfer/TransferArchive.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <regex>
#include <system_error>
#include <tuple>
#include <vector>

#include "document/PathText.h"
#include "document/SafeWrite.h"
#include "document/SettingsFiles.h"

namespace fs = std::filesystem;

namespace tavrin {
namespace {

const char* MediumName(Medium medium) { return medium == Medium::Cable ? "cable" : "usb"; }

const char* CarriedName(Carried carried) {
  switch (carried) {
    case Carried::Read:
      return "read";
    case Carried::Write:
      return "write";
    case Carried::Replaced:
      return "replaced";
  }
  return "";
}

bool Exists(const std::string& path) {
  struct stat info {};
  return lstat(path.c_str(), &info) == 0;
}

}  // namespace

TransferArchive::TransferArchive(std::string dataFolder, const Clock& clock)
    : dataFolder_(std::move(dataFolder)), clock_(clock) {}

std::string TransferArchive::Folder() const {
  return dataFolder_.empty() ? std::string(kBackupFolderName)
                             : JoinPath(dataFolder_, kBackupFolderName);
}

std::string TransferArchive::TracePath() const { return JoinPath(Folder(), kTraceFileName); }

Result<std::string> TransferArchive::PrepareFolder() const {
  const std::string folder = Folder();
  if (dataFolder_.empty()) return SettingsWriteFailure(WriteStep::kOpen, folder);
  std::error_code error;
  fs::create_directories(folder, error);
  if (!fs::is_directory(folder, error)) return SettingsWriteFailure(WriteStep::kOpen, folder);
  return folder;
}

Result<std::string> TransferArchive::Keep(Medium medium, Carried carried,
                                          std::span<const uint8_t> bytes) {
  const Result<std::string> folder = PrepareFolder();
  if (!folder) return Fail(folder.message());
  const LocalTime now = clock_.Now();
  char stem[64];
  std::snprintf(stem, sizeof stem, "%04d%02d%02d-%02d%02d%02d-%s-%s", now.year, now.month, now.day,
                now.hour, now.minute, now.second, MediumName(medium), CarriedName(carried));
  std::string path = JoinPath(*folder, std::string(stem) + ".BIN");
  for (int suffix = 2; Exists(path); ++suffix) {
    path = JoinPath(*folder, std::string(stem) + "-" + std::to_string(suffix) + ".BIN");
  }
  const WriteOutcome outcome = WriteFileAtomically(path, bytes.data(), bytes.size());
  if (outcome != WriteStep::kDone) return SettingsWriteFailure(outcome.step, path, outcome.error);
  Prune(*folder);
  return path;
}

void TransferArchive::Prune(const std::string& folder) const {
  // Only the archive's own files: anything else a user put there stays.
  static const std::regex kBackupName(
      R"(\d{8}-\d{6}-(cable|usb)-(read|write|replaced)(-\d+)?\.BIN)");
  using Entry = std::tuple<std::string, fs::file_time_type, std::string>;  // stamp, written, path
  std::vector<Entry> backups;
  std::error_code error;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
    const std::string name = entry.path().filename().string();
    if (!entry.is_regular_file(error) || !std::regex_match(name, kBackupName)) continue;
    backups.emplace_back(name.substr(0, 15), entry.last_write_time(error), entry.path().string());
  }
  if (backups.size() <= kBackupsKept) return;
  // The stamp is the program's clock, which a fixed TAVRIN_NOW holds still; the time written
  // orders backups taken under one stamp.
  std::sort(backups.begin(), backups.end());
  for (std::size_t i = 0; i + kBackupsKept < backups.size(); ++i) {
    fs::remove(std::get<2>(backups[i]), error);  // one left over is harmless
  }
}

}  // namespace tavrin
