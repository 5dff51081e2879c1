#include "shell/settings_file.h"

#include "shell/form1.h"
#include "platform/files/file_ops.h"

#include <cstring>

namespace shell {

namespace files = platform::files;

namespace {

struct DoubleField {
  int offset;
  double value;
};
constexpr DoubleField kHeaderDoubles[] = {{2, 101.0},  {14, 102.0}, {26, 103.0}, {38, 104.0},
                                          {50, 105.0}, {62, 201.0}, {74, 301.0}};
// The Integer at offset 46 must hold 0, the one at 58 the value 9162.
constexpr int kZeroField = 46;
constexpr int kMarkField = 58;
constexpr int kMarkValue = 9162;

int LeftOffset(int note) { return kPositionBlock + 4 * note; }
int TopOffset(int note) { return kPositionBlock + 2 + 4 * note; }

}  // namespace

QByteArray InitialSettingsBytes() {
  QByteArray bytes(kSettingsSize, '\0');
  for (const DoubleField& field : kHeaderDoubles) {
    std::uint64_t bits;
    std::memcpy(&bits, &field.value, sizeof bits);
    for (int i = 0; i < 8; ++i) bytes[field.offset + i] = char((bits >> (8 * i)) & 0xFF);
  }
  bytes.replace(kMarkField, 2, files::Int16Bytes(kMarkValue));
  return bytes;
}

bool ReadSettingsFile(const QString& path, Form1& form1) {
  const QByteArray bytes = files::ReadBytes(path, kSettingsSize);

  bool ok = true;
  for (const DoubleField& field : kHeaderDoubles) {
    if (files::DoubleAt(bytes, field.offset) != field.value) ok = false;
  }
  if (files::Int16At(bytes, kZeroField) != 0) ok = false;
  if (files::Int16At(bytes, kMarkField) != kMarkValue) ok = false;

  for (int k = 0; k < kNoteCount; ++k) {
    Label& bar = form1.Label10[k];
    Label& body = form1.Label11[k];
    if (const int left = files::Int16At(bytes, LeftOffset(k)); left != 0) {
      bar.Left = left;
      body.Left = bar.Left;
    }
    if (const int top = files::Int16At(bytes, TopOffset(k)); top != 0) {
      bar.Top = top;
      // The body overlaps the bar's lower edge by 20 twips.
      body.Top = bar.Top + bar.Height - 20;
    }
  }
  return ok;
}

void WriteNotePositions(const QString& path, const Form1& form1) {
  if (!files::FileExists(path)) return;
  // A file cut short inside its header is no settings file any more; writing
  // behind its end would pad it with zeros, changing bytes not ours.
  if (files::ReadBytes(path, kPositionBlock).size() < kPositionBlock) return;
  QByteArray block;
  for (int k = 0; k < kNoteCount; ++k) {
    block += files::Int16Bytes(std::int16_t(form1.Label10[k].Left));
    block += files::Int16Bytes(std::int16_t(form1.Label10[k].Top));
  }
  files::WriteBytesAt(path, kPositionBlock, block);
}

}  // namespace shell
