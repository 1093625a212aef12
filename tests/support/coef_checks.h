// Shared checks of coefficient tables and evenly spaced abscissae.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "interp/coef_table.h"

namespace tarvel::support {

// A value no method writes, so rows left alone can be told apart.
inline constexpr double kSentinel = -777.0;

inline CoefTable sentinelTable()
{
    CoefTable table{};
    for (auto& row : table)
        row.fill(kSentinel);
    return table;
}

inline void expectRow(const std::string& name, int index, const CoefRow& actual,
                      const CoefRow& expected, double tolerance)
{
    for (std::size_t k = 0; k < 4; ++k)
        EXPECT_NEAR(actual[k], expected[k], tolerance)
            << name << ": row " << index << ", column " << k;
}

inline void expectRowsUntouched(const std::string& name, const CoefTable& table, int fromRow)
{
    for (int i = fromRow; i < kCoefRows; ++i)
        for (std::size_t k = 0; k < 4; ++k)
            ASSERT_EQ(table[static_cast<std::size_t>(i)][k], kSentinel)
                << name << ": row " << i << ", column " << k;
}

// x(i) = i * (1 / last), the spacing of sampled given points.
inline std::vector<double> evenAbscissae(int last)
{
    std::vector<double> x;
    const double step = 1.0 / last;
    for (int i = 0; i <= last; ++i)
        x.push_back(i * step);
    return x;
}

}  // namespace tarvel::support
