// The month index of 2005 with any content, as a month folder comes or goes.
//
// Input: byte 0 says what to do, the rest is datas/2005/month.qdr.
//   bits 0-3  the month, taken modulo 13 (0 is no month at all)
//   bit 4     AddQDR instead of CheckQDR
//   bit 5     there is no index file (the rest is ignored)
//   bit 6     the year folder still holds the month folder of March
//   bit 7     the year folder holds a foreign file

#include "fuzz_support.h"
#include "shell/app.h"
#include "shell/paths.h"
#include "store/month_index.h"
#include "store/val.h"
#include "platform/files/codepage.h"

#include <QDir>
#include <QFile>

namespace {

const QString kIndex = QStringLiteral("datas/2005/month.qdr");

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const std::uint8_t how = data[0];
  const int month = (how & 15) % 13;
  const bool add = how & 16, noIndex = how & 32, marchFolder = how & 64, foreignFile = how & 128;
  const QByteArray index = fuzz::Bytes(data + 1, size - 1);

  testsupport::TestApp t;
  QDir().mkpath(t.Path(QStringLiteral("datas/2005")));
  if (!noIndex) t.WriteBytes(kIndex, index);
  if (marchFolder) QDir().mkpath(t.Path(QStringLiteral("datas/2005/3")));
  if (foreignFile) t.WriteBytes(QStringLiteral("datas/2005/readme.txt"), "mine\r\n");

  const QString yearFolder = shell::YearFolderPath(t.app, 2005);
  if (add) {
    store::AddQDR(t.app, 2005, month);
    const QByteArray line = ' ' + QByteArray::number(month);
    fuzz::Check(fuzz::FileBytes(t, kIndex) == fuzz::Appended(noIndex ? QByteArray() : index, line),
                "AddQDR appends one line and keeps every byte before it");
  } else if (noIndex) {
    store::CheckQDR(t.app, 2005, month, yearFolder);
    fuzz::Check(t.Exists(QStringLiteral("datas/2005")), "CheckQDR without an index does nothing");
  } else {
    const platform::files::RawLines lines = platform::files::ReadRawLines(t.Path(kIndex));
    platform::files::RawLines kept;
    for (const QByteArray& line : lines) {
      if (store::Val(platform::files::Decode(line)) != month) kept.push_back(line);
    }
    store::CheckQDR(t.app, 2005, month, yearFolder);
    const auto after = fuzz::FileBytes(t, kIndex);
    if (kept.empty()) {
      fuzz::Check(!after, "an index left without lines goes");
      fuzz::Check(t.Exists(QStringLiteral("datas/2005")) == (marchFolder || foreignFile),
                  "the year folder goes with its index, unless something else is in it");
    } else if (kept.size() == lines.size()) {
      fuzz::Check(after == index, "an index without the month is left as it is");
    } else {
      fuzz::Check(after == fuzz::Joined(kept), "CheckQDR drops the month's lines and keeps every other");
    }
  }
  fuzz::CheckNoErrorBox(t);
  return 0;
}
