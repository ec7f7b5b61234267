// The run log RunLog.txt of the log mode: time-prefixed UTF-8 lines, each also shown as the status text
// of the main window. Outside log mode every write does nothing.
#pragma once

#include <cstdio>
#include <filesystem>
#include <mutex>
#include <string>
#include <string_view>

#include "platform/clock.h"

namespace vmk::log {

// Receives the Windows-1252 text that the run log shows in the status bar.
class StatusSink {
 public:
  virtual ~StatusSink() = default;
  virtual void SetStatusText(const std::string& text1252) = 0;
};

class RunLog {
 public:
  explicit RunLog(const platform::Clock& clock = platform::DefaultClock()) : clock_(clock) {}
  ~RunLog() { Close(); }
  RunLog(const RunLog&) = delete;
  RunLog& operator=(const RunLog&) = delete;

  // Log mode on: creates the file empty and keeps it open. False when it cannot be created.
  bool Open(const std::filesystem::path& path);
  // Log mode off for the rest of the run.
  void Close();
  bool IsOn() const;
  // The file of the log mode (empty before it was opened).
  std::filesystem::path Path() const;
  void SetStatusSink(StatusSink* sink);

  // Time prefix "%hh:%ii:%ss  Uhr / ", then the Windows-1252 text written as UTF-8, then CR LF.
  void WriteRunLog(std::string_view text1252);
  // The start-up lines written as 8-bit text without time prefix.
  void WriteRaw(std::string_view text1252);

 private:
  void WriteLocked(std::string_view bytes);
  const platform::Clock& clock_;
  mutable std::mutex mutex_;
  std::FILE* file_ = nullptr;
  std::filesystem::path path_;
  StatusSink* sink_ = nullptr;
};

}  // namespace vmk::log
