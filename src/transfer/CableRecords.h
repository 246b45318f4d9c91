// What a cable transfer leaves beside the backups: its byte trace as "last-transfer.trace" (the
// format --trace writes), so that a failure can be reported with evidence, and the image it
// carried once it succeeded. The trace takes the previous one's place only when bytes crossed the
// cable. What could not be kept is said, and never fails the transfer.
#pragma once

#include <string>
#include <vector>

#include "model/ImageLayout.h"
#include "transfer/ByteTrace.h"
#include "transfer/TransferArchive.h"
#include "transfer/TransferSession.h"

namespace tavrin {

class CableRecords {
 public:
  // What the link records into; a closed trace records nothing.
  ByteTrace& Trace() { return trace_; }
  // A transfer starts: its trace is recorded beside the last one.
  void Begin(const TransferArchive& archive);
  // The transfer ended. The problems with the records, each in a line, empty when there were
  // none; every later call gives nothing.
  std::vector<std::string> End(TransferArchive& archive, TransferMode mode, bool succeeded,
                               const SettingsImage& carried);

 private:
  ByteTrace trace_;
  std::string tracePath_;
  std::vector<std::string> problems_;
  bool running_ = false;
};

}  // namespace tavrin
