// The import window: words of another program's file (Pleco's flashcard text, Anki's
// notes, CSV, TSV) shown as they will be read, every guess changeable, then written to a
// new vocabulary file or added to the loaded one.
#pragma once

#include "vocabulary/word_exchange.h"

#include <QWidget>

namespace tavi {

class ImportWindow : public QWidget {
    Q_OBJECT
public:
    explicit ImportWindow(QWidget* parent = nullptr);

    // Asks for a file with the file dialog, then opens it; false when none was chosen or
    // it cannot be imported (a box said why).
    bool chooseFile();
    // Reads the file and shows its preview; false, after a box saying why, when the file
    // cannot be imported.
    bool openFile(const QString& path);
};

} // namespace tavi
