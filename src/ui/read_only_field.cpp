// Read-only fields. Tone colours are formats of stretches of a QLineEdit's text, given
// the way an input method gives its preedit formats: the one way to colour part of a
// line edit's text. A field that shows pinyin keeps what it was given in properties, so
// that a change of the setting shows every open field anew.
#include "ui/read_only_field.h"

#include "sound/pinyin_display.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QTextCharFormat>

namespace tavi {

namespace {

constexpr const char* StoredPinyin = "tavi_pinyin";
constexpr const char* StoredCharacters = "tavi_characters";
constexpr const char* Coloured = "tavi_coloured";

// The stretches' colours; none takes away those of the text before.
void colourRuns(QLineEdit* field, const QList<ToneRun>& runs, const ToneColours& colours)
{
    if (runs.isEmpty() && !field->property(Coloured).toBool())
        return;
    field->setProperty(Coloured, !runs.isEmpty());
    QList<QInputMethodEvent::Attribute> formats;
    for (const ToneRun& r : runs) {
        QTextCharFormat f;
        f.setForeground(QColor(QRgb(colours[r.tone - 1])));
        // Relative to the cursor, which stands at the start (showText)
        formats << QInputMethodEvent::Attribute(QInputMethodEvent::TextFormat,
                                                r.start - field->cursorPosition(), r.length, f);
    }
    // A read-only line edit takes no input-method event.
    const bool readOnly = field->isReadOnly();
    field->setReadOnly(false);
    QInputMethodEvent event(QString(), formats);
    QCoreApplication::sendEvent(field, &event);
    field->setReadOnly(readOnly);
}

void setShown(QLineEdit* field, const QString& text)
{
    field->setText(text);
    field->setCursorPosition(0);
    field->setToolTip(text);
}

void render(QLineEdit* field)
{
    const PinyinDisplay& display = pinyinDisplay();
    const QString pinyin = field->property(StoredPinyin).toString();
    const QVariant characters = field->property(StoredCharacters);
    if (characters.isValid()) {
        const QString text = characters.toString();
        setShown(field, text);
        // A line edit keeps formats across texts: none takes away the last ones.
        colourRuns(field,
                   display.coloured() && display.characters
                       ? characterRuns(text, showPinyin(pinyin, false).runs)
                       : QList<ToneRun>(),
                   display.colours());
        return;
    }
    const ShownPinyin shown = showPinyin(pinyin, display.marks);
    setShown(field, shown.text);
    colourRuns(field, display.coloured() ? shown.runs : QList<ToneRun>(), display.colours());
}

// Once: a change of the setting shows every field anew.
void followSetting()
{
    static const bool connected = [] {
        QObject::connect(&PinyinDisplayNotifier::instance(), &PinyinDisplayNotifier::changed, qApp, [] {
            for (QWidget* w : QApplication::allWidgets())
                if (auto* field = qobject_cast<QLineEdit*>(w);
                    field && field->property(StoredPinyin).isValid())
                    render(field);
        });
        return true;
    }();
    Q_UNUSED(connected);
}

} // namespace

void showText(QLineEdit* field, const QString& text)
{
    field->setProperty(StoredPinyin, QVariant());
    field->setProperty(StoredCharacters, QVariant());
    setShown(field, text);
    colourRuns(field, {}, {});
}

void showPinyinText(QLineEdit* field, const QString& stored)
{
    followSetting();
    field->setProperty(StoredPinyin, stored);
    field->setProperty(StoredCharacters, QVariant());
    render(field);
}

void showCharactersText(QLineEdit* field, const QString& characters, const QString& pinyin)
{
    followSetting();
    field->setProperty(StoredPinyin, pinyin);
    field->setProperty(StoredCharacters, characters);
    render(field);
}

} // namespace tavi
