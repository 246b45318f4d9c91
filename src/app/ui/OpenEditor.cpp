#include "app/ui/OpenEditor.h"

#include "calendar/ui/CProg4.h"
#include "calendar/ui/CProg6.h"
#include "editors/ui/CProg1.h"
#include "editors/ui/CProg2.h"
#include "editors/ui/CProg5.h"
#include "framework/ui/CProgSheet.h"
#include "framework/ui/EditorPage.h"

namespace tavrin {

std::unique_ptr<EditorPage> MakeEditorPage(EditorKind kind, EditorContext& context) {
  switch (kind) {
    case EditorKind::SummerTime:
      return std::make_unique<CProg4>(context.model, context.messages);
    case EditorKind::Annual:
      if (context.calendar == nullptr) break;
      return std::make_unique<CProg6>(context.model, context.names, context.messages,
                                      context.clipboards, *context.calendar);
    case EditorKind::Radio:
      if (context.station == nullptr) break;
      return std::make_unique<CProg5>(context.model, context.messages, *context.station);
    case EditorKind::Channel:
      return std::make_unique<CProg1>(context.model, context.messages, context.clipboards);
    case EditorKind::Weekly: {
      if (!context.ini || !context.windows) return nullptr;
      auto& windows = *context.windows;
      auto slot = [&windows](WindowSlot s) -> WindowPos& {
        return windows[static_cast<std::size_t>(s)];
      };
      WeeklyPositions positions{slot(WindowSlot::Wpro), slot(WindowSlot::Pnam),
                                slot(WindowSlot::Plst), slot(WindowSlot::Week)};
      return std::make_unique<CProg2>(WeeklyContext{context.model, context.names, context.messages,
                                                    context.clipboards, *context.ini, positions});
    }
  }
  return nullptr;
}

EditorOutcome OpenEditor(CProgSheet& sheet, EditorKind kind, EditorContext& context,
                         EditorHost& host, SheetState& state) {
  std::unique_ptr<EditorPage> page = MakeEditorPage(kind, context);
  if (!page) return EditorOutcome::Cancelled;
  std::string caption = SheetCaption(kind, state.fileState, state.settingsTitle.toStdString());
  sheet.SetPage(page.get(), QString::fromStdString(caption));
  EditorOutcome outcome = RunEditorSession(context.model, context.names, host, [&] {
    page->Initialise();
    return sheet.Run(state.x, state.y,
                     {context.model, context.names, context.messages, EditorTitle(kind)});
  });
  sheet.SetPage(nullptr, QString());
  return outcome;
}

}  // namespace tavrin
