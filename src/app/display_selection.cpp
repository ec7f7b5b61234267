#include "app/display_selection.h"

#include "screening/database_unpack.h"
#include "screening/list_search.h"
#include "text/ui_texts.h"

namespace vmk::app {
namespace {

using screening::ListId;
using text::Ui;
using text::UiText;

std::size_t At(ListId list) {
  return static_cast<std::size_t>(screening::Index(list));
}

std::string SelectionFrom(const screening::ListSchema& schema, const SelectionPanel& panel) {
  std::string selection;
  for (std::size_t entry = 0; entry < static_cast<std::size_t>(schema.selectionLength); ++entry) {
    selection += entry < panel.ticked.size() && panel.ticked[entry] ? '1' : '0';
  }
  return selection;
}

void RefreshHitReports(AppContext& context) {
  // Closing another panel may have deleted the working copy meanwhile.
  screening::EnsureDatabaseUnpacked(context.dataDirectory, context.runLog, context.dialogs);
  screening::HitReports reports = context.model.HitReports();
  screening::SearchAllLists(context.search, screening::WorkingCopyPath(context.dataDirectory), reports,
                            context.runLog);
  context.model.SetHitReports(reports);
}

}  // namespace

void LoadDisplaySelection(AppContext& context) {
  SettingsBinding& settings = context.settings;
  context.search.selection = {settings.ReadSelectedEUDisplayItems(), settings.ReadSelectedUNDisplayItems(),
                              settings.ReadSelectedUKDisplayItems(), settings.ReadSelectedUSDisplayItems()};
}

void FillSelectionLists(AppContext& context) {
  for (ListId list : screening::kAllLists) {
    const screening::ListSchema& schema = screening::Schema(list);
    const std::string& selection = context.search.selection[At(list)];
    SelectionPanel panel;
    for (int position = schema.firstField; position < schema.fieldEnd; ++position) {
      const std::size_t entry = panel.labels.size();
      panel.labels.push_back(schema.columns[static_cast<std::size_t>(position)].selectionLabel);
      panel.ticked.push_back(entry < selection.size() && selection[entry] == '1');
    }
    panel.buttonText = UiText(Ui::DisplaySelectionShow);
    context.model.SetSelectionPanel(At(list), panel);
  }
}

void ClickSelectionEntry(AppContext& context, ListId list, std::size_t entry) {
  SelectionPanel panel = context.model.SelectionPanels()[At(list)];
  if (entry >= panel.ticked.size()) return;
  panel.ticked[entry] = !panel.ticked[entry];
  context.model.SetSelectionPanel(At(list), panel);
  SaveDisplaySelection(context, list);
}

void SaveDisplaySelection(AppContext& context, ListId list) {
  context.clock.Pause(std::chrono::milliseconds(100));
  auto& selection = context.search.selection;
  selection[At(list)] = SelectionFrom(screening::Schema(list), context.model.SelectionPanels()[At(list)]);
  context.settings.WriteSelectedDisplayItems(selection[0], selection[1], selection[2], selection[3]);
  if (context.model.HitReports()[At(list)].HoldsSearch()) RefreshHitReports(context);
}

void ToggleSelectionPanel(AppContext& context, ListId list) {
  SelectionPanel panel = context.model.SelectionPanels()[At(list)];
  if (!panel.open) {
    screening::EnsureDatabaseUnpacked(context.dataDirectory, context.runLog, context.dialogs);
    panel.buttonText = UiText(Ui::DisplaySelectionHide);
    panel.countVisible = false;
    panel.open = true;
    panel.height = 350;
    context.model.SetSelectionPanel(At(list), panel);
    return;
  }
  panel.buttonText = UiText(Ui::DisplaySelectionShow);
  panel.open = false;
  panel.height = 0;
  panel.countVisible = true;
  context.model.SetSelectionPanel(At(list), panel);
  screening::DeleteWorkingCopy(context.dataDirectory);
}

}  // namespace vmk::app
