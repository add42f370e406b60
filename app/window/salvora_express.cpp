// SalvoraExpress — the program entry: the application titled "Salvora for Outlook Express",
// the main window, the splash, and the message loop.
#include "frm_main.h"
#include "mime/content_type.h"
#include "platform/content_types.h"
#include "platform/exclusive_file.h"
#include "platform/known_folders.h"
#include "qt_message_pump.h"
#include "skin/skin_fonts.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QIcon>
#include <QUrl>

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName("Salvora for Outlook Express");
  QApplication::setWindowIcon(QIcon(":/skin/icon.png"));
  skin::InstallSkinFonts();
  platform::SetFileOpener(&platform::OpenExclusiveForReading);
  mime::SetContentTypeLookup(&platform::ContentTypeForExtension);
  window::InstallQtMessagePump();

  window::StartOptions options;
  options.program_folder = platform::GetProgramFolder();
  options.arguments = QApplication::arguments().mid(1);
  options.open_document = [](const QString& target) { QDesktopServices::openUrl(QUrl(target)); };
  options.explore_folder = [](const QString& folder) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
  };
  options.choose_store_folder = [] {
    return QFileDialog::getExistingDirectory(nullptr, "Outlook Express store folder");
  };
  window::TFrmMain main_window(std::move(options));
  main_window.show();
  return QApplication::exec();
}
