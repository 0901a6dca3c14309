#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "fakes/ErrorOf.h"
#include "gl/DArrays.h"
#include "gl/Errors.h"

namespace {

} // namespace

TEST(DArrays, NewArraysAreEmptyWithTheirItemSizes)
{
    TGLVectorDArray V;
    TGLColorDArray C;
    TGLTextureCoordDArray T;
    TGLIndexDArray I;
    EXPECT_EQ(V.ItemSize(), 12);
    EXPECT_EQ(C.ItemSize(), 16);
    EXPECT_EQ(T.ItemSize(), 8);
    EXPECT_EQ(I.ItemSize(), 4);
    EXPECT_EQ(V.Count(), 0);
    EXPECT_EQ(V.Data(), nullptr);
    EXPECT_EQ(ErrorOf([&] { V.GetItem(0); }), "TDArray GetItem: index out of bounds.");
}

TEST(DArrays, IndexErrorsCarryTheirMessagesAndChangeNothing)
{
    TGLIndexDArray A;
    A.SetCount(2);
    A.SetIndex(1, 42);
    for (int32_t Bad : {-1, 2, INT32_MIN, INT32_MAX}) {
        EXPECT_EQ(ErrorOf([&] { A.GetIndex(Bad); }), "TDArray GetItem: index out of bounds.") << Bad;
        EXPECT_EQ(ErrorOf([&] { A.SetIndex(Bad, 7); }), "TDArray SetItem: index out of bounds.") << Bad;
    }
    EXPECT_EQ(A.Count(), 2);
    EXPECT_EQ(A.GetIndex(0), 0);
    EXPECT_EQ(A.GetIndex(1), 42);
}

TEST(DArrays, SetCountGrowsZeroFilledAndShrinksKeepingTheFront)
{
    TGLVectorDArray V;
    V.SetCount(3);
    ASSERT_EQ(V.Count(), 3);
    for (int i = 0; i < 3; ++i) {
        const TGLVector E = V.GetItem(i);
        EXPECT_EQ(E.X, 0.0f);
        EXPECT_EQ(E.Y, 0.0f);
        EXPECT_EQ(E.Z, 0.0f);
    }
    V.SetXYZ(0, 1, 2, 3);
    V.SetXYZ(1, 4, 5, 6);
    V.SetCount(1);
    ASSERT_EQ(V.Count(), 1);
    EXPECT_EQ(V.GetItem(0).Z, 3.0f);
    V.Grow(2);
    EXPECT_EQ(V.GetItem(1).X, 0.0f) << "grown elements are zero, not the old ones";
    V.Grow(0);
    V.Grow(-4);
    V.Shrink(-1);
    EXPECT_EQ(V.Count(), 3);
    V.SetCount(-5);
    EXPECT_EQ(V.Count(), 0);
    EXPECT_EQ(V.Data(), nullptr);
    V.SetCount(2);
    V.Shrink(10);
    EXPECT_EQ(V.Count(), 0);
    EXPECT_EQ(V.Data(), nullptr);
}

TEST(DArrays, CopyToCopiesAndAdoptsItemSizeButAnEmptySourceLeavesDest)
{
    TGLVectorDArray Src;
    Src.LoadFromArray(std::vector<float>{1, 2, 3, 4, 5, 6});
    TGLColorDArray Dest;
    Dest.SetRGB((Dest.SetCount(5), 0), 0.5f, 0.5f, 0.5f);
    Src.CopyTo(&Dest);
    EXPECT_EQ(Dest.ItemSize(), 12);
    ASSERT_EQ(Dest.Count(), 2);
    const float* F = static_cast<const float*>(Dest.Data());
    EXPECT_EQ(F[5], 6.0f);

    TGLVectorDArray Empty, Kept;
    Kept.SetCount(4);
    Empty.CopyTo(&Kept);
    EXPECT_EQ(Kept.Count(), 4);
    Src.CopyTo(nullptr);
}

TEST(DArrays, AppendSameSizeOnlyAndToItself)
{
    TGLVectorDArray V;
    V.LoadFromArray(std::vector<float>{1, 1, 1, 2, 2, 2});
    TGLColorDArray C;
    C.SetCount(3);
    V.Append(&C);
    EXPECT_EQ(V.Count(), 2);
    V.Append(nullptr);
    EXPECT_EQ(V.Count(), 2);

    TGLVectorDArray W;
    W.LoadFromArray(std::vector<float>{3, 3, 3});
    V.Append(&W);
    ASSERT_EQ(V.Count(), 3);
    EXPECT_EQ(V.GetItem(2).X, 3.0f);

    V.Append(&V);
    ASSERT_EQ(V.Count(), 6);
    const float Expect[] = {1, 2, 3, 1, 2, 3};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(V.GetItem(i).Y, Expect[i]) << i;
}

TEST(DArrays, LoadFromArrayPerType)
{
    TGLVectorDArray V;
    V.LoadFromArray(std::vector<float>{1, 2, 3, 4, 5, 6, 7});
    ASSERT_EQ(V.Count(), 2);
    EXPECT_EQ(V.GetItem(1).X, 4.0f);
    V.LoadFromArray({});
    EXPECT_EQ(V.Count(), 0);

    TGLColorDArray C;
    C.LoadFromArray(std::vector<float>{0.1f, 0.2f, 0.3f});
    ASSERT_EQ(C.Count(), 1);
    EXPECT_EQ(C.GetItem(0).B, 0.3f);
    EXPECT_EQ(C.GetItem(0).A, 1.0f);
    C.SetItem(0, MakeColor(0, 0, 0, 0.25f));
    C.SetRGB(0, 0.9f, 0.8f, 0.7f);
    EXPECT_EQ(C.GetItem(0).A, 1.0f);

    TGLTextureCoordDArray T;
    T.LoadFromArray(std::vector<float>{0.5f, 0.25f, 1, 0, 9});
    ASSERT_EQ(T.Count(), 2);
    EXPECT_EQ(T.GetItem(0).T, 0.25f);
    T.SetST(1, 3, 4);
    EXPECT_EQ(T.Items()[1].S, 3.0f);

    TGLIndexDArray I;
    I.LoadFromArray(std::vector<int32_t>{5, -1, 7});
    ASSERT_EQ(I.Count(), 3);
    EXPECT_EQ(I.GetIndex(1), -1);
    EXPECT_EQ(static_cast<const int32_t*>(I.Data())[2], 7);
}

TEST(DArrays, FillZeroClearsEveryVector)
{
    TGLVectorDArray V;
    V.LoadFromArray(std::vector<float>{1, 2, 3, 4, 5, 6});
    V.FillZero();
    for (int i = 0; i < V.Count(); ++i)
        EXPECT_EQ(V.GetItem(i).X + V.GetItem(i).Y + V.GetItem(i).Z, 0.0f);
}
