// The brainwash clock: one call of tick() per timer tick shows, for each word of the
// study selection in turn, its characters, then its pinyin (perhaps spoken), then its
// translation, each step `periode` seconds apart. The floating window shows what the
// box holds after the tick.
#pragma once

#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringView>
#include <optional>

namespace tavi {

// The word window's measures are kept in twips at a fixed 15 twips per pixel, whatever
// the screen's resolution.
inline constexpr int TwipsPerPixel = 15;

// Where the floating window goes, in pixels: at the top of the foreground window's frame
// (root pixels), its left edge at frame right - its own width - half the width kept clear
// for the caption buttons (both widths in twips).
QPoint floatPosition(const QRect& foregroundFrame, int floatWidthTwips, int buttonsWidthTwips);

// Where the floating window goes when no X11 window is in front (a native Wayland
// program, or none at all): the place the user chose in the brainwash window. The order
// is the stored setting's.
enum class FloatPlace { TopCentre, TopLeft, TopRight, BottomLeft, BottomRight, Dragged };
inline constexpr int FloatPlaceCount = 6;

// The top left corner for a window of the given size at that place of the screen's free
// area. A dragged place is the point dragged to, moved back onto the screen when the
// screen has shrunk since; without one, top centre.
QPoint fallbackPosition(FloatPlace place, const QRect& screen, const QSize& size,
                        const std::optional<QPoint>& dragged);

class BrainScheduler {
public:
    enum class Colour { Red, Black, Blue };

    // What the floating word box shows.
    // What the box shows; pinyin and characters are shown as the pinyin display says.
    enum class Shows { Other, Characters, Pinyin };
    struct Box {
        QString text;
        QString fontName;
        int fontSize = 0;
        Colour colour = Colour::Black;
        Shows shows = Shows::Other;
        QString pinyin; // the word's, for the tones of its characters
        bool operator==(const Box&) const = default;
    };

    // The three display boxes and the sound box of the settings window.
    struct Options {
        bool chin = true;
        bool pinyin = true;
        bool eng = true;
        bool sound = true;
    };

    struct Step {
        int shownTick = 0; // the counter as it stood when the tick began
        QString speak;     // pinyin to speak now, after the box is on screen; empty: silence
    };

    static constexpr int MaxPeriode = 16383; // 2 x periode stays a 16-bit number
    static constexpr int size_chin = 12;
    static constexpr int size_other = 10;

    // Takes the seconds per step from the interval box. A text that is no whole number
    // from 1 to MaxPeriode keeps the interval the run has, so a run never trips over
    // what the user is typing. False when it was kept.
    bool setPeriode(QStringView text);
    int periode() const { return m_periode; }

    // A run from the first entry of the selection, with the first word at the next tick.
    void start();

    // One tick over study entries 0 to studyCount (taken anew each tick, so a selection
    // that shrank during a run ends the pass at its new end). floatShown: the word window
    // is on screen; hidden by the hotkey, the steps go on without sound.
    Step tick(const Options& options, int studyCount, bool floatShown);

    const Box& box() const { return m_box; }
    int tickCount() const { return m_tick; }
    int position() const { return m_vocPos; }

private:
    enum Stage { Characters = 1, Pinyin = 2, Translation = 4 };
    struct Pass;
    void characters_step(Pass& pass);
    void pinyin_step(Pass& pass);
    void translation_step(Pass& pass);
    void show(const QString& text, const QString& fontName, int fontSize, Shows shows = Shows::Other);

    int m_vocPos = -1;
    int m_periode = 3;
    int m_tick = 0;
    int m_colorStep = 0;
    QString m_wordChin;
    QString m_wordPinyin;
    QString m_wordEng;
    Box m_box;
};

} // namespace tavi
