// The text of a message in the message view: plain text as it stands, HTML as rich text that
// loads nothing, neither from the network nor from the user's files, and runs nothing. A click
// on a link only reports it (anchorClicked).
#pragma once

#include <QTextBrowser>

namespace window {

class MessageBody : public QTextBrowser {
  Q_OBJECT

public:
  // Text laid out in one paragraph takes time that grows with the square of its length, and
  // damaged or hostile text may have no line ends at all: plain text is shown in paragraphs of
  // at most this many characters, and only so much of a text is shown.
  static constexpr qsizetype kLongestParagraph = 4096;
  static constexpr qsizetype kMostPlainText = 4 << 20;
  static constexpr qsizetype kMostHtml = 128 << 10;

  explicit MessageBody(QWidget* parent = nullptr);

  // Shows the text; false when it was too long to show whole and only its beginning shows.
  bool ShowText(const QString& text, bool html);

protected:
  // Refuses every resource with an empty one (an image of one transparent pixel): the
  // document would otherwise read a local file for it (a file:// URL, a relative, absolute
  // or UNC path).
  QVariant loadResource(int type, const QUrl& name) override;
};

// Plain text as MessageBody shows it: a paragraph longer than `longest` characters is broken
// after every `longest` of them.
QString WithShortParagraphs(const QString& text, qsizetype longest);

} // namespace window
