#include "skin/builtin_artwork.h"

#include "skin/ez_rgn_btn.h"

#include <QDir>
#include <QFile>

namespace skin {
namespace {

QImage Resource(const QString& name) {
  return QImage(QStringLiteral(":/skin/") + name + QStringLiteral(".png"));
}

} // namespace

QImage MainWindowPicture() {
  return Resource(QStringLiteral("main")).convertToFormat(QImage::Format_RGB32);
}

QImage AboutWindowPicture() {
  return Resource(QStringLiteral("splash")).convertToFormat(QImage::Format_RGB32);
}

QList<QImage> ListImages() {
  QList<QImage> images;
  for (int i = 0; i < 11; ++i)
    images.append(Resource(QStringLiteral("list_%1").arg(i)));
  return images;
}

QStringList ButtonSetNames() {
  return {QStringLiteral("back"), QStringLiteral("next"), QStringLiteral("home"),
          QStringLiteral("exit"), QStringLiteral("x"),    QStringLiteral("help"),
          QStringLiteral("logo")};
}

QImage ButtonSetPicture(const QString& setName, const QString& state) {
  return Resource(setName + QStringLiteral("_button") + state)
      .convertToFormat(QImage::Format_RGB32);
}

void LoadButtonSet(TEzRgnBtn& button, const QString& setName) {
  button.setPicDown(ButtonSetPicture(setName, QStringLiteral("down")));
  button.setPicDsbld(ButtonSetPicture(setName, QStringLiteral("disable")));
  button.setPicIdle(ButtonSetPicture(setName, QStringLiteral("normal")));
  button.setPicUp(ButtonSetPicture(setName, QStringLiteral("up")));
}

int LoadButtonSetFromFolder(TEzRgnBtn& button, const QString& dataFolder, const QString& setName) {
  struct Slot {
    const char* suffix;
    void (TEzRgnBtn::*setter)(const QImage&);
  };
  static const Slot kSlots[] = {{"_buttondown.bmp", &TEzRgnBtn::setPicDown},
                                {"_buttondisable.bmp", &TEzRgnBtn::setPicDsbld},
                                {"_buttonnormal.bmp", &TEzRgnBtn::setPicIdle},
                                {"_buttonup.bmp", &TEzRgnBtn::setPicUp}};
  int replaced = 0;
  for (const Slot& slot : kSlots) {
    const QString file = QDir(dataFolder).filePath(setName + QLatin1String(slot.suffix));
    QImage picture;
    if (!QFile::exists(file) || !picture.load(file))
      continue;
    (button.*slot.setter)(picture.convertToFormat(QImage::Format_RGB32));
    ++replaced;
  }
  return replaced;
}

} // namespace skin
