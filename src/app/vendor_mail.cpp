#include "app/vendor_mail.h"

#include <fstream>
#include <sstream>

#include "app/mail_binding.h"
#include "log/messages.h"
#include "platform/smtp_client.h"
#include "platform/vendor_config.h"
#include "text/ui_texts.h"

namespace vmk::app {
namespace {

using text::Ui;
using text::UiText;

std::string ReadWhole(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream content;
  content << in.rdbuf();
  return content.str();
}

bool SendRunLog(const AppContext& context, const std::string& log) {
  const platform::VendorConfig vendor = platform::ReadVendorConfig();
  platform::MailMessage message;
  message.sender = context.model.Personalisation()[5];
  message.senderName = "VMK Mailer";
  message.recipients = {vendor.supportAddress};
  message.subject = "RunLog / " + context.installationId;
  message.attachments = {{"LogFile", "text/plain", log}};
  platform::SmtpClient smtp;
  if (vendor.mailServer.empty() || !smtp.Connect(vendor.mailServer, vendor.mailPort)) return false;
  const int result = smtp.Send(message);
  smtp.Quit();
  return result == platform::kSmtpSent;
}

}  // namespace

int SendSupportMessage(AppContext& context, const std::string& supportText) {
  const auto person = context.model.Personalisation();
  const std::string body = supportText + "\r\rAbsender: \r\r" + person[0] + "\r" + person[1] + "\r" +
                           person[2] + "\r" + person[3] + "   " + person[4] + "\r" + person[5];
  SetHostDialogs(&context.dialogs);
  const int result =
      CallMailForwarder(context.programDirectory, context.installationId, " / VMK Interne Nachricht", body);
  if (result == 1) log::ShowMessage(context.dialogs, UiText(Ui::MsgSupportMessageSent), "1", "MF1311", "64");
  return result;
}

void MailRunLog(AppContext& context) {
  const std::filesystem::path file = context.runLog.Path();
  context.runLog.Close();
  if (!SendRunLog(context, ReadWhole(file))) {
    context.dialogs.MessageBox(
        UiText(Ui::TitleError),
        UiText(Ui::MsgRunLogMailFailed) + "\r" + UiText(Ui::MsgCheckFirewallAllowsMail), platform::kIconStop);
  }
}

}  // namespace vmk::app
