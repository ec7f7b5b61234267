// An 8-bit text file written line by line (CR LF), for Parameter.txt and EBatchLog.txt. Writes to a
// file that could not be opened are skipped silently, as the logs require.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string_view>

namespace vmk::log {

class LineFile {
 public:
  LineFile() = default;
  ~LineFile() { Close(); }
  LineFile(const LineFile&) = delete;
  LineFile& operator=(const LineFile&) = delete;

  bool OpenEmpty(const std::filesystem::path& path);   // creates or empties the file
  bool OpenAppend(const std::filesystem::path& path);  // creates the file when missing
  bool IsOpen() const { return file_ != nullptr; }
  void Write(std::string_view text);      // without a line end
  void WriteLine(std::string_view text);  // text and CR LF
  void Close();

 private:
  bool Open(const std::filesystem::path& path, const char* mode);
  std::FILE* file_ = nullptr;
};

// Writes the text and a line end into Parameter.txt, which the caller has opened.
void WriteParameterLog(LineFile& parameterFile, std::string_view text);
// Appends one line to the batch log EBatchLog.txt, which the caller has opened.
void WriteBatchLog(LineFile& batchLog, std::string_view text);

}  // namespace vmk::log
