#include "app/settings_binding.h"

namespace vmk::app {

SettingsBinding::SettingsBinding(std::filesystem::path programDirectory)
    : file_(std::move(programDirectory) / kSettingsLibraryFile) {}

SettingsBinding::Group::Group(SettingsBinding& binding)
    : binding_(binding), outermost_(binding.group_ == nullptr) {
  if (!outermost_) return;
  if (library_.Load(binding_.file_)) {
    binding_.group_ = &library_;
  } else {
    binding_.error_ = library_.Error();
  }
}

SettingsBinding::Group::~Group() {
  if (outermost_ && binding_.group_ == &library_) binding_.group_ = nullptr;
}

template <typename F, typename Use>
void SettingsBinding::WithExport(const char* name, Use&& use) {
  platform::SharedLibrary own;
  platform::SharedLibrary* library = group_;
  if (library == nullptr) {
    if (!own.Load(file_)) {
      error_ = own.Error();
      return;
    }
    library = &own;
  }
  void* address = library->Symbol(name);
  if (address == nullptr) {
    error_ = library->Error();
    return;
  }
  use(reinterpret_cast<F*>(address));
}

std::string SettingsBinding::Text(const char* name) {
  std::string result;
  WithExport<const char*()>(name, [&](auto* call) {
    const char* text = call();
    if (text != nullptr) result = text;
  });
  return result;
}

std::string SettingsBinding::TextOf(const char* name, int argument) {
  std::string result;
  WithExport<const char*(int)>(name, [&](auto* call) {
    const char* text = call(argument);
    if (text != nullptr) result = text;
  });
  return result;
}

int SettingsBinding::Number(const char* name) {
  int result = 0;
  WithExport<int()>(name, [&](auto* call) { result = call(); });
  return result;
}

int SettingsBinding::SetText(const char* name, const std::string& value) {
  int result = 0;
  WithExport<int(const char*)>(name, [&](auto* call) { result = call(value.c_str()); });
  return result;
}

int SettingsBinding::SetNumber(const char* name, int value) {
  int result = 0;
  WithExport<int(int)>(name, [&](auto* call) { result = call(value); });
  return result;
}

void SettingsBinding::WriteSelectedDisplayItems(const std::string& eu, const std::string& un,
                                                const std::string& uk, const std::string& us) {
  WithExport<int(const char*, const char*, const char*, const char*)>(
      "WriteSelectedDisplayItems", [&](auto* call) { call(eu.c_str(), un.c_str(), uk.c_str(), us.c_str()); });
}

int SettingsBinding::ExtMail(const std::string& server, const std::string& port, const std::string& user,
                             const std::string& password) {
  int result = 0;
  WithExport<int(const char*, const char*, const char*, const char*)>("ExtMail", [&](auto* call) {
    result = call(server.c_str(), port.c_str(), user.c_str(), password.c_str());
  });
  return result;
}

void SettingsBinding::SetProxyInfo(const std::string& proxy, int storage) {
  WithExport<void(const char*, int)>("SetProxyInfo", [&](auto* call) { call(proxy.c_str(), storage); });
}

void SettingsBinding::AutostartActive(int active, int dateTime, int sequence) {
  WithExport<int(int, int, int)>("AutostartActive", [&](auto* call) { call(active, dateTime, sequence); });
}

}  // namespace vmk::app
