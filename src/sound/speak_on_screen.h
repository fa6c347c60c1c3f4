// Speaking from a window: what is spoken must already be on screen, because no window
// events are processed while the sounds play.
#pragma once

#include <QString>

class QWidget;

namespace tavi {

// Lays out and repaints the widget's window at once, then speaks the text.
void speakOnScreen(QWidget* widget, const QString& pinyin);

} // namespace tavi
