// The export never writes over the vocabulary file it was read from: a slip in the save
// dialog would otherwise turn the user's own words into Anki or Pleco text. After an
// export the window stays open with a line saying what was written, so that the same
// words can go out in the other format too.
#include "vocabulary/export_window.h"

#include "core/app_state.h"
#include "core/file_replace.h"
#include "core/language.h"
#include "core/msgbox.h"
#include "core/services.h"
#include "core/settings.h"
#include "ui/control.h"
#include "ui/dialog_keys.h"
#include "vocabulary/word_exchange.h"

#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

namespace tavi {

namespace {

QString counted(qsizetype n)
{
    return interfaceLocale().toString(n);
}

bool isVocabularyFile(const QString& path)
{
    for (const QString& own : {VocTableSource, VocFilePath})
        if (!own.isEmpty() && sameFile(own, path))
            return true;
    return false;
}

} // namespace

ExportWindow::ExportWindow(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frm_export"));
    buildControls();
    captions();
    settings(QStringLiteral("R"));
    follow_table();

    for (QRadioButton* choice : {op_anki, op_marks})
        connect(choice, &QRadioButton::toggled, this, [this] { settings(QStringLiteral("W")); });
    connect(bt_export, &QPushButton::clicked, this, &ExportWindow::bt_export_Click);
    connect(bt_close, &QPushButton::clicked, this, &QWidget::close);
    DialogKeys::install(this, [this] { close(); });
}

void ExportWindow::buildControls()
{
    const auto frame = [this](const char* name, QRadioButton*& first, const char* firstName,
                              QRadioButton*& second, const char* secondName) {
        auto* box = newControl<QGroupBox>(this, name);
        first = newControl<QRadioButton>(box, firstName);
        second = newControl<QRadioButton>(box, secondName);
        auto* column = new QVBoxLayout(box);
        column->setContentsMargins(12, 8, 12, 10);
        column->setSpacing(6);
        column->addWidget(first);
        column->addWidget(second);
        return box;
    };
    Frame1 = frame("Frame1", op_anki, "op_anki", op_pleco, "op_pleco");
    Frame2 = frame("Frame2", op_marks, "op_marks", op_digits, "op_digits");
    Frame3 = frame("Frame3", op_table, "op_table", op_selection, "op_selection");
    op_table->setChecked(true);

    lbl_result = newControl<QLabel>(this, "lbl_result");
    lbl_result->setWordWrap(true);
    lbl_result->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lbl_result->setMinimumHeight(lbl_result->fontMetrics().lineSpacing() * 2);
    auto* line = newControl<QFrame>(this, "Line1");
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    bt_export = newControl<QPushButton>(this, "bt_export");
    bt_close = newControl<QPushButton>(this, "bt_close");
    for (QPushButton* b : {bt_export, bt_close})
        b->setMinimumSize(120, 32);
    bt_export->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(10);
    buttons->addStretch(1);
    buttons->addWidget(bt_export);
    buttons->addWidget(bt_close);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(14, 12, 14, 12);
    column->setSpacing(10);
    column->addWidget(Frame1);
    column->addWidget(Frame2);
    column->addWidget(Frame3);
    column->addWidget(lbl_result);
    column->addStretch(1);
    column->addWidget(line);
    column->addLayout(buttons);
    setMinimumWidth(440);
}

void ExportWindow::captions()
{
    setWindowTitle(LangText(QStringLiteral("export_title")));
    Frame1->setTitle(LangText(QStringLiteral("export_frame_format")));
    op_anki->setText(LangText(QStringLiteral("export_op_anki")));
    op_pleco->setText(LangText(QStringLiteral("export_op_pleco")));
    Frame2->setTitle(LangText(QStringLiteral("export_frame_pinyin")));
    op_marks->setText(LangText(QStringLiteral("export_op_marks")));
    op_digits->setText(LangText(QStringLiteral("export_op_digits")));
    Frame3->setTitle(LangText(QStringLiteral("export_frame_words")));
    bt_export->setText(LangText(QStringLiteral("export_bt_export")));
    bt_close->setText(LangText(QStringLiteral("export_bt_close")));
}

void ExportWindow::settings(const QString& mode)
{
    const QString format = gkeyValue<QString>(
        mode, QStringLiteral("export_format"),
        op_pleco->isChecked() ? QStringLiteral("pleco") : QStringLiteral("anki"), QStringLiteral("anki"));
    (format == u"pleco" ? op_pleco : op_anki)->setChecked(true);
    const bool marks = gkeyValue<bool>(mode, QStringLiteral("export_marks"), op_marks->isChecked(), true);
    (marks ? op_marks : op_digits)->setChecked(true);
}

void ExportWindow::showEvent(QShowEvent* event)
{
    lbl_result->clear(); // a line from an earlier visit would tell of words since changed
    lbl_result->setToolTip({});
    follow_table();
    QWidget::showEvent(event);
}

// The selection may have changed in another window while this one waited behind it.
void ExportWindow::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        follow_table();
    QWidget::changeEvent(event);
}

void ExportWindow::follow_table()
{
    const int words = VocCount + 1;
    const int selected = StudyCount + 1;
    op_table->setText(LangText(QStringLiteral("export_op_table")).arg(counted(std::max(words, 0))));
    op_selection->setText(
        LangText(QStringLiteral("export_op_selection")).arg(counted(std::max(selected, 0))));
    op_selection->setEnabled(StudyCount >= 0);
    if (StudyCount < 0)
        op_table->setChecked(true);
    bt_export->setEnabled(VocCount >= 0);
    const QString noWords = LangText(QStringLiteral("export_nowords"));
    if (VocCount < 0)
        lbl_result->setText(noWords);
    else if (lbl_result->text() == noWords)
        lbl_result->clear();
}

std::vector<VocRow> ExportWindow::chosenRows() const
{
    std::vector<VocRow> rows;
    const auto take = [&rows](int row) {
        if (row >= 0 && row < static_cast<int>(VocTable.size()) && !isBlankRow(VocTable[row]))
            rows.push_back(VocTable[row]);
    };
    if (op_selection->isChecked() && StudyCount >= 0) {
        rows.reserve(StudyCount + 1);
        for (int i = 0; i <= StudyCount; ++i)
            take(studyRow(i));
    } else if (VocCount >= 0) {
        rows.reserve(VocCount + 1);
        for (int r = 0; r <= VocCount; ++r)
            take(r);
    }
    return rows;
}

// Beside the vocabulary, named after it and the program it is meant for.
QString ExportWindow::suggestedFile() const
{
    const QFileInfo vocabulary(VocFilePath);
    const bool known = !VocFilePath.isEmpty() && vocabulary.absoluteDir().exists();
    const QString folder = known ? vocabulary.absolutePath() : QDir::homePath();
    const QString base = VocFilePath.isEmpty() ? QStringLiteral("words") : vocabulary.completeBaseName();
    return joinPath(
        folder, base + (op_pleco->isChecked() ? QStringLiteral("_pleco.txt") : QStringLiteral("_anki.txt")));
}

void ExportWindow::bt_export_Click()
{
    follow_table();
    OpenFileDialogService* dialog = services().fileDialog;
    if (VocCount < 0 || !dialog)
        return;
    const QString path =
        dialog->getSaveFileName(LangText(QStringLiteral("export_title")), suggestedFile(),
                                {QStringLiteral("Text files (*.txt)"), QStringLiteral("All Files (*.*)")});
    if (path.isEmpty())
        return;
    const QString shown = QDir::toNativeSeparators(path);
    if (isVocabularyFile(path)) {
        MsgBox(LangText(QStringLiteral("export_own_file")).arg(shown), vbExclamation);
        return;
    }
    const std::vector<VocRow> rows = chosenRows();
    if (rows.empty()) {
        MsgBox(LangText(QStringLiteral("export_empty")), vbExclamation);
        return;
    }
    const ExportFormat format = op_pleco->isChecked() ? ExportFormat::PlecoText : ExportFormat::AnkiText;
    QString error;
    if (!replaceFile(path, exportWords(rows, format, op_marks->isChecked()), &error)) {
        MsgBox(LangText(QStringLiteral("export_failed")).arg(shown, error), vbCritical);
        return;
    }
    const QString name = QFileInfo(path).fileName();
    lbl_result->setText(
        rows.size() == 1
            ? LangText(QStringLiteral("export_done_one")).arg(name)
            : LangText(QStringLiteral("export_done")).arg(counted(qsizetype(rows.size())), name));
    lbl_result->setToolTip(shown);
}

} // namespace tavi
