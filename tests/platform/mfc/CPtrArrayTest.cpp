#include "mfc/CPtrArray.h"

#include <gtest/gtest.h>

namespace {
struct Node {
    int n;
};
}  // namespace

TEST(CTypedPtrArray, KeepsTypedPointersInOrderAndAnswersNullOutOfRange) {
    Node a{1};
    Node b{2};
    Node c{3};
    CTypedPtrArray<CPtrArray, Node*> nodes;
    EXPECT_TRUE(nodes.IsEmpty());
    EXPECT_EQ(nodes.GetUpperBound(), -1);
    EXPECT_EQ(nodes.Add(&a), 0);
    EXPECT_EQ(nodes.Add(&c), 1);
    nodes.InsertAt(1, &b);
    ASSERT_EQ(nodes.GetSize(), 3);
    EXPECT_EQ(nodes[0]->n, 1);
    EXPECT_EQ(nodes.GetAt(1)->n, 2);
    EXPECT_EQ(nodes[2]->n, 3);
    EXPECT_EQ(nodes.GetAt(3), nullptr);
    EXPECT_EQ(nodes.GetAt(-1), nullptr);
    nodes.SetAt(7, &a);  // ignored
    EXPECT_EQ(nodes.GetSize(), 3);
    nodes.RemoveAt(0);
    EXPECT_EQ(nodes[0]->n, 2);
    nodes.RemoveAt(1, 5);  // the count is cut at the end
    EXPECT_EQ(nodes.GetSize(), 1);
    nodes.SetAtGrow(3, &c);
    EXPECT_EQ(nodes.GetSize(), 4);
    EXPECT_EQ(nodes[2], nullptr) << "growing fills with nulls";
    nodes.InsertAt(99, &a);
    EXPECT_EQ(nodes[4], &a) << "inserting past the end appends";
    nodes.RemoveAll();
    EXPECT_EQ(nodes.GetCount(), 0);
}
