// The main window over a store of its own, with every file it touches in temporary folders;
// message boxes are answered through the test hook, and clicks go where a person would click.
#pragma once

#include "app/window/frm_main.h"
#include "app/window/message_boxes.h"
#include "dbx_writer.h"
#include "platform/pump.h"
#include "scoped_environment.h"

#include <QTest>
#include <QTimer>
#include <algorithm>
#include <filesystem>
#include <functional>

namespace windowtest {

namespace fs = std::filesystem;
using window::BoxAnswer;
using window::BoxKind;

struct Box {
  BoxKind kind;
  QString title;
  QString text;
};

// A folder file of `count` generated messages with the subjects m0, m1, ...; the last
// `deleted` of them are deleted.
inline void WriteFolderFile(const std::string& path, int count, int deleted = 0) {
  dbxtest::StoreBuilder builder;
  for (int i = 0; i < count; ++i)
    builder.AddMessage("From: a@example.org\r\nTo: b@example.org\r\nSubject: m" +
                       std::to_string(i) + "\r\nDate: Mon, 3 Mar 2003 10:20:30 +0000\r\n\r\n" +
                       std::string(600, 'x') + "\r\n");
  for (int i = count - deleted; i < count; ++i)
    builder.DeleteMessage(i);
  builder.Build().WriteTo(path);
}

inline std::vector<std::string> FileNames(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

class Harness {
public:
  explicit Harness(const std::string& prefix = SALVORA_DEMO_PREFIX)
      : home_("HOME", folder_.path()), config_("XDG_CONFIG_HOME", folder_ / "config"),
        wine_("WINEPREFIX", prefix) {
    fs::create_directories(folder_ / "program");
    fs::create_directories(folder_ / "tmp");
    fs::create_directories(folder_ / "out");
    window::SetMessageBoxHook([this](BoxKind kind, const QString& title, const QString& text) {
      boxes.push_back({kind, title, text});
      return answer;
    });
  }
  ~Harness() {
    frm.reset();
    window::SetMessageBoxHook({});
    platform::SetStopRequested(false);
  }

  window::StartOptions Options(QStringList arguments = {}) {
    window::StartOptions options;
    options.program_folder = folder_ / "program/";
    options.temp_dir = folder_ / "tmp/";
    options.arguments = arguments;
    options.show_about = [this](bool loading) { about_shown.push_back(loading); };
    options.open_document = [this](const QString& target) { opened.push_back(target); };
    options.choose_source = [this] {
      ++store_dialogs;
      return store_choice;
    };
    options.choose_attachment_folder = [this] { return attachment_choice; };
    return options;
  }

  window::TFrmMain& Open(QStringList arguments = {}) {
    frm = std::make_unique<window::TFrmMain>(Options(arguments));
    frm->show();
    return *frm;
  }

  static void Click(QWidget* widget) {
    QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center());
  }
  // A click where the user sees the button: the widget in front at that spot gets it.
  void ClickAt(QPoint window_point) {
    QWidget* target = frm->childAt(window_point);
    QVERIFY(target != nullptr);
    QTest::mouseClick(target, Qt::LeftButton, {}, target->mapFrom(frm.get(), window_point));
  }
  void ClickNext() { ClickAt({605, 435}); }
  void ClickLeftSlot() { ClickAt({548, 435}); }

  std::vector<std::string> WorkingCopies() const { return FileNames(folder_ / "tmp"); }
  std::string Out() const { return folder_ / "out"; }
  std::string Path(const std::string& name) const { return folder_ / name; }

  std::unique_ptr<window::TFrmMain> frm;
  std::vector<Box> boxes;
  BoxAnswer answer = BoxAnswer::Ok;
  std::vector<bool> about_shown;
  std::vector<QString> opened;
  int store_dialogs = 0;
  QString store_choice;
  QString attachment_choice;

private:
  testenv::TempFolder folder_;
  testenv::ScopedVariable home_, config_, wine_;
};

// The window's message pump without its 8 ms throttle: every pump lets the window work, so a
// click planned for a run happens at the run's first pump rather than by chance.
inline void PumpEveryTime() {
  QCoreApplication::processEvents();
}

// Clicks a person makes while a run is busy. Each step runs once, in order, at a pump at which
// the window is in the run state the step names and the step's condition holds; one step a
// pump, so the run goes on between them.
class ClicksDuringRun {
public:
  explicit ClicksDuringRun(const window::TFrmMain& frm) : frm_(frm) {
    timer_.setInterval(0);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Step(); });
    timer_.start();
  }

  void Add(
      window::RunState state, std::function<void()> click,
      std::function<bool()> ready = [] { return true; }) {
    steps_.push_back({state, std::move(click), std::move(ready)});
  }
  bool AllDone() const { return next_ == steps_.size(); }
  std::size_t Done() const { return next_; }

private:
  struct Step_ {
    window::RunState state;
    std::function<void()> click;
    std::function<bool()> ready;
  };

  void Step() {
    if (next_ < steps_.size() && frm_.CurrentRun() == steps_[next_].state && steps_[next_].ready())
      steps_[next_++].click();
  }

  const window::TFrmMain& frm_;
  QTimer timer_;
  std::vector<Step_> steps_;
  std::size_t next_ = 0;
};

} // namespace windowtest
