#pragma once

#include <QElapsedTimer>

#include <algorithm>
#include <vector>

namespace qv::bench {

// The median wall-clock time of several runs of the work, in milliseconds.
template <typename Work>
double medianMs(int runs, Work &&work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace qv::bench
