#include "message_window.h"

#include "locale_text.h"
#include "message_body.h"
#include "message_boxes.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

namespace window {
namespace {

// Damaged or hostile text may hold line breaks and other control characters where one line
// is shown: each becomes a blank.
QString OneLine(const std::string& utf8) {
  QString text = QString::fromStdString(utf8);
  for (QChar& c : text)
    if (c.category() == QChar::Other_Control)
      c = QLatin1Char(' ');
  return text;
}

QLineEdit* HeaderField(QWidget* parent) {
  auto* field = new QLineEdit(parent);
  field->setReadOnly(true);
  field->setFrame(false);
  return field;
}

// "contract.pdf (application/pdf, 5.9 kB)"; an attachment without a name says so.
QString AttachmentText(const app::MessageAttachment& attachment) {
  const QString name = attachment.name.empty() ? QString("(no name)") : OneLine(attachment.name);
  const QString size = QLocale().formattedDataSize(static_cast<qint64>(attachment.content.size()),
                                                   1, QLocale::DataSizeTraditionalFormat);
  return QString("%1 (%2, %3)").arg(name, OneLine(attachment.content_type), size);
}

bool FollowsLinksTo(const QUrl& url) {
  const QString scheme = url.scheme().toLower();
  return scheme == "http" || scheme == "https" || scheme == "mailto" || scheme == "ftp";
}

} // namespace

TFrmMessage::TFrmMessage(MessageViewActions actions, QWidget* parent)
    : QDialog(parent), actions_(std::move(actions)) {
  setSizeGripEnabled(true);
  resize(640, 520);

  auto* header = new QFormLayout;
  header->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
  const std::pair<QLineEdit**, const char*> fields[] = {
      {&EditFolder, "Folder:"}, {&EditFrom, "From:"},       {&EditTo, "To:"},
      {&EditCc, "Cc:"},         {&EditSubject, "Subject:"}, {&EditDate, "Date:"}};
  for (auto [field, label] : fields) {
    *field = HeaderField(this);
    header->addRow(label, *field);
  }

  LabelFragment = new QLabel("The beginning of this message is lost: it shows from the first "
                             "piece of text found.",
                             this);
  LabelFragment->setWordWrap(true);
  LabelFragment->setStyleSheet("color: rgb(160, 30, 30);");
  LabelCut = new QLabel("This text is too long to show whole: its beginning shows here. Save "
                        "the message to read all of it.",
                        this);
  LabelCut->setWordWrap(true);
  LabelCut->setStyleSheet("color: rgb(160, 30, 30);");

  MemoBody = new MessageBody(this);
  connect(MemoBody, &QTextBrowser::anchorClicked, this,
          [this](const QUrl& url) { LinkClick(url); });

  LabelAttachments = new QLabel("Attachments:", this);
  LBAttachments = new QListWidget(this);
  LBAttachments->setSelectionMode(QAbstractItemView::ExtendedSelection);
  LBAttachments->setMaximumHeight(90);
  SaveAttachmentBtn = new QPushButton("Save attachment...", this);
  SaveAttachmentBtn->setAutoDefault(false);
  connect(SaveAttachmentBtn, &QPushButton::clicked, this, [this] { SaveAttachmentBtnClick(); });
  connect(LBAttachments, &QListWidget::itemSelectionChanged, this,
          [this] { SaveAttachmentBtn->setEnabled(!LBAttachments->selectedItems().isEmpty()); });
  LabelSaved = new QLabel(this);
  LabelSaved->setTextFormat(Qt::PlainText);
  LabelSaved->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred); // a long path is cut
  LabelSaved->setTextInteractionFlags(Qt::TextSelectableByMouse);
  CloseBtn = new QPushButton("Close", this);
  CloseBtn->setAutoDefault(false);
  connect(CloseBtn, &QPushButton::clicked, this, &QDialog::close);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(SaveAttachmentBtn);
  buttons->addWidget(LabelSaved, 1);
  buttons->addWidget(CloseBtn);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(header);
  layout->addWidget(LabelFragment);
  layout->addWidget(MemoBody, 1);
  layout->addWidget(LabelCut);
  layout->addWidget(LabelAttachments);
  layout->addWidget(LBAttachments);
  layout->addLayout(buttons);
}

void TFrmMessage::ShowMessage(app::MessageView message, const QString& place) {
  message_ = std::move(message);
  const QString subject = OneLine(message_.subject);
  setWindowTitle(subject.isEmpty() ? QString("(no subject)") : subject);
  EditFolder->setText(place);
  EditFrom->setText(OneLine(message_.from));
  EditTo->setText(OneLine(message_.to));
  EditCc->setText(OneLine(message_.cc));
  EditSubject->setText(subject);
  // In the user's formats, like the list; the field as written when it does not parse.
  EditDate->setText(message_.date_value != 0 ? LocaleDateText(message_.date_value, QLocale())
                                             : OneLine(message_.date));
  EditDate->setToolTip(OneLine(message_.date));
  for (QLineEdit* field : {EditFolder, EditFrom, EditTo, EditCc, EditSubject})
    field->setToolTip(field->text());
  for (QLineEdit* field : {EditFolder, EditFrom, EditTo, EditCc, EditSubject, EditDate})
    field->setCursorPosition(0); // long texts show their beginning
  LabelFragment->setVisible(!message_.has_header);
  LabelCut->setVisible(
      !MemoBody->ShowText(QString::fromStdString(message_.body), message_.body_is_html));

  LBAttachments->clear();
  for (const app::MessageAttachment& attachment : message_.attachments)
    new QListWidgetItem(AttachmentText(attachment), LBAttachments);
  const bool any = !message_.attachments.empty();
  for (QWidget* part :
       {static_cast<QWidget*>(LabelAttachments), static_cast<QWidget*>(LBAttachments),
        static_cast<QWidget*>(SaveAttachmentBtn)})
    part->setVisible(any);
  if (any)
    LBAttachments->setCurrentRow(0); // selected, so "Save attachment..." saves it at once
  SaveAttachmentBtn->setEnabled(any);
  LabelSaved->clear();
  MemoBody->setFocus(); // the keys scroll the text
}

void TFrmMessage::SaveAttachmentBtnClick() {
  const QModelIndexList selected = LBAttachments->selectionModel()->selectedRows();
  if (selected.isEmpty() || !actions_.choose_folder)
    return;
  const QString folder = actions_.choose_folder();
  if (folder.isEmpty())
    return;
  QStringList written;
  try {
    for (const QModelIndex& index : selected) {
      const auto i = static_cast<std::size_t>(index.row());
      if (i < message_.attachments.size())
        written << QString::fromStdString(
            app::SaveAttachment(message_.attachments[i], folder.toStdString()));
    }
  } catch (const std::exception& error) {
    ShowErrorBox(this, error);
  }
  if (written.size() == 1)
    LabelSaved->setText("Saved as " + written.front());
  else if (!written.isEmpty())
    LabelSaved->setText(QString("%1 attachments saved in %2").arg(written.size()).arg(folder));
  LabelSaved->setToolTip(written.join('\n'));
}

void TFrmMessage::LinkClick(const QUrl& url) {
  // Only web and mail links leave the view; a file or script link in a message goes nowhere.
  if (FollowsLinksTo(url) && actions_.open_link)
    actions_.open_link(url);
}

} // namespace window
