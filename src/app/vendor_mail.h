// Mails of the main program to the vendor: the support message of the News page and the run log of the
// log mode.
#pragma once

#include <string>

#include "app/app_context.h"

namespace vmk::app {

// The support text with the sender's personalisation, through the mailer library; a sent message is
// confirmed with MF1311. Returns the mailer's result.
int SendSupportMessage(AppContext& context, const std::string& supportText);

// Closes RunLog.txt and mails it as the attachment "LogFile" to the vendor's support address through
// the vendor's mail server (port 25 unless configured otherwise); a failure is shown in a box. Log mode is
// off afterwards.
void MailRunLog(AppContext& context);

}  // namespace vmk::app
