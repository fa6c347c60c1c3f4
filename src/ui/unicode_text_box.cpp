// A thin wrapper over QLineEdit or QPlainTextEdit. The multi-line editor keeps its
// lines apart with LF inside; the box translates to and from CR at its edges.
#include "ui/unicode_text_box.h"

#include "core/chinese_font.h"
#include "ui/read_only_field.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QVBoxLayout>

namespace tavi {

namespace {

QString withLineFeeds(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

} // namespace

UnicodeTextBox::UnicodeTextBox(QWidget* parent, Lines lines) : QWidget(parent)
{
    ensureChineseFont();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    if (lines == Lines::Multi) {
        m_multi = new QPlainTextEdit(this);
        m_multi->setLineWrapMode(QPlainTextEdit::NoWrap);
        layout->addWidget(m_multi);
        connect(m_multi, &QPlainTextEdit::textChanged, this, &UnicodeTextBox::textChanged);
    } else {
        m_line = new QLineEdit(this);
        layout->addWidget(m_line);
        connect(m_line, &QLineEdit::textChanged, this, &UnicodeTextBox::textChanged);
    }
    // The editor fills the box, whatever height the window gives it.
    editor()->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setFocusProxy(editor());
}

QWidget* UnicodeTextBox::editor() const
{
    return m_multi ? static_cast<QWidget*>(m_multi) : static_cast<QWidget*>(m_line);
}

QString UnicodeTextBox::text() const
{
    if (m_line)
        return m_line->text();
    QString t = m_multi->toPlainText();
    t.replace(u'\n', u'\r');
    return t;
}

void UnicodeTextBox::setText(const QString& text)
{
    if (m_line) {
        // From its beginning, however long; a box that is only read has the whole
        // text in its tool tip.
        if (m_line->isReadOnly()) {
            showText(m_line, text);
            return;
        }
        m_line->setText(text);
        m_line->setCursorPosition(0);
        m_line->setToolTip(QString());
        return;
    }
    m_multi->setPlainText(withLineFeeds(text));
}

void UnicodeTextBox::setPinyin(const QString& stored)
{
    if (m_line)
        showPinyinText(m_line, stored);
    else
        setText(stored);
}

void UnicodeTextBox::setCharacters(const QString& characters, const QString& pinyin)
{
    if (m_line)
        showCharactersText(m_line, characters, pinyin);
    else
        setText(characters);
}

void UnicodeTextBox::replaceText(const QString& text)
{
    if (m_line) {
        setText(text);
        return;
    }
    QTextCursor all(m_multi->document());
    all.select(QTextCursor::Document);
    all.insertText(withLineFeeds(text));
}

QString UnicodeTextBox::fontName() const
{
    return editor()->font().family();
}

void UnicodeTextBox::setFontName(const QString& name)
{
    QFont f = editor()->font();
    f.setFamily(name);
    applyFont(f);
}

qreal UnicodeTextBox::fontSize() const
{
    return editor()->font().pointSizeF();
}

void UnicodeTextBox::setFontSize(qreal points)
{
    if (!(points > 0))
        return;
    QFont f = editor()->font();
    f.setPointSizeF(points);
    applyFont(f);
}

void UnicodeTextBox::applyFont(const QFont& font)
{
    editor()->setFont(font);
}

QColor UnicodeTextBox::textColor() const
{
    return m_color;
}

void UnicodeTextBox::setTextColor(const QColor& color)
{
    m_color = color;
    QPalette pal = editor()->palette();
    pal.setColor(QPalette::Text, color);
    editor()->setPalette(pal);
}

void UnicodeTextBox::setReadOnly(bool readOnly)
{
    if (m_line)
        m_line->setReadOnly(readOnly);
    else
        m_multi->setReadOnly(readOnly);
}

void UnicodeTextBox::setFocusable(bool focusable)
{
    editor()->setFocusPolicy(focusable ? Qt::StrongFocus : Qt::NoFocus);
}

void UnicodeTextBox::setAlignment(Qt::Alignment alignment)
{
    if (m_line)
        m_line->setAlignment(alignment);
}

} // namespace tavi
