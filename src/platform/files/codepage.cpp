#include "platform/files/codepage.h"

#include <QList>
#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>

namespace platform::files {

namespace {
constexpr const char* kCodePage = "windows-950";
}

QString Decode(const QByteArray& bytes, bool* lossy) {
  if (lossy) {
    // A fresh decoder: resetState() keeps the error flag of an earlier text.
    QStringDecoder checking(kCodePage);
    QString text = checking.decode(bytes);
    *lossy = checking.hasError();
    return text;
  }
  static QStringDecoder decoder(kCodePage);
  decoder.resetState();
  return decoder.decode(bytes);
}

QString DecodeStart(const QByteArray& bytes, qsizetype length) {
  // A character takes one or two bytes, and an undecodable byte becomes one
  // character: twice the length in bytes always holds the whole start (a
  // character cut in two at the end lies beyond it).
  return Decode(bytes.first(std::min(bytes.size(), 2 * length))).left(length);
}

QByteArray Encode(const QString& text) {
  static QStringEncoder encoder(kCodePage);
  encoder.resetState();
  return encoder.encode(text);
}

bool IsStorable(char32_t ch) {
  if (ch < 0x80) return ch != 0;
  // A fresh encoder each time: resetState() does not clear the error flag of
  // an earlier refused character, which would then refuse every later one.
  QStringEncoder encoder(kCodePage);
  const QString s = QString::fromUcs4(&ch, 1);
  const QByteArray bytes = encoder.encode(s);
  return !encoder.hasError() && !bytes.isEmpty() && bytes != "?";
}

QString StorableOnly(const QString& text) {
  // Nearly always all of it: one pass over the whole text says so.
  QStringEncoder whole(kCodePage);
  const QByteArray encoded = whole.encode(text);
  if (!whole.hasError() && !text.contains(QChar(0))) return text;

  QString kept;
  kept.reserve(text.size());
  for (char32_t ch : text.toUcs4()) {
    if (IsStorable(ch)) kept.append(QString::fromUcs4(&ch, 1));
  }
  return kept;
}

}  // namespace platform::files
