// Building the main window: the skin surface, the white panel with its three pages, the
// picture buttons and the help menu, then the settings, the destination folder and the
// store's folder files.
#include "frm_main.h"

#include "about/help_contexts.h"
#include "about/help_hook.h"
#include "app/folder_list.h"
#include "app/settings.h"
#include "destination_tree.h"
#include "locale_text.h"
#include "message_boxes.h"
#include "message_window.h"
#include "platform/critical_errors.h"
#include "platform/temp_directory.h"
#include "recovered_emails_model.h"
#include "recovered_emails_view.h"
#include "skin/builtin_artwork.h"
#include "skin/cool_form.h"
#include "skin/ez_rgn_btn.h"
#include "skin/gauge.h"
#include "skin/hs_skin_btn.h"
#include "skin/skin_fonts.h"
#include "skin/window_region.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QScreen>
#include <QStackedWidget>
#include <QTreeWidget>

namespace window {
namespace {

constexpr QColor kPageColour(233, 233, 233);

QFont WindowFont(bool bold = false) {
  return skin::WindowsFont("Tahoma", 8, bold);
}

QLabel* Label(QWidget* parent, const QString& text, int x, int y, bool bold = false) {
  auto* label = new QLabel(text, parent);
  label->setFont(WindowFont(bold));
  label->move(x, y);
  label->adjustSize();
  return label;
}

skin::THSSkinBtn* PushButton(QWidget* parent, const QString& caption, QRect geometry) {
  auto* button = new skin::THSSkinBtn(parent);
  button->setText(caption);
  button->setFont(WindowFont(true));
  button->setGeometry(geometry);
  return button;
}

QWidget* Page(QStackedWidget* pages) {
  auto* page = new QWidget(pages);
  page->setAutoFillBackground(true);
  QPalette palette = page->palette();
  palette.setColor(QPalette::Window, kPageColour);
  page->setPalette(palette);
  pages->addWidget(page);
  return page;
}

skin::TEzRgnBtn* PictureButton(QWidget* parent, const QString& set, const QString& tooltip,
                               QRect geometry) {
  auto* button = new skin::TEzRgnBtn(parent);
  skin::LoadButtonSet(*button, set);
  button->setToolTip(tooltip);
  button->setGeometry(geometry);
  return button;
}

} // namespace

TFrmMain::TFrmMain(StartOptions options, QWidget* parent)
    : QWidget(parent), options_(std::move(options)),
      notifier_(std::make_unique<WindowNotifier>(this)) {
  setFont(WindowFont());
  BuildSurface(); // sized and shaped by the built-in picture, before Data pictures load
  BuildDrivePage();
  BuildScanPage();
  BuildSavePage();
  BuildWindowButtons();
  BuildPopupMenu();
  FrmMessage = new TFrmMessage({options_.choose_attachment_folder,
                                [this](const QUrl& url) {
                                  if (options_.open_document)
                                    options_.open_document(url.toString());
                                }},
                               this);
  // Help requests of the whole program (F1 on a page) go to the help file beside the program.
  help_file_name_ = app::HelpFileName(options_.program_folder);
  help_hook_ = std::make_unique<about::THookHelpSystem>(help_file_name_, "", about::HostApi);
  about::InstallHelpKey(QCoreApplication::instance());
  about::SetHelpContext(TSSelectDrive, about::kHelpDrive);
  about::SetHelpContext(TSScan, about::kHelpSearch);
  about::SetHelpContext(TSSaveFile, about::kHelpSave);
  about::SetHelpContext(CBDeepScan, about::kHelpDeepScan);
  about::SetHelpContext(DeepScanBtn, about::kHelpDeepScan);
  for (QWidget* reading : {static_cast<QWidget*>(FrmMessage), static_cast<QWidget*>(EditFilter),
                           static_cast<QWidget*>(CBSaveFormat)})
    about::SetHelpContext(reading, about::kHelpReading);
  LoadDataPictures();
  platform::FailCriticalErrorsQuietly();

  std::string temp_dir =
      options_.temp_dir.empty() ? platform::GetTempDirectory() : options_.temp_dir;
  settings_ = app::LoadSettings(options_.program_folder);
  QApplication::setApplicationDisplayName(QString::fromStdString(settings_.program_name));
  setWindowTitle(QString::fromStdString(settings_.program_name));

  recovery_ = std::make_unique<app::Recovery>(
      std::move(temp_dir), [this] { return store_location_.Root(); }, *notifier_,
      LocaleTextComparison());
  emails_model_ = new RecoveredEmailsModel(recovery_->List(), skin::ListImages(), this);
  LVRecoveredEmails->setEmailsModel(emails_model_);
  // Rows held back during a scan may reach the view after its last notification.
  connect(emails_model_, &QAbstractItemModel::rowsInserted, this, [this] { ShowEmailCount(); });
  connect(LVRecoveredEmails, &RecoveredEmailsView::openRequested, this,
          [this](int row) { LVRecoveredEmailsOpen(row); });
  // Dates show in the user's format, which may be wider than the column's first width.
  LVRecoveredEmails->SetDateSamples(LocaleDateTextSamples(QLocale()));

  SavePath = QString::fromStdString(settings_.save_path);
  TVDestinationFolder->SelectFolder(SavePath);
  connect(TVDestinationFolder, &DestinationTree::folderChanged, this,
          [this](const QString& path) { SavePath = path; });

  // A store folder, folder files, or disk images and devices named on the command line.
  for (const QString& argument : options_.arguments) {
    QFileInfo info(argument);
    if (info.isDir()) {
      ChooseStoreFolder(info.absoluteFilePath());
    } else if (info.exists() && app::IsReadInPlace(argument.toStdString())) {
      recovery_->AddInPlaceSource(info.absoluteFilePath().toStdString());
    } else if (info.isFile()) {
      ChooseStoreFolder(info.absolutePath());
      preticked_files_ << info.fileName();
    }
  }
  FillFolderList();
  ShowPage(TSSelectDrive);
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
}

std::unique_ptr<TFrmMain> CreateMainWindow(StartOptions options) {
  try {
    return std::make_unique<TFrmMain>(std::move(options));
  } catch (const std::exception& error) {
    ShowErrorBox(nullptr, error);
    return nullptr;
  }
}

TFrmMain::~TFrmMain() {
  // The list's model reads the engine's rows, which go before the child widgets do.
  LVRecoveredEmails->setModel(nullptr);
  delete emails_model_;
}

void TFrmMain::BuildSurface() {
  CoolForm = new skin::TCoolForm(this);
  CoolForm->setPicture(skin::MainWindowPicture());
  setFixedSize(CoolForm->picture().size());
  CoolForm->setGeometry(rect());
  skin::CropWindowToPicture(*this, CoolForm->picture());

  WhitePanel = new QFrame(this);
  WhitePanel->setGeometry(29, 30, 582, 328);
  WhitePanel->setAutoFillBackground(true);
  QPalette palette = WhitePanel->palette();
  palette.setColor(QPalette::Window, Qt::white);
  WhitePanel->setPalette(palette);

  PageControl = new QStackedWidget(WhitePanel); // a page control whose tabs are never shown
  PageControl->setGeometry(6, 5, 569, 316);
  TSSelectDrive = Page(PageControl);
  TSScan = Page(PageControl);
  TSSaveFile = Page(PageControl);
}

void TFrmMain::BuildDrivePage() {
  Label(TSSelectDrive, "Please select e-mail folder from where to recover the e-mails", 14, 10,
        true);
  LabelStoreNotice = Label(TSSelectDrive, "", 14, 30);
  LabelStoreNotice->setStyleSheet("color: rgb(160, 30, 30);");
  LabelStoreNotice->hide();
  CBFolderList = new QListWidget(TSSelectDrive);
  CBFolderList->setGeometry(12, 32, 535, 233);
  CBFolderList->setIconSize(QSize(16, 16));
  OpenStoreBtn = PushButton(TSSelectDrive, "Open...", {12, 271, 81, 25});
  OpenStoreBtn->setToolTip("Choose an Outlook Express folder file (.dbx), or a disk image to "
                           "search for folder files");
  SelectAllFolderBtn = PushButton(TSSelectDrive, "Select All", {296, 271, 73, 25});
  SelectNoneFolderBtn = PushButton(TSSelectDrive, "Select None", {372, 271, 81, 25});
  RefreshBtn = PushButton(TSSelectDrive, "Refresh", {464, 271, 81, 25});
  CBDeepScan = new QCheckBox("Deep scan", TSSelectDrive);
  CBDeepScan->move(104, 274);
  CBDeepScan->resize(CBDeepScan->sizeHint()); // a click beside its text does not tick it
  CBDeepScan->setToolTip("Also rebuild messages from the pieces of text in each file, for "
                         "damaged folder files (reads every file whole)");
  connect(OpenStoreBtn, &QAbstractButton::clicked, this, [this] { OpenStoreBtnClick(); });
  connect(SelectAllFolderBtn, &QAbstractButton::clicked, this,
          [this] { SelectAllFolderBtnClick(); });
  connect(SelectNoneFolderBtn, &QAbstractButton::clicked, this,
          [this] { SelectNoneFolderBtnClick(); });
  connect(RefreshBtn, &QAbstractButton::clicked, this, [this] { RefreshBtnClick(); });
}

void TFrmMain::BuildScanPage() {
  Label(TSScan, "Please select e-mails to recover", 14, 10, true);
  const QList<QImage> images = skin::ListImages();
  auto legend = [&](int image, const QString& text, int x) {
    auto* picture = new QLabel(TSScan);
    picture->setPixmap(QPixmap::fromImage(images.value(image)));
    picture->setGeometry(x, 10, 16, 16);
    Label(TSScan, text, x + 19, 11);
  };
  legend(2, "= Deleted E-mail", 248);
  legend(3, "= Has Attachment", 368);

  legend(10, "= Found", 488);

  Label(TSScan, "Find:", 14, 36);
  EditFilter = new QLineEdit(TSScan);
  EditFilter->setGeometry(48, 32, 250, 21);
  EditFilter->setPlaceholderText("From, To or Subject contains...");
  EditFilter->setClearButtonEnabled(true);
  EditFilter->setToolTip("Show only the e-mails whose sender, recipients or subject contain this "
                         "text; hidden e-mails keep their ticks");
  connect(EditFilter, &QLineEdit::textChanged, this,
          [this](const QString& text) { EditFilterChange(text); });

  ListFrame = new QFrame(TSScan);
  ListFrame->setGeometry(12, kListTop, 535, kListHeight);
  ListFrame->setFrameShape(QFrame::StyledPanel);
  LVRecoveredEmails = new RecoveredEmailsView(ListFrame);
  LVRecoveredEmails->setGeometry(ListFrame->contentsRect());
  // Under the list, shown only when a scan met a file that looks damaged.
  LabelDamaged = Label(TSScan, "", 14, 226);
  LabelDamaged->setStyleSheet("color: rgb(160, 30, 30);");
  LabelDamaged->setGeometry(14, 222, 440, 25);
  LabelDamaged->hide();
  DeepScanBtn = PushButton(TSScan, "Deep scan", {464, 222, 81, 25});
  DeepScanBtn->setToolTip("Rebuild more of this file's messages from the pieces of text in it");
  DeepScanBtn->hide();
  connect(DeepScanBtn, &QAbstractButton::clicked, this, [this] { DeepScanBtnClick(); });

  Label(TSScan, "Emails found:", 6, 267);
  LabelImagesFound = Label(TSScan, "0", 85, 268);
  LabelImagesFound->setMinimumWidth(190); // "12345 of 123456"
  Label(TSScan, "Progress:", 27, 284);
  GProgress = new skin::TGauge(TSScan);
  GProgress->setGeometry(85, 284, 196, 15); // on white, the gauge's own background
  GProgress->setForeColor(QColor(170, 213, 255));
  auto* divider = new QFrame(TSScan);
  divider->setFrameShape(QFrame::VLine);
  divider->setFrameShadow(QFrame::Sunken);
  divider->setGeometry(288, 268, 2, 32);

  SelectAllBtn = PushButton(TSScan, "Select All", {296, 271, 73, 25});
  SelectNoneBtn = PushButton(TSScan, "Select None", {372, 271, 81, 25});
  StartBtn = PushButton(TSScan, "Start", {464, 271, 81, 25});
  connect(SelectAllBtn, &QAbstractButton::clicked, this, [this] { SelectAllBtnClick(); });
  connect(SelectNoneBtn, &QAbstractButton::clicked, this, [this] { SelectNoneBtnClick(); });
  connect(StartBtn, &QAbstractButton::clicked, this, [this] { StartBtnClick(); });
}

void TFrmMain::BuildSavePage() {
  LabelSaveImages = Label(TSSaveFile, "Please select where to save e-mails", 12, 10, true);
  // A one-column list whose header names the tree laid over it.
  auto* frame = new QTreeWidget(TSSaveFile);
  frame->setGeometry(12, 27, 535, 238);
  frame->setRootIsDecorated(false);
  frame->setHeaderLabels({"Destination Path"});
  frame->setFocusPolicy(Qt::NoFocus);
  TVDestinationFolder = new DestinationTree(TSSaveFile);
  TVDestinationFolder->setGeometry(14, 44, 528, 220);
  Label(TSSaveFile, "Save as:", 14, 277);
  CBSaveFormat = new QComboBox(TSSaveFile);
  CBSaveFormat->setGeometry(66, 272, 220, 23);
  CBSaveFormat->addItem(".eml files, one per message", int(app::SaveFormat::Eml));
  CBSaveFormat->addItem("mbox, one file per folder", int(app::SaveFormat::Mbox));
  CBSaveFormat->addItem("Maildir, one per folder", int(app::SaveFormat::Maildir));
  CBSaveFormat->setToolTip(".eml files open in any mail program; Thunderbird and most others "
                           "import mbox; Maildir suits mail servers and many Linux programs");
  SaveBtn = PushButton(TSSaveFile, "Save", {372, 271, 81, 25});
  BrowseBtn = PushButton(TSSaveFile, "Browse", {464, 271, 81, 25});
  connect(SaveBtn, &QAbstractButton::clicked, this, [this] { SaveBtnClick(); });
  connect(BrowseBtn, &QAbstractButton::clicked, this, [this] { BrowseBtnClick(); });
}

app::SaveFormat TFrmMain::ChosenSaveFormat() const {
  return static_cast<app::SaveFormat>(CBSaveFormat->currentData().toInt());
}

void TFrmMain::BuildWindowButtons() {
  // Creation order puts Exit and Next in front of Back and Home.
  BackBtn = PictureButton(this, "back", "Back", {524, 411, 49, 49});
  ExitBtn = PictureButton(this, "exit", "Exit Program", {524, 411, 49, 49});
  HomeBtn = PictureButton(this, "home", "Home", {581, 411, 49, 49});
  NextBtn = PictureButton(this, "next", "Next", {581, 411, 49, 49});
  CloseBtn = PictureButton(this, "x", "Exit Program", {617, 9, 16, 17});
  HelpBtn = PictureButton(this, "help", "Help", {6, 6, 21, 21});
  LogoBtn = PictureButton(this, "logo", "About Salvora for Outlook Express", {233, 371, 170, 33});
  connect(BackBtn, &skin::TEzRgnBtn::clicked, this, [this] { BackBtnClick(); });
  connect(ExitBtn, &skin::TEzRgnBtn::clicked, this, [this] { ExitBtnClick(); });
  connect(HomeBtn, &skin::TEzRgnBtn::clicked, this, [this] { HomeBtnClick(); });
  connect(NextBtn, &skin::TEzRgnBtn::clicked, this, [this] { NextBtnClick(); });
  connect(CloseBtn, &skin::TEzRgnBtn::clicked, this, [this] { ExitBtnClick(); });
  connect(HelpBtn, &skin::TEzRgnBtn::clicked, this, [this] { HelpBtnClick(); });
  connect(LogoBtn, &skin::TEzRgnBtn::clicked, this, [this] { mnu_AboutClick(); });
}

void TFrmMain::BuildPopupMenu() {
  PopupAboutus = new QMenu(this);
  const QList<QImage> images = skin::ListImages();
  mnu_Help = PopupAboutus->addAction(QIcon(QPixmap::fromImage(images.value(4))), "&Help");
  mnu_HomePage = PopupAboutus->addAction(QIcon(QPixmap::fromImage(images.value(5))), "Home Page");
  PopupAboutus->addSeparator();
  mnu_About = PopupAboutus->addAction(QIcon(QPixmap::fromImage(images.value(7))), "About... ");
  connect(mnu_Help, &QAction::triggered, this, [this] { mnu_HelpClick(); });
  connect(mnu_HomePage, &QAction::triggered, this, [this] { mnu_HomePageClick(); });
  connect(mnu_About, &QAction::triggered, this, [this] { mnu_AboutClick(); });
  HelpBtn->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(HelpBtn, &QWidget::customContextMenuRequested, this,
          [this] { PopupAboutus->popup(QCursor::pos()); });
}

void TFrmMain::LoadDataPictures() {
  const QString data = QString::fromStdString(options_.program_folder) + "Data/";
  CoolForm->loadPicture(data + "main.bmp"); // the outline stays that of the built-in picture
  const std::pair<skin::TEzRgnBtn*, const char*> sets[] = {
      {LogoBtn, "logo"}, {HomeBtn, "home"}, {ExitBtn, "exit"}, {BackBtn, "back"},
      {NextBtn, "next"}, {CloseBtn, "x"},   {HelpBtn, "help"}};
  for (auto [button, set] : sets)
    skin::LoadButtonSetFromFolder(*button, data, set);
}

} // namespace window
