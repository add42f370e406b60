// The message view on its own: character sets through Qt and the platform, an HTML text that
// must load nothing and follow only clicked web links, attachments saved into the folder
// chosen, and damaged text shown calmly.
#include "app/message_view.h"
#include "app/window/charset_decoder.h"
#include "app/window/message_body.h"
#include "app/window/message_boxes.h"
#include "app/window/message_window.h"
#include "scoped_environment.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <filesystem>
#include <random>

namespace fs = std::filesystem;

namespace {

// A view whose folder chooser answers `folder` and whose clicked links are recorded.
struct Viewer {
  QString folder;
  int folder_questions = 0;
  std::vector<QUrl> links;
  window::TFrmMessage frm{{[this] {
                             ++folder_questions;
                             return folder;
                           },
                           [this](const QUrl& url) { links.push_back(url); }}};

  void Show(std::string_view text) {
    frm.ShowMessage(app::ViewMessage(text, &window::DecodeCharset), "Local Folders/Inbox");
    frm.show();
  }
};

// Clicks the first occurrence of `text` in the message's text.
void ClickText(window::MessageBody& body, const QString& text) {
  const QTextCursor found = body.document()->find(text);
  QVERIFY(!found.isNull());
  QTextCursor inside(body.document());
  inside.setPosition(found.selectionStart() + 1);
  const QPoint at = body.cursorRect(inside).center();
  QTest::mouseClick(body.viewport(), Qt::LeftButton, {}, at);
}

std::string Message(const std::string& header, const std::string& body) {
  return "From: a@example.org\r\nTo: b@example.org\r\n" + header + "\r\n" + body;
}

} // namespace

class MessageWindowTest : public QObject {
  Q_OBJECT

private slots:
  void CharsetsQtKnowsAndTheRestThroughThePlatform() {
    struct Case {
      const char* charset;
      std::string bytes;
      std::optional<std::string> text;
    };
    const Case cases[] = {
        {"iso-8859-1", "caf\xE9", "caf\u00E9"},
        {"Windows-1252", "\x93hi\x94", "\u201Chi\u201D"},
        {"koi8-r", "\xF0\xD2\xC9\xD7\xC5\xD4", "\u041F\u0440\u0438\u0432\u0435\u0442"},
        {"utf-8*en", "caf\xC3\xA9", "caf\u00E9"}, // an RFC 2231 language
        {"utf-8", "a\xFF", "a\uFFFD"},
        {"armscii-8", "\xB2", "\u0531"}, // Qt does not know it; the platform does
        {"x-unknown", "abc", std::nullopt},
        {"../../../tmp/x", "abc", std::nullopt},
        {"system", "abc", std::nullopt}, // Qt's name for the user's own encoding
    };
    for (const Case& c : cases)
      QVERIFY2(window::DecodeCharset(c.charset, c.bytes) == c.text, c.charset);
  }

  void HtmlLoadsNothingAndFollowsOnlyClickedWebLinks() {
    testenv::TempFolder folder;
    const std::string picture = folder / "picture.png";
    QImage red(8, 8, QImage::Format_RGB32);
    red.fill(Qt::red);
    QVERIFY(red.save(QString::fromStdString(picture)));
    const QString saved_current = QDir::currentPath();
    QDir::setCurrent(QString::fromStdString(folder.path())); // where "picture.png" resolves
    const QUrl local = QUrl::fromLocalFile(QString::fromStdString(picture));
    Viewer viewer;
    viewer.Show(Message(
        "Subject: =?iso-8859-1?Q?Gr=FC=DFe?=\r\nMIME-Version: 1.0\r\n"
        "Content-Type: text/html; charset=iso-8859-1\r\n",
        "<html><head><link rel=\"stylesheet\" href=\"" + local.toString().toStdString() +
            ".css\"></head><body><p>Gr\xFC\xDF"
            "e</p><img src=\"" +
            local.toString().toStdString() + "\"><img src=\"picture.png\"><img src=\"" + picture +
            "\"><img src=\"http://tracker.example/p.gif\">"
            "<p><a href=\"https://example.org/page\">web</a> "
            "<a href=\"file:///etc/passwd\">file</a> "
            "<a href=\"javascript:alert(1)\">script</a></p></body></html>"));
    window::MessageBody& body = *viewer.frm.MemoBody;
    QCOMPARE(viewer.frm.EditSubject->text(), QString("Gr\u00FC\u00DFe"));
    QVERIFY(body.toPlainText().startsWith("Gr\u00FC\u00DFe"));
    body.grab(); // lays the text out and paints it, pictures included

    // Neither the picture beside the program's working folder nor the one named by its path
    // is read: the document would read local files itself.
    for (const QUrl& url : {local, QUrl("picture.png"), QUrl(QString::fromStdString(picture)),
                            QUrl("http://tracker.example/p.gif")}) {
      const QImage shown =
          qvariant_cast<QImage>(body.document()->resource(QTextDocument::ImageResource, url));
      QVERIFY2(shown.width() <= 1 && shown.pixelColor(0, 0) != QColor(Qt::red),
               qPrintable(url.toString()));
    }
    QDir::setCurrent(saved_current);

    for (const char* link : {"file", "script", "web"})
      ClickText(body, link);
    QCOMPARE(viewer.links, std::vector<QUrl>{QUrl("https://example.org/page")});
    QVERIFY(body.toPlainText().startsWith("Gr\u00FC\u00DFe")); // the text never navigates
  }

  void AttachmentsLandInsideTheFolderChosenAndReplaceNothing() {
    testenv::TempFolder out;
    Viewer viewer;
    viewer.Show(Message("Subject: files\r\nMIME-Version: 1.0\r\n"
                        "Content-Type: multipart/mixed; boundary=\"b\"\r\n",
                        "--b\r\nContent-Type: text/plain\r\n\r\nSee attached.\r\n"
                        "--b\r\nContent-Type: application/octet-stream; name=\"../../x.txt\"\r\n"
                        "Content-Transfer-Encoding: base64\r\n\r\naGVsbG8=\r\n--b--\r\n"));
    window::TFrmMessage& frm = viewer.frm;
    QCOMPARE(frm.LBAttachments->count(), 1);
    QCOMPARE(frm.LBAttachments->item(0)->text(),
             QString("../../x.txt (application/octet-stream, 5 bytes)"));
    QVERIFY(frm.SaveAttachmentBtn->isEnabled()); // the only one is selected

    QTest::mouseClick(frm.SaveAttachmentBtn, Qt::LeftButton); // the chooser is cancelled
    QCOMPARE(viewer.folder_questions, 1);
    QVERIFY(fs::is_empty(out.path()));

    viewer.folder = QString::fromStdString(out.path());
    QTest::mouseClick(frm.SaveAttachmentBtn, Qt::LeftButton);
    QTest::mouseClick(frm.SaveAttachmentBtn, Qt::LeftButton);
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(out.path())) {
      names.push_back(entry.path().filename().string());
      QCOMPARE(testenv::ReadFile(entry.path().string()), std::string("hello"));
    }
    std::sort(names.begin(), names.end());
    QCOMPARE(names.size(), std::size_t(2)); // the second beside the first, inside the folder
    QCOMPARE(frm.LabelSaved->text(), QString::fromStdString("Saved as " + (out / names[1])));
  }

  void AFolderThatCannotBeWrittenShowsTheError() {
    std::vector<QString> boxes;
    window::SetMessageBoxHook([&](window::BoxKind, const QString&, const QString& text) {
      boxes.push_back(text);
      return window::BoxAnswer::Ok;
    });
    Viewer viewer;
    viewer.folder = "/proc/no-such-folder";
    viewer.Show(Message("Subject: one\r\nContent-Type: application/pdf; name=a.pdf\r\n", "%PDF"));
    QTest::mouseClick(viewer.frm.SaveAttachmentBtn, Qt::LeftButton);
    window::SetMessageBoxHook({});
    QCOMPARE(boxes.size(), std::size_t(1));
    QVERIFY2(boxes[0].startsWith("Cannot create file /proc/no-such-folder/a.pdf"),
             qPrintable(boxes[0]));
    QVERIFY(viewer.frm.LabelSaved->text().isEmpty());
  }

  void LongTextsShowWithoutHugeParagraphs() {
    QCOMPARE(window::WithShortParagraphs("abcdefg\nhi", 3), QString("abc\ndef\ng\nhi"));
    QCOMPARE(window::WithShortParagraphs("abc\ndef", 3), QString("abc\ndef"));

    Viewer viewer;
    window::TFrmMessage& frm = viewer.frm;
    // One line of 2 MB: whole, in paragraphs the layout takes in its stride.
    viewer.Show(Message("Subject: long\r\n", std::string(2 << 20, 'x')));
    frm.MemoBody->grab();
    QVERIFY(!frm.LabelCut->isVisible());
    QCOMPARE(frm.MemoBody->toPlainText().remove('\n').size(), 2 << 20);
    QVERIFY(frm.MemoBody->document()->blockCount() > (2 << 20) / 4096);
    // HTML beyond its limit shows its beginning and says so.
    viewer.Show(Message(
        "Content-Type: text/html\r\n", "<p>start</p>" + [] {
          std::string paragraphs;
          for (int i = 0; i < 40000; ++i)
            paragraphs += "<p>y</p>";
          return paragraphs;
        }()));
    QVERIFY(frm.LabelCut->isVisible());
    QVERIFY(frm.MemoBody->toPlainText().startsWith("start"));
  }

  void DamagedTextAndFragmentsShowWhatTheyCan() {
    Viewer viewer;
    window::TFrmMessage& frm = viewer.frm;
    // A fragment: the middle of a letter, no header lines.
    viewer.Show("the middle of a letter\r\nSubject: not a header\r\n");
    QVERIFY(frm.LabelFragment->isVisible());
    QVERIFY(frm.EditSubject->text().isEmpty());
    QVERIFY(frm.MemoBody->toPlainText().startsWith("the middle of a letter"));
    QVERIFY(!frm.SaveAttachmentBtn->isVisible());

    // Line breaks and control characters in header fields stay on their line.
    viewer.Show(Message("Subject: =?utf-8?B?" + std::string("YQpiDWMJZA==") + "?=\r\n", "x"));
    QVERIFY(!frm.LabelFragment->isVisible());
    QCOMPARE(frm.EditSubject->text(), QString("a b c d"));
    QCOMPARE(frm.windowTitle(), QString("a b c d"));

    // Whatever the bytes, the view shows something and stays whole.
    std::mt19937 random(17);
    const std::string base =
        Message("Subject: =?koi8-r?B?8NLJ18XU?=\r\nContent-Type: multipart/mixed; boundary=b\r\n",
                "--b\r\nContent-Type: text/html; charset=utf-8\r\n\r\n<p>x</p>\r\n--b\r\n"
                "Content-Type: image/png; name=\"\xFF\x01.png\"\r\n"
                "Content-Transfer-Encoding: base64\r\n\r\n%%%=\r\n--b--\r\n");
    for (int run = 0; run < 300; ++run) {
      std::string text = base.substr(0, random() % (base.size() + 1));
      for (int i = 0; i < 8 && !text.empty(); ++i)
        text[random() % text.size()] = static_cast<char>(random());
      viewer.Show(text);
      QVERIFY(frm.isVisible());
    }
  }
};

QTEST_MAIN(MessageWindowTest)
#include "message_window_test.moc"
