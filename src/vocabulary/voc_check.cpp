// The vocabulary check.
#include "vocabulary/voc_check.h"

#include "core/language.h"
#include "syllables_data.h"
#include "vocabulary/voc_file.h"

#include <QHash>

namespace tavi {

namespace {

struct Syllable {
    QString text; // as typed, the tone digit included
    QString base; // lower case, ü as v, without the digit
    QChar tone;   // the digit, or nothing
};

// The syllables of a pinyin field: each ends at its tone digit; letters that follow the
// last digit form one more syllable without a tone. Blanks, apostrophes and hyphens
// only separate.
QList<Syllable> syllablesOf(QStringView pinyin)
{
    QList<Syllable> out;
    QString current;
    auto close = [&](QChar tone) {
        if (current.isEmpty() && tone.isNull())
            return;
        QString base = current.toLower();
        base.replace(u'ü', u'v').replace(QStringLiteral("u:"), QStringLiteral("v"));
        out.append({tone.isNull() ? current : current + tone, base, tone});
        current.clear();
    };
    for (QChar c : pinyin) {
        if (c.isDigit())
            close(c);
        else if (c == u' ' || c == u'\'' || c == u'-' || c == u'’' || c == u'\t')
            close(QChar());
        else
            current += c;
    }
    close(QChar());
    return out;
}

int hanCount(QStringView text)
{
    int n = 0;
    const QList<uint> points = text.toUcs4();
    for (uint p : points)
        if (QChar::script(p) == QChar::Script_Han)
            ++n;
    return n;
}

// Erhua: "r" on its own (dian3 r, dian3r) or fused before the tone (dianr3) stands for 儿.
bool isErhua(const Syllable& s)
{
    return s.base == u"r";
}

bool fusedErhua(const Syllable& s)
{
    return s.base.size() > 1 && s.base.endsWith(u'r') && s.base != u"er" &&
           mandarinSyllables().contains(s.base.chopped(1));
}

QStringList fieldsOf(QStringView line)
{
    QStringList fields;
    for (QStringView f : line.split(u'+'))
        fields << f.trimmed().toString();
    return fields;
}

} // namespace

const QSet<QString>& mandarinSyllables()
{
    static const QSet<QString> all = [] {
        QSet<QString> s;
        const QString list = QString::fromLatin1(kSyllableList);
        for (QStringView line : QStringView(list).split(u'\n')) {
            if (line.startsWith(u'#'))
                continue;
            for (QStringView word : line.split(u' ', Qt::SkipEmptyParts))
                s.insert(word.toString());
        }
        return s;
    }();
    return all;
}

QList<Finding> checkVocText(const QString& text, const RecordingLookup& hasRecording)
{
    QList<Finding> findings;
    QHash<QString, int> seen; // characters and pinyin -> the line they were first on
    QString normalised = text;
    normalised.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    const QList<QStringView> lines = QStringView(normalised).split(u'\n');
    bool headerSeen = false;
    for (int i = 0; i < lines.size(); ++i) {
        const QStringView line = lines[i].trimmed();
        if (line.isEmpty())
            continue;
        if (!headerSeen) {
            headerSeen = true;
            if (withHeader(line.toString()) == line.toString())
                continue; // the header, not a word
        }
        const int number = i + 1;
        if (!line.contains(u'+')) {
            findings.append({Finding::Kind::NoPlus, number, {}, {}});
            continue;
        }
        const QStringList f = fieldsOf(line);
        const QString pinyin = f.value(1);
        const QString chars = f.value(2);
        auto report = [&](Finding::Kind kind, QStringList args = {}) {
            findings.append({kind, number, chars, std::move(args)});
        };
        if (pinyin.isEmpty()) {
            report(Finding::Kind::EmptyPinyin);
            continue;
        }
        const QList<Syllable> syllables = syllablesOf(pinyin);
        int counted = 0;
        int erhua = 0;
        QStringList spoken;
        for (const Syllable& s : syllables) {
            if (isErhua(s)) {
                ++counted;
                continue;
            }
            ++counted;
            const bool fused = fusedErhua(s);
            erhua += fused ? 1 : 0;
            if (!fused && !mandarinSyllables().contains(s.base))
                report(Finding::Kind::UnknownSyllable, {s.text});
            else if (s.tone.isNull() || s.tone > u'4')
                report(Finding::Kind::NoTone, {s.text});
            else
                spoken << s.text;
        }
        const int han = hanCount(chars);
        if (han > 0 && han != counted && han != counted + erhua)
            report(Finding::Kind::CountMismatch, {QString::number(counted), QString::number(han)});
        if (hasRecording && !spoken.isEmpty() &&
            !hasRecording(spoken.join(QString()) + QStringLiteral(".wav"))) {
            for (const QString& s : spoken)
                if (!hasRecording(s + QStringLiteral(".wav")))
                    report(Finding::Kind::NoRecording, {s});
        }
        const QString word = chars + u'\t' + pinyin.toLower().remove(u' ');
        if (const auto earlier = seen.constFind(word); earlier != seen.constEnd())
            report(Finding::Kind::Duplicate, {QString::number(*earlier)});
        else
            seen.insert(word, number);
    }
    return findings;
}

QString findingText(const Finding& finding)
{
    static const char* const keys[] = {"check_unknown_syllable", "check_no_tone",   "check_count",
                                       "check_no_recording",     "check_duplicate", "check_no_plus",
                                       "check_empty_pinyin"};
    QString text = LangText(QLatin1String(keys[static_cast<int>(finding.kind)]));
    for (const QString& a : finding.args)
        text = text.arg(a);
    return text;
}

} // namespace tavi
