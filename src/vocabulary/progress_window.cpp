// The progress view, drawn with QPainter in the seals' red, the levels shading from red
// (new words) to green (known ones).
#include "vocabulary/progress_window.h"

#include "core/language.h"
#include "core/window_registry.h"
#include "ui/dialog_keys.h"
#include "vocabulary/word_table.h"

#include <QPainter>
#include <QTimer>
#include <algorithm>

namespace tavi {

namespace {

const QColor kSeal(178, 34, 34);
const QColor kInk(60, 40, 40);
const QColor kGrid(225, 215, 210);

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

// A round step for the axis of a chart whose tallest bar is top.
int axisStep(int top)
{
    for (int step : {1, 2, 5, 10, 20, 50, 100, 200, 500, 1000, 2000, 5000, 10000, 20000, 50000})
        if (top / step <= 5)
            return step;
    return 100000;
}

// Axis lines and numbers of a chart in area, up to top words; returns pixels per word.
double drawAxis(QPainter& p, const QRect& area, int top)
{
    const int step = axisStep(std::max(top, 1));
    const int roof = ((std::max(top, 1) + step - 1) / step) * step;
    const double perWord = area.height() / double(roof);
    p.setFont(QFont(p.font().family(), 8));
    for (int v = 0; v <= roof; v += step) {
        const int y = area.bottom() - int(v * perWord);
        p.setPen(kGrid);
        p.drawLine(area.left(), y, area.right(), y);
        p.setPen(kInk);
        p.drawText(QRect(area.left() - 44, y - 8, 40, 16), Qt::AlignRight | Qt::AlignVCenter,
                   QString::number(v));
    }
    return perWord;
}

void drawTitle(QPainter& p, const QRect& r, const QString& text)
{
    QFont f = p.font();
    f.setPointSize(11);
    f.setBold(true);
    p.setFont(f);
    p.setPen(kSeal);
    p.drawText(r, Qt::AlignLeft | Qt::AlignVCenter, text);
}

} // namespace

ProgressWindow::ProgressWindow(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frm_progress"));
    setWindowTitle(LangText(QStringLiteral("progress_title")));
    m_byLevel = LangText(QStringLiteral("progress_by_level"));
    m_byChapter = LangText(QStringLiteral("progress_by_chapter"));
    m_level = LangText(QStringLiteral("progress_level"));
    m_chapter = LangText(QStringLiteral("progress_chapter"));
    m_noWords = LangText(QStringLiteral("progress_nowords"));
    setMinimumSize(420, 360);
    resize(680, 520);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(255, 252, 246));
    setPalette(pal);

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

void ProgressWindow::follow_table()
{
    if (m_version == VocTableVersion)
        return;
    m_version = VocTableVersion;
    m_progress = currentProgress();
    update();
}

void ProgressWindow::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRect all = rect().adjusted(16, 10, -16, -12);
    if (m_progress.words == 0) {
        p.setPen(kInk);
        p.drawText(all, Qt::AlignCenter, m_noWords);
        return;
    }
    const int half = all.height() / 2;

    // All words by level: one bar per level, its count above it.
    const QRect top(all.left(), all.top(), all.width(), half - 8);
    drawTitle(p, top.adjusted(0, 0, 0, -(top.height() - 22)),
              m_byLevel + QStringLiteral("  (%1)").arg(m_progress.words));
    const QRect chart1 = top.adjusted(52, 40, -8, -24);
    const int most = *std::max_element(m_progress.allByLevel.begin(), m_progress.allByLevel.end());
    double perWord = drawAxis(p, chart1, most);
    const double slot = chart1.width() / double(ProgressLevels);
    for (int l = 0; l < ProgressLevels; ++l) {
        const int n = m_progress.allByLevel[l];
        const int h = int(n * perWord + 0.5);
        const QRectF bar(chart1.left() + l * slot + slot * 0.15, chart1.bottom() - h, slot * 0.7, h);
        p.setPen(Qt::NoPen);
        p.setBrush(levelColour(l));
        p.drawRoundedRect(bar, 3, 3);
        p.setPen(kInk);
        p.setFont(QFont(p.font().family(), 8));
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
    drawTitle(p, bottom.adjusted(0, 0, 0, -(bottom.height() - 22)),
              m_byChapter + QStringLiteral("  (%1)").arg(m_progress.selected));
    const QRect chart2 = bottom.adjusted(52, 40, -8, -24);
    int tallest = 0;
    for (const ChapterCounts& c : m_progress.selectedByChapter)
        tallest = std::max(tallest, c.total());
    perWord = drawAxis(p, chart2, tallest);
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
        p.setPen(kInk);
        p.setFont(QFont(p.font().family(), 8));
        p.drawText(QRectF(x - 10, y - 16, barWidth + 20, 14), Qt::AlignCenter, QString::number(c.total()));
        p.drawText(QRectF(x - 10, chart2.bottom() + 4, barWidth + 20, 16), Qt::AlignCenter,
                   c.chapter.isEmpty() ? QStringLiteral("–") : c.chapter);
    }
    p.drawText(QRect(chart2.left() - 52, chart2.bottom() + 4, 50, 16), Qt::AlignLeft | Qt::AlignVCenter,
               m_chapter);
}

} // namespace tavi
