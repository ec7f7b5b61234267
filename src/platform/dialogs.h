// The port through which the program asks a person: message boxes, yes/no questions and choosers. The window
// implements it with modal dialogs; unattended runs and tests use the headless implementation.
#pragma once

#include <functional>
#include <iosfwd>
#include <optional>
#include <string>

namespace vmk::platform {

// Message-box icon flags, as the stored decimal texts name them.
enum MessageIcon : int {
  kIconNone = 0,
  kIconStop = 16,
  kIconQuestion = 32,
  kIconWarning = 48,
  kIconInformation = 64
};

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // Title and text are Windows-1252; lines of the text are separated by "\r" or "\n".
  virtual void MessageBox(const std::string& title, const std::string& text, int iconFlags) = 0;
  virtual bool AskYesNo(const std::string& title, const std::string& text, bool defaultAnswer) = 0;
  // An open-file chooser starting in `start` ("" for the working directory): the default file name
  // ("*.csv") and the filter as "Text|*.csv|Text|*.txt"; nothing when the person cancels. Paths are
  // Windows-1252.
  virtual std::optional<std::string> ChooseOpenFile(const std::string& title, const std::string& defaultName,
                                                    const std::string& filter, const std::string& start) = 0;
  // A folder chooser starting at `start`; the chosen folder ends with "/".
  virtual std::optional<std::string> ChooseFolder(const std::string& title, const std::string& start) = 0;
};

// Writes every box to a stream (UTF-8) and to an optional line sink, and answers every question with its
// default at once, so an unattended run never waits for a person who is not there.
class HeadlessDialogs : public Dialogs {
 public:
  using LineSink = std::function<void(const std::string& line1252)>;
  explicit HeadlessDialogs(std::ostream& out, LineSink sink = {});

  void MessageBox(const std::string& title, const std::string& text, int iconFlags) override;
  bool AskYesNo(const std::string& title, const std::string& text, bool defaultAnswer) override;
  // Nobody can choose: both report a cancelled chooser.
  std::optional<std::string> ChooseOpenFile(const std::string& title, const std::string& defaultName,
                                            const std::string& filter, const std::string& start) override;
  std::optional<std::string> ChooseFolder(const std::string& title, const std::string& start) override;

 private:
  void Emit(const std::string& line);
  std::ostream& out_;
  LineSink sink_;
};

}  // namespace vmk::platform
