// The speaking order of a text, and the lookup of one recording.
#include "sound/speech.h"

#include "core/app_state.h"
#include "sound/audio_output.h"
#include "sound/missing_sound_log.h"
#include "sound/pinyin_parser.h"
#include "sound/sound_index.h"

#include <QFile>

namespace tavi {

void SpeakPinyin(const QString& text)
{
    const QList<PinyinWord> words = parsePinyin(text);
    MissingSoundLog log;
    for (const PinyinWord& word : words) {
        if (!PlaySyllable(word.text)) {
            log.writeWord(word.text);
            for (const QString& syllable : word.syllables) {
                if (!PlaySyllable(syllable))
                    log.writeSyllable(syllable);
            }
        }
        PlaySyllable(QStringLiteral("wait"));
    }
}

bool PlaySyllable(const QString& name)
{
    const QString path = soundIndex().find(SoundFolder, name + QStringLiteral(".wav"));
    if (path.isEmpty())
        return false;
    // Present means its length can be read: an unreadable file is as good as missing.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    file.close();
    AudioOutput* output = audioOutput();
    return output && output->play(path);
}

bool FileExists(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    file.close();
    return true;
}

} // namespace tavi
