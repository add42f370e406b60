// The pictures built into the program, and the Data folder pictures that replace them.
#pragma once

#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>

namespace skin {

class TEzRgnBtn;

// The main window's surface, 641 x 479; its top-left colour marks its outline.
QImage MainWindowPicture();
// The about window's surface, 501 x 400.
QImage AboutWindowPicture();
// The result list's eleven 16 x 16 images: unticked and ticked box, deleted cross, paper clip,
// in-tray, inbox, outbox, sent items, deleted items, drafts, and the lens of a message the deep
// scan found.
QList<QImage> ListImages();

// The built-in button sets.
QStringList ButtonSetNames(); // back, next, home, exit, x, help, logo
// One picture of a built-in set: state is "normal", "up", "down" or "disable".
QImage ButtonSetPicture(const QString& setName, const QString& state);
// Gives `button` the four built-in pictures of `setName`.
void LoadButtonSet(TEzRgnBtn& button, const QString& setName);
// Replaces `button`'s pictures by `setName`_buttondown.bmp, _buttondisable.bmp,
// _buttonnormal.bmp and _buttonup.bmp of `dataFolder`, in that order, each only when its file
// exists and reads as a picture. Returns how many were replaced.
int LoadButtonSetFromFolder(TEzRgnBtn& button, const QString& dataFolder, const QString& setName);

} // namespace skin
