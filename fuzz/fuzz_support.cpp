#include "fuzz_support.h"

#include <QFile>

#include <cstdio>
#include <cstdlib>

namespace fuzz {

QByteArray Bytes(const std::uint8_t* data, std::size_t size) {
  return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

void Check(bool holds, const char* property) {
  if (holds) return;
  std::fprintf(stderr, "property broken: %s\n", property);
  std::abort();
}

void CheckNoErrorBox(const testsupport::TestApp& t) {
  const QStringList errors = t.platform.ErrorTexts();
  for (const QString& text : errors) std::fprintf(stderr, "box shown: %s\n", qPrintable(text));
  Check(errors.isEmpty(), "no message box");
}

std::optional<QByteArray> FileBytes(const testsupport::TestApp& t, const QString& relative) {
  QFile file(t.Path(relative));
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  return file.readAll();
}

QByteArray Joined(const platform::files::RawLines& lines) {
  QByteArray bytes;
  for (const QByteArray& line : lines) bytes += line + "\r\n";
  return bytes;
}

QByteArray Appended(const QByteArray& file, const QByteArray& line) {
  const bool open = !file.isEmpty() && !file.endsWith('\r') && !file.endsWith('\n');
  return file + (open ? "\r\n" : "") + line + "\r\n";
}

}  // namespace fuzz
