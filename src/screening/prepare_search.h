// The preparation of the search terms shared by the single search and the list search: whitelist,
// the check that a term is left, and the phonetic keys of the mode.
#pragma once

#include "log/run_log.h"
#include "screening/run_mode.h"
#include "screening/search_state.h"

namespace vmk::screening {

// What the preparation needs from the run that calls it.
class SearchHost {
 public:
  virtual ~SearchHost() = default;
  virtual RunMode Mode() const = 0;
  virtual bool WhitelistSwitchOn() const = 0;
  virtual void ApplyWhitelist(SearchState& state) = 0;
  // Every term is empty: tell the user, or in the single-search batch finish the result line.
  virtual void RefuseNoSearchTerm() = 0;
  // The terms were accepted; the interactive run hides its start button and lets the window paint.
  virtual void BeforeMakingKeys() = 0;
  virtual log::RunLog& RunLog() = 0;
};

// 0 when the search may go on, -1 when no search term is left.
int PrepareSearch(SearchState& state, SearchHost& host);

}  // namespace vmk::screening
