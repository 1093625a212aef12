// What a refused command must leave as it was, checked in GoogleTest terms;
// the definition itself is shared with the session fuzzer.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "ui/headless/form_snapshot.h"

namespace tarvel::support {

using ui::FormSnapshot;
using ui::sameBits;

// A refused Calculate: everything but what it had read before refusing.
inline void expectRefusalUnchanged(const FormSnapshot& before, const FormSnapshot& after,
                                   const std::string& what)
{
    EXPECT_EQ(ui::describe(ui::refusalChanges(before, after)), "nothing") << what;
}

// A refused OK or load, or an action that computes nothing: everything.
inline void expectUnchanged(const FormSnapshot& before, const FormSnapshot& after,
                            const std::string& what)
{
    expectRefusalUnchanged(before, after, what);
    EXPECT_EQ(ui::describe(ui::readingChanges(before, after)), "nothing") << what;
}

}  // namespace tarvel::support
