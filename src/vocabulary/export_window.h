// The export window: the loaded words, or the study selection, written for another
// program (Anki's text import, Pleco's flashcard text).
#pragma once

#include <QWidget>

namespace tavi {

class ExportWindow : public QWidget {
    Q_OBJECT
public:
    explicit ExportWindow(QWidget* parent = nullptr);
};

} // namespace tavi
