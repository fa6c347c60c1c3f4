// The progress view, two pages. Words: bar charts of the words by level and of the
// selected words by chapter and level, redrawn whenever the word table or the selection
// changes. Reviews: what the review log knows (ReviewCharts), with the desired retention
// of the schedule and the log's export.
#pragma once

#include "training/review_log.h"
#include "vocabulary/progress.h"

#include <QDate>
#include <QWidget>

class QLabel;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QTimer;

namespace tavi {

class ReviewCharts;
class WordCharts;

class ProgressWindow : public QWidget {
    Q_OBJECT
public:
    explicit ProgressWindow(QWidget* parent = nullptr);

    const Progress& shown() const { return m_progress; }

private:
    QWidget* buildReviewsPage();
    void follow_table();
    void follow_reviews();
    void readReviews();
    void showReviews();
    void txt_retention_Change(int percent);
    void bt_export_Click();

    Progress m_progress;
    int m_version = -1;
    // The table's version and the day when the reviews were read; -1: not read yet.
    int m_reviewsVersion = -1;
    QDate m_reviewsDay;
    ReviewDays m_days;

    QTabWidget* tabs = nullptr;
    WordCharts* pic_words = nullptr;
    QWidget* page_reviews = nullptr;
    ReviewCharts* pic_reviews = nullptr;
    QLabel* lbl_retention = nullptr;
    QSpinBox* txt_retention = nullptr;
    QPushButton* bt_export = nullptr;
    QTimer* Timer1 = nullptr;
};

} // namespace tavi
