#pragma once
// "Quendar.ini": a fixed 82-byte header that start-up checks, then the Left
// and Top of the 15 notes' time bars (0 keeps the design place).

#include <QByteArray>
#include <QString>

namespace shell {

class Form1;

inline constexpr int kSettingsSize = 142;
inline constexpr int kPositionBlock = 82;

// A complete file with the header values and an all-zero position block:
// what the installation puts into a program folder that has none.
QByteArray InitialSettingsBytes();

// Checks every header field (no early exit) and restores the note positions.
// A file shorter than 142 bytes reads as zeros beyond its end. False when a
// check failed.
bool ReadSettingsFile(const QString& path, Form1& form1);

// Writes the time bars' positions into an existing file, leaving every other
// byte as it is; a missing file is not created, and one shorter than its
// header is left alone.
void WriteNotePositions(const QString& path, const Form1& form1);

}  // namespace shell
