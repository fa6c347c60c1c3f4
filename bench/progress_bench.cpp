// The Reviews page of the progress view over a year of answers, a million in all:
// laying it out when the data comes (after every answer while it shows) and drawing it.
#include "bench_support.h"
#include "core/app_state.h"
#include "vocabulary/review_charts.h"

#include <QImage>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

using namespace tavi;

namespace {

// Every day of the last year, busier on some weekdays than on others, a million answers.
ReviewDays yearOfReviews(const QDate& today)
{
    ReviewDays days;
    int sum = 0;
    for (int i = 1; i < 365; ++i) {
        const int n = 2539 + (i % 7 - 3) * 600 + (i % 11) * 40;
        days[today.addDays(-i)] = {n, n * (60 + i % 30) / 100};
        sum += n;
    }
    days[today] = {1000000 - sum, (1000000 - sum) * 3 / 4};
    return days;
}

QList<int> forecast()
{
    QList<int> due;
    for (int i = 0; i < 30; ++i)
        due << (i == 0 ? 400 : 50 + (i * 37) % 120);
    return due;
}

struct Charts {
    Charts()
    {
        initProgramPaths(dir.path()); // the charts read their titles from the language file there
        charts = std::make_unique<ReviewCharts>();
        charts->resize(900, 600);
        charts->setData(yearOfReviews(today), forecast(), today);
    }
    QTemporaryDir dir;
    QDate today = QDate::currentDate();
    std::unique_ptr<ReviewCharts> charts;
};

void BM_DrawCalendar(benchmark::State& state)
{
    Charts c;
    QImage image(c.charts->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state)
        c.charts->render(&image);
}

void BM_SetReviewData(benchmark::State& state)
{
    Charts c;
    const ReviewDays days = yearOfReviews(c.today);
    const QList<int> due = forecast();
    for (auto _ : state)
        c.charts->setData(days, due, c.today);
}

} // namespace

BENCHMARK(BM_DrawCalendar)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SetReviewData)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv)
{
    return tavi::bench::runWindowBenchmarks(argc, argv);
}
