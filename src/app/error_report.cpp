#include "app/error_report.h"

#include <signal.h>

#include <cstring>
#include <vector>

#include "app/mail_binding.h"
#include "log/messages.h"
#include "platform/folders.h"
#include "text/ui_texts.h"

namespace vmk::app {
namespace {

AppContext* reportContext = nullptr;
constexpr int kFatalSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};

std::string LastCharacters(const std::string& text, std::size_t count) {
  return text.size() > count ? text.substr(text.size() - count) : text;
}

// The process is lost at this point; the report is made with what still works, then the signal's own
// action ends it.
void OnFatalSignal(int signal, siginfo_t* info, void*) {
  for (int fatal : kFatalSignals) ::signal(fatal, SIG_DFL);
  if (reportContext != nullptr) {
    ErrorDetails details;
    details.description = strsignal(signal);
    details.code = signal;
    details.address = info != nullptr ? reinterpret_cast<unsigned long long>(info->si_addr) : 0;
    details.module = platform::ProgramFile();
    ErrorReport(*reportContext, details);
  }
  raise(signal);
}

}  // namespace

std::string ErrorReportText(const ErrorDetails& details) {
  return "Ein Fehler wurde im Programm entdeckt: \r\rFehlermeldung:   " + details.description +
         "\rFehlercode:      " + std::to_string(details.code) +
         "\rCode Adresse:    " + std::to_string(details.address) +
         "\rFehlerzeile:     " + std::to_string(details.line) + "\rModul:           ..." +
         LastCharacters(details.module, 15) + "\r";
}

void ErrorReport(AppContext& context, const ErrorDetails& details) {
  std::string report = ErrorReportText(details);
  SetHostDialogs(&context.dialogs);
  CallMailForwarder(context.programDirectory, context.installationId, " / KESTO 2 INITIAL ERROR",
                    report + "\r / Sender:       " + context.model.Personalisation()[5]);
  report += "\r" + text::UiText(text::Ui::ErrorCodeMF173);
  log::ShowMessage(context.dialogs, report, "-2", "MF400", "16");
}

void InstallErrorReport(AppContext& context) {
  reportContext = &context;
  // Its own stack, so that even a stack overflow can be reported.
  static std::vector<char> alternateStack(1 << 16);
  stack_t stack{};
  stack.ss_sp = alternateStack.data();
  stack.ss_size = alternateStack.size();
  sigaltstack(&stack, nullptr);
  struct sigaction action {};
  action.sa_sigaction = OnFatalSignal;
  action.sa_flags = SA_SIGINFO | SA_ONSTACK;
  sigemptyset(&action.sa_mask);
  for (int fatal : kFatalSignals) sigaction(fatal, &action, nullptr);
}

}  // namespace vmk::app
