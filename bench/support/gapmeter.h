#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <algorithm>

// How long the UI thread's event loop goes without a turn: the longest time
// between two ticks of a 1 ms precise timer, from start() on.
class GapMeter
{
public:
    GapMeter()
    {
        m_ticker.setTimerType(Qt::PreciseTimer);
        m_ticker.setInterval(1);
        QObject::connect(&m_ticker, &QTimer::timeout, [this] {
            m_worst = std::max(m_worst, sinceTickMs());
            m_sinceTick.start();
        });
    }
    void start()
    {
        m_worst = 0;
        m_sinceTick.start();
        m_ticker.start();
    }
    // The worst gap since start(), in milliseconds.
    double stop()
    {
        m_ticker.stop();
        return std::max(m_worst, sinceTickMs());
    }

private:
    double sinceTickMs() const { return double(m_sinceTick.nsecsElapsed()) / 1e6; }

    QTimer m_ticker;
    QElapsedTimer m_sinceTick;
    double m_worst = 0;
};
