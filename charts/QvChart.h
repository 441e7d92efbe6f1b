#pragma once

#include "QvTree.h"

#include <QAbstractScrollArea>
#include <QHash>
#include <QImage>
#include <QList>
#include <QRectF>
#include <QString>

#include <functional>

class CChartPainter;

// The tree-list board of a `treelist` form element: a multi-level column
// header over a tree of rows, with a row-number column, a tree column with
// dotted connectors and expand boxes, and further columns of text or of
// coloured time bars on a 24-hour scale. Column and row borders are dragged to
// resize, rows expand and collapse, and a right click on a row presses the
// form button of its column.
//
// Creating one (the form builder): construct it as a child of the form with
// the element's rectangle; build the header under Header() (whose key is
// "root") with QvTree::AddChild from template nodes (width, height, button
// number, own item kind 0 text / 1 time bar, display text); then
// CollectLeafColumns(&Header()); and SetControlFinder() with the form's
// window-id lookup so that right clicks can press buttons. The board paints
// nothing until an action makes it kind 4.
//
// Feeding it (the show_table action): SetKind(KindTreeList), ClearTree(),
// AdoptBody(); add rows under Body() or under FindNode(parent key) with
// AddChild and AddItem; Redraw(). query_to_tree_head renames header nodes of
// one depth with QvTree::SetLevelTexts on Header().
class QvChart : public QAbstractScrollArea
{
    Q_OBJECT

public:
    static constexpr int KindEmpty = 1;
    static constexpr int KindTreeList = 4;
    static constexpr int ControlIdBase = 1024;
    static constexpr int DayMinutes = 1440;

    // Finds a control of the form by window id (description id + 1024);
    // null when there is none.
    using ControlFinder = std::function<QWidget*(int windowId)>;

    explicit QvChart(QWidget* parent = nullptr);
    ~QvChart() override;

    QvTree& Header() { return m_header; }
    QvTree& Body() { return m_body; }
    // Appends each leaf's cell kind and button number to the column arrays,
    // depth first.
    void CollectLeafColumns(QvTree* node);
    void SetControlFinder(ControlFinder finder);

    void SetKind(int kind);
    // Removes every row and empties the node map; no pointer to a removed
    // row (selected, last visited) survives.
    void ClearTree();
    // Makes the body root belong to this board, so rows added under it are
    // registered by key.
    void AdoptBody();
    // The row registered under the key; null when there is none.
    QvTree* FindNode(const QString& key) const;
    // Asks for a repaint.
    void Redraw();

    // Draws the board as a repaint would, into a painter on a surface of
    // the client size (already filled white), and records the layout.
    void Paint(QPainter& painter, const QRect& client);
    // The client area drawn into an image, white first.
    QImage RenderImage();

    // Places a time bar of a value (minutes, negative from the right edge,
    // or start * 10000 + minutes short of the right edge) on a cell.
    static void FitTimeBar(QRectF& bar, int value);

    // Called by the nodes of the body tree.
    void RegisterNode(const QString& key, QvTree* node);
    void ForgetSubtree(const QvTree* root);
    void ClearNodeMap();

    // Layout of the last drawing and the interaction state.
    QvTree* SelectedNode() const { return m_pSelected; }
    int ScrollX() const { return m_nScrollX; }
    int ScrollY() const { return m_nScrollY; }
    int HeaderHeight() const { return m_nHeaderHeight; }
    int BodyHeight() const { return m_nBodyHeight; }
    int TotalWidth() const { return m_nTotalWidth; }
    const QList<int>& ColumnWidths() const { return m_colWidths; }
    const QList<int>& RowHeights() const { return m_rowHeights; }
    int NodeCount() const { return static_cast<int>(m_nodes.size()); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    struct BodyRect
    {
        int left = 0;
        int right = 0;
        int top = 0;
    };

    void DrawTreeList(CChartPainter& g);
    void CollectLeafWidths(const QvTree* node);
    int ComputeHeaderHeight() const;
    void DrawHeaderNode(CChartPainter& g, const QvTree* node, QPoint origin);
    // One row of the body walk; the rectangle's top runs on from row to row.
    void DrawBodyRow(CChartPainter& g, QvTree* node, BodyRect& rect, int w0);
    void DrawRowCells(CChartPainter& g, const QvTree* node, int left, int top);

    void OnLeftDown(int x, int y);
    void OnLeftUp(int x, int y);
    void OnRightDown(int x, int y);
    void ToggleRow(QvTree* row);
    int ColumnAt(int x) const;
    Qt::CursorShape CursorAt(int x, int y) const;
    void ShiftColumnEdges(QvTree* node, int edge, int delta);
    void ShiftColumnEdgesOf(QvTree* node, int edge, int delta, const QvTree* grown);
    // The row layout pass over the body: hidden rows lose their height,
    // the rows at a dragged border take the drag.
    void RelayoutRows(int edge, int delta);
    void RelayoutRow(QvTree* node, int edge, int delta);
    void RequestScrollBarUpdate();
    void UpdateScrollBars();
    void PressColumnButton(int column);

    int m_nKind = KindEmpty;
    QRect m_rcClient;
    QvTree m_header;
    QvTree m_body;
    int m_nColumns = 0;
    QList<int> m_colWidths;
    QList<int> m_colKinds;
    QList<int> m_colButtons;
    QList<int> m_rowHeights;
    QHash<QString, QvTree*> m_nodes;
    int m_nHeaderHeight = 0;
    int m_nTotalWidth = 0;
    int m_nBodyHeight = 0;
    int m_nRowNumber = 0;
    int m_nScrollX = 0;
    int m_nScrollY = 0;
    QvTree* m_pLastNode = nullptr;
    int m_nDragX = 0;
    bool m_bColumnDrag = false;
    int m_nColumnDragStart = 0;
    int m_nColumnDragMin = 0;
    int m_nLayoutCount = 0;
    int m_nDragY = 0;
    bool m_bRowDrag = false;
    int m_nRowDragStart = 0;
    int m_nRowDragMin = 0;
    const int m_nIndent = 15;
    const int m_nStub = 19;
    const int m_nBoxHit = 11;
    const int m_nBoxHalf = 5;
    QvTree* m_pSelected = nullptr;
    ControlFinder m_findControl;
    bool m_bScrollBarsPending = false;
};
