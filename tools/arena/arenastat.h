#pragma once

#include <cmath>

namespace morlu {

/**
 * A running mean with its 95% confidence interval (normal approximation: 1.96 standard errors),
 * for win shares and money alike.
 */
class ArenaStat {
public:
    void add(double value)
    {
        ++m_count;
        const double delta = value - m_mean;
        m_mean += delta / static_cast<double>(m_count);
        m_squares += delta * (value - m_mean);
    }
    void merge(const ArenaStat& other)
    {
        if (other.m_count == 0)
            return;
        const long long count = m_count + other.m_count;
        const double delta = other.m_mean - m_mean;
        m_mean += delta * static_cast<double>(other.m_count) / static_cast<double>(count);
        m_squares += other.m_squares + delta * delta * static_cast<double>(m_count) *
                                           static_cast<double>(other.m_count) / static_cast<double>(count);
        m_count = count;
    }

    long long count() const { return m_count; }
    double mean() const { return m_mean; }
    /// Half the width of the 95% interval; 0 with fewer than two values.
    double halfWidth() const
    {
        if (m_count < 2)
            return 0.0;
        const double variance = m_squares / static_cast<double>(m_count - 1);
        return 1.96 * std::sqrt(variance / static_cast<double>(m_count));
    }

private:
    long long m_count = 0;
    double m_mean = 0.0;
    double m_squares = 0.0;
};

} // namespace morlu
