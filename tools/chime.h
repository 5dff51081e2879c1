#pragma once
// The alarm sound the program folder gets when it has none: a short two-tone
// chime, computed here rather than shipped as a recording.

#include <QByteArray>

namespace chime {

// A complete WAV file: 16-bit PCM, mono, 22050 Hz, about 1.1 seconds.
QByteArray AlarmWav();

}  // namespace chime
