#include "app/mail_binding.h"

#include <atomic>
#include <iostream>

#include "platform/shared_library.h"
#include "text/cp1252.h"

namespace vmk::app {
namespace {

std::atomic<platform::Dialogs*> hostDialogs{nullptr};

}  // namespace

int CallMailForwarder(const std::filesystem::path& programDirectory, const std::string& progId,
                      const std::string& subjectSuffix, const std::string& body) {
  platform::SharedLibrary library;
  if (!library.Load(programDirectory / kMailerLibraryFile)) return 0;
  using Forwarder = int(const char*, const char*, int, const char*, int);
  auto* forward = reinterpret_cast<Forwarder*>(library.Symbol("mailforwarder"));
  if (forward == nullptr) return 0;
  return forward(progId.c_str(), subjectSuffix.c_str(), kProgramVersionNumber, body.c_str(), 1);
}

std::string InstallationId(SettingsBinding& settings) {
  SettingsBinding::Group group(settings);
  return settings.GetPCName() + " / " + settings.ReadPerson(1);
}

void SetHostDialogs(platform::Dialogs* dialogs) {
  hostDialogs = dialogs;
}

}  // namespace vmk::app

// Found by the mailer library in the running process: its boxes go through the program's dialogs.
extern "C" __attribute__((visibility("default"), used)) void VeldmarkShowMessageBox(const char* title,
                                                                                    const char* text,
                                                                                    int icon) {
  const std::string boxTitle = title != nullptr ? title : "", boxText = text != nullptr ? text : "";
  if (vmk::platform::Dialogs* dialogs = vmk::app::hostDialogs.load()) {
    dialogs->MessageBox(boxTitle, boxText, icon);
  } else {
    std::cerr << vmk::text::Cp1252ToUtf8(boxTitle + ": " + boxText) << "\n";
  }
}
