#include "about/FSplash.h"

#include "about/program_texts.h"
#include "about/version_info.h"
#include "platform/shell.h"
#include "skin/builtin_artwork.h"
#include "skin/cool_form.h"
#include "skin/hs_skin_btn.h"
#include "skin/skin_fonts.h"

#include <QEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>
#include <algorithm>

namespace about {
namespace {

constexpr int kTickInterval = 250;   // milliseconds
constexpr int kTicksBeforeClose = 7; // six dots, then the window goes
constexpr int kLoadingLeft = 362;

QFont WindowFont(bool bold = false) {
  return skin::WindowsFont(QStringLiteral("MS Sans Serif"), 8, bold);
}

void MakeWhite(QWidget* widget) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::Window, Qt::white);
  widget->setPalette(palette);
  widget->setAutoFillBackground(true);
}

} // namespace

TFrmSplash::TFrmSplash(const SplashTexts& texts, const QString& programFile,
                       const QString& programFolder, QWidget* parent)
    : QDialog(parent), programName_(texts.programName),
      openDocument_([](const std::string& target) { platform::OpenDocument(target); }) {
  setWindowFlag(Qt::FramelessWindowHint);
  setWindowTitle(texts.programName);
  setFont(WindowFont());
  MakeWhite(this);

  // The artwork only; the window keeps its rectangular outline.
  CoolForm = new skin::TCoolForm(this);
  CoolForm->setPicture(skin::AboutWindowPicture());
  setFixedSize(CoolForm->picture().size());
  CoolForm->setGeometry(rect());

  PanelAboutus = new QWidget(this);
  PanelAboutus->setObjectName(QStringLiteral("PanelAboutus"));
  MakeWhite(PanelAboutus);
  PanelAboutus->setGeometry(3, 300, 313, 72);

  LBProgramName = makeLabel(PanelAboutus, {8, 0}, texts.programName, true);
  TVersionInfo version;
  version.ReadVersionInfo(programFile.toStdString());
  LBVersion = makeLabel(PanelAboutus, {8, 15},
                        kVersionLead + QString::fromStdString(version.VersionText()));
  LBCopyright = makeLabel(PanelAboutus, {8, 29}, kCopyrightLead + texts.companyName);
  Label4 = makeLabel(PanelAboutus, {8, 44}, QString::fromUtf8(kContactPointsText));
  LabelWebSite = makeLink({102, 42}, texts.webSiteUrl);
  LabelEmail = makeLink({190, 42}, texts.email);
  // A web address longer than its place would run under the mail address: move that along.
  constexpr int kLinkGap = 6;
  if (LabelWebSite->geometry().right() + kLinkGap > LabelEmail->x())
    LabelEmail->move(LabelWebSite->geometry().right() + kLinkGap, LabelEmail->y());
  // Long contact texts widen the panel rather than being cut off, up to the loading line.
  const int widest = std::max(LabelEmail->geometry().right(), LBCopyright->geometry().right());
  PanelAboutus->resize(
      std::clamp(widest + 2, PanelAboutus->width(), kLoadingLeft - 3 - PanelAboutus->x()),
      PanelAboutus->height());
  Label7 = makeLabel(PanelAboutus, {8, 60}, QString::fromUtf8(kTelephoneText));
  Label7->setWordWrap(true);
  Label7->setFixedWidth(PanelAboutus->width() - 8);

  LabelLoading = makeLabel(this, {kLoadingLeft, 339}, {});
  LabelLoading->setFixedSize(120, 13);
  LabelLoading->setAutoFillBackground(false);

  OKBtn = new skin::THSSkinBtn(this);
  OKBtn->setObjectName(QStringLiteral("OKBtn"));
  OKBtn->setText(QStringLiteral("OK"));
  OKBtn->setFont(WindowFont(true));
  OKBtn->setGeometry(423, 368, 70, 25);
  connect(OKBtn, &QAbstractButton::clicked, this, &TFrmSplash::OKBtnClick);

  TimerSplash = new QTimer(this);
  TimerSplash->setInterval(kTickInterval);
  connect(TimerSplash, &QTimer::timeout, this, &TFrmSplash::TimerSplashTimer);

  // Without a program folder there is no Data folder (and never one of the working folder).
  const QString splash = programFolder + QString::fromUtf8(kSplashBitmap);
  if (!programFolder.isEmpty() && QFileInfo::exists(splash))
    CoolForm->loadPicture(splash);
}

QLabel* TFrmSplash::makeLabel(QWidget* parent, QPoint at, const QString& text, bool bold) {
  auto* label = new QLabel(text, parent);
  label->setFont(WindowFont(bold));
  label->setTextFormat(Qt::PlainText);
  label->move(at);
  label->adjustSize();
  return label;
}

QLabel* TFrmSplash::makeLink(QPoint at, const QString& text) {
  QLabel* label = makeLabel(PanelAboutus, at, text);
  QFont font = label->font();
  font.setUnderline(true);
  label->setFont(font);
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, Qt::blue);
  label->setPalette(palette);
  label->setCursor(Qt::PointingHandCursor);
  label->adjustSize();
  label->installEventFilter(this);
  return label;
}

void TFrmSplash::PrepareSplash(bool loading) {
  LabelLoading->setVisible(loading);
  OKBtn->setVisible(!loading);
  PanelAboutus->move(PanelAboutus->x(), 300);
  LBProgramName->setText(programName_);
  LBProgramName->adjustSize();
  if (loading) {
    LabelLoading->setText(QString::fromUtf8(kLoadingText));
    TimerSplash->start();
  }
  centerOnScreen();
}

void TFrmSplash::ShowSplash(bool loading) {
  PrepareSplash(loading);
  exec();
}

void TFrmSplash::TimerSplashTimer() {
  ++ticks_;
  if (ticks_ < kTicksBeforeClose) {
    LabelLoading->setText(LabelLoading->text() + QLatin1Char('.'));
    return;
  }
  // The seventh tick, or any later one should the splash be shown loading again.
  TimerSplash->stop();
  done(QDialog::Accepted);
}

void TFrmSplash::OKBtnClick() {
  close();
}

void TFrmSplash::done(int result) {
  // However the window closes (Esc too), the loading line stops: a tick left running would
  // later close the about window.
  TimerSplash->stop();
  QDialog::done(result);
}

void TFrmSplash::LabelWebSiteClick() {
  // The setting has no scheme, and the shell opens a bare host name as a file.
  openDocument_(kWebScheme + LabelWebSite->text().toStdString());
}

void TFrmSplash::LabelEmailClick() {
  openDocument_("mailto:" + LabelEmail->text().toStdString());
}

bool TFrmSplash::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate)
    OKBtn->update();
  return QDialog::event(event);
}

bool TFrmSplash::eventFilter(QObject* watched, QEvent* event) {
  // A link opens when the left button goes down and comes up on it, as a button clicks.
  const bool press = event->type() == QEvent::MouseButtonPress;
  const bool release = event->type() == QEvent::MouseButtonRelease;
  if ((press || release) && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const bool over = watched == pressedLink_ &&
                      static_cast<QWidget*>(watched)->rect().contains(mouse->position().toPoint());
    pressedLink_ = press ? watched : nullptr;
    if (release && over && watched == LabelWebSite)
      LabelWebSiteClick();
    else if (release && over && watched == LabelEmail)
      LabelEmailClick();
  }
  return QDialog::eventFilter(watched, event);
}

void TFrmSplash::centerOnScreen() {
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
}

} // namespace about
