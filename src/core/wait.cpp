// WaitSeconds: a local event loop ended by a precise timer.
#include "core/wait.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <cmath>

namespace tavi {

void WaitSeconds(float seconds)
{
    if (!(seconds > 0.0f) || !QCoreApplication::instance())
        return;
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    const double ms = std::min(static_cast<double>(seconds) * 1000.0, 2147483647.0);
    timer.start(static_cast<int>(std::lround(ms)));
    // An application ending meanwhile ends this loop too.
    loop.exec();
}

} // namespace tavi
