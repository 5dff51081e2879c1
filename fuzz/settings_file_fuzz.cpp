// "Quendar.ini" with any content (and any length): the start-up read and the
// shutdown write of the note positions.
//
// Input: the file.

#include "fuzz_support.h"
#include "shell/app.h"
#include "shell/paths.h"
#include "shell/settings_file.h"

#include <algorithm>

namespace {

namespace files = platform::files;

// The header fields start-up checks, as (offset, width): the seven Doubles and
// the two Integers at 46 and 58. Every other byte before 82 is free.
constexpr std::pair<int, int> kChecked[] = {{2, 8},  {14, 8}, {26, 8}, {38, 8}, {46, 2},
                                            {50, 8}, {58, 2}, {62, 8}, {74, 8}};

bool HeaderHolds(const QByteArray& file) {
  const QByteArray good = shell::InitialSettingsBytes();
  return std::all_of(std::begin(kChecked), std::end(kChecked), [&](const std::pair<int, int>& field) {
    return file.mid(field.first, field.second) == good.mid(field.first, field.second);
  });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray file = fuzz::Bytes(data, size);
  testsupport::TestApp t(false);
  t.WriteBytes(QStringLiteral("Quendar.ini"), file);
  shell::Form1& f = t.app.form1;

  const bool started = t.Start();
  fuzz::Check(started == HeaderHolds(file), "start-up takes exactly the files with the right header");
  if (!started) {
    fuzz::Check(t.platform.ErrorTexts() == QStringList{QStringLiteral("I03: 您的設定檔資訊不完整！")},
                "a wrong header is reported once, as I03");
  } else {
    fuzz::CheckNoErrorBox(t);
  }
  for (int k = 0; k < shell::kNoteCount; ++k) {
    const int left = files::Int16At(file, shell::kPositionBlock + 4 * k);
    const int top = files::Int16At(file, shell::kPositionBlock + 4 * k + 2);
    fuzz::Check(f.Label10[k].Left == (left != 0 ? left : shell::kNoteDesignLeft[k]), "a note comes back at its Left");
    fuzz::Check(f.Label10[k].Top == (top != 0 ? top : shell::kNoteDesignTop[k]), "a note comes back at its Top");
    fuzz::Check(f.Label11[k].Left == f.Label10[k].Left, "a note's body stands under its bar");
  }

  // Shutdown stores where the notes are now: some dragged, some left.
  for (int k = 0; k < shell::kNoteCount; k += 2) {
    f.Label10[k].Left = 100 * k + int(size % 97);
    f.Label10[k].Top = k == 4 ? 0 : 1000 - 50 * k;
  }
  shell::WriteNotePositions(shell::SettingsPath(t.app), f);
  const QByteArray written = *fuzz::FileBytes(t, QStringLiteral("Quendar.ini"));
  if (file.size() < shell::kPositionBlock) {
    fuzz::Check(written == file, "a file without its whole header is not written");
    return 0;
  }
  const qsizetype end = shell::kSettingsSize;
  fuzz::Check(written.size() == std::max(file.size(), end), "the file keeps its length, or grows to 142 bytes");
  fuzz::Check(written.left(shell::kPositionBlock) == file.left(shell::kPositionBlock), "the header stays");
  fuzz::Check(written.mid(end) == file.mid(end), "the bytes after the positions stay");
  for (int k = 0; k < shell::kNoteCount; ++k) {
    fuzz::Check(files::Int16At(written, shell::kPositionBlock + 4 * k) == f.Label10[k].Left &&
                    files::Int16At(written, shell::kPositionBlock + 4 * k + 2) == f.Label10[k].Top,
                "each note's position is stored in its place");
  }
  return 0;
}
