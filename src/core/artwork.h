// The program's own pictures: the red seals of the main and about windows (drawn by
// tools/make_seals.sh) and the icons of the main window's two big buttons.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

namespace tavi {

// A red seal by name: seal_xue, seal_zhongwen (main window), seal_nihao, seal_xuexi
// (about window).
QPixmap seal(const QString& name);

// A closed book (load vocabulary).
QIcon bookIcon();

// Two stacked flashcards (flashcards).
QIcon cardsIcon();

} // namespace tavi
