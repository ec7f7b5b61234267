// The run mode of the process, fixed by the first command-line argument.
#pragma once

namespace vmk::screening {

enum class RunMode {
  Interactive,
  DatabaseUpdate,
  SingleSearchBatch,
  ImportBatch,
  ListBatch,
  ScheduledListSearch
};

inline bool IsUnattended(RunMode mode) {
  return mode != RunMode::Interactive && mode != RunMode::DatabaseUpdate;
}

}  // namespace vmk::screening
