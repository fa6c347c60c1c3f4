// The progress view: bar charts of the words by level and of the selected words by
// chapter and level, redrawn whenever the word table or the selection changes.
#pragma once

#include "vocabulary/progress.h"

#include <QWidget>

class QTimer;

namespace tavi {

class ProgressWindow : public QWidget {
    Q_OBJECT
public:
    explicit ProgressWindow(QWidget* parent = nullptr);

    const Progress& shown() const { return m_progress; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void follow_table();

    Progress m_progress;
    int m_version = -1;
    QString m_byLevel;
    QString m_byChapter;
    QString m_level;
    QString m_chapter;
    QString m_noWords;
    QTimer* Timer1 = nullptr;
};

} // namespace tavi
