// The list search as the window, the batch runs and the scheduled search start it: every master record
// screened against the four lists by the count queries, the results shown, exported and reported.
#pragma once

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "app/app_context.h"

namespace vmk::app {

// Where the main thread holds the worker: between two records, never inside a query.
class ListSearchGate {
 public:
  void Pause();
  void Resume();
  void RequestAbort() { abort_ = true; }
  bool AbortRequested() const { return abort_; }
  // Blocks while paused.
  void PassBetweenRecords();
  void Reset();

 private:
  std::mutex mutex_;
  std::condition_variable resumed_;
  bool paused_ = false;
  std::atomic<bool> abort_{false};
};

// The worker thread of one list search at a time.
class ListSearchRunner {
 public:
  ~ListSearchRunner() { Wait(); }
  void Start(AppContext& context);
  bool Running() const { return running_; }
  void Wait();
  ListSearchGate& Gate() { return gate_; }

 private:
  std::thread worker_;
  std::atomic<bool> running_{false};
  ListSearchGate gate_;
};

// The start check: starts the worker when a list file was loaded or the store holds a record; a store
// that cannot be read is reported (MF1500/MF1504 in the scheduled search, MF1514/MF1518 otherwise).
bool StartListSearch(AppContext& context, ListSearchRunner& runner);

// The run itself, on the calling thread.
void RunListSearch(AppContext& context, ListSearchGate& gate);

// "Stoppe Listensuche": holds the worker at its next record and asks whether to go on; "Nein" ends the
// run after that record with what it found so far.
void StopListSearch(AppContext& context, ListSearchGate& gate);

}  // namespace vmk::app
