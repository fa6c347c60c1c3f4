// Pictures drawn by the program itself: the red seals of the main and about windows
// and the icons of the main window's two big buttons.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

namespace tavi {

// A square red seal with one or two characters cut out in white.
QPixmap sealPixmap(const QString& characters, int size);

// A closed book (load vocabulary).
QIcon bookIcon();

// Two stacked flashcards (flashcards).
QIcon cardsIcon();

} // namespace tavi
