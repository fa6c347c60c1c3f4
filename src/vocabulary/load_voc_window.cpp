// The selection window. It never loads the file it shows by itself: the user chooses
// the file, which is then read; the select button works only on a table loaded so.
#include "vocabulary/load_voc_window.h"

#include "core/app_state.h"
#include "core/language.h"
#include "core/main_hub.h"
#include "core/msgbox.h"
#include "core/services.h"
#include "core/settings.h"
#include "core/window_registry.h"
#include "sound/sound_index.h"
#include "training/review_log.h"
#include "ui/check_box_settings.h"
#include "ui/control.h"
#include "ui/dialog_keys.h"
#include "vocabulary/dictionary.h"
#include "vocabulary/edit_voc_window.h"
#include "vocabulary/study_selection.h"
#include "vocabulary/voc_check.h"
#include "vocabulary/voc_file.h"
#include "vocabulary/word_table.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QRandomGenerator>
#include <QVBoxLayout>
#include <limits>
#include <memory>

namespace tavi {

namespace {

const QString kNoCount = QStringLiteral("   --");
const QString kNewLimit = QStringLiteral("20");

QLineEdit* countField(QWidget* parent, const char* name)
{
    auto* f = newControl<QLineEdit>(parent, name);
    f->setReadOnly(true);
    f->setFocusPolicy(Qt::NoFocus);
    f->setAlignment(Qt::AlignRight);
    f->setFixedWidth(70);
    f->setText(kNoCount);
    return f;
}

} // namespace

QString LoadVocWindow::defaultVocFile()
{
    if (LanguageSection == u"GERMAN")
        return joinPath(joinPath(ProgramFolder, QStringLiteral("meine vokabeln")),
                        QStringLiteral("pcr1-10u_d.txt"));
    return joinPath(joinPath(ProgramFolder, QStringLiteral("my_vocabulary")), QStringLiteral("pcr1-10u.txt"));
}

// The file: its name, Browse, its word count and what the check found.
void LoadVocWindow::buildFileFrame()
{
    Frame1 = newControl<QGroupBox>(this, "Frame1");
    lbl_vocfile = newControl<QLabel>(Frame1, "lbl_vocfile");
    txt_vocfile = newControl<QLineEdit>(Frame1, "txt_vocfile");
    txt_vocfile->setReadOnly(true);
    txt_vocfile->setMinimumWidth(360);
    QPalette grey = txt_vocfile->palette();
    grey.setColor(QPalette::Base, grey.color(QPalette::Window).darker(104));
    txt_vocfile->setPalette(grey);
    bt_browse = newControl<QPushButton>(Frame1, "bt_browse");
    bt_browse->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    bt_browse->setMinimumWidth(120);
    // Words of another program's file: the import window, which comes back here with them.
    bt_import = newControl<QPushButton>(Frame1, "bt_import");
    connect(bt_import, &QPushButton::clicked, this, [] { windows().open(QStringLiteral("frm_import")); });
    label5 = newControl<QLabel>(Frame1, "label5");
    txt_anz_allvoc = countField(Frame1, "txt_anz_allvoc");

    // What the vocabulary check found in the file just read; a click shows it in the editor.
    lbl_findings = newControl<QLabel>(Frame1, "lbl_findings");
    lbl_findings->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    lbl_findings->setWordWrap(true);
    lbl_findings->hide();
    connect(lbl_findings, &QLabel::linkActivated, this, [] {
        windows().open(QStringLiteral("frm_editvoc"));
        if (auto* editor = windows().get<EditVocWindow>(QStringLiteral("frm_editvoc")))
            editor->bt_check_Click();
    });

    auto* g1 = new QGridLayout(Frame1);
    g1->addWidget(lbl_vocfile, 0, 0, 1, 3);
    g1->addWidget(txt_vocfile, 1, 0, 1, 3);
    g1->addWidget(label5, 2, 0);
    g1->addWidget(txt_anz_allvoc, 2, 1);
    g1->addWidget(lbl_findings, 3, 0, 1, 3);
    g1->setColumnStretch(2, 1);
    g1->addWidget(bt_browse, 0, 3, 2, 1);
    g1->addWidget(bt_import, 2, 3);
    g1->setHorizontalSpacing(12);
}

// The selection: chapters, highest level, more words, Select, and the count.
void LoadVocWindow::buildSelectionFrame()
{
    Frame2 = newControl<QGroupBox>(this, "Frame2");
    lbl_studyfile = newControl<QLabel>(Frame2, "lbl_studyfile");
    QFont bold = lbl_studyfile->font();
    bold.setBold(true);
    lbl_studyfile->setFont(bold);
    Label1 = newControl<QLabel>(Frame2, "Label1");
    txt_chap = newControl<QLineEdit>(Frame2, "txt_chap");
    level = newControl<QLabel>(Frame2, "level");
    txt_lev = newControl<QLineEdit>(Frame2, "txt_lev");
    txt_lev->setFixedWidth(60);
    // Files may hold any whole number as a level (12, -2): every one can be the limit.
    txt_lev->setValidator(
        new QIntValidator(std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max(), txt_lev));
    txt_lev->setToolTip(QStringLiteral("The highest level to study, a whole number; empty: every level"));
    Label3 = newControl<QLabel>(Frame2, "Label3");
    txt_more = newControl<QLineEdit>(Frame2, "txt_more");
    // The review schedule: only what is due, and at most so many words never answered.
    ch_due = newControl<QCheckBox>(Frame2, "ch_due");
    lbl_newlimit = newControl<QLabel>(Frame2, "lbl_newlimit");
    txt_newlimit = newControl<QLineEdit>(Frame2, "txt_newlimit");
    txt_newlimit->setFixedWidth(60);
    txt_newlimit->setValidator(new QIntValidator(0, 1000000, txt_newlimit));
    ch_shuffle = newControl<QCheckBox>(Frame2, "ch_shuffle");
    voc_to_array = newControl<QPushButton>(Frame2, "voc_to_array");
    voc_to_array->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    voc_to_array->setMinimumWidth(120);
    Label4 = newControl<QLabel>(Frame2, "Label4");
    txt_anzvoc = countField(Frame2, "txt_anzvoc");
    txt_of = newControl<QLabel>(Frame2, "txt_of");
    txt_of->setText(QStringLiteral("of"));
    txt_anz_allvoc_2 = countField(Frame2, "txt_anz_allvoc_2");
    lbl_due = newControl<QLabel>(Frame2, "lbl_due");
    txt_due = countField(Frame2, "txt_due");
    lbl_new = newControl<QLabel>(Frame2, "lbl_new");
    txt_new = countField(Frame2, "txt_new");

    auto* g2 = new QGridLayout(Frame2);
    g2->addWidget(lbl_studyfile, 0, 0, 1, 2);
    g2->addWidget(Label1, 1, 0);
    g2->addWidget(txt_chap, 1, 1);
    g2->addWidget(level, 2, 0);
    g2->addWidget(txt_lev, 2, 1, Qt::AlignLeft);
    g2->addWidget(Label3, 3, 0);
    g2->addWidget(txt_more, 3, 1);
    auto* dueRow = new QHBoxLayout;
    dueRow->setSpacing(8);
    dueRow->addWidget(ch_due);
    dueRow->addSpacing(12);
    dueRow->addWidget(lbl_newlimit);
    dueRow->addWidget(txt_newlimit);
    dueRow->addStretch(1);
    g2->addLayout(dueRow, 4, 0, 1, 2);
    g2->addWidget(ch_shuffle, 5, 0, 1, 2);
    g2->addWidget(voc_to_array, 1, 2, 5, 1);
    auto* countRow = new QHBoxLayout;
    countRow->setSpacing(8);
    countRow->addWidget(Label4);
    countRow->addWidget(txt_anzvoc);
    countRow->addWidget(txt_of);
    countRow->addWidget(txt_anz_allvoc_2);
    countRow->addSpacing(16);
    countRow->addWidget(lbl_due);
    countRow->addWidget(txt_due);
    countRow->addWidget(lbl_new);
    countRow->addWidget(txt_new);
    countRow->addStretch(1);
    g2->addLayout(countRow, 6, 0, 1, 3);
    g2->setColumnStretch(1, 1);
    g2->setHorizontalSpacing(12);
}

LoadVocWindow::LoadVocWindow(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("loadvoc"));

    buildFileFrame();
    buildSelectionFrame();

    auto* line = newControl<QFrame>(this, "Line1");
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    Line1 = line;
    close1 = newControl<QPushButton>(this, "close1");
    close1->setMinimumSize(120, 32);
    close1->setDefault(true);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(14, 12, 14, 12);
    column->setSpacing(10);
    column->addWidget(Frame1);
    column->addWidget(Frame2);
    column->addWidget(Line1);
    column->addWidget(close1, 0, Qt::AlignHCenter);

    connect(bt_browse, &QPushButton::clicked, this, &LoadVocWindow::bt_browse_Click);
    connect(voc_to_array, &QPushButton::clicked, this, [this] {
        voc_to_array_Click();
        focusNext(close1); // next: OK
    });
    connect(close1, &QPushButton::clicked, this, &LoadVocWindow::close1_Click);
    // Enter in a filter box selects anew, so the count always follows the boxes.
    for (QLineEdit* box : {txt_chap, txt_lev, txt_more, txt_newlimit}) {
        DialogKeys::keepEnter(box);
        connect(box, &QLineEdit::returnPressed, this, [this] {
            if (voc_to_array->isEnabled())
                voc_to_array_Click();
        });
    }
    for (QCheckBox* box : {ch_due, ch_shuffle})
        connect(box, &QCheckBox::toggled, this, [this] {
            txt_newlimit->setEnabled(ch_due->isChecked());
            if (voc_to_array->isEnabled())
                voc_to_array_Click();
        });
    DialogKeys::install(this, [this] { close(); });
    setTabOrder(bt_browse, bt_import);
    setTabOrder(bt_import, txt_chap);
    setTabOrder(txt_chap, txt_lev);
    setTabOrder(txt_lev, txt_more);
    setTabOrder(txt_more, ch_due);
    setTabOrder(ch_due, txt_newlimit);
    setTabOrder(txt_newlimit, ch_shuffle);
    setTabOrder(ch_shuffle, voc_to_array);
    setTabOrder(voc_to_array, close1);

    // Load
    load_settings(QStringLiteral("R"));
    txt_newlimit->setEnabled(ch_due->isChecked());
    txt_vocfile->setText(VocFilePath);
    voc_to_array->setEnabled(false);
    setWindowTitle(LangText(QStringLiteral("load_loadvoc")));
    lbl_vocfile->setText(LangText(QStringLiteral("load_lbl_vocfile")));
    lbl_studyfile->setText(LangText(QStringLiteral("load_lbl_studyfile")));
    txt_of->setText(LangText(QStringLiteral("load_txt_of")));
    close1->setText(LangText(QStringLiteral("bt_OK")));
    Label3->setText(LangText(QStringLiteral("load_more_sel")));
    Label4->setText(LangText(QStringLiteral("load_numofvoc")));
    label5->setText(LangText(QStringLiteral("load_vocall")));
    Label1->setText(LangText(QStringLiteral("load_chapter")));
    level->setText(LangText(QStringLiteral("load_level")));
    voc_to_array->setText(LangText(QStringLiteral("load_bt_selvoc")));
    bt_browse->setText(LangText(QStringLiteral("load_bt_browse")));
    bt_import->setText(LangText(QStringLiteral("load_bt_import")));
    ch_due->setText(LangText(QStringLiteral("load_ch_due")));
    lbl_newlimit->setText(LangText(QStringLiteral("load_newlimit")));
    ch_shuffle->setText(LangText(QStringLiteral("load_ch_shuffle")));
    lbl_due->setText(LangText(QStringLiteral("load_due")));
    lbl_new->setText(LangText(QStringLiteral("load_new")));
    m_dialogTitle = LangText(QStringLiteral("load_loaddialog"));
    bt_browse->setFocus(); // the first step: choose the file
}

void LoadVocWindow::load_settings(const QString& mode)
{
    txt_chap->setText(gkeyValue<QString>(mode, QStringLiteral("load_txt_chap"), txt_chap->text(), "1, 2, 3"));
    txt_lev->setText(gkeyValue<QString>(mode, QStringLiteral("load_txt_level"), txt_lev->text(), "3"));
    txt_more->setText(gkeyValue<QString>(mode, QStringLiteral("load_txt_more"), txt_more->text(), ""));
    txt_newlimit->setText(
        gkeyValue<QString>(mode, QStringLiteral("load_txt_newlimit"), txt_newlimit->text(), kNewLimit));
    exchangeCheckBoxes(mode, {{ch_due, "load_ch_due", 0}, {ch_shuffle, "load_ch_shuffle", 0}});
    VocFilePath =
        gkeyValue<QString>(mode, QStringLiteral("load_vocfilewpath"), VocFilePath, defaultVocFile());
}

void LoadVocWindow::clearCounts()
{
    lbl_findings->hide();
    txt_anz_allvoc->setText(QStringLiteral("--"));
    voc_to_array->setEnabled(false);
    StudyCount = -1;
    for (QLineEdit* count : {txt_anzvoc, txt_due, txt_new})
        count->setText(QStringLiteral("--"));
}

void LoadVocWindow::bt_browse_Click()
{
    clearCounts();

    OpenFileDialogService* dialog = services().fileDialog;
    if (!dialog)
        return;
    const QString chosen =
        dialog->getOpenFileName(m_dialogTitle, VocFilePath,
                                {QStringLiteral("All Files (*.*)"), QStringLiteral("Text files (*.txt)")});
    if (!chosen.isEmpty())
        readFile(chosen);
}

void LoadVocWindow::openFile(const QString& path)
{
    // As Browse with the file chosen, then Select with the stored filters: ready for OK.
    if (readFile(path)) {
        voc_to_array_Click();
        focusNext(close1); // ready for OK, as after a click on Select
    }
}

void LoadVocWindow::openImported(const QString& path)
{
    openFile(path);
    if (StudyCount < 0 && VocCount >= 0 && !txt_chap->text().trimmed().isEmpty()) {
        txt_chap->clear();
        voc_to_array_Click();
    }
}

bool LoadVocWindow::readFile(const QString& path)
{
    clearCounts();
    VocFilePath = path;
    txt_vocfile->setText(VocFilePath);

    // The check counts its findings while the file is read: a file is read once.
    VocChecker check(recordingLookup(), false, programDictionary());
    switch (const LoadResult read = readVocabularyShowingProgress(
                this, VocFilePath, [&](QStringView line) { check.addLine(line); })) {
    case LoadResult::Missing:
        MsgBox(QStringLiteral("Can not find this file"), vbExclamation);
        return false;
    case LoadResult::Unreadable:
    case LoadResult::TooLarge:
        MsgBox(loadFailureText(read) + u'\n' + VocFilePath, vbExclamation);
        return false;
    case LoadResult::Empty:
        txt_anz_allvoc->setText(QStringLiteral("0"));
        txt_anz_allvoc_2->setText(QStringLiteral("0"));
        MsgBox(LangText(QStringLiteral("load_file_empty")) + u'\n' + VocFilePath, vbExclamation);
        return false;
    case LoadResult::Loaded:
        break;
    }
    // The words' due days are read now, with the file, while the busy cursor shows: Select
    // then only counts.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    openedReviewLog()->dueDays(desiredRetention());
    QApplication::restoreOverrideCursor();
    const QString count = QString::number(VocCount + 1);
    txt_anz_allvoc->setText(count);
    txt_anz_allvoc_2->setText(count);
    voc_to_array->setEnabled(VocCount >= 0);
    const qsizetype findings = check.count();
    if (findings > 0) {
        lbl_findings->setText(
            QStringLiteral("<a href=\"check\" style=\"color: #b22222\">%1</a>")
                .arg(LangText(QStringLiteral("check_summary")).arg(findings).toHtmlEscaped()));
        lbl_findings->show();
    }
    focusNext(voc_to_array);
    close1->setDefault(true); // Enter still means OK
    return true;
}

void LoadVocWindow::voc_to_array_Click()
{
    if (!selectStudyWords({txt_chap->text(), txt_lev->text(), txt_more->text()}))
        txt_lev->clear();
    bool limited = false;
    const int newLimit = txt_newlimit->text().toInt(&limited);
    if (!limited)
        txt_newlimit->setText(kNewLimit);
    const DueCounts counts =
        orderByDueDays(openedReviewLog()->dueDays(desiredRetention()), QDate::currentDate(),
                       {ch_due->isChecked(), limited ? newLimit : kNewLimit.toInt(), ch_shuffle->isChecked(),
                        QRandomGenerator::global()->generate()});
    txt_anzvoc->setText(QString::number(StudyCount + 1));
    txt_due->setText(QString::number(counts.due));
    txt_new->setText(QString::number(counts.fresh));
}

void LoadVocWindow::close1_Click()
{
    // What the boxes say when OK is pressed is what gets trained.
    if (voc_to_array->isEnabled())
        voc_to_array_Click();
    if (StudyCount < 0)
        MsgBox(QStringLiteral("You did NOT select any vocabulary to study or play with !"), vbExclamation,
               QStringLiteral("Tavi"));
    hide();
    load_settings(QStringLiteral("W"));
    if (MainHub* main = mainHub()) {
        main->set_vocbuttons(StudyCount >= 0);
        main->setEditEnabled(true); // the editor works on the whole file, selected or not
        main->setStatus(StudyCount < 0 ? LangText(QStringLiteral("main_txt_status_nowords"))
                                       : dueTodayStatus());
        main->showMain();
    }
    windows().unload(objectName());
}

void LoadVocWindow::closeEvent(QCloseEvent* event)
{
    // Closed without OK: nothing is stored and the window starts afresh next time.
    event->accept();
    windows().unload(objectName());
}

LoadResult readVocabularyShowingProgress(QWidget* parent, const QString& path,
                                         const std::function<void(QStringView)>& line)
{
    // Reading takes about a second per million words: the busy cursor at once, and a
    // bar when it takes longer than a second.
    QElapsedTimer clock;
    clock.start();
    std::unique_ptr<QProgressDialog> bar;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const LoadResult result =
        readVocabulary(path, {[&](qint64 done, qint64 total) {
                                  if (!bar && done < total && clock.elapsed() >= 1000) {
                                      bar = std::make_unique<QProgressDialog>(parent);
                                      bar->setObjectName(QStringLiteral("frm_reading"));
                                      bar->setWindowTitle(QStringLiteral("Tavi"));
                                      bar->setLabelText(LangText(QStringLiteral("load_reading")) + u'\n' +
                                                        QFileInfo(path).fileName());
                                      bar->setCancelButton(nullptr);
                                      bar->setRange(0, 1000);
                                      bar->setMinimumDuration(0);
                                      bar->setWindowModality(Qt::ApplicationModal);
                                  }
                                  if (bar)
                                      bar->setValue(int(done * 1000 / std::max<qint64>(total, 1)));
                              },
                              line});
    QApplication::restoreOverrideCursor();
    return result;
}

} // namespace tavi
