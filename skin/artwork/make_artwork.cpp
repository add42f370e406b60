// Draws the product's artwork. Run as
//   make_artwork builtin <folder>   the built-in pictures, as PNG, for the resources
//   make_artwork data <folder>      the Data folder example, a teal look, as BMP
// The same input always gives the same pictures.
#include "pictures.h"

#include <QDir>
#include <QGuiApplication>
#include <QTextStream>

namespace {

bool Save(const QImage& image, const QDir& folder, const QString& name) {
  const QString path = folder.filePath(name);
  if (image.save(path))
    return true;
  QTextStream(stderr) << "make_artwork: cannot write " << path << "\n";
  return false;
}

const char* const kStates[] = {"normal", "up", "down", "disable"};
const char* const kSets[] = {"back", "next", "home", "exit", "x", "help", "logo"};

bool WriteBuiltin(const QDir& folder) {
  using namespace artwork;
  const Theme theme = BuiltinTheme();
  const QImage main = MainSurface(theme);
  bool ok = Save(main, folder, "main.png") && Save(AboutSurface(theme), folder, "splash.png") &&
            Save(PushButtonSkin(), folder, "DEFAULT_SKIN.png") &&
            Save(AppIcon(theme), folder, "icon.png");
  for (int i = 0; i < 11; ++i)
    ok = ok && Save(ListImage(i), folder, QStringLiteral("list_%1.png").arg(i));
  for (const char* set : kSets)
    for (const char* state : kStates)
      ok = ok && Save(ButtonPicture(set, state, theme, main), folder,
                      QStringLiteral("%1_button%2.png").arg(set, state));
  return ok;
}

bool WriteDataExample(const QDir& folder) {
  using namespace artwork;
  const Theme theme = TealTheme();
  const QImage main = MainSurface(theme);
  bool ok = Save(main, folder, "main.bmp");
  for (const char* set : kSets)
    for (const char* state : kStates)
      ok = ok && Save(ButtonPicture(set, state, theme, main), folder,
                      QStringLiteral("%1_button%2.bmp").arg(set, state));
  return ok;
}

} // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  const QStringList args = app.arguments();
  if (args.size() != 3 || (args[1] != "builtin" && args[1] != "data")) {
    QTextStream(stderr) << "usage: make_artwork builtin|data <folder>\n";
    return 2;
  }
  QDir folder(args[2]);
  if (!folder.mkpath(QStringLiteral(".")))
    return 1;
  const bool ok = args[1] == "builtin" ? WriteBuiltin(folder) : WriteDataExample(folder);
  return ok ? 0 : 1;
}
