#include "message_body.h"

#include <QImage>
#include <QTextDocument>

namespace window {

MessageBody::MessageBody(QWidget* parent) : QTextBrowser(parent) {
  setOpenLinks(false); // a click reports the link; the text never navigates
  setOpenExternalLinks(false);
  setReadOnly(true);
}

bool MessageBody::ShowText(const QString& text, bool html) {
  document()->clear(); // forgets the resources of the last text
  const qsizetype most = html ? kMostHtml : kMostPlainText;
  const bool whole = text.size() <= most;
  const QString shown = whole ? text : text.left(most);
  if (html)
    setHtml(shown);
  else
    setPlainText(WithShortParagraphs(shown, kLongestParagraph));
  return whole;
}

QString WithShortParagraphs(const QString& text, qsizetype longest) {
  QString out;
  out.reserve(text.size() + text.size() / longest);
  qsizetype run = 0; // characters since the last line end
  for (const QChar c : text) {
    if (c == QLatin1Char('\n')) {
      run = 0;
    } else if (run == longest) {
      out += QLatin1Char('\n');
      run = 1;
    } else {
      ++run;
    }
    out += c;
  }
  return out;
}

QVariant MessageBody::loadResource(int type, const QUrl&) {
  // A null value would let the document load the resource itself, and a null image the
  // document's image handler, which reads the picture's name as a file path: an image is one
  // transparent pixel.
  if (type == QTextDocument::ImageResource) {
    QImage nothing(1, 1, QImage::Format_ARGB32);
    nothing.fill(Qt::transparent);
    return nothing;
  }
  if (type == QTextDocument::StyleSheetResource)
    return QString();
  return QByteArray();
}

} // namespace window
