#include "gui/setup_pages.h"

#include <QButtonGroup>
#include <QRegularExpressionValidator>

#include "app/vendor_mail.h"
#include "app/window_actions.h"
#include "gui/pictures.h"
#include "gui/qt_text.h"
#include "gui/work_page_parts.h"

namespace vmk::gui {

namespace {

using text::Ui;

QLabel* AddLabel(QWidget* parent, const QString& caption, const QRect& geometry) {
  auto* label = new QLabel(caption, parent);
  label->setGeometry(geometry);
  return label;
}

QGroupBox* AddFrame(QWidget* parent, Ui caption, const QRect& geometry) {
  auto* frame = new QGroupBox(Caption(caption), parent);
  frame->setGeometry(geometry);
  StyleSettingsFrame(frame);
  return frame;
}

template <typename W>
W* Place(W* widget, const QRect& geometry) {
  widget->setGeometry(geometry);
  return widget;
}

// A field whose text goes back into the window model as it is typed, so a later render keeps it.
void FollowInModel(app::AppContext& context, QLineEdit* field, std::string app::SetupPagesState::*member) {
  QObject::connect(field, &QLineEdit::textEdited, field, [&context, field, member](const QString& text) {
    context.model.EditSetupPages([&](app::SetupPagesState& pages) { pages.*member = To1252(text); });
  });
}

void ShowText(QLineEdit* field, const std::string& text1252) {
  const QString text = Qt1252(text1252);
  if (field->text() != text) field->setText(text);
}

}  // namespace

SetupPages::SetupPages(app::AppContext& context, std::string updateServer,
                       std::function<void()> openWhitelistEditor, QWidget* parent)
    : QWidget(parent),
      context_(context),
      updateServer_(std::move(updateServer)),
      openWhitelistEditor_(std::move(openWhitelistEditor)) {
  AddLogo(this, QRect(615, 4, 125, 50), context.programDirectory);
  AddVersionLabel(this, QRect(505, 420, 235, 18));
  frame_ = new QGroupBox(Caption(Ui::SetupFrameInitialCaption), this);
  frame_->setGeometry(5, 50, 735, 366);
  StyleSettingsFrame(frame_);
  pages_ = new QStackedWidget(frame_);
  pages_->setGeometry(6, 20, 723, 340);
  pageWidgets_[static_cast<std::size_t>(app::SetupPage::Settings)] = BuildSettingsPage();
  pageWidgets_[static_cast<std::size_t>(app::SetupPage::News)] = BuildNewsPage();
  pageWidgets_[static_cast<std::size_t>(app::SetupPage::Personalisation)] = BuildPersonalisationPage();
  pageWidgets_[static_cast<std::size_t>(app::SetupPage::Update)] = BuildUpdatePage();
  for (QWidget* page : pageWidgets_) pages_->addWidget(page);
}

QWidget* SetupPages::Page(app::SetupPage page) const {
  return pageWidgets_[static_cast<std::size_t>(page)];
}

QWidget* SetupPages::BuildNewsPage() {
  auto* page = new QWidget;
  news_ = Place(new QTextEdit(page), QRect(0, 0, 720, 150));
  news_->setReadOnly(true);
  support_ = Place(new QPlainTextEdit(page), QRect(0, 158, 660, 178));
  support_->setPlainText(Qt1252(app::SupportMessageTemplate(context_.clock)).replace('\r', '\n'));
  sendSupport_ = Place(new QPushButton(page), QRect(668, 158, 52, 52));
  sendSupport_->setObjectName("sendSupportButton");
  sendSupport_->setIcon(QIcon(DrawPicture(Picture::SupportMessageButton, QSize(44, 44))));
  sendSupport_->setIconSize(QSize(44, 44));
  connect(sendSupport_, &QPushButton::clicked, this,
          [this] { app::SendSupportMessage(context_, To1252(support_->toPlainText().replace('\n', '\r'))); });
  return page;
}

QWidget* SetupPages::BuildPersonalisationPage() {
  auto* page = new QWidget;
  static constexpr Ui kLabels[] = {Ui::CompanyNameLabel, Ui::DepartmentLabel, Ui::StreetLabel,
                                   Ui::PostalCodeLabel,  Ui::CityLabel,       Ui::EmailLabel};
  const QRect fields[] = {{140, 10, 400, 24}, {140, 40, 400, 24},  {140, 70, 400, 24},
                          {140, 100, 90, 24}, {290, 100, 250, 24}, {140, 130, 400, 24}};
  const QRect labels[] = {{10, 10, 125, 24},  {10, 40, 125, 24},  {10, 70, 125, 24},
                          {10, 100, 125, 24}, {240, 100, 45, 24}, {10, 130, 125, 24}};
  for (std::size_t i = 0; i < person_.size(); ++i) {
    AddLabel(page, Caption(kLabels[i]), labels[i]);
    person_[i] = Place(new QLineEdit(page), fields[i]);
  }
  confirmPerson_ =
      Place(new QPushButton(Caption(Ui::ButtonConfirmPersonalisation), page), QRect(140, 170, 220, 28));
  connect(confirmPerson_, &QPushButton::clicked, this, [this] {
    std::array<std::string, 6> fields;
    for (std::size_t i = 0; i < fields.size(); ++i) fields[i] = To1252(person_[i]->text());
    app::ConfirmPersonalisation(context_, fields);
  });
  return page;
}

QWidget* SetupPages::BuildUpdatePage() {
  auto* page = new QWidget;
  downloadUpdate_ = Place(new QPushButton(Caption(Ui::ButtonDownloadUpdate), page), QRect(10, 10, 200, 28));
  updateLabel_ = AddLabel(page, Caption(Ui::NoProgramUpdateLabel), QRect(220, 10, 490, 28));
  installUpdate_ = Place(new QPushButton(Caption(Ui::ButtonInstallUpdate), page), QRect(10, 46, 200, 28));
  installUpdate_->setEnabled(false);
  onlineSupport_ = Place(new QPushButton(Caption(Ui::ButtonOnlineSupport), page), QRect(10, 82, 200, 28));
  connect(downloadUpdate_, &QPushButton::clicked, this,
          [this] { app::DownloadUpdate(context_, updateServer_); });
  connect(onlineSupport_, &QPushButton::clicked, this, [this] { app::StartOnlineSupport(context_); });
  return page;
}

QWidget* SetupPages::BuildSettingsPage() {
  settingsTabs_ = new QTabWidget;
  settingsTabs_->addTab(BuildSearchSettingsTab(), Caption(Ui::TabSearchSettings));
  settingsTabs_->addTab(BuildDataOutputTab(), Caption(Ui::TabDataOutput));
  settingsTabs_->addTab(BuildMailTab(), Caption(Ui::TabMail));
  settingsTabs_->addTab(BuildBatchTab(), Caption(Ui::TabBatch));
  settingsTabs_->addTab(BuildProxyTab(), Caption(Ui::Proxy));
  return settingsTabs_;
}

QWidget* SetupPages::BuildSearchSettingsTab() {
  auto* tab = new QWidget;
  QGroupBox* phonetics = AddFrame(tab, Ui::FramePhoneticChoice, QRect(8, 8, 340, 140));
  // Option order on the page: Soundex, Klartext, Metaphone, Alle Phonetiken; each names its mode.
  const std::pair<Ui, int> options[] = {
      {Ui::OptionSoundex, 1}, {Ui::OptionPlainText, 0}, {Ui::OptionMetaphone, 2}, {Ui::ModeAllPhonetics, 3}};
  auto* group = new QButtonGroup(tab);
  int top = 24;
  for (const auto& [caption, mode] : options) {
    auto* option = Place(new QRadioButton(Caption(caption), phonetics), QRect(12, top, 300, 24));
    group->addButton(option);
    phonetic_[static_cast<std::size_t>(mode)] = option;
    connect(option, &QRadioButton::clicked, this,
            [this, mode = mode] { app::SelectPhoneticOption(context_, mode); });
    top += 28;
  }
  QGroupBox* pdf = AddFrame(tab, Ui::FramePdfStorage, QRect(356, 8, 350, 140));
  savePath_ = AddLabel(pdf, "", QRect(12, 24, 326, 60));
  savePath_->setWordWrap(true);
  savePathButton_ = Place(new QPushButton("...", pdf), QRect(12, 96, 40, 26));
  connect(savePathButton_, &QPushButton::clicked, this, [this] { app::ChooseSaveFolder(context_); });
  QGroupBox* whitelist = AddFrame(tab, Ui::WhitelistCaption, QRect(8, 156, 698, 90));
  whitelistButton_ = Place(new QPushButton(Caption(Ui::WhitelistCaption), whitelist), QRect(12, 24, 140, 26));
  connect(whitelistButton_, &QPushButton::clicked, this, [this] { openWhitelistEditor_(); });
  whitelistSwitch_ =
      Place(new QCheckBox(Caption(Ui::CheckWhitelistFilter), whitelist), QRect(12, 56, 670, 24));
  connect(whitelistSwitch_, &QCheckBox::clicked, this,
          [this](bool on) { app::SetWhitelistFilterSwitch(context_, on); });
  return tab;
}

QWidget* SetupPages::BuildDataOutputTab() {
  auto* tab = new QWidget;
  QGroupBox* display = AddFrame(tab, Ui::FramePdfDisplayMode, QRect(8, 8, 698, 64));
  openPdf_ = Place(new QCheckBox(Caption(Ui::CheckOpenPdfAfterSearch), display), QRect(12, 26, 670, 24));
  connect(openPdf_, &QCheckBox::clicked, this, [this](bool on) { app::SetOpenPdfSwitch(context_, on); });
  QGroupBox* csv = AddFrame(tab, Ui::FrameCsvExport, QRect(8, 80, 698, 64));
  csvExport_ = Place(new QCheckBox(Caption(Ui::CheckCsvExport), csv), QRect(12, 26, 670, 24));
  connect(csvExport_, &QCheckBox::clicked, this, [this](bool on) { app::SetCsvExportSwitch(context_, on); });
  return tab;
}

QWidget* SetupPages::BuildMailTab() {
  auto* tab = new QWidget;
  QGroupBox* frame = AddFrame(tab, Ui::FrameMailSettings, QRect(8, 8, 698, 280));
  vendorMail_ = Place(new QRadioButton(Caption(Ui::OptionVendorMailServer), frame), QRect(12, 24, 300, 24));
  ownMail_ = Place(new QRadioButton(Caption(Ui::OptionOwnMailServer), frame), QRect(320, 24, 300, 24));
  vendorMail_->setChecked(true);
  connect(vendorMail_, &QRadioButton::clicked, this, [this] { app::SelectVendorMailServer(context_); });
  connect(ownMail_, &QRadioButton::clicked, this, [this] { app::SelectOwnMailServer(context_); });
  const QString labels[] = {Caption(Ui::MailServerLabel), Caption(Ui::MailPortLabel),
                            Caption(Ui::MailUserLabel), Caption(Ui::MailPasswordLabel),
                            Caption(Ui::MailPasswordRepeatLabel)};
  for (std::size_t i = 0; i < mail_.size(); ++i) {
    const int top = 58 + static_cast<int>(i) * 32;
    if (i < 2) mailControls_.push_back(AddLabel(frame, "*", QRect(12, top, 10, 24)));
    mailControls_.push_back(AddLabel(frame, labels[i], QRect(24, top, 150, 24)));
    mail_[i] = Place(new QLineEdit(frame), QRect(180, top, 300, 24));
    if (i >= 3) mail_[i]->setEchoMode(QLineEdit::Password);
    mailControls_.push_back(mail_[i]);
  }
  FollowInModel(context_, mail_[0], &app::SetupPagesState::mailServer);
  FollowInModel(context_, mail_[1], &app::SetupPagesState::mailPort);
  FollowInModel(context_, mail_[2], &app::SetupPagesState::mailUser);
  applyMail_ = Place(new QPushButton(Caption(Ui::ButtonApplyMailSettings), frame), QRect(500, 218, 180, 28));
  mailControls_.push_back(applyMail_);
  connect(applyMail_, &QPushButton::clicked, this, [this] {
    app::StoreOwnMailServer(context_, To1252(mail_[0]->text()), To1252(mail_[1]->text()),
                            To1252(mail_[2]->text()), To1252(mail_[3]->text()), To1252(mail_[4]->text()));
  });
  EnableMailFields(false);
  return tab;
}

QWidget* SetupPages::BuildBatchTab() {
  auto* tab = new QWidget;
  QGroupBox* frame = AddFrame(tab, Ui::FrameBatchSettings, QRect(8, 8, 698, 200));
  AddLabel(frame, Caption(Ui::BatchPathLabel), QRect(12, 26, 180, 24));
  batchPath_ = Place(new QLineEdit(frame), QRect(196, 26, 400, 24));
  FollowInModel(context_, batchPath_, &app::SetupPagesState::batchPath);
  batchPathButton_ = Place(new QPushButton("...", frame), QRect(604, 26, 40, 24));
  connect(batchPathButton_, &QPushButton::clicked, this, [this] { app::ChooseBatchPath(context_); });
  AddLabel(frame, Caption(Ui::BatchFileLabel), QRect(12, 58, 180, 24));
  batchFile_ = Place(new QLineEdit("BatchResult.txt", frame), QRect(196, 58, 400, 24));
  FollowInModel(context_, batchFile_, &app::SetupPagesState::batchFile);
  batchFileButton_ = Place(new QPushButton("OK", frame), QRect(604, 58, 40, 24));
  connect(batchFileButton_, &QPushButton::clicked, this,
          [this] { app::StoreBatchFile(context_, To1252(batchFile_->text())); });
  const Ui captions[] = {Ui::OptionBatchNoPdf, Ui::OptionBatchPdfOnHits, Ui::OptionBatchPdfAlways};
  auto* group = new QButtonGroup(tab);
  for (std::size_t i = 0; i < batchPdf_.size(); ++i) {
    batchPdf_[i] = Place(new QRadioButton(Caption(captions[i]), frame),
                         QRect(12, 96 + static_cast<int>(i) * 28, 300, 24));
    group->addButton(batchPdf_[i]);
    connect(batchPdf_[i], &QRadioButton::clicked, this,
            [this, i] { app::SelectBatchPdfOption(context_, std::to_string(i)); });
  }
  batchPdf_[2]->setChecked(true);
  return tab;
}

QWidget* SetupPages::BuildProxyTab() {
  auto* tab = new QWidget;
  QGroupBox* frame = AddFrame(tab, Ui::ProxySettings, QRect(8, 8, 698, 170));
  AddLabel(frame, Caption(Ui::ProxyAddressLabel), QRect(12, 26, 150, 24));
  proxyAddress_ = Place(new QLineEdit(frame), QRect(166, 26, 160, 24));
  const QRegularExpression octets(R"(^(\d{0,3})(\.\d{0,3}){0,3}$)");
  proxyAddress_->setValidator(new QRegularExpressionValidator(octets, proxyAddress_));
  FollowInModel(context_, proxyAddress_, &app::SetupPagesState::proxyAddress);
  AddLabel(frame, Caption(Ui::ProxyPortLabel), QRect(12, 58, 150, 24));
  proxyPort_ = Place(new QLineEdit(frame), QRect(166, 58, 80, 24));
  proxyPort_->setValidator(new QRegularExpressionValidator(QRegularExpression(R"(^\d{0,5}$)"), proxyPort_));
  FollowInModel(context_, proxyPort_, &app::SetupPagesState::proxyPort);
  proxyStorage_ = Place(new QCheckBox(Caption(Ui::CheckStoreProxyInternally), frame), QRect(12, 92, 400, 24));
  connect(proxyStorage_, &QCheckBox::clicked, this,
          [this](bool on) { app::SetProxyStorageSwitch(context_, on); });
  proxyButton_ = Place(new QPushButton(Caption(Ui::ButtonSave), frame), QRect(12, 126, 200, 28));
  connect(proxyButton_, &QPushButton::clicked, this,
          [this] { app::SwitchProxy(context_, To1252(proxyAddress_->text()), To1252(proxyPort_->text())); });
  return tab;
}

void SetupPages::EnableMailFields(bool on) {
  for (QWidget* control : mailControls_) control->setEnabled(on);
}

void SetupPages::RenderSetupPages() {
  const app::SetupPagesState pages = context_.model.SetupPages();
  pages_->setCurrentWidget(Page(pages.front));
  const QString news = Qt1252(pages.newsText);
  if (news_->toPlainText() != news) news_->setPlainText(news);
  updateLabel_->setText(Qt1252(pages.updateLabel));
  downloadUpdate_->setEnabled(pages.updateDownloadEnabled);
  phonetic_[static_cast<std::size_t>(std::clamp(pages.phoneticMode, 0, 3))]->setChecked(true);
  csvExport_->setChecked(pages.csvExport);
  (pages.ownMailServer ? ownMail_ : vendorMail_)->setChecked(true);
  EnableMailFields(pages.ownMailServer);
  ShowText(mail_[0], pages.mailServer);
  ShowText(mail_[1], pages.mailPort);
  ShowText(mail_[2], pages.mailUser);
  ShowText(batchPath_, pages.batchPath);
  ShowText(batchFile_, pages.batchFile);
  const int option = pages.batchPdfOption == "0" ? 0 : pages.batchPdfOption == "1" ? 1 : 2;
  batchPdf_[static_cast<std::size_t>(option)]->setChecked(true);
  ShowText(proxyAddress_, pages.proxyAddress);
  ShowText(proxyPort_, pages.proxyPort);
  proxyStorage_->setChecked(pages.proxyStorage);
  if (!pages.proxyButtonCaption.empty()) proxyButton_->setText(Qt1252(pages.proxyButtonCaption));
}

void SetupPages::RenderPersonalisation() {
  const std::array<std::string, 6> person = context_.model.Personalisation();
  for (std::size_t i = 0; i < person_.size(); ++i) ShowText(person_[i], person[i]);
}

void SetupPages::RenderSwitches() {
  openPdf_->setChecked(context_.model.OpenPdfAfterSearch());
  whitelistSwitch_->setChecked(context_.model.WhitelistSwitch());
}

void SetupPages::RenderPanels(const app::PanelState& panels) {
  frame_->setTitle(Qt1252(panels.setupFrameCaption));
  savePath_->setText(Qt1252(panels.savePathLabel));
}

}  // namespace vmk::gui
