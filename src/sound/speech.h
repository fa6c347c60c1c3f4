// Speaking pinyin by playing one recording per word, or per syllable where the word has
// none, from the sound folder.
#pragma once

#include <QString>

namespace tavi {

// Speaks the text: for each word its recording, else a Word line in the log and each
// syllable's recording (a Syllable line for each one missing), then the pause "wait".
// Returns when the last sound has ended; no window events are processed meanwhile.
void SpeakPinyin(const QString& text);

// Plays SoundFolder + name + ".wav" (found without regard to case) to its end; true
// only when the file was there and it played.
bool PlaySyllable(const QString& name);

enum class Playback { Played, Missing, Failed };
// PlaySyllable, telling a recording that is not there (or cannot be read) from one
// that is there but did not play (no sound device, a broken file). Only the first is
// a missing recording.
Playback playRecording(const QString& name);

// Whether the file can be opened for reading.
bool FileExists(const QString& path);

} // namespace tavi
