#include "log/line_file.h"

namespace vmk::log {

bool LineFile::Open(const std::filesystem::path& path, const char* mode) {
  Close();
  file_ = std::fopen(path.c_str(), mode);
  return file_ != nullptr;
}

bool LineFile::OpenEmpty(const std::filesystem::path& path) {
  return Open(path, "wb");
}
bool LineFile::OpenAppend(const std::filesystem::path& path) {
  return Open(path, "ab");
}

void LineFile::Write(std::string_view text) {
  if (file_ == nullptr) return;
  std::fwrite(text.data(), 1, text.size(), file_);
  std::fflush(file_);
}

void LineFile::WriteLine(std::string_view text) {
  Write(text);
  Write("\r\n");
}

void LineFile::Close() {
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
}

void WriteParameterLog(LineFile& parameterFile, std::string_view text) {
  parameterFile.WriteLine(text);
}
void WriteBatchLog(LineFile& batchLog, std::string_view text) {
  batchLog.WriteLine(text);
}

}  // namespace vmk::log
