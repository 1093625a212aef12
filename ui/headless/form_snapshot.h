// What the headless window holds at one moment, and what a command must
// leave as it was. The tests and the session fuzzer both compare through
// this one definition, so they hold the program to the same rule. No test
// framework here: each comparison names what changed (nothing: all kept).
#pragma once

#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "ui/headless/headless_toolkit.h"

namespace tarvel::ui {

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

inline bool sameWorld(const WorldRect& a, const WorldRect& b)
{
    return sameBits(a.left, b.left) && sameBits(a.top, b.top) && sameBits(a.right, b.right) &&
           sameBits(a.bottom, b.bottom);
}

struct FormSnapshot {
    // The form-level variables.
    double nU, lastU, nI, lastI, nDeg, nPoly, yMin, yMax;
    bool dataReady;
    PointArray xU, yU, xI, yI;
    std::array<double, kPolyCapacity> aPoly;
    // The list and the picture.
    PackedLines lines;
    std::size_t drawOps;
    WorldRect world;
    // The controls a command writes: the count of a loaded data set and
    // the browser it hides.
    std::string textNU;
    bool browserVisible;
    // Where the window stands, for checks that follow one action.
    std::size_t messageCount;
    std::size_t sentenceCount;
    std::string directory;
    std::string drive;
    bool aboutOpen;
    int aboutCreated;

    static FormSnapshot of(const HeadlessWindow& w)
    {
        const Form_Tarvel& f = w.form;
        // Named, so that two members of one type cannot trade places.
        return {.nU = f.nU,
                .lastU = f.lastU,
                .nI = f.nI,
                .lastI = f.lastI,
                .nDeg = f.nDeg,
                .nPoly = f.nPoly,
                .yMin = f.yMin,
                .yMax = f.yMax,
                .dataReady = f.dataReady,
                .xU = f.xU,
                .yU = f.yU,
                .xI = f.xI,
                .yI = f.yI,
                .aPoly = f.aPoly,
                .lines = w.List1.lines,
                .drawOps = w.Picture1.ops().size(),
                .world = w.Picture1.world(),
                .textNU = w.Text_nU.text(),
                .browserVisible = w.Frame_DataSet.visible,
                .messageCount = w.messages.messages.size(),
                .sentenceCount = w.statusLine.sentences.size(),
                .directory = w.Dir1.path(),
                .drive = w.Drive1.current,
                .aboutOpen = w.Form_About.open,
                .aboutCreated = w.Form_About.created};
    }
};

using Changes = std::vector<std::string>;

// The given points, the interpolated values, the test polynomial, the plot
// range and dataReady.
inline Changes dataChanges(const FormSnapshot& before, const FormSnapshot& after)
{
    Changes changed;
    const auto check = [&](bool kept, const char* name) {
        if (!kept)
            changed.emplace_back(name);
    };
    check(sameBits(before.xU, after.xU), "xU");
    check(sameBits(before.yU, after.yU), "yU");
    check(sameBits(before.yI, after.yI), "yI");
    check(sameBits(before.nPoly, after.nPoly), "nPoly");
    check(sameBits(before.aPoly, after.aPoly), "aPoly");
    check(sameBits(before.yMin, after.yMin), "yMin");
    check(sameBits(before.yMax, after.yMax), "yMax");
    check(before.dataReady == after.dataReady, "dataReady");
    return changed;
}

// What Calculate reads and builds in order before it can refuse: the
// counts, the interpolation abscissae and the degree. A refused Calculate
// may leave those it had read (the degree is compared with nU only after
// nU was read), so they are apart from what every refusal keeps.
inline Changes readingChanges(const FormSnapshot& before, const FormSnapshot& after)
{
    Changes changed;
    const auto check = [&](bool kept, const char* name) {
        if (!kept)
            changed.emplace_back(name);
    };
    check(sameBits(before.nU, after.nU), "nU");
    check(sameBits(before.lastU, after.lastU), "lastU");
    check(sameBits(before.nI, after.nI), "nI");
    check(sameBits(before.lastI, after.lastI), "lastI");
    check(sameBits(before.xI, after.xI), "xI");
    check(sameBits(before.nDeg, after.nDeg), "nDeg");
    return changed;
}

// The lines of List1, the drawing operations and the world window.
inline Changes displayChanges(const FormSnapshot& before, const FormSnapshot& after)
{
    Changes changed;
    if (before.lines != after.lines)
        changed.emplace_back("List1 (" + std::to_string(before.lines.size()) + " lines became " +
                             std::to_string(after.lines.size()) + ")");
    if (before.drawOps != after.drawOps)
        changed.emplace_back("Picture1 (" + std::to_string(before.drawOps) + " operations became " +
                             std::to_string(after.drawOps) + ")");
    if (!sameWorld(before.world, after.world))
        changed.emplace_back("the world window");
    return changed;
}

// Everything a refused command must leave as it was: the data, the list,
// the picture, the count shown in Text_nU and the browser.
inline Changes refusalChanges(const FormSnapshot& before, const FormSnapshot& after)
{
    Changes changed = dataChanges(before, after);
    for (std::string& name : displayChanges(before, after))
        changed.push_back(std::move(name));
    if (before.textNU != after.textNU)
        changed.emplace_back("Text_nU");
    if (before.browserVisible != after.browserVisible)
        changed.emplace_back("Frame_DataSet");
    return changed;
}

inline std::string describe(const Changes& changes)
{
    std::string text;
    for (const std::string& name : changes)
        text += (text.empty() ? "" : ", ") + name;
    return text.empty() ? "nothing" : text + " changed";
}

}  // namespace tarvel::ui
