#include "platform/dialogs.h"

#include <ostream>

#include "text/cp1252.h"

namespace vmk::platform {
namespace {

// One line for the box: the text's line breaks become " | " so the record stays on one line.
std::string OneLine(const std::string& title, const std::string& text) {
  std::string body;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      body += " | ";
    } else {
      body += c;
    }
  }
  return "[" + title + "] " + body;
}

}  // namespace

HeadlessDialogs::HeadlessDialogs(std::ostream& out, LineSink sink) : out_(out), sink_(std::move(sink)) {}

void HeadlessDialogs::MessageBox(const std::string& title, const std::string& text, int /*iconFlags*/) {
  Emit(OneLine(title, text));
}

bool HeadlessDialogs::AskYesNo(const std::string& title, const std::string& text, bool defaultAnswer) {
  Emit(OneLine(title, text) + (defaultAnswer ? " -> Ja" : " -> Nein"));
  return defaultAnswer;
}

std::optional<std::string> HeadlessDialogs::ChooseOpenFile(const std::string& title, const std::string&,
                                                           const std::string&, const std::string&) {
  Emit("[" + title + "] -> Abbrechen");
  return std::nullopt;
}

std::optional<std::string> HeadlessDialogs::ChooseFolder(const std::string& title, const std::string&) {
  Emit("[" + title + "] -> Abbrechen");
  return std::nullopt;
}

void HeadlessDialogs::Emit(const std::string& line) {
  out_ << text::Cp1252ToUtf8(line) << '\n';
  out_.flush();
  if (sink_) sink_(line);
}

}  // namespace vmk::platform
