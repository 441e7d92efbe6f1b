#include "QvChart.h"
#include "QvTree.h"

#include <gtest/gtest.h>

namespace {

// A child made from a template of these values.
QvTree* Add(QvTree* parent, const QString& text, int width, int height, int number = 0, const QString& key = {})
{
    QvTree templ;
    templ.SetText(text);
    templ.m_nWidth = width;
    templ.m_nHeight = height;
    templ.m_nNumber = number;
    templ.m_strKey = key;
    return parent->AddChild(templ);
}

TEST(QvTreeTest, ChildrenStackBelowTheParentSideBySide)
{
    QvTree root;
    root.m_nNumber = 4;
    QvTree* group = Add(&root, "组", 0, 20, 9);
    QvTree* a = Add(group, "a", 50, 25);
    QvTree* b = Add(group, "b", 70, 25, -1);
    QvTree* c = Add(&root, "c", 30, 45);

    EXPECT_EQ(group->m_nLevel, 1);
    EXPECT_EQ(a->m_nLevel, 2);
    EXPECT_EQ(a->m_pParent, group);
    EXPECT_EQ(a->m_pNext, b);
    EXPECT_EQ(b->m_pPrev, a);
    EXPECT_EQ(group->m_pNext, c);
    EXPECT_EQ(QRect(a->m_nLeft, a->m_nTop, a->m_nRight - a->m_nLeft, a->m_nBottom - a->m_nTop), QRect(0, 20, 50, 25));
    EXPECT_EQ(QRect(b->m_nLeft, b->m_nTop, b->m_nRight - b->m_nLeft, b->m_nBottom - b->m_nTop), QRect(50, 20, 70, 25));
    // c sits right of its previous sibling's right edge, which is the group's
    // own (zero) width.
    EXPECT_EQ(c->m_nLeft, 0);
    EXPECT_EQ(c->m_nSavedHeight, 45);
    // A number below 1 is inherited from the parent.
    EXPECT_EQ(group->m_nNumber, 9);
    EXPECT_EQ(a->m_nNumber, 9);
    EXPECT_EQ(b->m_nNumber, 9);
    EXPECT_EQ(c->m_nNumber, 4);
}

TEST(QvTreeTest, FixedLayoutLeavesTheRectangleButKeepsTheHeight)
{
    QvTree root;
    root.m_bFixedLayout = true;
    root.m_nBottom = 40;
    QvTree* child = Add(&root, "x", 50, 25);
    EXPECT_TRUE(child->m_bFixedLayout);
    EXPECT_EQ(child->m_nTop, 0);
    EXPECT_EQ(child->m_nBottom, 0);
    EXPECT_EQ(child->m_nWidth, 0);
    EXPECT_EQ(child->m_nHeight, 25);
    EXPECT_EQ(child->m_nSavedHeight, 25);
}

TEST(QvTreeTest, KeysRegisterOnlyUnderABoardAndTheNewestWins)
{
    QvChart board;
    board.AdoptBody();
    QvTree* first = Add(&board.Body(), "1", 0, 20, 0, "k");
    Add(&board.Body(), "none", 0, 20);
    EXPECT_EQ(board.FindNode("k"), first);
    EXPECT_EQ(board.NodeCount(), 1);
    QvTree* second = Add(first, "2", 0, 20, 0, "k");
    EXPECT_EQ(board.FindNode("k"), second);
    EXPECT_EQ(second->m_pChart, &board);

    QvTree loose;
    Add(&loose, "3", 0, 20, 0, "z");
    EXPECT_EQ(board.FindNode("z"), nullptr);
}

TEST(QvTreeTest, SetLevelTextsRenamesOneDepthInTreeOrder)
{
    struct Case
    {
        QStringList texts;
        QStringList expected;
    };
    const Case cases[] = {
        {{"A", "B", "C", "D"}, {"A", "B", "C"}},
        {{"A"}, {"A", "y", "z"}},
        {{}, {"x", "y", "z"}},
    };
    for (const Case& c : cases) {
        QvTree root;
        QvTree* g1 = Add(&root, "g1", 0, 10);
        QvTree* g2 = Add(&root, "g2", 0, 10);
        QvTree* x = Add(g1, "x", 10, 10);
        QvTree* y = Add(g1, "y", 10, 10);
        QvTree* z = Add(g2, "z", 10, 10);
        qsizetype position = 0;
        QvTree::SetLevelTexts(2, &root, c.texts, position);
        EXPECT_EQ((QStringList{x->GetText(), y->GetText(), z->GetText()}), c.expected) << c.texts.join(',').toStdString();
        EXPECT_EQ(g1->GetText(), "g1");
    }
    qsizetype position = 0;
    EXPECT_FALSE(QvTree::SetLevelTexts(1, nullptr, {"a"}, position));
}

TEST(QvTreeTest, HitTestIsStrictAndLooksAtTheWidthOnlyInFixedLayouts)
{
    QvTree root;
    QvTree* row = Add(&root, "r", 100, 20);  // top 0, bottom 20, 0..100
    struct Case
    {
        bool fixed;
        int x, y;
        bool hit;
    };
    const Case cases[] = {
        {false, 50, 10, true},  {false, 50, 0, false},  {false, 50, 20, false},
        {false, 500, 10, true}, {true, 500, 10, false}, {true, 100, 10, false}, {true, 99, 19, true},
    };
    for (const Case& c : cases) {
        row->m_bFixedLayout = c.fixed;
        bool hit = true;
        QvTree* found = root.HitTest(c.x, c.y, hit);
        EXPECT_EQ(hit, c.hit) << c.x << "," << c.y << " fixed " << c.fixed;
        EXPECT_EQ(found, c.hit ? row : nullptr);
    }
}

TEST(QvTreeTest, HiddenRowsGetTheirSavedHeightsBack)
{
    QvTree root;
    root.m_nHeight = 1;
    QvTree* a = Add(&root, "a", 0, 20);
    QvTree* b = Add(a, "b", 0, 30);
    QvTree::SetSubtreeVisible(&root, false);
    a->m_nHeight = b->m_nHeight = 0;
    EXPECT_FALSE(a->m_bVisible);
    EXPECT_FALSE(b->m_bVisible);

    QvTree::SetSubtreeVisible(&root, true);
    EXPECT_TRUE(b->m_bVisible);
    EXPECT_EQ(a->m_nHeight, 20);
    EXPECT_EQ(b->m_nHeight, 30);

    b->m_nHeight = 0;
    EXPECT_EQ(a->ToggleExpanded(), 1);
    EXPECT_FALSE(a->m_bExpanded);
    EXPECT_EQ(b->m_nHeight, 0);
    a->ToggleExpanded();
    EXPECT_TRUE(a->m_bExpanded);
    EXPECT_EQ(b->m_nHeight, 30);
}

TEST(QvTreeTest, ClearEmptiesTheWholeNodeMapOnlyOfItsOwnBoard)
{
    QvChart board;
    board.AdoptBody();
    QvTree* a = Add(&board.Body(), "a", 0, 20, 0, "a");
    Add(a, "a1", 0, 20, 0, "a1");
    Add(&board.Body(), "b", 0, 20, 0, "b");
    a->AddItem("cell");

    a->Clear();
    EXPECT_EQ(a->ChildCount(), 0);
    EXPECT_EQ(a->ItemCount(), 0);
    EXPECT_EQ(board.NodeCount(), 0);
    EXPECT_EQ(board.Body().ChildCount(), 2);

    QvTree loose;
    Add(&loose, "x", 0, 20);
    Add(&board.Body(), "c", 0, 20, 0, "c");
    loose.Clear();
    EXPECT_EQ(board.NodeCount(), 1);
}

TEST(QvTreeTest, DestroyingASubtreeDropsTheBoardsPointersIntoIt)
{
    QvChart board;
    board.AdoptBody();
    QvTree* a = Add(&board.Body(), "a", 0, 20, 0, "a");
    Add(a, "a1", 0, 20, 0, "a1");
    Add(&board.Body(), "b", 0, 20, 0, "b");

    a->DestroyChildren();
    EXPECT_EQ(board.FindNode("a1"), nullptr);
    EXPECT_EQ(board.FindNode("a"), a);
    EXPECT_NE(board.FindNode("b"), nullptr);
}

} // namespace
