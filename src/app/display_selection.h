// The choice of fields that each list's hit report shows: read at start-up, shown as a check list per
// list beside its hit report, saved at every click, and followed by the hit reports at once.
#pragma once

#include "app/app_context.h"
#include "screening/sanctions_schema.h"

namespace vmk::app {

// Reads the four selection strings into the search state.
void LoadDisplaySelection(AppContext& context);
// Fills each check list with its fields' labels, entry i ticked when character i + 1 is "1"; all closed.
void FillSelectionLists(AppContext& context);
// A click on an entry: flips its tick, then saves the selection.
void ClickSelectionEntry(AppContext& context, screening::ListId list, std::size_t entry);
// Rebuilds the list's selection string from its check list, writes all four, and refreshes the hit
// reports when the list's report holds a search.
void SaveDisplaySelection(AppContext& context, screening::ListId list);
// Opens a closed panel (unpacking the database, so refreshes can search) or closes an open one
// (deleting the working copy).
void ToggleSelectionPanel(AppContext& context, screening::ListId list);

}  // namespace vmk::app
