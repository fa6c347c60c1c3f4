// The progress view, drawn with QPainter in the seals' red, the levels shading from red
// (new words) to green (known ones). The review log is opened and read only when the
// Reviews page is shown, so that opening the view stays as quick as its Words page.
#include "vocabulary/progress_window.h"

#include "core/app_state.h"
#include "core/language.h"
#include "core/msgbox.h"
#include "core/services.h"
#include "core/window_registry.h"
#include "ui/control.h"
#include "ui/dialog_keys.h"
#include "vocabulary/chart_drawing.h"
#include "vocabulary/review_charts.h"
#include "vocabulary/study_selection.h"
#include "vocabulary/word_table.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

namespace tavi {

namespace {

// How many days the forecast looks ahead.
constexpr int ForecastDays = 30;

// From the seal's red for new words through gold to green for known ones; the first
// chart's bars are the legend of the second's.
QColor levelColour(int level)
{
    static const QColor shades[ProgressLevels] = {
        QColor(178, 34, 34),  QColor(204, 66, 40),  QColor(222, 104, 44), QColor(232, 143, 47),
        QColor(233, 180, 47), QColor(201, 190, 52), QColor(155, 185, 60), QColor(106, 170, 69),
        QColor(68, 152, 77),  QColor(46, 125, 80),
    };
    return shades[std::clamp(level, 0, ProgressLevels - 1)];
}

} // namespace

// The Words page: all words by level, and the selected words by chapter, stacked by level.
class WordCharts final : public QWidget {
public:
    WordCharts(const Progress& progress, QWidget* parent) : QWidget(parent), m_progress(progress)
    {
        setObjectName(QStringLiteral("pic_words"));
        chart::usePaper(this);
        m_titleFont = chart::titleFont(font());
        m_smallFont = chart::smallFont(font());
        m_byLevel = LangText(QStringLiteral("progress_by_level"));
        m_byChapter = LangText(QStringLiteral("progress_by_chapter"));
        m_level = LangText(QStringLiteral("progress_level"));
        m_chapter = LangText(QStringLiteral("progress_chapter"));
        m_noWords = LangText(QStringLiteral("progress_nowords"));
    }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    const Progress& m_progress;
    QFont m_titleFont;
    QFont m_smallFont;
    QString m_byLevel;
    QString m_byChapter;
    QString m_level;
    QString m_chapter;
    QString m_noWords;
};

void WordCharts::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRect all = rect().adjusted(16, 10, -16, -12);
    if (m_progress.words == 0) {
        p.setPen(chart::kInk);
        p.drawText(all, Qt::AlignCenter, m_noWords);
        return;
    }
    const int half = all.height() / 2;

    // All words by level: one bar per level, its count above it.
    const QRect top(all.left(), all.top(), all.width(), half - 8);
    chart::drawTitle(p, top.adjusted(0, 0, 0, -(top.height() - 22)),
                     m_byLevel + QStringLiteral("  (%1)").arg(m_progress.words), m_titleFont);
    const QRect chart1 = top.adjusted(52, 40, -8, -24);
    const int most = *std::max_element(m_progress.allByLevel.begin(), m_progress.allByLevel.end());
    double perWord = chart::drawAxis(p, chart1, most, m_smallFont);
    const double slot = chart1.width() / double(ProgressLevels);
    for (int l = 0; l < ProgressLevels; ++l) {
        const int n = m_progress.allByLevel[l];
        const int h = int(n * perWord + 0.5);
        const QRectF bar(chart1.left() + l * slot + slot * 0.15, chart1.bottom() - h, slot * 0.7, h);
        p.setPen(Qt::NoPen);
        p.setBrush(levelColour(l));
        p.drawRoundedRect(bar, 3, 3);
        p.setPen(chart::kInk);
        if (n > 0)
            p.drawText(QRectF(bar.left() - 10, bar.top() - 16, bar.width() + 20, 14), Qt::AlignCenter,
                       QString::number(n));
        p.drawText(QRectF(bar.left() - 10, chart1.bottom() + 4, bar.width() + 20, 16), Qt::AlignCenter,
                   QString::number(l));
    }
    p.drawText(QRect(chart1.left(), chart1.bottom() + 4, 0, 16).adjusted(-52, 0, 0, 0),
               Qt::AlignLeft | Qt::AlignVCenter, m_level);

    // Selected words by chapter: one bar per chapter, stacked by level.
    const QRect bottom(all.left(), all.top() + half + 8, all.width(), all.height() - half - 8);
    chart::drawTitle(p, bottom.adjusted(0, 0, 0, -(bottom.height() - 22)),
                     m_byChapter + QStringLiteral("  (%1)").arg(m_progress.selected), m_titleFont);
    const QRect chart2 = bottom.adjusted(52, 40, -8, -24);
    int tallest = 0;
    for (const ChapterCounts& c : m_progress.selectedByChapter)
        tallest = std::max(tallest, c.total());
    perWord = chart::drawAxis(p, chart2, tallest, m_smallFont);
    const int chapters = std::max<int>(1, static_cast<int>(m_progress.selectedByChapter.size()));
    const double width = chart2.width() / double(chapters);
    const double barWidth = std::min(width * 0.7, 90.0);
    for (int i = 0; i < m_progress.selectedByChapter.size(); ++i) {
        const ChapterCounts& c = m_progress.selectedByChapter[i];
        double y = chart2.bottom();
        const double x = chart2.left() + i * width + (width - barWidth) / 2;
        for (int l = 0; l < ProgressLevels; ++l) {
            const double h = c.levels[l] * perWord;
            if (h <= 0)
                continue;
            p.setPen(Qt::NoPen);
            p.setBrush(levelColour(l));
            p.drawRect(QRectF(x, y - h, barWidth, h));
            y -= h;
        }
        p.setPen(chart::kInk);
        p.drawText(QRectF(x - 10, y - 16, barWidth + 20, 14), Qt::AlignCenter, QString::number(c.total()));
        p.drawText(QRectF(x - 10, chart2.bottom() + 4, barWidth + 20, 16), Qt::AlignCenter,
                   c.chapter.isEmpty() ? QStringLiteral("–") : c.chapter);
    }
    p.drawText(QRect(chart2.left() - 52, chart2.bottom() + 4, 50, 16), Qt::AlignLeft | Qt::AlignVCenter,
               m_chapter);
}

ProgressWindow::ProgressWindow(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frm_progress"));
    setWindowTitle(LangText(QStringLiteral("progress_title")));
    setMinimumSize(460, 420);
    resize(780, 620);

    tabs = newControl<QTabWidget>(this, "tabs");
    pic_words = new WordCharts(m_progress, tabs);
    tabs->addTab(pic_words, LangText(QStringLiteral("progress_tab_words")));
    tabs->addTab(buildReviewsPage(), LangText(QStringLiteral("progress_tab_reviews")));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(tabs);
    connect(tabs, &QTabWidget::currentChanged, this, &ProgressWindow::follow_reviews);

    // The table changes in many places (an answer, a refresh, a new file); a look at its
    // change count four times a second costs nothing and misses none of them.
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(250);
    connect(Timer1, &QTimer::timeout, this, &ProgressWindow::follow_table);
    Timer1->start();
    follow_table();
    DialogKeys::install(this, [this] {
        hide();
        windows().unload(objectName());
    });
}

// The charts, and under them the retention and the export.
QWidget* ProgressWindow::buildReviewsPage()
{
    page_reviews = newControl<QWidget>(tabs, "page_reviews");
    chart::usePaper(page_reviews);
    pic_reviews = newControl<ReviewCharts>(page_reviews, "pic_reviews");
    lbl_retention =
        newControl<QLabel>(page_reviews, "lbl_retention", LangText(QStringLiteral("progress_retention")));
    txt_retention = newControl<QSpinBox>(page_reviews, "txt_retention");
    txt_retention->setRange(MinRetention, MaxRetention);
    txt_retention->setSuffix(QStringLiteral(" %"));
    txt_retention->setValue(qRound(desiredRetention() * 100));
    txt_retention->setKeyboardTracking(false); // typing 85 asks for 85, not for 8 first
    const QString tip = LangText(QStringLiteral("progress_retention_tip"));
    lbl_retention->setToolTip(tip);
    txt_retention->setToolTip(tip);
    lbl_retention->setBuddy(txt_retention);
    connect(txt_retention, &QSpinBox::valueChanged, this, &ProgressWindow::txt_retention_Change);
    bt_export =
        newControl<QPushButton>(page_reviews, "bt_export", LangText(QStringLiteral("progress_export")));
    connect(bt_export, &QPushButton::clicked, this, &ProgressWindow::bt_export_Click);

    auto* row = new QHBoxLayout;
    row->setContentsMargins(12, 4, 12, 8);
    row->setSpacing(8);
    row->addWidget(lbl_retention);
    row->addWidget(txt_retention);
    row->addStretch(1);
    row->addWidget(bt_export);
    auto* page = new QVBoxLayout(page_reviews);
    page->setContentsMargins(0, 0, 0, 0);
    page->setSpacing(0);
    page->addWidget(pic_reviews, 1);
    page->addLayout(row);
    return page_reviews;
}

void ProgressWindow::follow_table()
{
    if (m_version != VocTableVersion) {
        m_version = VocTableVersion;
        m_progress = currentProgress();
        pic_words->update();
    }
    follow_reviews();
}

// Every answer changes the table: the reviews are read again then, while they can be
// seen, and at midnight, when the calendar moves on by a day.
void ProgressWindow::follow_reviews()
{
    if (!page_reviews->isVisible())
        return;
    if (m_reviewsVersion != VocTableVersion || m_reviewsDay != QDate::currentDate())
        readReviews();
}

void ProgressWindow::readReviews()
{
    m_reviewsVersion = VocTableVersion;
    m_reviewsDay = QDate::currentDate();
    const ReviewLog* log = openedReviewLog();
    m_days = log ? log->reviewDays() : ReviewDays();
    showReviews();
}

void ProgressWindow::showReviews()
{
    // The due days follow the desired retention.
    const ReviewLog* log = openedReviewLog();
    const DueDays due = log ? log->dueDays(desiredRetention()) : DueDays();
    pic_reviews->setData(m_days, dueForecast(due, m_reviewsDay, ForecastDays), m_reviewsDay);
}

void ProgressWindow::txt_retention_Change(int percent)
{
    setDesiredRetention(percent);
    if (m_reviewsVersion < 0)
        return; // the page shows nothing yet: it reads everything when shown
    showReviews();
}

void ProgressWindow::bt_export_Click()
{
    OpenFileDialogService* dialog = services().fileDialog;
    if (!dialog)
        return;
    // Beside the vocabulary, where the learner keeps the files of the training.
    const QFileInfo vocabulary(VocFilePath);
    const QString folder = !VocFilePath.isEmpty() && vocabulary.absoluteDir().exists()
                               ? vocabulary.absolutePath()
                               : QDir::homePath();
    const QString path = dialog->getSaveFileName(
        LangText(QStringLiteral("progress_export_title")), joinPath(folder, QStringLiteral("reviews.csv")),
        {QStringLiteral("CSV files (*.csv)"), QStringLiteral("All Files (*.*)")});
    if (path.isEmpty())
        return;
    const ReviewLog* log = openedReviewLog();
    QString error;
    if (!log || !log->exportCsv(path, &error))
        MsgBox(LangText(QStringLiteral("progress_export_failed")).arg(QDir::toNativeSeparators(path), error),
               vbCritical);
}

} // namespace tavi
