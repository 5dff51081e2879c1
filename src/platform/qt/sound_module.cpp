// The alarm sound, kept in a module of its own: the sound libraries load at
// the first alarm instead of with the program, so a start costs nothing for
// them and an idle program does not carry them.

#include <QSoundEffect>
#include <QString>
#include <QUrl>

extern "C" __attribute__((visibility("default"))) void quendar_play_sound(const char16_t* path, int length) {
  // Lives as long as the program, so a sound plays to its end.
  static QSoundEffect* effect = new QSoundEffect;
  const QUrl source = QUrl::fromLocalFile(QString::fromUtf16(path, length));
  if (effect->source() != source) effect->setSource(source);
  effect->play();
}
