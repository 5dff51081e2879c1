#pragma once
// The text files hold code page 950 (Big5 with the Windows extensions). All
// logic works on QString; these are the only two doors between them.

#include <QByteArray>
#include <QString>

namespace platform::files {

// With `lossy`, tells whether some bytes did not decode (they become U+FFFD).
QString Decode(const QByteArray& bytes, bool* lossy = nullptr);
QByteArray Encode(const QString& text);
// The first `length` characters of Decode(bytes), decoding no more bytes than
// those characters can take: the start of a line of any length costs no more
// than the start of a short one.
QString DecodeStart(const QByteArray& bytes, qsizetype length);

// Whether the code page can store the character; text typed into fields that
// end up in a file is kept to such characters, so nothing turns into "?".
bool IsStorable(char32_t ch);
QString StorableOnly(const QString& text);

}  // namespace platform::files
