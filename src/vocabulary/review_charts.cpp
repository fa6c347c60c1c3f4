// The Reviews page, drawn with QPainter like the Words page: the calendar in shades
// from the paper toward the seals' red, the Yes answers in the green of known words.
#include "vocabulary/review_charts.h"

#include "core/app_state.h"
#include "core/language.h"
#include "vocabulary/chart_drawing.h"

#include <QFontMetrics>
#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>
#include <algorithm>

namespace tavi {

namespace {

const QColor kShades[ReviewCharts::Shades] = {
    QColor(236, 229, 220), QColor(246, 206, 190), QColor(233, 150, 126),
    QColor(208, 90, 68),   QColor(178, 34, 34),
};
const QColor kYes(68, 152, 77);
const QColor kDueLater(222, 128, 110);

} // namespace

CalendarSpan::CalendarSpan(const QDate& today)
    : first(today.addYears(-1).addDays(1)), monday(first.addDays(1 - first.dayOfWeek())), today(today),
      weeks(week(today) + 1)
{}

QList<std::optional<double>> weeklyYesShare(const ReviewDays& days, const QDate& today)
{
    const CalendarSpan span(today);
    QList<qint64> reviews(span.weeks, 0);
    QList<qint64> known(span.weeks, 0);
    for (auto it = days.lowerBound(span.first); it != days.end() && it.key() <= today; ++it) {
        const int w = span.week(it.key());
        reviews[w] += it->reviews;
        known[w] += it->known;
    }
    QList<std::optional<double>> shares(span.weeks);
    for (int w = 0; w < span.weeks; ++w)
        if (reviews[w] > 0)
            shares[w] = double(known[w]) / double(reviews[w]);
    return shares;
}

int heatShade(int reviews, int busiest)
{
    if (reviews <= 0 || busiest <= 0)
        return 0;
    return int(std::clamp<qint64>((qint64(reviews) * 4 + busiest - 1) / busiest, 1, 4));
}

ReviewCharts::ReviewCharts(QWidget* parent) : QWidget(parent), m_locale(interfaceLocale())
{
    chart::usePaper(this);
    m_titleFont = chart::titleFont(font());
    m_smallFont = chart::smallFont(font());
    m_calendarTitle = LangText(QStringLiteral("progress_calendar"));
    m_forecastTitle = LangText(QStringLiteral("progress_forecast"));
    m_weeklyTitle = LangText(QStringLiteral("progress_weekly"));
    m_todayText = LangText(QStringLiteral("progress_today"));
    m_less = LangText(QStringLiteral("progress_less"));
    m_more = LangText(QStringLiteral("progress_more"));
    m_tip = LangText(QStringLiteral("progress_tooltip"));
    m_tipOne = LangText(QStringLiteral("progress_tooltip_one"));
    m_tipNone = LangText(QStringLiteral("progress_tooltip_none"));
    for (int i = 0; i < 3; ++i)
        m_weekdays[i] = m_locale.dayName(1 + 2 * i, QLocale::ShortFormat);
    setMinimumSize(400, 320);
    setData({}, {}, QDate::currentDate());
}

void ReviewCharts::setData(const ReviewDays& days, const QList<int>& forecast, const QDate& today)
{
    m_span = CalendarSpan(today);
    m_days = days;
    m_forecast = forecast;
    m_weekly = weeklyYesShare(days, today);
    m_total = m_activeDays = m_busiest = 0;
    for (auto it = days.lowerBound(m_span.first); it != days.end() && it.key() <= today; ++it) {
        if (it->reviews <= 0)
            continue;
        m_total += it->reviews;
        ++m_activeDays;
        m_busiest = std::max(m_busiest, it->reviews);
    }
    m_due = 0;
    for (int n : forecast)
        m_due += n;
    layOut();
    update();
}

// The calendar on top, its height from the cells that the width allows; the forecast
// and the weekly shares share the rest. The weekly bars stand under the calendar's
// weeks, so that the month names above the one serve the other.
void ReviewCharts::layOut()
{
    const QRect all = rect().adjusted(16, 10, -16, -12);
    const int left = all.left() + 52;
    const int weeks = std::max(m_span.weeks, 1);
    m_pitch = std::clamp(std::min((all.right() - 8 - left) / weeks, (all.height() * 2 / 5 - 64) / 7), 5, 20);
    m_gap = m_pitch >= 10 ? 2 : 1;
    m_calendarBlock = QRect(all.left(), all.top(), all.width(), 64 + 7 * m_pitch);
    m_grid = QRect(left, all.top() + 42, weeks * m_pitch, 7 * m_pitch);

    for (QList<QRect>& shade : m_cells)
        shade.clear();
    for (QDate day = m_span.first; day <= m_span.today; day = day.addDays(1))
        m_cells[heatShade(m_days.value(day).reviews, m_busiest)].append(cellRect(day));

    const QFontMetrics metrics(m_smallFont);
    m_months.clear();
    int free = m_grid.left();
    for (QDate day = m_span.first; day <= m_span.today; day = day.addDays(1)) {
        if (day.day() != 1)
            continue;
        const int x = m_grid.left() + m_span.week(day) * m_pitch;
        const QString name = m_locale.standaloneMonthName(day.month(), QLocale::ShortFormat);
        if (x < free)
            continue;
        m_months.append({x, name});
        free = x + metrics.horizontalAdvance(name) + 4;
    }

    const int square = m_pitch - m_gap;
    const int legendRight = m_grid.right() - metrics.horizontalAdvance(m_more) - 4;
    for (int s = 0; s < Shades; ++s)
        m_legend[s] = QRect(legendRight - (Shades - s) * m_pitch, m_grid.bottom() + 6, square, square);

    const int restTop = m_calendarBlock.bottom() + 8;
    const int half = (all.bottom() - restTop) / 2;
    m_forecastBlock = QRect(all.left(), restTop, all.width(), half - 4);
    m_weeklyBlock = QRect(all.left(), restTop + half + 4, all.width(), all.bottom() - restTop - half - 4);
}

QDate ReviewCharts::dayAt(const QPoint& pos) const
{
    if (m_pitch <= 0 || !m_grid.contains(pos))
        return {};
    const int dx = pos.x() - m_grid.left();
    const int dy = pos.y() - m_grid.top();
    if (dx % m_pitch >= m_pitch - m_gap || dy % m_pitch >= m_pitch - m_gap)
        return {}; // between two cells
    const QDate day = m_span.monday.addDays(dx / m_pitch * 7 + dy / m_pitch);
    return m_span.holds(day) ? day : QDate();
}

QRect ReviewCharts::cellRect(const QDate& day) const
{
    if (!m_span.holds(day))
        return {};
    return QRect(m_grid.left() + m_span.week(day) * m_pitch, m_grid.top() + (day.dayOfWeek() - 1) * m_pitch,
                 m_pitch - m_gap, m_pitch - m_gap);
}

QString ReviewCharts::toolTipFor(const QDate& day) const
{
    const DayCount count = m_days.value(day);
    const QString date = m_locale.toString(day, QLocale::LongFormat);
    if (count.reviews <= 0)
        return m_tipNone.arg(date);
    const QString yes = QString::number(qRound(100.0 * count.known / count.reviews));
    if (count.reviews == 1)
        return m_tipOne.arg(date, yes);
    return m_tip.arg(date, m_locale.toString(count.reviews), yes);
}

bool ReviewCharts::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        if (const QDate day = dayAt(help->pos()); day.isValid()) {
            QToolTip::showText(help->globalPos(), toolTipFor(day), this, cellRect(day));
        } else {
            QToolTip::hideText();
            event->ignore();
        }
        return true;
    }
    return QWidget::event(event);
}

void ReviewCharts::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layOut();
}

void ReviewCharts::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    paintCalendar(p);
    paintForecast(p);
    paintWeekly(p);
}

void ReviewCharts::paintCalendar(QPainter& p) const
{
    chart::drawTitle(p, m_calendarBlock.adjusted(0, 0, 0, 22 - m_calendarBlock.height()),
                     m_calendarTitle.arg(m_locale.toString(m_total), m_locale.toString(m_activeDays)),
                     m_titleFont);
    for (int s = 0; s < Shades; ++s)
        for (const QRect& cell : m_cells[s])
            p.fillRect(cell, kShades[s]);

    p.setFont(m_smallFont);
    p.setPen(chart::kInk);
    for (const auto& [x, name] : m_months)
        p.drawText(QRect(x, m_grid.top() - 18, 80, 16), Qt::AlignLeft | Qt::AlignBottom, name);
    for (int i = 0; i < 3; ++i)
        p.drawText(QRect(m_calendarBlock.left(), m_grid.top() + 2 * i * m_pitch - 4, 48, m_pitch + 8),
                   Qt::AlignLeft | Qt::AlignVCenter, m_weekdays[i]);

    // The legend under the calendar's right end: less, the shades, more.
    for (int s = 0; s < Shades; ++s)
        p.fillRect(m_legend[s], kShades[s]);
    const QRect first = m_legend[0].adjusted(0, -4, 0, 4);
    p.drawText(first.adjusted(-84, 0, -first.width() - 4, 0), Qt::AlignRight | Qt::AlignVCenter, m_less);
    const QRect last = m_legend[Shades - 1].adjusted(0, -4, 0, 4);
    p.drawText(last.adjusted(last.width() + 4, 0, 84, 0), Qt::AlignLeft | Qt::AlignVCenter, m_more);
}

// One bar per day, today's (with every overdue word) in the seals' red.
void ReviewCharts::paintForecast(QPainter& p) const
{
    chart::drawTitle(p, m_forecastBlock.adjusted(0, 0, 0, 22 - m_forecastBlock.height()),
                     m_forecastTitle.arg(m_forecast.size()) +
                         QStringLiteral("  (%1)").arg(m_locale.toString(m_due)),
                     m_titleFont);
    const QRect area = m_forecastBlock.adjusted(52, 40, -8, -24);
    if (area.height() < 10 || m_forecast.isEmpty())
        return;
    const int most = *std::max_element(m_forecast.begin(), m_forecast.end());
    const double perWord = chart::drawAxis(p, area, most, m_smallFont);
    const double slot = area.width() / double(m_forecast.size());
    for (int i = 0; i < m_forecast.size(); ++i) {
        const int n = m_forecast[i];
        const double h = n * perWord;
        const QRectF bar(area.left() + i * slot + slot * 0.15, area.bottom() - h, slot * 0.7, h);
        p.fillRect(bar, i == 0 ? chart::kSeal : kDueLater);
        if (n > 0 && slot >= 18)
            p.drawText(QRectF(bar.left() - 10, bar.top() - 16, bar.width() + 20, 14), Qt::AlignCenter,
                       QString::number(n));
        if (i == 0)
            p.drawText(QRectF(bar.left(), area.bottom() + 4, 80, 16), Qt::AlignLeft | Qt::AlignVCenter,
                       m_todayText);
        else if (i % 5 == 0)
            p.drawText(QRectF(bar.left() - 10, area.bottom() + 4, bar.width() + 20, 16), Qt::AlignCenter,
                       QString::number(i));
    }
}

// One bar per calendar week, from 0 to 100 %; a week without answers stays a gap.
void ReviewCharts::paintWeekly(QPainter& p) const
{
    chart::drawTitle(p, m_weeklyBlock.adjusted(0, 0, 0, 22 - m_weeklyBlock.height()), m_weeklyTitle,
                     m_titleFont);
    const QRect area(m_grid.left(), m_weeklyBlock.top() + 32, m_grid.width(), m_weeklyBlock.height() - 52);
    if (area.height() < 10)
        return;
    const double perCent = chart::drawAxis(p, area, 100, m_smallFont, QStringLiteral(" %"));
    for (int w = 0; w < m_weekly.size(); ++w)
        if (const std::optional<double>& share = m_weekly[w]) {
            const double h = std::max(*share * 100 * perCent, 2.0); // 0 %: a line, not a gap
            p.fillRect(QRectF(m_grid.left() + w * m_pitch, area.bottom() - h, m_pitch - m_gap, h), kYes);
        }
    for (const auto& [x, name] : m_months)
        p.drawText(QRect(x, area.bottom() + 4, 80, 16), Qt::AlignLeft | Qt::AlignTop, name);
}

} // namespace tavi
