#pragma once
// What the fuzz targets share: the tests' TestApp (a whole App wired as the
// program wires it, on a fresh program folder, with the fake platform), and
// checks that end the run as a crash, so that libFuzzer keeps the input that
// broke a property of the program.

#include "test_app.h"
#include "platform/files/file_ops.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <optional>

namespace fuzz {

QByteArray Bytes(const std::uint8_t* data, std::size_t size);

// Ends the run when the property does not hold, naming it.
void Check(bool holds, const char* property);
// None of the inputs is a failing disk, so any error box means that a reader
// refused a file it should have taken as it is.
void CheckNoErrorBox(const testsupport::TestApp& t);

// The bytes of a file, or nothing when it is not there.
std::optional<QByteArray> FileBytes(const testsupport::TestApp& t, const QString& relative);
// A rewritten file: every line followed by CR LF.
QByteArray Joined(const platform::files::RawLines& lines);
// What appending a line gives: a last line left without its end gets one first.
QByteArray Appended(const QByteArray& file, const QByteArray& line);

}  // namespace fuzz
