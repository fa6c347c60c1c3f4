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

// Whether the file can be opened for reading.
bool FileExists(const QString& path);

} // namespace tavi
