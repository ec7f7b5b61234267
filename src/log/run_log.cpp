#include "log/run_log.h"

#include "text/cp1252.h"
#include "text/date_mask.h"

namespace vmk::log {

bool RunLog::Open(const std::filesystem::path& path) {
  std::lock_guard lock(mutex_);
  if (file_ != nullptr) std::fclose(file_);
  file_ = std::fopen(path.c_str(), "wb");
  path_ = path;
  return file_ != nullptr;
}

std::filesystem::path RunLog::Path() const {
  std::lock_guard lock(mutex_);
  return path_;
}

void RunLog::Close() {
  std::lock_guard lock(mutex_);
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
}

bool RunLog::IsOn() const {
  std::lock_guard lock(mutex_);
  return file_ != nullptr;
}

void RunLog::SetStatusSink(StatusSink* sink) {
  std::lock_guard lock(mutex_);
  sink_ = sink;
}

void RunLog::WriteRunLog(std::string_view text1252) {
  StatusSink* sink = nullptr;
  {
    std::lock_guard lock(mutex_);
    if (file_ == nullptr) return;
    const std::string line =
        text::FormatDate("%hh:%ii:%ss  Uhr / ", clock_.Now()) + text::Cp1252ToUtf8(text1252) + "\r\n";
    WriteLocked(line);
    sink = sink_;
  }
  // The sink is called outside the lock: it may notify the window, which must not wait on the log.
  if (sink != nullptr) sink->SetStatusText(std::string(text1252));
}

void RunLog::WriteRaw(std::string_view text1252) {
  std::lock_guard lock(mutex_);
  if (file_ == nullptr) return;
  WriteLocked(std::string(text1252) + "\r\n");
}

void RunLog::WriteLocked(std::string_view bytes) {
  std::fwrite(bytes.data(), 1, bytes.size(), file_);
  std::fflush(file_);
}

}  // namespace vmk::log
