// Only pending layout requests are delivered before the repaint: processing all events
// here would let clicks run in the middle of a card.
#include "sound/speak_on_screen.h"

#include "sound/speech.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

namespace tavi {

void speakOnScreen(QWidget* widget, const QString& pinyin)
{
    if (widget) {
        QWidget* window = widget->window();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        if (window->isVisible())
            window->repaint();
    }
    SpeakPinyin(pinyin);
}

} // namespace tavi
