// Writes a PNG of each wizard page, with the demo store scanned, and of the message view into
// the folder given:
//   window_screenshots OUTPUT-FOLDER
// Run it under an X server (tools/screenshots.sh starts Xvfb) so the window's outline is cut
// as on a desktop; offscreen it still draws every page.
#include "about/FSplash.h"
#include "app/window/frm_main.h"
#include "app/window/message_boxes.h"
#include "app/window/message_window.h"
#include "app/window/qt_message_pump.h"
#include "app/window/recovered_emails_model.h"
#include "scoped_environment.h"
#include "skin/skin_fonts.h"

#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QTest>
#include <filesystem>
#include <iostream>

namespace {

// The window as it appears on the screen: its outline shows the desktop behind it.
void Save(QWidget& window, const QString& file) {
  QCoreApplication::processEvents();
  QTest::qWait(150);
  QPixmap picture = window.grab();
  if (!window.mask().isEmpty()) {
    QPixmap shaped(picture.size());
    shaped.fill(QColor(58, 110, 165)); // a desktop colour behind the cut-out corners
    QPainter painter(&shaped);
    painter.setClipRegion(window.mask());
    painter.drawPixmap(0, 0, picture);
    picture = shaped;
  }
  picture.save(file);
  std::cout << "wrote " << file.toStdString() << '\n';
}

} // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  if (argc != 2) {
    std::cerr << "usage: window_screenshots OUTPUT-FOLDER\n";
    return 2;
  }
  const QString out = QString::fromLocal8Bit(argv[1]);
  QDir().mkpath(out);
  QApplication::setApplicationName("Salvora for Outlook Express");
  skin::InstallSkinFonts();
  window::InstallQtMessagePump();
  window::SetMessageBoxHook(
      [](window::BoxKind, const QString&, const QString&) { return window::BoxAnswer::Ok; });

  testenv::TempFolder home;
  testenv::ScopedVariable home_variable("HOME", home.path());
  testenv::ScopedVariable config("XDG_CONFIG_HOME", home / "config");
  testenv::ScopedVariable prefix("WINEPREFIX", SALVORA_DEMO_PREFIX);
  std::filesystem::create_directories(home / "program");
  std::filesystem::create_directories(home / "tmp");

  window::StartOptions options;
  options.program_folder = home / "program/";
  options.temp_dir = home / "tmp/";
  window::TFrmMain frm(options);
  frm.show();
  Save(frm, out + "/1-drive.png");
  frm.SelectAllFolderBtnClick();
  frm.NextBtnClick();
  Save(frm, out + "/2-search.png");
  // The message view on a message with an attachment.
  const QAbstractItemModel& rows = frm.EmailsModel();
  for (int row = 0; row < rows.rowCount(); ++row)
    if (rows.index(row, app::kSubjectColumn).data().toString() == "Signed contract")
      frm.LVRecoveredEmailsOpen(row);
  Save(*frm.FrmMessage, out + "/6-message.png");
  frm.FrmMessage->close();
  frm.NextBtnClick();
  Save(frm, out + "/3-save-files.png");

  const app::Settings& settings = frm.Settings();
  about::TFrmSplash splash(
      {QString::fromStdString(settings.program_name), QString::fromStdString(settings.company_name),
       QString::fromStdString(settings.web_site_url), QString::fromStdString(settings.email)},
      SALVORA_EXPRESS_PROGRAM, QString());
  splash.PrepareSplash(false);
  splash.show();
  Save(splash, out + "/4-about.png");
  return 0;
}
