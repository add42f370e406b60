// The splash shown at start-up, which closes itself after its loading line has grown, and
// the same window later as the about window with an OK button.
#pragma once

#include <QDialog>
#include <functional>
#include <string>

class QLabel;
class QTimer;
class QWidget;

namespace skin {
class TCoolForm;
class THSSkinBtn;
} // namespace skin

namespace about {

// What the window shows, as the settings give it.
struct SplashTexts {
  QString programName;
  QString companyName;
  QString webSiteUrl; // no scheme: the link opens "http://" followed by it
  QString email;
};

class TFrmSplash : public QDialog {
  Q_OBJECT

public:
  // `programFile` is read for its version; `programFolder` (ending with a separator) may
  // hold Data/splash.bmp, which replaces the built-in artwork.
  TFrmSplash(const SplashTexts& texts, const QString& programFile, const QString& programFolder,
             QWidget* parent = nullptr);

  // Shows the window modally: with `loading`, as the splash that closes itself after seven
  // ticks; otherwise as the about window that waits for OK. Returns when it closes.
  void ShowSplash(bool loading);
  // The first steps of ShowSplash, without showing the window.
  void PrepareSplash(bool loading);

  // Opens a link target; the system's shell unless replaced.
  using DocumentOpener = std::function<void(const std::string& target)>;
  void setDocumentOpener(DocumentOpener opener) { openDocument_ = std::move(opener); }

  int ticks() const { return ticks_; }

  skin::TCoolForm* CoolForm;
  QWidget* PanelAboutus;
  QLabel* LBProgramName;
  QLabel* LBVersion;
  QLabel* LBCopyright;
  QLabel* Label4;
  QLabel* LabelWebSite;
  QLabel* LabelEmail;
  QLabel* Label7;
  QLabel* LabelLoading;
  skin::THSSkinBtn* OKBtn;
  QTimer* TimerSplash;

public slots:
  void TimerSplashTimer();
  void OKBtnClick();
  void LabelWebSiteClick();
  void LabelEmailClick();

public:
  // Closes the window with `result`; the splash's timer stops.
  void done(int result) override;

protected:
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  QLabel* makeLabel(QWidget* parent, QPoint at, const QString& text, bool bold = false);
  QLabel* makeLink(QPoint at, const QString& text);
  void centerOnScreen();

  QString programName_;
  DocumentOpener openDocument_;
  QObject* pressedLink_ = nullptr; // the link the left button went down on
  int ticks_ = 0;                  // since creation; never reset
};

} // namespace about
