#include "mail/mail_forwarder.h"

#include <dlfcn.h>

#include <iostream>

#include "mail/vmkcom2.h"
#include "platform/smtp_client.h"
#include "settings/settings_keys.h"
#include "text/codec.h"
#include "text/cp1252.h"
#include "text/date_mask.h"

namespace vmk::mail {
namespace {

using platform::RegistryRoot;
using text::Win1252;

constexpr const char* kErrorTitle = "KCom - FEHLER";
constexpr int kIconStop = 16;
constexpr int kIconInformation = 64;

// The error line of a send result, with its carriage return, and its code line.
bool SendError(int result, std::string& line, std::string& code) {
  struct Entry {
    int result;
    const char* line;
    const char* code;
  };
  static const Entry kErrors[] = {
      {-1, "Datei Übertragungsfehler!", "Meldung KC23"},  {-2, "Verbindungsfehler!", "Meldung KC26"},
      {-3, "Ungültige Initialisierung!", "Meldung KC29"}, {-4, "Speicher Zuordnungsfehler!", "Meldung KC32"},
      {-5, "Authentifizierungsfehler!", "Meldung KC35"},  {-6, "Server TimeOut!", "Meldung KC38"},
      {-7, "Vorgang wurde abgebrochen!", "Meldung KC41"},
  };
  for (const Entry& entry : kErrors) {
    if (entry.result == result) {
      line = Win1252(entry.line) + "\r";
      code = entry.code;
      return true;
    }
  }
  return false;
}

// Error line, the server's last reply line, a carriage return and the code line.
void ShowError(const ShowBox& show, const std::string& line, const std::string& lastReply,
               const std::string& code) {
  show(kErrorTitle, line + lastReply + "\r" + code, kIconStop);
}

platform::MailMessage BaseMessage(const std::string& sender, const std::string& senderName,
                                  const std::string& subject) {
  platform::MailMessage message;
  message.sender = sender;
  message.senderName = senderName;
  message.subject = subject;
  message.extraHeaders = {{"Reply-To", sender}};
  return message;
}

int ForwardThroughOwnServer(const MailRequest& request, const platform::Registry& registry,
                            const platform::VendorConfig& vendor, const std::string& subject,
                            const ShowBox& show) {
  const std::string key = settings::CommunicationKey();
  const auto read = [&](const char* name) {
    return registry.ReadString(RegistryRoot::CurrentUser, key, name);
  };
  platform::MailMessage message =
      BaseMessage(registry.ReadString(RegistryRoot::CurrentUser, settings::SettingsKey(), "e-mail"),
                  "VMK Mailer", subject);
  message.recipients = {vendor.infoAddress};
  message.body = request.body;
  message.user = read("User");
  message.password = DecodeStoredPassword(read("PW"));

  platform::SmtpClient smtp;
  const std::string server = read("SMTPServer"), port = read("Port");
  if (server.empty() || port.empty() || !smtp.Connect(server, port)) {
    ShowError(show,
              "Die SMTP Verbindung ist fehlgeschlagen !\r" +
                  Win1252("Bitte prüfen Sie die Mail Server Einstellungen") + "\r",
              smtp.LastReply(), "Meldung KC46");
    return 0;
  }
  const int result = smtp.Send(message);
  const std::string lastReply = smtp.LastReply();
  smtp.Quit();
  std::string line, code;
  if (result == platform::kSmtpSent) {
    show("KCom - Information",
         Win1252("Eine Nachricht/Bestätigung wurde erfolgreich an den KESTO Server abgesetzt"),
         kIconInformation);
    return 1;
  }
  if (SendError(result, line, code)) {
    ShowError(show, line, lastReply, code);
    return 0;
  }
  return 1;
}

int ForwardThroughVendor(const MailRequest& request, const platform::Registry& registry,
                         const platform::VendorConfig& vendor, const std::string& subject,
                         const ShowBox& show) {
  platform::MailMessage message =
      BaseMessage(registry.ReadString(RegistryRoot::CurrentUser, settings::SettingsKey(), "e-mail"),
                  "Kesto Compliance Mailer", subject);
  message.recipients = {vendor.supportAddress, "bcc:" + vendor.infoAddress};
  message.body = request.progId + "|" + request.body;
  message.user = vendor.mailUser;
  message.password = vendor.mailPassword;

  // Without a configured vendor server there is nothing to connect to: fail at once.
  platform::SmtpClient smtp;
  if (vendor.mailServer.empty() || !smtp.Connect(vendor.mailServer, vendor.mailPort)) {
    ShowError(show, "Die SMTP Verbindung ist fehlgeschlagen !\r", smtp.LastReply(), "Meldung KC64");
    return 0;
  }
  smtp.Send(message);
  smtp.Quit();
  return 1;
}

}  // namespace

std::string MailSubject(const MailRequest& request, const platform::Clock& clock) {
  return "VMK (V" + std::to_string(request.version) + ") mail request / " +
         text::FormatDate("%dd.%mm.%yy - %hh.%ii", clock.Now()) + " / Prog ID : " + request.progId +
         request.subjectSuffix;
}

std::string DecodeStoredPassword(const std::string& stored) {
  const auto base64 = text::HexDecode(stored);
  if (!base64) return {};
  std::string password = text::Base64Decode(*base64).value_or("");
  if (password.size() > 1024) password.resize(1024);
  return password;
}

int ForwardMail(const MailRequest& request, const platform::Registry& registry,
                const platform::VendorConfig& vendor, const platform::Clock& clock, const ShowBox& show) {
  const std::string subject = MailSubject(request, clock);
  if (registry.KeyExists(RegistryRoot::CurrentUser, settings::CommunicationKey())) {
    return ForwardThroughOwnServer(request, registry, vendor, subject, show);
  }
  return ForwardThroughVendor(request, registry, vendor, subject, show);
}

ShowBox HostBoxFunction() {
  auto host = reinterpret_cast<VeldmarkMessageBoxFunction>(dlsym(RTLD_DEFAULT, VMK_MESSAGE_BOX_FUNCTION));
  if (host != nullptr) {
    return [host](const std::string& title, const std::string& text, int icon) {
      host(title.c_str(), text.c_str(), icon);
    };
  }
  return [](const std::string& title, const std::string& text, int) {
    std::string line = text::Cp1252ToUtf8(text);
    for (char& c : line) {
      if (c == '\r') c = ' ';
    }
    std::cerr << title << ": " << line << "\n";
  };
}

}  // namespace vmk::mail
