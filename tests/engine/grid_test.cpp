#include <gtest/gtest.h>

#include "workbench_state.h"

using namespace abc;

TEST(Grid, FirstRowAfterStartIsAlwaysTheSame)
{
    WorkbenchState state;
    BuildGrid(state);
    EXPECT_EQ(DumpGrid(state).substr(0, 45), "AAWFHRIEJLCMBVBHXJUISVSHEIMGVHMDWHUZMXVADDNAP");
}
