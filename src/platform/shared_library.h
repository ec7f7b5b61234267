// A shared library loaded by file name, with its exports looked up by name.
#pragma once

#include <filesystem>
#include <string>

namespace vmk::platform {

class SharedLibrary {
 public:
  SharedLibrary() = default;
  ~SharedLibrary() { Unload(); }
  SharedLibrary(SharedLibrary&& other) noexcept;
  SharedLibrary& operator=(SharedLibrary&& other) noexcept;
  SharedLibrary(const SharedLibrary&) = delete;
  SharedLibrary& operator=(const SharedLibrary&) = delete;

  // False, with the loader's message in Error(), when the file cannot be loaded.
  bool Load(const std::filesystem::path& file);
  void Unload();
  bool IsLoaded() const { return handle_ != nullptr; }
  // The export's address, or nullptr (with Error() set) when the library has no such export.
  void* Symbol(const char* name);
  const std::string& Error() const { return error_; }

 private:
  void* handle_ = nullptr;
  std::string error_;
};

}  // namespace vmk::platform
