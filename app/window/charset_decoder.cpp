#include "charset_decoder.h"

#include "platform/charset.h"

#include <QStringDecoder>
#include <algorithm>

namespace window {
namespace {

// The name Qt is asked for: the text of a message chooses it, so only the characters names
// are made of reach Qt's decoders (and ICU behind them), never a path or converter options;
// Qt's own names for the user's encoding are not names a message may choose.
QByteArray DecoderName(std::string_view charset) {
  charset = charset.substr(0, charset.find('*'));
  const bool plain = !charset.empty() && charset.size() <= 40 &&
                     std::all_of(charset.begin(), charset.end(), [](char c) {
                       return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                              (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.' ||
                              c == ':' || c == '+' || c == '(' || c == ')';
                     });
  const QByteArray name(charset.data(), static_cast<qsizetype>(charset.size()));
  if (!plain || name.compare("locale", Qt::CaseInsensitive) == 0 ||
      name.compare("system", Qt::CaseInsensitive) == 0)
    return {};
  return name;
}

} // namespace

std::optional<std::string> DecodeCharset(std::string_view charset, std::string_view bytes) {
  const QByteArray name = DecoderName(charset);
  if (!name.isEmpty()) {
    QStringDecoder decoder(name.constData());
    if (decoder.isValid()) {
      const QString text =
          decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
      return text.toStdString();
    }
  }
  return platform::ConvertToUtf8(charset, bytes);
}

} // namespace window
