// Creating controls: every control carries its name, by which tests and the scaler
// find it.
#pragma once

#include <QString>
#include <QWidget>

class QLineEdit;

namespace tavi {

// Tags for placedControl: a control that keeps its size and only moves, and a band that
// also follows the window's width.
inline constexpr const char* MoveOnly = "@TL";
inline constexpr const char* Band = "@TLW";

template <typename W> W* newControl(QWidget* parent, const char* name)
{
    auto* w = new W(parent);
    w->setObjectName(QLatin1String(name));
    return w;
}

// A control with a caption or text.
template <typename W> W* newControl(QWidget* parent, const char* name, const QString& text)
{
    W* w = newControl<W>(parent, name);
    w->setText(text);
    return w;
}

// A control at its place. A tag ("@" and the measures that follow a resize, see
// clsFormResize) limits how it follows the window.
template <typename W>
W* placedControl(QWidget* parent, const char* name, const QRect& geometry, const char* tag = nullptr)
{
    W* w = newControl<W>(parent, name);
    w->setGeometry(geometry);
    if (tag)
        w->setProperty("tag", QString::fromLatin1(tag));
    return w;
}

// A control with a caption or text at its place.
template <typename W>
W* placedControl(QWidget* parent, const char* name, const QString& text, const QRect& geometry,
                 const char* tag = nullptr)
{
    W* w = placedControl<W>(parent, name, geometry, tag);
    w->setText(text);
    return w;
}

// A field of a card that the learner reads: read-only, its text centred, in a font of
// that many points.
QLineEdit* cardField(QWidget* parent, const char* name, int points);

} // namespace tavi
