// The vocabulary editor window. The text box holds the whole file; Refresh parses it
// into the word table and shows the table's canonical text, OK saves it, and Cancel
// (or the close box, after a change) puts back the table the window opened with.
//
// Chinese is typed through the desktop's input method, which types into any Qt text
// field: the input pane at the top is a plain single-line field for it.
#include "vocabulary/edit_voc_window.h"

#include "core/app_state.h"
#include "core/language.h"
#include "core/msgbox.h"
#include "core/settings.h"
#include "core/window_registry.h"
#include "sound/pinyin_display.h"
#include "sound/sound_index.h"
#include "ui/control.h"
#include "ui/dialog_keys.h"
#include "ui/unicode_text_box.h"
#include "vocabulary/load_voc_window.h"
#include "vocabulary/pinyin_highlighter.h"
#include "vocabulary/voc_check.h"
#include "vocabulary/voc_file.h"
#include "vocabulary/word_table.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QShortcut>
#include <QTextBlock>
#include <QToolButton>

namespace tavi {

namespace {

QPlainTextEdit* editorOf(UnicodeTextBox* box)
{
    return box->findChild<QPlainTextEdit*>();
}

// The fields of a line of the text, trimmed; a line without "+" has one.
QStringList fieldsOf(const QString& line)
{
    QStringList fields = line.split(u'+');
    for (QString& f : fields)
        f = f.trimmed();
    return fields;
}

constexpr int TranslationLength = 60;

} // namespace

QString entryTranslation(const DictEntry& entry)
{
    QString text;
    for (const QString& sense : entry.senses) {
        const QString next = text.isEmpty() ? sense : text + QStringLiteral("; ") + sense;
        if (next.size() > TranslationLength && !text.isEmpty())
            break;
        text = next;
    }
    if (text.size() > TranslationLength) { // one long sense: cut at a blank
        const qsizetype blank = text.lastIndexOf(u' ', TranslationLength);
        text = text.left(blank > 0 ? blank : TranslationLength).trimmed() + QStringLiteral(" …");
    }
    return text.replace(u'+', u'＋');
}

QString entryLine(const DictEntry& entry, bool traditional, const QString& chapter)
{
    return QStringList{
        QStringLiteral("0"),     entry.pinyin, traditional ? entry.traditional : entry.simplified,
        entryTranslation(entry), chapter,      QString()}
        .join(QStringLiteral(" + "));
}

EditVocWindow::EditVocWindow(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frm_editvoc"));
    buildControls();

    // Load
    setWindowTitle(QStringLiteral("Tavi Unicode Vocabulary File Editor"));
    lbl_input->setText(LangText(QStringLiteral("edit_input")));
    lbl_current_file->setText(LangText(QStringLiteral("edit_current_file")));
    lbl_fontsize->setText(LangText(QStringLiteral("edit_fontsize")));
    bt_ok->setText(LangText(QStringLiteral("edit_bt_OK")));
    bt_cancel->setText(LangText(QStringLiteral("edit_bt_cancel")));
    bt_check->setText(LangText(QStringLiteral("edit_bt_check")));
    TextBox1->setFontName(ChineseFont);
    TextBox1->setFontSize(m_fontSize);
    {
        // Tone digits must stand apart from letters ("l" and "1" look alike in the
        // Chinese font's Latin): Latin in a plain face, the characters in ChineseFont.
        QPlainTextEdit* edit = editorOf(TextBox1);
        QFont f = edit->font();
        f.setFamilies({QStringLiteral("DejaVu Sans Mono"), ChineseFont});
        edit->setFont(f);
    }
    WebBrowser1->setFontName(ChineseFont);
    m_resizer.SourceForm(this);
    txt_message->setText(QStringLiteral("Welcome to the Tavi unicode vocabulary file editor"));

    // What the window shows and OK writes is the file named in it: a table read from
    // another file, or from none, is replaced by that file's words first.
    if (!tableReadFrom(VocFilePath)) {
        const LoadResult read = readVocabularyShowingProgress(nullptr, VocFilePath);
        if (read == LoadResult::Unreadable || read == LoadResult::TooLarge) {
            bt_ok->setEnabled(false); // never replace words that could not be read
            MsgBox(loadFailureText(read) + u'\n' + VocFilePath, vbExclamation);
        } else if (VocTableSource != VocFilePath) {
            startNewTable(VocFilePath); // missing or without any text: a new file, which OK creates
        }
    }
    if (VocFilePath.isEmpty())
        bt_ok->setEnabled(false);
    lbl_current_file->setToolTip(VocFilePath);
    m_start = BuildVocText();
    m_table = m_start;
    {
        const QSignalBlocker quiet(TextBox1);
        TextBox1->setText(m_start);
    }
    for (int size = 4; size <= 30; size += 2)
        Combo1->addItem(QString::number(size));
    Combo1->setCurrentText(QStringLiteral("12"));
    TextBox1->setFocus();
}

// The dictionary pane, right of the text: a search box, simplified or traditional, the
// entries found, and Fill in.
void EditVocWindow::buildLookupPane()
{
    lbl_lookup = placedControl<QLabel>(this, "lbl_lookup", LangText(QStringLiteral("edit_lookup")),
                                       {722, 8, 326, 22}, Band);
    txt_lookup = placedControl<QLineEdit>(this, "txt_lookup", {722, 32, 326, 30}, Band);
    txt_lookup->setPlaceholderText(LangText(QStringLiteral("edit_lookup_hint")));
    QFont chinese = txt_lookup->font();
    chinese.setFamilies({QStringLiteral("DejaVu Sans"), ChineseFont});
    chinese.setPointSize(12);
    txt_lookup->setFont(chinese);
    op_simplified = placedControl<QRadioButton>(
        this, "op_simplified", LangText(QStringLiteral("edit_simplified")), {722, 66, 160, 24}, MoveOnly);
    op_traditional = placedControl<QRadioButton>(
        this, "op_traditional", LangText(QStringLiteral("edit_traditional")), {886, 66, 160, 24}, MoveOnly);
    const bool traditional =
        gkeyValue<bool>(QStringLiteral("R"), QStringLiteral("edit_lookup_traditional"), false, false);
    (traditional ? op_traditional : op_simplified)->setChecked(true);
    lst_lookup = placedControl<QListWidget>(this, "lst_lookup", {722, 94, 326, 394});
    lst_lookup->setFont(chinese);
    lst_lookup->setWordWrap(true);
    lst_lookup->setAlternatingRowColors(true);
    lst_lookup->setSpacing(1);
    lst_lookup->setToolTip(LangText(QStringLiteral("edit_lookup_insert")));
    lbl_lookupstate = placedControl<QLabel>(this, "lbl_lookupstate", {722, 494, 326, 22}, Band);
    bt_fillin = placedControl<QPushButton>(this, "bt_fillin", LangText(QStringLiteral("edit_bt_fillin")),
                                           {722, 524, 160, 34}, MoveOnly);
    bt_fillin->setToolTip(LangText(QStringLiteral("edit_fillin_tip")));

    connect(txt_lookup, &QLineEdit::textChanged, this, &EditVocWindow::txt_lookup_Change);
    connect(txt_lookup, &QLineEdit::returnPressed, this, [this] {
        if (lst_lookup->count() > 0 && !m_found.isEmpty()) {
            lst_lookup->setCurrentRow(0);
            lst_lookup->setFocus();
        }
    });
    for (QRadioButton* op : {op_simplified, op_traditional})
        connect(op, &QRadioButton::toggled, this, [this](bool on) {
            if (!on)
                return;
            gkeyValue<bool>(QStringLiteral("W"), QStringLiteral("edit_lookup_traditional"),
                            op_traditional->isChecked(), false);
            txt_lookup_Change();
        });
    connect(lst_lookup, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { insertEntry(lst_lookup->row(item)); });
    connect(bt_fillin, &QPushButton::clicked, this, &EditVocWindow::bt_fillin_Click);
    connect(new QShortcut(QKeySequence(Qt::Key_F6), this), &QShortcut::activated, this,
            &EditVocWindow::bt_fillin_Click);
    DialogKeys::keepEnter(txt_lookup);
    DialogKeys::keepEnter(lst_lookup);
}

const Dictionary* EditVocWindow::dictionary()
{
    // Mapped at the first use: a few milliseconds, after which every look-up is quick.
    lbl_lookupstate->setText(LangText(QStringLiteral("edit_lookup_loading")));
    lbl_lookupstate->repaint();
    QString error;
    const Dictionary* found = programDictionary(&error);
    lbl_lookupstate->setText(found ? QString() : LangText(QStringLiteral("edit_lookup_missing")).arg(error));
    return found;
}

void EditVocWindow::txt_lookup_Change()
{
    lst_lookup->clear();
    m_found.clear();
    const QString query = txt_lookup->text().trimmed();
    if (query.isEmpty()) {
        lbl_lookupstate->clear();
        return;
    }
    const Dictionary* dict = dictionary();
    if (!dict)
        return;
    m_found = dict->lookup(query);
    const bool traditional = op_traditional->isChecked();
    for (const DictEntry& e : std::as_const(m_found)) {
        const QString first = traditional ? e.traditional : e.simplified;
        const QString other = traditional ? e.simplified : e.traditional;
        QString text = first;
        if (other != first)
            text += QStringLiteral(" [") + other + u']';
        text += QStringLiteral("   ") + (pinyinDisplay().marks ? pinyinWithMarks(e.pinyin) : e.pinyin) +
                QStringLiteral("\n") + e.senses.join(QStringLiteral("; "));
        new QListWidgetItem(text, lst_lookup);
    }
    lbl_lookupstate->setText(m_found.isEmpty()
                                 ? LangText(QStringLiteral("edit_lookup_none"))
                                 : LangText(QStringLiteral("edit_lookup_count")).arg(m_found.size()));
}

// A new line after the cursor's (or in its place, when that line is empty), in the chapter
// of the line above it.
void EditVocWindow::insertEntry(int index)
{
    if (index < 0 || index >= m_found.size())
        return;
    QPlainTextEdit* edit = editorOf(TextBox1);
    QTextCursor cursor = edit->textCursor();
    QTextBlock block = cursor.block();
    QString chapter;
    for (QTextBlock above = block; above.isValid(); above = above.previous()) {
        const QStringList fields = fieldsOf(above.text());
        if (fields.size() >= 5 && !fields[4].isEmpty() && above.text() != VocHeader) {
            chapter = fields[4];
            break;
        }
    }
    const QString line = entryLine(m_found[index], op_traditional->isChecked(), chapter);
    cursor.beginEditBlock();
    if (block.text().trimmed().isEmpty()) {
        cursor.movePosition(QTextCursor::StartOfBlock);
        cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        cursor.insertText(line);
    } else {
        cursor.movePosition(QTextCursor::EndOfBlock);
        cursor.insertText(QStringLiteral("\n") + line);
    }
    cursor.endEditBlock();
    edit->setTextCursor(cursor);
    edit->ensureCursorVisible();
    txt_message->setText(LangText(QStringLiteral("edit_lookup_inserted")));
}

void EditVocWindow::bt_fillin_Click()
{
    QPlainTextEdit* edit = editorOf(TextBox1);
    const QTextBlock block = edit->textCursor().block();
    const QStringList fields = fieldsOf(block.text());
    if (fields.size() < 4 || fields[2].isEmpty() || (!fields[1].isEmpty() && !fields[3].isEmpty())) {
        txt_message->setText(LangText(QStringLiteral("edit_fillin_nothing")));
        return;
    }
    const Dictionary* dict = dictionary();
    if (!dict)
        return;
    QList<DictEntry> readings = dict->byCharacters(fields[2]);
    // A reading that agrees with pinyin already there is the one meant.
    if (!fields[1].isEmpty()) {
        QList<DictEntry> agreeing;
        for (const DictEntry& e : std::as_const(readings))
            if (e.pinyin.compare(QString(fields[1]).remove(u' '), Qt::CaseInsensitive) == 0)
                agreeing << e;
        if (!agreeing.isEmpty())
            readings = agreeing;
    }
    if (readings.isEmpty()) {
        txt_message->setText(LangText(QStringLiteral("edit_fillin_unknown")).arg(fields[2]));
        return;
    }
    if (readings.size() == 1) {
        fillLine(block.blockNumber(), readings.first());
        return;
    }
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("mnu_readings"));
    for (const DictEntry& e : std::as_const(readings)) {
        QString text = (pinyinDisplay().marks ? pinyinWithMarks(e.pinyin) : e.pinyin) +
                       QStringLiteral("   ") + entryTranslation(e);
        menu.addAction(text.replace(u'&', QStringLiteral("&&")));
    }
    const QRect at = edit->cursorRect();
    const QAction* chosen = menu.exec(edit->viewport()->mapToGlobal(at.bottomLeft()));
    if (chosen)
        fillLine(block.blockNumber(), readings[menu.actions().indexOf(const_cast<QAction*>(chosen))]);
}

void EditVocWindow::fillLine(int blockNumber, const DictEntry& entry)
{
    QPlainTextEdit* edit = editorOf(TextBox1);
    const QTextBlock block = edit->document()->findBlockByNumber(blockNumber);
    QStringList fields = fieldsOf(block.text());
    while (fields.size() < 6)
        fields << QString();
    if (fields[1].isEmpty())
        fields[1] = entry.pinyin;
    if (fields[3].isEmpty())
        fields[3] = entryTranslation(entry);
    QTextCursor cursor(block);
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    cursor.insertText(fields.join(QStringLiteral(" + ")));
    edit->setTextCursor(cursor);
    txt_message->setText(LangText(QStringLiteral("edit_fillin_done")));
}

void EditVocWindow::buildControls()
{
    // Captions and the one-line hints move and widen with the window but keep their
    // height; buttons and the font size box only move; the text box follows in every
    // measure.
    lbl_input = placedControl<QLabel>(this, "lbl_input", {12, 8, 696, 22}, Band);
    Picture1 = placedControl<QFrame>(this, "Picture1", {12, 32, 696, 44}, Band);
    Picture1->setFrameShape(QFrame::StyledPanel);
    WebBrowser1 = placedControl<UnicodeTextBox>(Picture1, "WebBrowser1", {6, 6, 684, 32}, Band);
    WebBrowser1->setFontSize(14);
    WebBrowser1->setToolTip(
        QStringLiteral("Type here with your input method, then copy and paste into the text"));
    lbl_current_file = placedControl<QLabel>(this, "lbl_current_file", {12, 84, 696, 22}, Band);
    TextBox1 = new UnicodeTextBox(this, UnicodeTextBox::Lines::Multi);
    TextBox1->setObjectName(QStringLiteral("TextBox1"));
    TextBox1->setGeometry(12, 108, 696, 380);
    editorOf(TextBox1)->setTabChangesFocus(true); // a tab would end up inside a field
    // In place before the text comes in, the tone colours are made as the text arrives,
    // not in a second pass over a large file.
    auto* tones = new PinyinHighlighter(editorOf(TextBox1)->document());
    connect(&PinyinDisplayNotifier::instance(), &PinyinDisplayNotifier::changed, tones, [this, tones] {
        const QSignalBlocker quiet(TextBox1); // new colours are no edit of the words
        tones->displayChanged();
    });
    txt_message = placedControl<QLabel>(this, "txt_message", {12, 494, 696, 22}, Band);
    txt_message->setStyleSheet(QStringLiteral("color: rgb(0, 0, 160);"));

    lbl_fontsize = placedControl<QLabel>(this, "lbl_fontsize", {12, 528, 90, 26}, MoveOnly);
    Combo1 = placedControl<QComboBox>(this, "Combo1", {104, 526, 70, 30}, MoveOnly);
    Combo1->setEditable(true);
    Combo1->setInsertPolicy(QComboBox::NoInsert);
    Combo1->setToolTip(QStringLiteral("Font size of the text; it takes effect with Refresh"));
    bt_check = placedControl<QPushButton>(this, "bt_check", {198, 524, 120, 34}, MoveOnly);
    bt_check->setToolTip(QStringLiteral("Look for typos: syllables, tones, counts, recordings, words twice"));
    lst_findings = placedControl<QListWidget>(this, "lst_findings", {12, 108, 696, 10});
    lst_findings->hide();
    lst_findings->setToolTip(QStringLiteral("Double-click or press Enter to go to the line"));
    bt_hide_findings = placedControl<QToolButton>(lst_findings, "bt_hide_findings", {0, 0, 22, 22});
    bt_hide_findings->setText(QStringLiteral("×"));
    bt_hide_findings->setToolTip(QStringLiteral("Hide the findings"));
    bt_syntax = placedControl<QPushButton>(this, "bt_syntax", {328, 524, 120, 34}, MoveOnly);
    bt_syntax->setText(QStringLiteral("Refresh "));
    bt_syntax->setToolTip(QStringLiteral("Check the text and show it in order (F5)"));
    bt_cancel = placedControl<QPushButton>(this, "bt_cancel", {458, 524, 120, 34}, MoveOnly);
    bt_ok = placedControl<QPushButton>(this, "bt_ok", {588, 524, 120, 34}, MoveOnly);
    bt_ok->setToolTip(QStringLiteral("Save the vocabulary file and close"));
    buildLookupPane();
    resize(1060, 568);
    setMinimumSize(360, 284);

    setTabOrder(WebBrowser1, TextBox1);
    setTabOrder(TextBox1, lst_findings);
    setTabOrder(lst_findings, Combo1);
    setTabOrder(Combo1, bt_check);
    setTabOrder(bt_check, bt_syntax);
    setTabOrder(bt_syntax, bt_cancel);
    setTabOrder(bt_cancel, bt_ok);
    setTabOrder(bt_ok, txt_lookup);
    setTabOrder(txt_lookup, op_simplified);
    setTabOrder(op_simplified, op_traditional);
    setTabOrder(op_traditional, lst_lookup);
    setTabOrder(lst_lookup, bt_fillin);

    connect(TextBox1, &UnicodeTextBox::textChanged, this,
            [this] { txt_message->setText(QStringLiteral("Paste the Chinese characters here ...")); });
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now && WebBrowser1->isAncestorOf(now))
            txt_message->setText(QStringLiteral("Press CTRL+SPACE to start the IME (if installed !)"));
    });
    connect(bt_syntax, &QPushButton::clicked, this, &EditVocWindow::bt_syntax_Click);
    connect(bt_check, &QPushButton::clicked, this, &EditVocWindow::bt_check_Click);
    connect(bt_hide_findings, &QToolButton::clicked, this, [this] { showFindingsList(false); });
    connect(lst_findings, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { goToFinding(item->data(Qt::UserRole).toInt()); });
    connect(bt_ok, &QPushButton::clicked, this, &EditVocWindow::bt_ok_Click);
    connect(bt_cancel, &QPushButton::clicked, this, &EditVocWindow::bt_cancel_Click);
    connect(new QShortcut(QKeySequence(Qt::Key_F5), this), &QShortcut::activated, this,
            &EditVocWindow::bt_syntax_Click);
    // Enter in the input pane or the size box is the learner's own, never OK's.
    DialogKeys::install(this, [this] { discard(changed()); });
    DialogKeys::keepEnter(WebBrowser1->findChild<QLineEdit*>());
    DialogKeys::keepEnter(Combo1);
    DialogKeys::keepEnter(lst_findings);
}

void EditVocWindow::bt_syntax_Click()
{
    bool number = false;
    const int size = Combo1->currentText().trimmed().toInt(&number);
    if (number && size >= 4 && size <= 200)
        m_fontSize = size;
    TextBox1->setFontSize(m_fontSize);

    ParseVocText(withHeader(TextBox1->text()));
    m_table = BuildVocText();

    // The learner stays where they were in the text.
    QPlainTextEdit* edit = editorOf(TextBox1);
    const QTextCursor before = edit->textCursor();
    const int line = before.blockNumber();
    const int column = before.positionInBlock();
    const int scrolled = edit->verticalScrollBar()->value();
    {
        const QSignalBlocker quiet(TextBox1);
        TextBox1->replaceText(m_table); // undo takes a refresh back like any edit
    }
    const QTextBlock block = edit->document()->findBlockByNumber(std::min(line, edit->blockCount() - 1));
    QTextCursor after(block);
    after.setPosition(block.position() + std::min(column, block.length() - 1));
    edit->setTextCursor(after);
    edit->verticalScrollBar()->setValue(scrolled);
    if (lst_findings->isVisible())
        bt_check_Click();
}

void EditVocWindow::bt_check_Click()
{
    const QList<Finding> findings = checkVocText(TextBox1->text(), recordingLookup(), dictionary());
    lst_findings->clear();
    const QString lineText = LangText(QStringLiteral("check_line"));
    for (const Finding& f : findings) {
        QString text = lineText.arg(f.line) + QStringLiteral(":  ");
        if (!f.characters.isEmpty())
            text += f.characters + QStringLiteral("  ");
        auto* item = new QListWidgetItem(text + findingText(f), lst_findings);
        item->setData(Qt::UserRole, f.line);
    }
    if (findings.isEmpty())
        new QListWidgetItem(LangText(QStringLiteral("check_clean")), lst_findings);
    showFindingsList(true);
}

void EditVocWindow::showFindingsList(bool shown)
{
    if (shown == lst_findings->isVisible())
        return;
    // The list takes the lower third of the text box's place, and gives it back.
    QRect text = TextBox1->geometry();
    if (shown) {
        const int listHeight = std::max(60, text.height() / 3);
        lst_findings->setGeometry(text.left(), text.bottom() + 1 - listHeight, text.width(), listHeight);
        text.setHeight(text.height() - listHeight - 6);
    } else {
        text.setBottom(lst_findings->geometry().bottom());
    }
    TextBox1->setGeometry(text);
    lst_findings->setVisible(shown);
    bt_hide_findings->move(lst_findings->width() - bt_hide_findings->width() - 2, 2);
    m_resizer.ReInitialize(); // the window scales from here
}

void EditVocWindow::goToFinding(int line)
{
    if (line <= 0)
        return;
    QPlainTextEdit* edit = editorOf(TextBox1);
    const QTextBlock block = edit->document()->findBlockByNumber(std::min(line, edit->blockCount()) - 1);
    edit->setTextCursor(QTextCursor(block));
    edit->centerCursor();
    TextBox1->setFocus();
}

void EditVocWindow::bt_ok_Click()
{
    bt_syntax_Click();
    // A failed write was reported naming the file; the window stays with the text.
    if (!saveVocabulary(VocFilePath, m_table))
        return;
    m_start = m_table;
    unload();
}

void EditVocWindow::bt_cancel_Click()
{
    discard(true);
}

bool EditVocWindow::changed() const
{
    return m_table != m_start || TextBox1->text() != m_start;
}

bool EditVocWindow::discard(bool ask)
{
    if (ask && MsgBox(LangText(QStringLiteral("edit_discard_changes")), vbYesNo | vbExclamation,
                      QStringLiteral("Tavi Unicode Editor")) != vbYes)
        return false;
    if (m_table != m_start)
        ParseVocText(m_start);
    unload();
    return true;
}

void EditVocWindow::unload()
{
    m_closing = true;
    hide();
    windows().unload(objectName());
}

void EditVocWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_resizer.ScaleControls();
}

void EditVocWindow::closeEvent(QCloseEvent* event)
{
    // The close box is Cancel, asking only when something changed.
    if (m_closing || discard(changed()))
        event->accept();
    else
        event->ignore();
}

} // namespace tavi
