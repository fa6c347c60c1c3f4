// The speaking order of a text, and the lookup of one recording.
#include "sound/speech.h"

#include "core/app_state.h"
#include "core/services.h"
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
        const Playback whole = playRecording(word.text);
        if (whole != Playback::Played) {
            // A word recording that is there but did not play is not missing; its
            // syllables may still play.
            if (whole == Playback::Missing)
                log.writeWord(word.text);
            for (const QString& syllable : word.syllables) {
                if (playRecording(syllable) == Playback::Missing)
                    log.writeSyllable(syllable);
            }
        }
        PlaySyllable(QStringLiteral("wait"));
    }
}

Playback playRecording(const QString& name)
{
    const QString path = findSound(name + QStringLiteral(".wav"));
    // Missing means not there to open; a file that is there but does not play failed.
    if (path.isEmpty() || !FileExists(path))
        return Playback::Missing;
    AudioOutput* output = services().audio;
    return output && output->play(path) ? Playback::Played : Playback::Failed;
}

bool PlaySyllable(const QString& name)
{
    return playRecording(name) == Playback::Played;
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
