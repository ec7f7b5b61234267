// The schedule of the automatic search and the log-on entry of the autostart program.
#include "platform/registry.h"
#include "settings/export_support.h"
#include "settings/vmk21.h"

using namespace vmk::settings;
using vmk::platform::Registry;

extern "C" {

int AutostartActive(int active, int dateTime, int sequence) {
  WriteSettingDword("Autostart", active);
  WriteSettingDword("AutoDateTime", dateTime);
  WriteSettingDword("AutoSequence", sequence);
  return 0;
}

int MiniAutoStart(int active) {
  WriteSettingDword("Autostart", active);
  return 0;
}

int SetAutostartSequence(int sequence) {
  return WriteSettingDword("AutoSequence", sequence) ? 1 : 0;
}

int ReadAutoActivation(void) {
  return ReadSettingDword("Autostart");
}
int ReadAutoDateTime(void) {
  return ReadSettingDword("AutoDateTime");
}
int ReadAutoSequence(void) {
  return ReadSettingDword("AutoSequence");
}

int SetAutostartRegistry(int flag) {
  const Registry registry;
  if (flag == 1) {
    registry.WriteString(kUser, vmk::platform::kRunKey, AutostartValueName(), AutostartProgramPath());
  } else {
    registry.DeleteValue(kUser, vmk::platform::kRunKey, AutostartValueName());
  }
  return 0;
}

}  // extern "C"
