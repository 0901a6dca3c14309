#include <gtest/gtest.h>

#include <vector>

#include "app/run/FpsOverlay.h"

TEST(FpsOverlay, EachLitCellIsOneQuad)
{
    // "1": rows 010, 110, 010, 010, 111.
    const std::vector<float> One = FpsTextQuads("1", 0, 0, 1);
    ASSERT_EQ(One.size(), 8u * 8u);
    // The top row's only cell: column 1, row 4 from the bottom.
    EXPECT_EQ((std::vector<float>(One.begin(), One.begin() + 8)), (std::vector<float>{1, 4, 2, 4, 2, 5, 1, 5}));
    // The last quad is the bottom row's right cell.
    EXPECT_EQ((std::vector<float>(One.end() - 8, One.end())), (std::vector<float>{2, 0, 3, 0, 3, 1, 2, 1}));
}

TEST(FpsOverlay, CharactersAdvanceFourCellsAndUnknownOnesAreBlank)
{
    const std::vector<float> A = FpsTextQuads(":", 10, 20, 3);
    const std::vector<float> B = FpsTextQuads("?:", 10, 20, 3);
    ASSERT_EQ(A.size(), 2u * 8u);
    ASSERT_EQ(B.size(), A.size());
    for (std::size_t I = 0; I < A.size(); I += 2) {
        EXPECT_EQ(B[I], A[I] + 12);
        EXPECT_EQ(B[I + 1], A[I + 1]);
    }
    EXPECT_TRUE(FpsTextQuads(" ", 0, 0, 1).empty());
    EXPECT_EQ(FpsTextQuads("FPS: 60", 0, 0, 1).size(), FpsTextQuads("FPS:60", 0, 0, 1).size());
}
