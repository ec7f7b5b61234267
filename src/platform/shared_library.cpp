#include "platform/shared_library.h"

#include <dlfcn.h>

#include <utility>

namespace vmk::platform {

SharedLibrary::SharedLibrary(SharedLibrary&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)), error_(std::move(other.error_)) {}

SharedLibrary& SharedLibrary::operator=(SharedLibrary&& other) noexcept {
  if (this != &other) {
    Unload();
    handle_ = std::exchange(other.handle_, nullptr);
    error_ = std::move(other.error_);
  }
  return *this;
}

bool SharedLibrary::Load(const std::filesystem::path& file) {
  Unload();
  handle_ = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle_ == nullptr) {
    const char* message = dlerror();
    error_ = message != nullptr ? message : "cannot load " + file.string();
  }
  return handle_ != nullptr;
}

void SharedLibrary::Unload() {
  if (handle_ != nullptr) dlclose(handle_);
  handle_ = nullptr;
}

void* SharedLibrary::Symbol(const char* name) {
  if (handle_ == nullptr) return nullptr;
  dlerror();
  void* address = dlsym(handle_, name);
  if (address == nullptr) error_ = std::string("no export ") + name;
  return address;
}

}  // namespace vmk::platform
