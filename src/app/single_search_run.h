// The single search as the window and the single-search batch start it: check the terms, prepare
// them, search the four lists, and hand over to the report.
#pragma once

#include "app/app_context.h"

namespace vmk::app {

// Checks the terms, prepares them, searches the four lists, then writes the report (or, in the
// single-search batch, what its PDF option asks for).
void RunSingleSearch(AppContext& context);

}  // namespace vmk::app
