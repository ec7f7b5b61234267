#include "screening/prepare_search.h"

#include <algorithm>

#include "screening/double_metaphone.h"
#include "screening/list_queries.h"
#include "screening/search_keys.h"
#include "text/cp1252.h"

namespace vmk::screening {
namespace {

void MakeSdxKeys(SearchState& state, log::RunLog& runLog) {
  runLog.WriteRunLog(text::Win1252("Übersetze Suchworte in Soundex"));
  for (std::size_t i = 0; i < 4; ++i) state.sdxKeys[i] = text::TrimBlanks(TermSdxKey(state.terms[i]));
  CompletePair(state.sdxKeys[0], state.sdxKeys[1]);
  CompletePair(state.sdxKeys[2], state.sdxKeys[3]);
}

}  // namespace

int PrepareSearch(SearchState& state, SearchHost& host) {
  if (IsUnattended(host.Mode()) || host.WhitelistSwitchOn()) host.ApplyWhitelist(state);
  const bool noTerm = std::all_of(state.terms.begin(), state.terms.end(), [](auto& t) { return t.empty(); });
  if (noTerm) {
    host.RefuseNoSearchTerm();
    return -1;
  }
  host.BeforeMakingKeys();
  log::RunLog& runLog = host.RunLog();
  switch (state.mode) {
    case kSdx:
      MakeSdxKeys(state, runLog);
      break;
    case kDoubleMetaphone:
      runLog.WriteRunLog(text::Win1252("Übersetze Suchworte in DMetaphone"));
      for (std::size_t i = 0; i < 4; ++i) state.dmKeys[i] = DoubleMetaphone(state.terms[i]).primary;
      break;
    case kAllPhonetics:
      MakeSdxKeys(state, runLog);
      runLog.WriteRunLog(text::Win1252("Übersetze Suchworte in DMetaphone"));
      for (std::size_t i = 0; i < 4; ++i) state.dmKeys[i] = WordwiseDmKey(state.terms[i]);
      break;
    default:
      break;
  }
  return 0;
}

}  // namespace vmk::screening
