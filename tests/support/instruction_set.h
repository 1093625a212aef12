// Runs a test once per instruction set of the Lagrange basis loop: a
// parameterised suite takes kAllInstructionSets, and each case forces its
// set for the time it runs (or is skipped where the processor lacks it).
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "interp/lagrange.h"

namespace tarvel::support {

inline constexpr InstructionSet kAllInstructionSets[] = {
    InstructionSet::Baseline, InstructionSet::Avx2, InstructionSet::Avx512, InstructionSet::Plain};

inline std::string instructionSetParamName(const ::testing::TestParamInfo<InstructionSet>& info)
{
    switch (info.param) {
    case InstructionSet::Avx2:
        return "Avx2";
    case InstructionSet::Avx512:
        return "Avx512";
    case InstructionSet::Plain:
        return "Plain";
    default:
        return "Baseline";
    }
}

class PerInstructionSet : public ::testing::TestWithParam<InstructionSet> {
protected:
    void SetUp() override
    {
        if (!forceInstructionSet(GetParam()))
            GTEST_SKIP() << instructionSetName(GetParam()) << " is not available here";
    }
    void TearDown() override { chooseInstructionSetAutomatically(); }
};

}  // namespace tarvel::support
