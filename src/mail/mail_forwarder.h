// The mailer's logic: choosing the way (own server or vendor account), composing subject and body,
// the SMTP dialogue, and the boxes that report the outcome.
#pragma once

#include <functional>
#include <string>

#include "platform/clock.h"
#include "platform/registry.h"
#include "platform/vendor_config.h"

namespace vmk::mail {

struct MailRequest {
  std::string progId;
  std::string subjectSuffix;
  int version = 0;
  std::string body;
};

using ShowBox = std::function<void(const std::string& title, const std::string& text, int icon)>;

// "VMK (V<version>) mail request / %dd.%mm.%yy - %hh.%ii / Prog ID : " + progId + suffix.
std::string MailSubject(const MailRequest& request, const platform::Clock& clock);
// The stored own-server password back in plain text: hex pairs to Base64 text, decoded (1024 bytes at most).
std::string DecodeStoredPassword(const std::string& stored);

// 1 when the message was handed to a server or ended without an error box, 0 after an error box.
int ForwardMail(const MailRequest& request, const platform::Registry& registry,
                const platform::VendorConfig& vendor, const platform::Clock& clock, const ShowBox& show);

// The box function of the host program, or a writer to stderr when the host exports none.
ShowBox HostBoxFunction();

}  // namespace vmk::mail
