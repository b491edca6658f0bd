#pragma once

#include <algorithm>
#include <cmath>
#include <numeric>
#include <vector>

// Measures of rendered or recorded sound, one channel of float samples.

inline double rms(const std::vector<float> &sound)
{
    const double sum = std::accumulate(sound.begin(), sound.end(), 0.0,
                                       [](double total, float s) { return total + s * s; });
    return std::sqrt(sum / double(sound.size()));
}

// The fundamental by autocorrelation: the shortest lag (80 Hz to 1 kHz) whose correlation comes
// close to the best one, refined between neighbouring lags.
inline double fundamental(const std::vector<float> &sound, int rate)
{
    const int shortest = rate / 1000, longest = rate / 80;
    const int length = int(sound.size()) - longest - 1; // sound[i + lag] up to lag longest + 1
    std::vector<double> correlation(longest + 2);
    for (int lag = shortest - 1; lag <= longest + 1; ++lag) {
        double sum = 0;
        for (int i = 0; i < length; ++i)
            sum += double(sound[i]) * sound[i + lag];
        correlation[lag] = sum;
    }
    const double best = *std::max_element(correlation.begin() + shortest, correlation.end() - 1);
    for (int lag = shortest; lag <= longest; ++lag) {
        const double a = correlation[lag - 1], b = correlation[lag], c = correlation[lag + 1];
        if (b >= 0.9 * best && b >= a && b >= c) {
            const double shift = 0.5 * (a - c) / (a - 2 * b + c);
            return rate / (lag + shift);
        }
    }
    return 0;
}
