// SalvoraExpress — the program entry: the application titled "Salvora for Outlook Express",
// the main window, the splash, and the message loop.
#include "about/FSplash.h"
#include "about/hh.h"
#include "about/hh_funcs.h"
#include "app/platform_services.h"
#include "app/settings.h"
#include "frm_main.h"
#include "platform/known_folders.h"
#include "platform/program_file.h"
#include "qt_message_pump.h"
#include "skin/skin_fonts.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QIcon>
#include <QUrl>
#include <memory>

namespace {

std::vector<std::string> Arguments(int argc, char** argv) {
  return std::vector<std::string>(argv, argv + argc);
}

} // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName("Salvora for Outlook Express");
  QApplication::setWindowIcon(QIcon(":/skin/icon.png"));
  skin::InstallSkinFonts();
  app::InstallPlatformServices();
  window::InstallQtMessagePump();
  about::LoadHtmlHelp();
  about::InitHelpFuncs(Arguments(argc, argv));

  const std::string program_folder = platform::GetProgramFolder();
  std::unique_ptr<about::TFrmSplash> splash; // made after the window, from its settings

  window::StartOptions options;
  options.program_folder = program_folder;
  options.arguments = QApplication::arguments().mid(1);
  options.show_about = [&splash](bool loading) {
    if (splash)
      splash->ShowSplash(loading);
  };
  options.help_available = [] { return !about::HtmlHelpControlPath().empty(); };
  options.show_help = [program_folder](int context) {
    about::HelpFuncs().Services().show_context(app::HelpFileName(program_folder), context);
  };
  options.open_document = [](const QString& target) { QDesktopServices::openUrl(QUrl(target)); };
  options.explore_folder = [](const QString& folder) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
  };
  // A folder file names its store folder; any other file is a disk image to search.
  options.choose_source = [] {
    return QFileDialog::getOpenFileName(nullptr, "Open a folder file or a disk image", {},
                                        "Folder files (*.dbx *.DBX);;Disk images (*)");
  };
  options.choose_attachment_folder = [] {
    return QFileDialog::getExistingDirectory(nullptr, "Save attachment in");
  };
  std::unique_ptr<window::TFrmMain> main_window = window::CreateMainWindow(std::move(options));
  if (!main_window) {
    about::UnloadHtmlHelp();
    return 1; // the error box has said why
  }

  const app::Settings& settings = main_window->Settings();
  splash = std::make_unique<about::TFrmSplash>(
      about::SplashTexts{QString::fromStdString(settings.program_name),
                         QString::fromStdString(settings.company_name),
                         QString::fromStdString(settings.web_site_url),
                         QString::fromStdString(settings.email)},
      QString::fromStdString(platform::GetProgramFile()), QString::fromStdString(program_folder));
  splash->ShowSplash(true);
  main_window->show();
  int result = QApplication::exec();
  splash.reset();
  main_window.reset();
  about::UnloadHtmlHelp();
  return result;
}
