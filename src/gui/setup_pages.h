// The work page "Setup / News": the frame with the news, personalisation, update and program-settings
// pages, of which one is visible, and the program-settings tabs with every settings control.
#pragma once

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTextEdit>
#include <QWidget>
#include <array>
#include <functional>

#include "app/app_context.h"

namespace vmk::gui {

class SetupPages : public QWidget {
  Q_OBJECT
 public:
  // openWhitelistEditor is what the button "White List" does; the window owns that editor.
  SetupPages(app::AppContext& context, std::string updateServer, std::function<void()> openWhitelistEditor,
             QWidget* parent);

  void RenderSetupPages();
  void RenderPersonalisation();
  void RenderSwitches();
  void RenderPanels(const app::PanelState& panels);

  QGroupBox* Frame() const { return frame_; }
  QStackedWidget* Pages() const { return pages_; }
  QTabWidget* SettingsTabs() const { return settingsTabs_; }
  QWidget* Page(app::SetupPage page) const;

  // News
  QTextEdit* NewsText() const { return news_; }
  QPlainTextEdit* SupportText() const { return support_; }
  QPushButton* SendSupportButton() const { return sendSupport_; }
  // Personalisation
  QLineEdit* PersonField(std::size_t i) const { return person_[i]; }
  QPushButton* ConfirmPersonButton() const { return confirmPerson_; }
  // Update
  QPushButton* DownloadUpdateButton() const { return downloadUpdate_; }
  QPushButton* InstallUpdateButton() const { return installUpdate_; }
  QLabel* UpdateLabel() const { return updateLabel_; }
  QPushButton* OnlineSupportButton() const { return onlineSupport_; }
  // Search settings: plain text, Soundex, Metaphone, all, by phonetic mode
  QRadioButton* PhoneticOption(int mode) const { return phonetic_[static_cast<std::size_t>(mode)]; }
  QLabel* SavePathLabel() const { return savePath_; }
  QPushButton* SavePathButton() const { return savePathButton_; }
  QPushButton* WhitelistButton() const { return whitelistButton_; }
  QCheckBox* WhitelistSwitch() const { return whitelistSwitch_; }
  // Data output
  QCheckBox* OpenPdfSwitch() const { return openPdf_; }
  QCheckBox* CsvExportSwitch() const { return csvExport_; }
  // Mail
  QRadioButton* VendorMailOption() const { return vendorMail_; }
  QRadioButton* OwnMailOption() const { return ownMail_; }
  QLineEdit* MailField(std::size_t i) const { return mail_[i]; }  // server, port, user, password, repetition
  QPushButton* ApplyMailButton() const { return applyMail_; }
  // Batch
  QLineEdit* BatchPathField() const { return batchPath_; }
  QPushButton* BatchPathButton() const { return batchPathButton_; }
  QLineEdit* BatchFileField() const { return batchFile_; }
  QPushButton* BatchFileButton() const { return batchFileButton_; }
  QRadioButton* BatchPdfOption(int option) const { return batchPdf_[static_cast<std::size_t>(option)]; }
  // Proxy
  QLineEdit* ProxyAddressField() const { return proxyAddress_; }
  QLineEdit* ProxyPortField() const { return proxyPort_; }
  QCheckBox* ProxyStorageSwitch() const { return proxyStorage_; }
  QPushButton* ProxyButton() const { return proxyButton_; }

 private:
  QWidget* BuildNewsPage();
  QWidget* BuildPersonalisationPage();
  QWidget* BuildUpdatePage();
  QWidget* BuildSettingsPage();
  QWidget* BuildSearchSettingsTab();
  QWidget* BuildDataOutputTab();
  QWidget* BuildMailTab();
  QWidget* BuildBatchTab();
  QWidget* BuildProxyTab();
  void EnableMailFields(bool on);

  app::AppContext& context_;
  std::string updateServer_;
  std::function<void()> openWhitelistEditor_;
  QGroupBox* frame_;
  QStackedWidget* pages_;
  QTabWidget* settingsTabs_ = nullptr;
  std::array<QWidget*, 4> pageWidgets_{};

  QTextEdit* news_ = nullptr;
  QPlainTextEdit* support_ = nullptr;
  QPushButton* sendSupport_ = nullptr;
  std::array<QLineEdit*, 6> person_{};
  QPushButton* confirmPerson_ = nullptr;
  QPushButton *downloadUpdate_ = nullptr, *installUpdate_ = nullptr, *onlineSupport_ = nullptr;
  QLabel* updateLabel_ = nullptr;
  std::array<QRadioButton*, 4> phonetic_{};
  QLabel* savePath_ = nullptr;
  QPushButton *savePathButton_ = nullptr, *whitelistButton_ = nullptr;
  QCheckBox *whitelistSwitch_ = nullptr, *openPdf_ = nullptr, *csvExport_ = nullptr;
  QRadioButton *vendorMail_ = nullptr, *ownMail_ = nullptr;
  std::array<QLineEdit*, 5> mail_{};
  std::vector<QWidget*> mailControls_;
  QPushButton* applyMail_ = nullptr;
  QLineEdit *batchPath_ = nullptr, *batchFile_ = nullptr;
  QPushButton *batchPathButton_ = nullptr, *batchFileButton_ = nullptr;
  std::array<QRadioButton*, 3> batchPdf_{};
  QLineEdit *proxyAddress_ = nullptr, *proxyPort_ = nullptr;
  QCheckBox* proxyStorage_ = nullptr;
  QPushButton* proxyButton_ = nullptr;
};

}  // namespace vmk::gui
