// Snapshots of everything a refused command must leave as it was.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "ui/headless/headless_toolkit.h"

namespace tarvel::support {

struct FormSnapshot {
    double nU, lastU, nI, lastI, nDeg, nPoly, yMin, yMax;
    bool dataReady;
    PointArray xU, yU, xI, yI;
    std::array<double, kPolyCapacity> aPoly;
    std::vector<std::string> lines;
    std::size_t drawOps;
    WorldRect world;
    std::string textNU;
    bool browserVisible;

    static FormSnapshot of(const ui::HeadlessWindow& w)
    {
        const Form_Tarvel& f = w.form;
        return {f.nU,
                f.lastU,
                f.nI,
                f.lastI,
                f.nDeg,
                f.nPoly,
                f.yMin,
                f.yMax,
                f.dataReady,
                f.xU,
                f.yU,
                f.xI,
                f.yI,
                f.aPoly,
                w.List1.lines,
                w.Picture1.ops().size(),
                w.Picture1.world(),
                w.Text_nU.text(),
                w.Frame_DataSet.visible};
    }
};

// Bitwise equality, so that a NaN left in place still compares equal.
inline bool sameBits(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

template <std::size_t N>
bool sameBits(const std::array<double, N>& a, const std::array<double, N>& b)
{
    return std::memcmp(a.data(), b.data(), sizeof(double) * N) == 0;
}

inline void expectUnchanged(const FormSnapshot& before, const FormSnapshot& after,
                            const std::string& what)
{
    SCOPED_TRACE(what);
    EXPECT_TRUE(sameBits(before.nU, after.nU)) << before.nU << " became " << after.nU;
    EXPECT_TRUE(sameBits(before.lastU, after.lastU));
    EXPECT_TRUE(sameBits(before.nPoly, after.nPoly));
    EXPECT_TRUE(sameBits(before.yMin, after.yMin));
    EXPECT_TRUE(sameBits(before.yMax, after.yMax));
    EXPECT_EQ(before.dataReady, after.dataReady);
    EXPECT_TRUE(sameBits(before.xU, after.xU)) << "xU changed";
    EXPECT_TRUE(sameBits(before.yU, after.yU)) << "yU changed";
    EXPECT_TRUE(sameBits(before.yI, after.yI)) << "yI changed";
    EXPECT_TRUE(sameBits(before.aPoly, after.aPoly)) << "aPoly changed";
    EXPECT_EQ(before.lines, after.lines);
    EXPECT_EQ(before.drawOps, after.drawOps);
    EXPECT_EQ(before.world.top, after.world.top);
    EXPECT_EQ(before.world.bottom, after.world.bottom);
    EXPECT_EQ(before.textNU, after.textNU);
    EXPECT_EQ(before.browserVisible, after.browserVisible);
}

}  // namespace tarvel::support
