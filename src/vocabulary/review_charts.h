// The Reviews page of the progress view: a calendar of the answers of the last twelve
// months, the words coming due in the next days, and the share of Yes answers week by
// week. Everything that does not change with a repaint is laid out when the data or the
// size changes, so that a repaint only fills rectangles and writes a few labels.
#pragma once

#include "training/review_log.h"

#include <QDate>
#include <QFont>
#include <QList>
#include <QLocale>
#include <QRect>
#include <QWidget>
#include <array>
#include <optional>

namespace tavi {

// The calendar's days: the twelve months up to today, in whole weeks from Monday.
struct CalendarSpan {
    QDate first;  // the day after the same day a year ago
    QDate monday; // the Monday of first's week: column 0, row 0
    QDate today;
    int weeks = 0;
    explicit CalendarSpan(const QDate& today);
    // The week (column) of a day of the span.
    int week(const QDate& day) const { return int(monday.daysTo(day) / 7); }
    bool holds(const QDate& day) const { return day >= first && day <= today; }
};

// The share of Yes answers (0 to 1) in each week of the calendar, by its column; a
// week without answers has none. Days outside the span do not count.
QList<std::optional<double>> weeklyYesShare(const ReviewDays& days, const QDate& today);

// The calendar's shade of a day: 0 without reviews, 1 to 4 by its share of the busiest day.
int heatShade(int reviews, int busiest);

class ReviewCharts : public QWidget {
    Q_OBJECT
public:
    static constexpr int Shades = 5;

    explicit ReviewCharts(QWidget* parent = nullptr);

    // forecast[0]: due today or before, [i]: due on today + i.
    void setData(const ReviewDays& days, const QList<int>& forecast, const QDate& today);
    const QList<int>& forecast() const { return m_forecast; }

    // The calendar's day under pos; none where no day of the span is.
    QDate dayAt(const QPoint& pos) const;
    // Where a day of the span is drawn; empty for another day.
    QRect cellRect(const QDate& day) const;
    QString toolTipFor(const QDate& day) const;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void layOut();
    void paintCalendar(QPainter& p) const;
    void paintForecast(QPainter& p) const;
    void paintWeekly(QPainter& p) const;

    QLocale m_locale;
    QFont m_titleFont;
    QFont m_smallFont;
    QString m_calendarTitle;
    QString m_forecastTitle;
    QString m_weeklyTitle;
    QString m_todayText;
    QString m_less;
    QString m_more;
    QString m_tip;
    QString m_tipOne;
    QString m_tipNone;
    std::array<QString, 3> m_weekdays; // Monday, Wednesday, Friday

    // The data.
    ReviewDays m_days;
    QList<int> m_forecast;
    CalendarSpan m_span{QDate::currentDate()};
    QList<std::optional<double>> m_weekly;
    int m_total = 0;
    int m_activeDays = 0;
    int m_busiest = 0;
    int m_due = 0;

    // The layout.
    int m_pitch = 0; // from one cell to the next
    int m_gap = 0;
    QRect m_grid;
    std::array<QList<QRect>, Shades> m_cells; // by shade
    std::array<QRect, Shades> m_legend;
    QList<std::pair<int, QString>> m_months; // x and name where a month begins
    QRect m_calendarBlock;
    QRect m_forecastBlock;
    QRect m_weeklyBlock;
};

} // namespace tavi
