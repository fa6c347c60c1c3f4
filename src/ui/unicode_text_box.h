// The text box for Chinese text: any Unicode text shown unchanged, in a chosen font,
// size and colour, with a change signal. The multi-line form hands its text back with
// CR line ends, the line ends of the vocabulary files.
#pragma once

#include <QColor>
#include <QWidget>

class QLineEdit;
class QPlainTextEdit;

namespace tavi {

class UnicodeTextBox : public QWidget {
    Q_OBJECT
public:
    enum class Lines { Single, Multi };
    explicit UnicodeTextBox(QWidget* parent = nullptr, Lines lines = Lines::Single);

    QString text() const;
    void setText(const QString& text);
    // Pinyin, or characters in the tones of their pinyin, as the pinyin display setting
    // says (the single-line form, read only).
    void setPinyin(const QString& stored);
    void setCharacters(const QString& characters, const QString& pinyin);
    // The multi-line form: replaces the whole text as one edit that undo takes back.
    void replaceText(const QString& text);

    QString fontName() const;
    void setFontName(const QString& name);
    qreal fontSize() const;
    void setFontSize(qreal points);
    QColor textColor() const;
    void setTextColor(const QColor& color);

    void setReadOnly(bool readOnly);
    // Whether the editor takes the keyboard focus; a card that is only read does not,
    // so that letter keys stay with the window's shortcuts.
    void setFocusable(bool focusable);
    void setAlignment(Qt::Alignment alignment); // single-line form only

Q_SIGNALS:
    void textChanged();

private:
    void applyFont(const QFont& font);
    QWidget* editor() const;

    QLineEdit* m_line = nullptr;
    QPlainTextEdit* m_multi = nullptr;
    QColor m_color = Qt::black;
};

} // namespace tavi
