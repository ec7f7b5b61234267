// The one export of the mailer library.
#include "mail/mail_forwarder.h"
#include "mail/vmkcom2.h"

extern "C" int mailforwarder(const char* progId, const char* subjectSuffix, int version, const char* body,
                             int /*networkReady: sockets need no initialisation here*/) {
  const auto text = [](const char* value) { return value != nullptr ? std::string(value) : std::string(); };
  try {
    const vmk::mail::MailRequest request{text(progId), text(subjectSuffix), version, text(body)};
    return vmk::mail::ForwardMail(request, vmk::platform::Registry(), vmk::platform::ReadVendorConfig(),
                                  vmk::platform::DefaultClock(), vmk::mail::HostBoxFunction());
  } catch (...) {
    return 0;  // nothing may cross the C boundary
  }
}
