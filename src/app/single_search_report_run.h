// What follows the search of the four lists: the PDF report with its history row and the opening of
// the PDF, or in the single-search batch what the batch PDF option asks for.
#pragma once

#include "app/app_context.h"

namespace vmk::app {

void RunSingleSearchReport(AppContext& context);

// The single-search batch after its search: the report, or the result line without one, the history
// row, and the end of the run.
void FinishSingleSearchBatch(AppContext& context);

}  // namespace vmk::app
