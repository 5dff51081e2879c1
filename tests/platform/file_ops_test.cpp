#include "platform/files/file_ops.h"

#include "platform/files/codepage.h"
#include "platform/files/durable_trace.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace files = platform::files;

namespace {

class Files : public testing::Test {
 protected:
  QString Path(const QString& name) const { return dir.path() + '/' + name; }
  void Write(const QString& name, const QByteArray& bytes) const {
    QFile f(Path(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
  }
  QByteArray Read(const QString& name) const {
    QFile f(Path(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
  }
  void TearDown() override { files::ClearFaults(); }

  QTemporaryDir dir;
};

struct LinesCase {
  const char* name;
  QByteArray bytes;
  files::RawLines lines;
};

class LineEnds : public Files, public testing::WithParamInterface<LinesCase> {};

TEST_P(LineEnds, AnyLineEndAndALastLineWithoutOne) {
  Write("f.dat", GetParam().bytes);
  EXPECT_EQ(files::ReadRawLines(Path("f.dat")), GetParam().lines);
  // A decoded text is cut the same way (Latin-1 keeps one character per byte).
  QStringList decoded;
  for (const QByteArray& line : GetParam().lines) decoded.append(QString::fromLatin1(line));
  EXPECT_EQ(files::TextLines(QString::fromLatin1(GetParam().bytes)), decoded);
}

INSTANTIATE_TEST_SUITE_P(
    Table, LineEnds,
    testing::Values(LinesCase{"Empty", "", {}}, LinesCase{"OneEmptyLine", "\r\n", {""}},
                    LinesCase{"CrLf", "a\r\nb\r\n", {"a", "b"}}, LinesCase{"Lf", "a\nb\n", {"a", "b"}},
                    LinesCase{"Cr", "a\rb\r", {"a", "b"}}, LinesCase{"NoEndOnLast", "a\r\nb", {"a", "b"}},
                    LinesCase{"BlankLinesKept", "\r\n\n\r", {"", "", ""}},
                    LinesCase{"InvalidBytesKept", QByteArray("\x81\xff\x00z\r\n", 6), {QByteArray("\x81\xff\x00z", 4)}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Files, AVeryLongLineIsOneLine) {
  const QByteArray longLine(3'000'000, 'x');
  Write("f.dat", longLine + "\r\nend");
  const files::RawLines lines = files::ReadRawLines(Path("f.dat"));
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].size(), longLine.size());
}

TEST_F(Files, ReplaceWritesEveryLineWithCrLfAndLeavesNoCopy) {
  Write("5.dat", "old\r\n");
  files::ReplaceTextFile(Path("5.dat"), Path("5.~dat"), {"", QByteArray("\xa4\xa4", 2), "x"});
  EXPECT_EQ(Read("5.dat"), QByteArray("\r\n\xa4\xa4\r\nx\r\n"));
  EXPECT_FALSE(QFile::exists(Path("5.~dat")));
}

TEST_F(Files, AFailedReplaceOrAppendLeavesTheFileAsItWas) {
  const QByteArray before = "note\r\n09:30 plan\r\n";
  for (int step = 1; step <= 2; ++step) {  // writing the copy, renaming it over
    SCOPED_TRACE(step);
    Write("5.dat", before);
    files::FailOperation(step);
    EXPECT_THROW(files::ReplaceTextFile(Path("5.dat"), Path("5.~dat"), {"new"}), files::FileError);
    EXPECT_EQ(Read("5.dat"), before);
    EXPECT_FALSE(QFile::exists(Path("5.~dat")));
  }
  files::FailOperation(1);
  EXPECT_THROW(files::AppendLine(Path("5.dat"), "10:00 more"), files::FileError);
  EXPECT_EQ(Read("5.dat"), before);
}

TEST_F(Files, ARealFailureNamesThePathAndTheSystemsReason) {
  try {
    files::AppendLine(Path("no/such/folder/5.dat"), "x");
    FAIL() << "no error";
  } catch (const files::FileError& error) {
    EXPECT_EQ(error.path, Path("no/such/folder/5.dat"));
    EXPECT_EQ(error.reason, "No such file or directory");
  }
}

// The trace is what crash tests rebuild power-cut states from: each durable
// step must be there, in order, with the bytes at the place they went.
TEST_F(Files, TheTraceHoldsEveryDurableStepInOrder) {
  using K = files::DurableOp::Kind;
  Write("h.dat", "ab");  // no line end yet: the append completes it first
  files::StartTrace();
  files::AppendRawLine(Path("h.dat"), "c");
  files::ReplaceTextFile(Path("d.dat"), Path("d.~"), {"x"});
  files::WriteBytesAt(Path("d.dat"), 1, "y");
  files::WriteAtUnflushed(Path("h.dat"), 0, "ab", true);
  files::MakeFolder(Path("m"));
  EXPECT_FALSE(files::RemoveFolder(Path("nothing")));  // a failed step leaves no record
  files::RemoveFolder(Path("m"));
  files::RemoveFile(Path("d.dat"));
  const files::DurableTrace trace = files::TakeTrace();

  struct Expected {
    K kind;
    QString path;
    QString target;
    qint64 offset;
    QByteArray bytes;
  };
  const std::vector<Expected> expected = {
      {K::Write, "h.dat", "", 2, "\r\nc\r\n"}, {K::FileSync, "h.dat", "", 0, ""},
      {K::Create, "d.~", "", 0, ""},           {K::Write, "d.~", "", 0, "x\r\n"},
      {K::FileSync, "d.~", "", 0, ""},          {K::Rename, "d.~", "d.dat", 0, ""},
      {K::FolderSync, "", "", 0, ""},           {K::Write, "d.dat", "", 1, "y"},
      {K::FileSync, "d.dat", "", 0, ""},        {K::Write, "h.dat", "", 0, "ab"},
      {K::Truncate, "h.dat", "", 2, ""},
      {K::MakeFolder, "m", "", 0, ""},          {K::RemoveFolder, "m", "", 0, ""},
      {K::Unlink, "d.dat", "", 0, ""},
  };
  ASSERT_EQ(trace.size(), expected.size());
  for (size_t i = 0; i < trace.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(trace[i].kind, expected[i].kind);
    EXPECT_EQ(QDir(dir.path()).relativeFilePath(trace[i].path), expected[i].path.isEmpty() ? "." : expected[i].path);
    if (!expected[i].target.isEmpty()) {
      EXPECT_EQ(trace[i].target, Path(expected[i].target));
    }
    EXPECT_EQ(trace[i].offset, expected[i].offset);
    EXPECT_EQ(trace[i].bytes, expected[i].bytes);
  }
  // Nothing is recorded once the trace is taken.
  files::RemoveFile(Path("h.dat"));
  EXPECT_TRUE(files::TakeTrace().empty());
}

TEST_F(Files, AFolderWithAFileInItStays) {
  QDir(dir.path()).mkpath("8");
  Write("8/foreign.txt", "x");
  EXPECT_FALSE(files::RemoveFolder(Path("8")));
  EXPECT_TRUE(files::FolderExists(Path("8")));
  EXPECT_EQ(files::ListFiles(Path("8")), QStringList{"foreign.txt"});
}

TEST(CodePage, KeepsOnlyWhatItCanStoreWhateverCameBefore) {
  // One character it cannot store must not spoil the judgement of the next ones.
  EXPECT_EQ(files::StorableOnly(QString::fromUtf8("寫😀報é告‧　~")), QString::fromUtf8("寫報告‧　~"));
  EXPECT_EQ(files::StorableOnly(QString::fromUtf8("元宵節")), QString::fromUtf8("元宵節"));
  EXPECT_EQ(files::Decode(files::Encode(QString::fromUtf8("元宵節快樂‧"))), QString::fromUtf8("元宵節快樂‧"));
}

// The start of a text decoded alone is the start of the whole text decoded,
// wherever the cut falls: inside a two-byte character, on a lone lead byte,
// on bytes the code page cannot read.
TEST(CodePage, TheStartOfATextIsTheStartOfTheWholeText) {
  std::vector<QByteArray> texts{
      "", "plain ascii", files::Encode(QString::fromUtf8("元宵節快樂")),
      files::Encode(QString::fromUtf8("a中b文c")) + "\xa4", QByteArray("\x81\x20\xff\xff\xa4\xa4\xa4", 7),
      QByteArray("09:30 \0\x80\xa4", 9)};
  // And many random ones, the same each run.
  std::mt19937 random(7);
  for (int i = 0; i < 3000; ++i) {
    QByteArray bytes;
    for (int n = int(random() % 14); n > 0; --n) bytes += char(random() % 4 == 0 ? random() % 128 : 128 + random() % 128);
    texts.push_back(bytes);
  }
  for (const QByteArray& bytes : texts) {
    const QString whole = files::Decode(bytes);
    for (qsizetype length = 0; length <= bytes.size() + 1; ++length) {
      ASSERT_EQ(files::DecodeStart(bytes, length), whole.left(length)) << bytes.toHex().toStdString() << " " << length;
    }
  }
}

TEST(BinaryFields, BytesBeyondTheEndReadAsZero) {
  const QByteArray bytes("\x34\x12\xff", 3);
  EXPECT_EQ(files::Int16At(bytes, 0), 0x1234);
  EXPECT_EQ(files::Int16At(bytes, 2), 0x00ff);
  EXPECT_EQ(files::Int16At(bytes, 10), 0);
  EXPECT_EQ(files::Int16Bytes(256), QByteArray("\x00\x01", 2));
  EXPECT_EQ(files::Int16At(files::Int16Bytes(-2), 0), -2);
  EXPECT_EQ(files::DoubleAt(QByteArray(), 0), 0.0);
}

}  // namespace
