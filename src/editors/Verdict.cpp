#include "editors/Verdict.h"

namespace tavrin {

bool ShowVerdict(const Verdict& verdict, MessageSink& sink, const char* caption, CellPos& cursor) {
  if (verdict) return true;
  sink.Show(verdict.message(), caption, MsgButtons::Ok, MsgIcon::Exclamation);
  cursor = verdict.cell();
  return false;
}

}  // namespace tavrin
