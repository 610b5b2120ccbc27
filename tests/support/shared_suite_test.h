#pragma once
#include "firebird_fixture.h"

#include <gtest/gtest.h>

namespace livros::testing {

// A test group that shares one installation (creating its databases costs about half a second):
// made before the group's first test, removed after its last. A failing set-up fails the group.
template <class Suite = EmbeddedSuite>
class SharedSuiteTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { s_suite = new Suite; }
    static void TearDownTestSuite()
    {
        delete s_suite;
        s_suite = nullptr;
    }
    static Suite& suite() { return *s_suite; }

    static inline Suite* s_suite = nullptr;
};

} // namespace livros::testing
