#include "transfer/CableRecords.h"

#include "document/SettingsFiles.h"

namespace tavrin {

void CableRecords::Begin(const TransferArchive& archive) {
  running_ = true;
  problems_.clear();
  tracePath_ = archive.TracePath();
  const Result<std::string> folder = archive.PrepareFolder();
  if (!folder) {
    problems_.push_back(folder.message());
  } else if (!trace_.Open(tracePath_)) {
    problems_.push_back(SettingsWriteFailure(WriteStep::kOpen, tracePath_).message);
  }
}

std::vector<std::string> CableRecords::End(TransferArchive& archive, TransferMode mode,
                                           bool succeeded, const SettingsImage& carried) {
  if (!running_) return {};
  running_ = false;
  // A command that never reached a timer leaves the trace of the last one that did.
  if (!trace_.Recorded()) {
    trace_.Discard();
  } else if (!trace_.Close()) {
    problems_.push_back(SettingsWriteFailure(WriteStep::kWrite, tracePath_).message);
  }
  if (succeeded && mode != TransferMode::None) {
    const Result<std::string> kept = archive.Keep(
        Medium::Cable, mode == TransferMode::Write ? Carried::Write : Carried::Read, carried);
    if (!kept) problems_.push_back(kept.message());
  }
  return std::move(problems_);
}

}  // namespace tavrin
