// The import window. The file is read into memory once; every change of a choice shows
// the first rows at once and reads the whole file a moment later, for the counts.
#include "vocabulary/import_window.h"

#include "core/app_state.h"
#include "core/file_replace.h"
#include "core/language.h"
#include "core/main_hub.h"
#include "core/msgbox.h"
#include "core/services.h"
#include "core/settings.h"
#include "core/window_registry.h"
#include "ui/control.h"
#include "ui/dialog_keys.h"
#include "vocabulary/load_voc_window.h"
#include "vocabulary/voc_file.h"
#include "vocabulary/word_table.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

namespace tavi {

namespace {

constexpr int SampleRecords = 5;  // rows under the column roles
constexpr int PreviewWords = 200; // rows of the words as read
constexpr int ShownSkipped = 500; // unreadable lines listed by number

const QColor DuplicateShade(0xff, 0xf1, 0xc1);

// The roles in the order the column menus offer them.
const ColumnRole Roles[] = {ColumnRole::Ignore,      ColumnRole::Characters, ColumnRole::Pinyin,
                            ColumnRole::Translation, ColumnRole::Chapter,    ColumnRole::Level,
                            ColumnRole::Mark};

// The word grid's columns: the word table's cells in the order a learner reads them.
const VocColumn WordColumns[] = {CHAR, PINYIN, TRANSLATION, CHAPTER, CTR, SELECTION};
const ColumnRole WordColumnRoles[] = {ColumnRole::Characters, ColumnRole::Pinyin, ColumnRole::Translation,
                                      ColumnRole::Chapter,    ColumnRole::Level,  ColumnRole::Mark};

QString number(qsizetype n)
{
    return interfaceLocale().toString(qlonglong(n));
}

// A field on one line of a grid cell.
QString oneLine(QString s)
{
    s.replace(u'\n', QChar(0x21B5));
    s.replace(u'\r', QChar(0x21B5));
    return s;
}

// A column's header: the name the file gave it (Anki's own columns in the interface's
// words), or its number.
QString columnTitle(const QString& name, int column)
{
    if (name.isEmpty())
        return LangText(QStringLiteral("import_column")).arg(column + 1);
    if (name == u"Note type")
        return LangText(QStringLiteral("import_col_notetype"));
    if (name == u"Deck")
        return LangText(QStringLiteral("import_col_deck"));
    if (name == u"Tags")
        return LangText(QStringLiteral("import_col_tags"));
    return name;
}

void selectData(QComboBox* box, int value)
{
    const int at = box->findData(value);
    box->setCurrentIndex(at);
}

} // namespace

void ImportWindow::buildControls()
{
    lbl_source = newControl<QLabel>(this, "lbl_source");
    txt_source = newControl<QLineEdit>(this, "txt_source");
    txt_source->setReadOnly(true);
    bt_choose = newControl<QPushButton>(this, "bt_choose");

    Frame_read = newControl<QGroupBox>(this, "Frame_read");
    lbl_format = newControl<QLabel>(Frame_read, "lbl_format");
    cmb_format = newControl<QComboBox>(Frame_read, "cmb_format");
    cmb_format->addItem(QString(), int(ImportFormat::Delimited));
    cmb_format->addItem(QString(), int(ImportFormat::Pleco));
    lbl_encoding = newControl<QLabel>(Frame_read, "lbl_encoding");
    cmb_encoding = newControl<QComboBox>(Frame_read, "cmb_encoding");
    cmb_encoding->addItem(QStringLiteral("UTF-8"), int(ImportEncoding::Utf8));
    cmb_encoding->addItem(QStringLiteral("UTF-16 LE"), int(ImportEncoding::Utf16LE));
    cmb_encoding->addItem(QStringLiteral("UTF-16 BE"), int(ImportEncoding::Utf16BE));
    cmb_encoding->addItem(QStringLiteral("Windows-1252"), int(ImportEncoding::Windows1252));
    cmb_encoding->addItem(QStringLiteral("ISO 8859-1"), int(ImportEncoding::Latin1));
    lbl_separator = newControl<QLabel>(Frame_read, "lbl_separator");
    cmb_separator = newControl<QComboBox>(Frame_read, "cmb_separator");
    for (const char16_t c : {u'\t', u',', u';', u'|', u' '})
        cmb_separator->addItem(QString(), int(c));
    ch_header = newControl<QCheckBox>(Frame_read, "ch_header");
    ch_html = newControl<QCheckBox>(Frame_read, "ch_html");
    ch_traditional = newControl<QCheckBox>(Frame_read, "ch_traditional");

    auto* g = new QGridLayout(Frame_read);
    g->addWidget(lbl_format, 0, 0);
    g->addWidget(cmb_format, 0, 1);
    g->addWidget(lbl_encoding, 0, 2);
    g->addWidget(cmb_encoding, 0, 3);
    g->addWidget(lbl_separator, 0, 4);
    g->addWidget(cmb_separator, 0, 5);
    g->setColumnStretch(6, 1);
    auto* boxes = new QHBoxLayout;
    boxes->setSpacing(18);
    boxes->addWidget(ch_header);
    boxes->addWidget(ch_html);
    boxes->addWidget(ch_traditional);
    boxes->addStretch(1);
    g->addLayout(boxes, 1, 0, 1, 7);
    g->setHorizontalSpacing(10);

    lbl_columns = newControl<QLabel>(this, "lbl_columns");
    grid_columns = newControl<QTableWidget>(this, "grid_columns");
    grid_columns->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_columns->setSelectionMode(QAbstractItemView::NoSelection);
    grid_columns->verticalHeader()->setDefaultSectionSize(26);
    grid_columns->setFixedHeight(26 * (SampleRecords + 1) + 30);
    lbl_words = newControl<QLabel>(this, "lbl_words");
    grid_words = newControl<QTableWidget>(this, "grid_words");
    grid_words->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_words->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_words->setColumnCount(int(std::size(WordColumns)));
    grid_words->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch); // the translation
    grid_words->verticalHeader()->setDefaultSectionSize(24);
    lbl_summary = newControl<QLabel>(this, "lbl_summary");
    lbl_summary->setWordWrap(true);
    lst_skipped = newControl<QListWidget>(this, "lst_skipped");
    lst_skipped->setMaximumHeight(90);
    lst_skipped->hide();

    Frame_target = newControl<QGroupBox>(this, "Frame_target");
    op_newfile = newControl<QRadioButton>(Frame_target, "op_newfile");
    op_append = newControl<QRadioButton>(Frame_target, "op_append");
    ch_keepdup = newControl<QCheckBox>(Frame_target, "ch_keepdup");
    op_newfile->setChecked(true);
    auto* t = new QVBoxLayout(Frame_target);
    t->addWidget(op_newfile);
    t->addWidget(op_append);
    t->addWidget(ch_keepdup);

    bt_import = newControl<QPushButton>(this, "bt_import");
    bt_import->setDefault(true);
    bt_import->setMinimumSize(120, 32);
    bt_cancel = newControl<QPushButton>(this, "bt_cancel");
    bt_cancel->setMinimumSize(120, 32);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(14, 12, 14, 12);
    column->setSpacing(8);
    auto* source = new QHBoxLayout;
    source->addWidget(lbl_source);
    source->addWidget(txt_source, 1);
    source->addWidget(bt_choose);
    column->addLayout(source);
    column->addWidget(Frame_read);
    column->addWidget(lbl_columns);
    column->addWidget(grid_columns);
    column->addWidget(lbl_words);
    column->addWidget(grid_words, 1);
    column->addWidget(lbl_summary);
    column->addWidget(lst_skipped);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(Frame_target, 1);
    auto* buttons = new QVBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(bt_import);
    buttons->addWidget(bt_cancel);
    bottom->addLayout(buttons);
    column->addLayout(bottom);
}

void ImportWindow::applyTexts()
{
    setWindowTitle(LangText(QStringLiteral("import_title")));
    lbl_source->setText(LangText(QStringLiteral("import_file")));
    bt_choose->setText(LangText(QStringLiteral("import_bt_choose")));
    Frame_read->setTitle(LangText(QStringLiteral("import_reading")));
    lbl_format->setText(LangText(QStringLiteral("import_format")));
    cmb_format->setItemText(0, LangText(QStringLiteral("import_format_delimited")));
    cmb_format->setItemText(1, LangText(QStringLiteral("import_format_pleco")));
    lbl_encoding->setText(LangText(QStringLiteral("import_encoding")));
    lbl_separator->setText(LangText(QStringLiteral("import_separator")));
    const char* separators[] = {"import_sep_tab", "import_sep_comma", "import_sep_semicolon",
                                "import_sep_bar", "import_sep_space"};
    for (int i = 0; i < int(std::size(separators)); ++i)
        cmb_separator->setItemText(i, LangText(QString::fromLatin1(separators[i])));
    ch_header->setText(LangText(QStringLiteral("import_ch_header")));
    ch_html->setText(LangText(QStringLiteral("import_ch_html")));
    ch_traditional->setText(LangText(QStringLiteral("import_ch_traditional")));
    lbl_columns->setText(LangText(QStringLiteral("import_columns")));
    lbl_words->setText(LangText(QStringLiteral("import_words")));
    QStringList heads;
    for (ColumnRole role : WordColumnRoles)
        heads << LangText(columnRoleKey(role));
    grid_words->setHorizontalHeaderLabels(heads);
    Frame_target->setTitle(LangText(QStringLiteral("import_target")));
    op_newfile->setText(LangText(QStringLiteral("import_op_newfile")));
    bt_import->setText(LangText(QStringLiteral("import_bt_import")));
    bt_cancel->setText(LangText(QStringLiteral("edit_bt_cancel")));
}

ImportWindow::ImportWindow(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frm_import"));
    buildControls();
    applyTexts();
    resize(900, 720);

    // The whole file is read a moment after a change, once the preview has been drawn.
    m_wholeTimer.setSingleShot(true);
    m_wholeTimer.setInterval(40);
    connect(&m_wholeTimer, &QTimer::timeout, this, &ImportWindow::showWhole);

    connect(bt_choose, &QPushButton::clicked, this, &ImportWindow::chooseFile);
    for (QComboBox* box : {cmb_format, cmb_encoding, cmb_separator})
        connect(box, &QComboBox::currentIndexChanged, this, [this] {
            if (!m_showing)
                readControls();
        });
    for (QCheckBox* box : {ch_header, ch_html, ch_traditional})
        connect(box, &QCheckBox::toggled, this, [this] {
            if (!m_showing)
                readControls();
        });
    // The target decides what counts as a duplicate.
    connect(op_append, &QRadioButton::toggled, this, [this] {
        if (!m_showing)
            refresh();
    });
    connect(ch_keepdup, &QCheckBox::toggled, this, [this] {
        if (m_whole)
            bt_import->setEnabled(!m_whole->rows(ch_keepdup->isChecked()).empty());
    });
    connect(bt_import, &QPushButton::clicked, this, &ImportWindow::bt_import_Click);
    connect(bt_cancel, &QPushButton::clicked, this, &QWidget::close);
    DialogKeys::install(this, [this] { close(); });
}

void ImportWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (m_path.isEmpty())
        QTimer::singleShot(0, this, [this] {
            if (m_path.isEmpty() && !chooseFile())
                close();
        });
}

void ImportWindow::closeEvent(QCloseEvent* event)
{
    event->accept();
    windows().unload(objectName());
}

bool ImportWindow::chooseFile()
{
    OpenFileDialogService* dialog = services().fileDialog;
    if (!dialog)
        return false;
    const QString last = ReadSetting(QStringLiteral("import_lastfile"));
    const QString chosen = dialog->getOpenFileName(
        LangText(QStringLiteral("import_choose_title")), last.isEmpty() ? QDir::homePath() : last,
        {QStringLiteral("Text files (*.txt *.csv *.tsv)"), QStringLiteral("All Files (*.*)")});
    if (chosen.isEmpty() || !openFile(chosen))
        return false;
    WriteSetting(QStringLiteral("import_lastfile"), chosen);
    return true;
}

bool ImportWindow::openFile(const QString& path)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QByteArray bytes;
    ImportDetection detected;
    detected.refusal = readImportFile(path, bytes);
    if (detected.refusal == ImportRefusal::None)
        detected = detectImport(bytes);
    QApplication::restoreOverrideCursor();
    if (detected.refusal != ImportRefusal::None) {
        MsgBox(LangText(importRefusalKey(detected.refusal)) + QStringLiteral("\n\n") + path, vbExclamation);
        return false;
    }
    m_path = path;
    m_bytes = std::move(bytes);
    m_detected = std::move(detected);
    m_choices = m_detected.choices;
    txt_source->setText(QDir::toNativeSeparators(path));
    txt_source->setCursorPosition(0);

    followTable();
    showChoices();
    refresh();
    return true;
}

void ImportWindow::followTable()
{
    // Words can be added to a table read from a file in this run.
    m_tableVersion = VocTableVersion;
    const bool loaded = VocCount >= 0 && !VocTableSource.isEmpty();
    const QSignalBlocker quiet(op_append);
    op_append->setEnabled(loaded);
    op_append->setText(LangText(QStringLiteral("import_op_append"))
                           .arg(loaded ? QFileInfo(VocTableSource).fileName() : QStringLiteral("–")));
    if (!loaded)
        op_newfile->setChecked(true);
}

void ImportWindow::changeEvent(QEvent* event)
{
    // Another window read or changed the words meanwhile: the target and its duplicates anew.
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && !m_path.isEmpty() &&
        m_tableVersion != VocTableVersion) {
        followTable();
        refresh();
    }
    QWidget::changeEvent(event);
}

void ImportWindow::showChoices()
{
    m_showing = true;
    selectData(cmb_format, int(m_choices.format));
    selectData(cmb_encoding, int(m_choices.encoding));
    const int separator = m_choices.separator.unicode();
    if (cmb_separator->findData(separator) < 0)
        cmb_separator->addItem(QStringLiteral("“%1”").arg(m_choices.separator), separator);
    selectData(cmb_separator, separator);
    ch_header->setChecked(m_choices.headerRow);
    ch_html->setChecked(m_choices.html);
    ch_traditional->setChecked(m_choices.traditional);
    const bool delimited = m_choices.format == ImportFormat::Delimited;
    for (QWidget* w : std::initializer_list<QWidget*>{lbl_separator, cmb_separator, ch_header, ch_html})
        w->setEnabled(delimited);
    ch_traditional->setEnabled(!delimited);
    m_showing = false;
}

void ImportWindow::readControls()
{
    const auto format = ImportFormat(cmb_format->currentData().toInt());
    if (format != m_choices.format) {
        m_choices.format = format;
        const ImportChoices& guess = m_detected.choices;
        if (format == ImportFormat::Pleco) {
            m_choices.roles = {ColumnRole::Characters, ColumnRole::Pinyin, ColumnRole::Translation};
        } else if (guess.format == ImportFormat::Delimited) {
            m_choices.roles = guess.roles;
            m_choices.tagsColumn = guess.tagsColumn;
        } else {
            // Pleco text read as columns: the same three columns, split at tabs.
            m_choices.separator = u'\t';
            m_choices.roles = {ColumnRole::Characters, ColumnRole::Pinyin, ColumnRole::Translation};
        }
    } else {
        m_choices.encoding = ImportEncoding(cmb_encoding->currentData().toInt());
        m_choices.separator = QChar(char16_t(cmb_separator->currentData().toInt()));
        m_choices.headerRow = ch_header->isChecked();
        m_choices.html = ch_html->isChecked();
        m_choices.traditional = ch_traditional->isChecked();
    }
    showChoices();
    refresh();
}

void ImportWindow::setRole(int column, ColumnRole role)
{
    if (column >= int(m_choices.roles.size()))
        m_choices.roles.resize(column + 1, ColumnRole::Ignore);
    // One column a role: a role given to this column leaves the one that had it.
    if (role != ColumnRole::Ignore)
        for (ColumnRole& r : m_choices.roles)
            if (r == role)
                r = ColumnRole::Ignore;
    m_choices.roles[column] = role;
    refresh();
}

std::span<const VocRow> ImportWindow::target() const
{
    if (!appending())
        return {};
    return std::span(VocTable.data(), std::size_t(std::min<int>(VocCount + 1, int(VocTable.size()))));
}

bool ImportWindow::appending() const
{
    return op_append->isChecked() && op_append->isEnabled();
}

void ImportWindow::refresh()
{
    m_whole.reset();
    showColumns();
    showWords();
    lbl_summary->setText(LangText(QStringLiteral("import_summary_reading")));
    lbl_summary->setStyleSheet(QString());
    bt_import->setEnabled(false);
    m_wholeTimer.start();
}

void ImportWindow::showColumns()
{
    const QList<ImportRecord> records = importRecords(m_bytes, m_choices, SampleRecords);
    int columns = int(m_choices.roles.size());
    for (const ImportRecord& r : records)
        columns = std::max(columns, int(r.fields.size()));
    const bool delimited = m_choices.format == ImportFormat::Delimited;
    // The names the file gave its columns, while the columns are split as they were then.
    const ImportChoices& guess = m_detected.choices;
    const bool named = delimited && guess.format == ImportFormat::Delimited &&
                       m_choices.encoding == guess.encoding && m_choices.separator == guess.separator &&
                       m_choices.headerRow == guess.headerRow;
    grid_columns->setColumnCount(columns);
    grid_columns->setRowCount(int(records.size()) + 1);
    QStringList heads;
    for (int c = 0; c < columns; ++c) {
        const QString name =
            named && c < m_detected.columnNames.size() ? m_detected.columnNames[c] : QString();
        heads << columnTitle(name, c);
    }
    grid_columns->setHorizontalHeaderLabels(heads);
    QStringList lines{LangText(QStringLiteral("import_role"))};
    for (int r = 0; r < records.size(); ++r) {
        lines << QString::number(records[r].line);
        const QStringList& fields = records[r].fields;
        for (int c = 0; c < columns; ++c)
            grid_columns->setItem(r + 1, c,
                                  new QTableWidgetItem(c < fields.size() ? oneLine(fields[c]) : QString()));
    }
    grid_columns->setVerticalHeaderLabels(lines);
    // The role menus stay while their columns do: a choice made in one refreshes the grid.
    for (int c = 0; c < columns; ++c) {
        auto* box = qobject_cast<QComboBox*>(grid_columns->cellWidget(0, c));
        if (!box) {
            box = new QComboBox(grid_columns);
            box->setObjectName(QStringLiteral("cmb_role_%1").arg(c + 1));
            for (ColumnRole role : Roles)
                box->addItem(LangText(columnRoleKey(role)), int(role));
            connect(box, &QComboBox::currentIndexChanged, this,
                    [this, c, box] { setRole(c, ColumnRole(box->currentData().toInt())); });
            grid_columns->setCellWidget(0, c, box);
        }
        const QSignalBlocker quiet(box);
        selectData(box, int(c < m_choices.roles.size() ? m_choices.roles[c] : ColumnRole::Ignore));
        box->setEnabled(delimited); // Pleco's three columns are fixed
    }
    grid_columns->resizeColumnsToContents();
    for (int c = 0; c < columns; ++c)
        grid_columns->setColumnWidth(c, std::clamp(grid_columns->columnWidth(c), 130, 320));
}

void ImportWindow::showWords()
{
    const ImportResult preview = convertImport(m_bytes, m_choices, target(), PreviewWords);
    grid_words->clearContents();
    grid_words->setRowCount(int(preview.words.size()));
    QStringList lines;
    const QString already = LangText(QStringLiteral("import_duplicate"));
    for (int r = 0; r < int(preview.words.size()); ++r) {
        const ImportedWord& w = preview.words[r];
        lines << QString::number(w.line);
        for (int c = 0; c < int(std::size(WordColumns)); ++c) {
            auto* item = new QTableWidgetItem(oneLine(w.row[WordColumns[c]]));
            if (w.duplicate) {
                item->setBackground(DuplicateShade);
                item->setToolTip(already);
            }
            grid_words->setItem(r, c, item);
        }
    }
    grid_words->setVerticalHeaderLabels(lines);
    grid_words->resizeColumnsToContents();
    for (int c = 0; c < grid_words->columnCount(); ++c)
        if (c != 2)
            grid_words->setColumnWidth(c, std::clamp(grid_words->columnWidth(c), 70, 300));
}

const ImportResult& ImportWindow::whole()
{
    if (!m_whole) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        m_whole = convertImport(m_bytes, m_choices, target());
        QApplication::restoreOverrideCursor();
    }
    return *m_whole;
}

void ImportWindow::showWhole()
{
    const ImportResult& w = whole();
    const qsizetype words = qsizetype(w.words.size());
    if (words == 0) {
        lbl_summary->setText(LangText(QStringLiteral("import_no_rows")));
        lbl_summary->setStyleSheet(QStringLiteral("color: #b22222"));
    } else {
        lbl_summary->setText(LangText(QStringLiteral("import_summary"))
                                 .arg(number(words), number(w.duplicates), number(w.skipped.size())));
        lbl_summary->setStyleSheet(QString());
    }
    ch_keepdup->setText(LangText(QStringLiteral("import_ch_keepdup")).arg(number(w.duplicates)));
    ch_keepdup->setEnabled(w.duplicates > 0);
    lst_skipped->clear();
    for (const SkippedLine& s : w.skipped.first(std::min<qsizetype>(w.skipped.size(), ShownSkipped)))
        lst_skipped->addItem(
            LangText(QStringLiteral("import_line")).arg(s.line).arg(LangText(lineProblemKey(s.problem))));
    if (w.skipped.size() > ShownSkipped)
        lst_skipped->addItem(
            LangText(QStringLiteral("import_more_lines")).arg(number(w.skipped.size() - ShownSkipped)));
    lst_skipped->setVisible(!w.skipped.isEmpty());
    bt_import->setEnabled(!w.rows(ch_keepdup->isChecked()).empty());
}

void ImportWindow::bt_import_Click()
{
    // The editor holds the loaded words as text: what it saved later would drop the new ones.
    if (windows().find(QStringLiteral("frm_editvoc"))) {
        MsgBox(LangText(QStringLiteral("import_editor_open")), vbExclamation);
        return;
    }
    const std::vector<VocRow> rows = whole().rows(ch_keepdup->isChecked());
    if (rows.empty()) {
        MsgBox(LangText(QStringLiteral("import_no_rows")), vbExclamation);
        return;
    }
    if (!(appending() ? appendToLoaded(rows) : importToNewFile(rows)))
        return;
    // The file as it is now, read as Browse reads it, ready for a selection.
    const QString file = VocFilePath;
    hide();
    windows().open(QStringLiteral("loadvoc"));
    if (auto* selection = windows().get<LoadVocWindow>(QStringLiteral("loadvoc")))
        selection->openImported(file);
    if (MainHub* main = mainHub())
        main->setStatus(LangText(QStringLiteral("import_done"))
                            .arg(number(qsizetype(rows.size())), QFileInfo(file).fileName()));
    windows().unload(objectName());
}

bool ImportWindow::importToNewFile(const std::vector<VocRow>& rows)
{
    OpenFileDialogService* dialog = services().fileDialog;
    if (!dialog)
        return false;
    // Among the learner's vocabulary files, named after the source, never the source itself.
    const QFileInfo source(m_path);
    const QFileInfo vocabulary(VocFilePath);
    const QDir folder = !VocFilePath.isEmpty() && vocabulary.absoluteDir().exists() ? vocabulary.absoluteDir()
                                                                                    : source.absoluteDir();
    QString proposal = folder.filePath(source.completeBaseName() + QStringLiteral(".txt"));
    if (sameFile(proposal, m_path))
        proposal = folder.filePath(source.completeBaseName() + QStringLiteral("_tavi.txt"));
    const QString chosen =
        dialog->getSaveFileName(LangText(QStringLiteral("import_save_title")), proposal,
                                {QStringLiteral("Text files (*.txt)"), QStringLiteral("All Files (*.*)")});
    if (chosen.isEmpty())
        return false;
    if (sameFile(chosen, m_path)) {
        MsgBox(LangText(QStringLiteral("import_same_file")) + QStringLiteral("\n\n") + chosen, vbExclamation);
        return false;
    }
    if (!WriteVocFile(chosen, vocText(rows)))
        return false;
    VocFilePath = chosen;
    return true;
}

bool ImportWindow::appendToLoaded(const std::vector<VocRow>& rows)
{
    if (sameFile(VocTableSource, m_path)) {
        MsgBox(LangText(QStringLiteral("import_same_file")) + QStringLiteral("\n\n") + m_path, vbExclamation);
        return false;
    }
    const std::span<const VocRow> loaded = target();
    std::vector<VocRow> all;
    all.reserve(loaded.size() + rows.size());
    all.insert(all.end(), loaded.begin(), loaded.end());
    all.insert(all.end(), rows.begin(), rows.end());
    // The save rule: a file that changed on disk since it was read is not replaced.
    if (!saveVocabulary(VocTableSource, vocText(all)))
        return false;
    VocFilePath = VocTableSource;
    return true;
}

} // namespace tavi
