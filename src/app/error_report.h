// The program-wide error handler: a fatal error is reported to the vendor by mail and to the user in
// a "Fataler Fehler" box before the process ends.
#pragma once

#include <string>

#include "app/app_context.h"

namespace vmk::app {

struct ErrorDetails {
  std::string description;
  int code = 0;
  unsigned long long address = 0;  // code address of the fault, where the platform gives one
  int line = 0;
  std::string module;
};

// The seven lines of the report, each ended by a carriage return.
std::string ErrorReportText(const ErrorDetails& details);

// Mails the report through the mailer library and shows it under "Fataler Fehler" (MF400).
void ErrorReport(AppContext& context, const ErrorDetails& details);

// Installs the handler for the fatal signals (segmentation fault, bus error, arithmetic error, illegal
// instruction, abort); after its report the signal ends the process as it would have.
void InstallErrorReport(AppContext& context);

}  // namespace vmk::app
