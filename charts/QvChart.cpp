#include "QvChart.h"

#include "ChartPainter.h"
#include "ChartTexts.h"
#include "text/MessageSink.h"
#include "text/TextSplit.h"

#include <QAbstractButton>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>
#include <QWheelEvent>

#include <cstdlib>

namespace {

constexpr quint32 CellBorder = 0x64000000;
constexpr quint32 GridLine = 0x32000000;
constexpr quint32 Black = 0xFF000000;
constexpr quint32 SelectedBand = 0xFFF0F0F0;
constexpr int TextPoints = 9;
constexpr int BorderReach = 2;
constexpr int WheelStep = 30;
constexpr int BoxSize = 11;

// The expand box: a framed square with a minus (expanded) or a plus.
const QImage& ExpandBox(bool expanded)
{
    static const QImage boxes[2] = {
        [] {
            QImage image(BoxSize, BoxSize, QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::white);
            QPainter p(&image);
            p.setPen(QColor(0x80, 0x80, 0x80));
            p.drawRect(0, 0, BoxSize - 1, BoxSize - 1);
            p.setPen(Qt::black);
            p.drawLine(2, 5, 8, 5);
            p.drawLine(5, 2, 5, 8);
            return image;
        }(),
        [] {
            QImage image(BoxSize, BoxSize, QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::white);
            QPainter p(&image);
            p.setPen(QColor(0x80, 0x80, 0x80));
            p.drawRect(0, 0, BoxSize - 1, BoxSize - 1);
            p.setPen(Qt::black);
            p.drawLine(2, 5, 8, 5);
            return image;
        }(),
    };
    return boxes[expanded ? 1 : 0];
}

bool SpanMeets(int a, int b, const QRect& client)
{
    return std::max(a, b) >= client.top() && std::min(a, b) <= client.bottom() + 1;
}

} // namespace

QvChart::QvChart(QWidget* parent)
    : QAbstractScrollArea(parent)
{
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::ClickFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->setMouseTracking(true);
    viewport()->setAutoFillBackground(false);
    for (QScrollBar* bar : {horizontalScrollBar(), verticalScrollBar()}) {
        bar->setSingleStep(1);
        // The position follows the thumb when it is let go, and a click
        // beside the thumb does not move it.
        bar->setTracking(false);
        connect(bar, &QAbstractSlider::actionTriggered, bar, [bar](int action) {
            if (action == QAbstractSlider::SliderPageStepAdd || action == QAbstractSlider::SliderPageStepSub)
                bar->setSliderPosition(bar->value());
        });
    }
}

QvChart::~QvChart()
{
    m_pSelected = nullptr;
    m_pLastNode = nullptr;
    m_header.Clear();
    m_body.Clear();
}

void QvChart::CollectLeafColumns(QvTree* node)
{
    for (int i = 0; i < node->ChildCount(); ++i)
        CollectLeafColumns(node->Child(i));
    if (!node->HasChildren() && node->m_pParent) {
        m_colKinds.append(node->m_item.m_nKind);
        m_colButtons.append(node->m_nNumber);
    }
}

void QvChart::SetControlFinder(ControlFinder finder)
{
    m_findControl = std::move(finder);
}

void QvChart::SetKind(int kind)
{
    m_nKind = kind;
}

void QvChart::ClearTree()
{
    m_pSelected = nullptr;
    m_pLastNode = nullptr;
    m_body.Clear();
}

void QvChart::AdoptBody()
{
    m_body.m_pChart = this;
}

QvTree* QvChart::FindNode(const QString& key) const
{
    return m_nodes.value(key, nullptr);
}

void QvChart::Redraw()
{
    viewport()->update();
}

void QvChart::RegisterNode(const QString& key, QvTree* node)
{
    m_nodes.insert(key, node);
}

void QvChart::ForgetSubtree(const QvTree* root)
{
    const auto below = [root](const QvTree* node) { return node && node != root && node->IsWithin(root); };
    if (below(m_pSelected))
        m_pSelected = nullptr;
    if (below(m_pLastNode))
        m_pLastNode = nullptr;
    if (root == &m_body) {
        m_nodes.clear();
        return;
    }
    m_nodes.removeIf([&below](const auto& entry) { return below(entry.value()); });
}

void QvChart::ClearNodeMap()
{
    m_nodes.clear();
}

QImage QvChart::RenderImage()
{
    QImage image(viewport()->size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    Paint(painter, image.rect());
    return image;
}

void QvChart::Paint(QPainter& painter, const QRect& client)
{
    m_rcClient = client;
    if (m_nKind != KindTreeList)
        return;
    CChartPainter g(painter);
    DrawTreeList(g);
    RequestScrollBarUpdate();
}

void QvChart::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), Qt::white);
    Paint(painter, viewport()->rect());
}

void QvChart::DrawTreeList(CChartPainter& g)
{
    m_nTotalWidth = 0;
    m_nColumns = 0;
    m_colWidths.clear();
    CollectLeafWidths(&m_header);
    m_nHeaderHeight = ComputeHeaderHeight();

    if (m_nColumns >= 2) {
        BodyRect rect;
        rect.left = -m_nScrollX;
        rect.top = m_nHeaderHeight + m_rcClient.top() - m_nScrollY;
        rect.right = m_colWidths[0] + m_colWidths[1] - m_nScrollX;
        m_nRowNumber = 0;
        m_nBodyHeight = 0;
        m_rowHeights.clear();
        const int w0 = m_colWidths[0];
        QvTree::WalkPreOrder(&m_body, [&](QvTree* node) {
            DrawBodyRow(g, node, rect, w0);
            return true;
        });
    }

    m_nTotalWidth = 0;
    m_nColumns = 0;
    m_colWidths.clear();
    DrawHeaderNode(g, &m_header, QPoint(m_rcClient.left() - m_nScrollX, m_rcClient.top()));

    if (m_bColumnDrag)
        g.DrawLine(QPointF(m_nDragX, 0), QPointF(m_nDragX, m_rcClient.bottom() + 1), 1, Black);
    if (m_bRowDrag)
        g.DrawLine(QPointF(0, m_nDragY), QPointF(m_rcClient.right() + 1, m_nDragY), 1, Black);
}

void QvChart::CollectLeafWidths(const QvTree* node)
{
    for (int i = 0; i < node->ChildCount(); ++i)
        CollectLeafWidths(node->Child(i));
    if (!node->HasChildren() && node->m_pParent) {
        m_colWidths.append(node->m_nWidth);
        m_nTotalWidth += node->m_nWidth;
        ++m_nColumns;
    }
}

int QvChart::ComputeHeaderHeight() const
{
    int height = m_header.m_nHeight;
    for (const QvTree* node = m_header.HasChildren() ? m_header.Child(0) : nullptr; node;
         node = node->HasChildren() ? node->Child(0) : nullptr)
        height += node->m_nHeight;
    return height;
}

void QvChart::DrawHeaderNode(CChartPainter& g, const QvTree* node, QPoint origin)
{
    const QRectF rect(origin.x() + node->m_nLeft, origin.y() + node->m_nTop, node->m_nWidth, node->m_nHeight);
    const bool leaf = !node->HasChildren() && node->m_pParent;
    if (node->m_nWidth > 0 && node->m_nHeight > 0) {
        g.DrawCell(rect, 1, CellBorder);
        g.DrawTextCentred(node->GetText(), rect, TextPoints, Black);
        if (leaf) {
            const qreal bottom = m_rcClient.bottom() + 1;
            g.DrawLine(rect.bottomLeft(), rect.bottomRight(), 1, GridLine);
            g.DrawLine(rect.topLeft(), QPointF(rect.left(), bottom), 1, GridLine);
            g.DrawLine(rect.topRight(), QPointF(rect.right(), bottom), 1, GridLine);
        }
    }
    for (int i = 0; i < node->ChildCount(); ++i)
        DrawHeaderNode(g, node->Child(i), origin);
    if (leaf) {
        m_colWidths.append(node->m_nWidth);
        m_nTotalWidth += node->m_nWidth;
        ++m_nColumns;
    }
}

void QvChart::DrawBodyRow(CChartPainter& g, QvTree* node, BodyRect& rect, int w0)
{
    const int top = rect.top;
    const int height = node->m_nHeight;
    rect.top += height;
    node->m_nTop = top;
    node->m_nBottom = top + height;
    node->m_nLeft = rect.left;
    node->m_nRight = rect.right;

    if (rect.right - rect.left > 0 && height > 0) {
        const bool inView = SpanMeets(top, top + height, m_rcClient);
        const int rowEnd = m_nTotalWidth - m_nScrollX;
        if (inView) {
            g.DrawLine(QPointF(rect.left + w0, top), QPointF(rect.left + w0, top + height), 1, GridLine);
            if (node == m_pSelected)
                g.FillRect(QRectF(rect.left, top + 1, rowEnd - rect.left, height), SelectedBand);
            const QRectF numberCell(rect.left, top, w0, height);
            g.DrawCell(numberCell, 1, CellBorder);
            g.DrawTextCentred(QString::number(m_nRowNumber), numberCell, TextPoints, Black);
            g.DrawLine(QPointF(rect.left, top + height), QPointF(rowEnd, top + height), 1, GridLine);
        }
        m_nBodyHeight += height;

        const int cellStart = rect.left + w0;
        const int cellWidth = rect.right - rect.left - w0;
        if (node->m_pParent == &m_body) {
            node->m_nBoxX = cellStart + m_nIndent;
            node->m_nWidth = cellWidth - m_nIndent;
        } else if (node->m_pPrev) {
            node->m_nBoxX = node->m_pPrev->m_nBoxX;
            node->m_nWidth = node->m_pPrev->m_nWidth;
        } else if (node->m_pParent) {
            node->m_nBoxX = node->m_pParent->m_nBoxX + m_nIndent;
            node->m_nWidth = node->m_pParent->m_nWidth - m_nIndent;
        }
        node->m_nMidY = top + height / 2;

        const QPointF mid(node->m_nBoxX, node->m_nMidY);
        if (inView)
            g.DrawDottedLine(mid, QPointF(node->m_nBoxX + m_nStub, node->m_nMidY), 1, Black);
        int upTo = node->m_nMidY;
        if (const QvTree* prev = node->m_pPrev) {
            upTo = prev->m_nMidY;
            if (prev->HasChildren() && prev->m_nMidY > m_nHeaderHeight)
                upTo += m_nBoxHalf;
        } else if (node->m_pParent && node->m_pParent != &m_body) {
            upTo = node->m_pParent->m_nMidY;
        }
        if (upTo != node->m_nMidY && SpanMeets(upTo, node->m_nMidY, m_rcClient))
            g.DrawDottedLine(mid, QPointF(node->m_nBoxX, upTo), 1, Black);
        if (inView) {
            if (node->HasChildren()) {
                const QImage& box = ExpandBox(node->m_bExpanded);
                g.DrawImage(node->m_nBoxX - m_nBoxHalf, top + (height - box.height() + 1) / 2, box);
            }
            g.DrawTextLeft(node->GetText(),
                           QRectF(node->m_nBoxX + m_nStub, top, node->m_nWidth - m_nStub, height), TextPoints,
                           Black);
            DrawRowCells(g, node, rect.left + w0 + cellWidth, top);
        }
    } else if (height == 0) {
        node->m_nMidY = top;
    }

    ++m_nRowNumber;
    m_rowHeights.append(node->m_bVisible ? height : 0);
}

void QvChart::DrawRowCells(CChartPainter& g, const QvTree* node, int left, int top)
{
    const int height = node->m_nHeight;
    const int shown = std::min(node->ItemCount(), m_nColumns - 2);
    int x = left;
    for (int i = 0; i < shown; ++i) {
        const int column = i + 2;
        const int width = m_colWidths[column];
        const QString& text = node->Item(i).m_strText;
        const int kind = column < m_colKinds.size() ? m_colKinds[column] : -1;
        if (kind == 0) {
            g.DrawTextCentred(text, QRectF(x, top, width, height), TextPoints, Black);
        } else if (kind == 1 && text != QLatin1String("0")) {
            QRectF bar(x, top + height / 4, width, height / 2);
            FitTimeBar(bar, TextToInt(text));
            if (bar.width() > 0)
                g.FillColourRect(bar, node->m_item.m_strText3, 0);
        }
        x += width;
    }
}

void QvChart::FitTimeBar(QRectF& bar, int value)
{
    const float perMinute = static_cast<float>(static_cast<int>(bar.width() + 1)) / DayMinutes;
    const float width = static_cast<float>(bar.width());
    if (value >= 1 && value <= DayMinutes) {
        bar.setWidth(static_cast<int>(value * perMinute));
    } else if (value >= -DayMinutes && value <= -1) {
        const int shift = static_cast<int>(width - std::abs(value) * perMinute);
        bar.moveLeft(bar.left() + shift);
        bar.setWidth(width - shift);
    } else if (value >= 10000) {
        const int start = value / 10000;
        const int tail = value % 10000;
        const int shift = static_cast<int>(start * perMinute);
        float rest = width - shift - static_cast<int>(tail * perMinute);
        if (rest == 0)
            rest = 1;
        bar.moveLeft(bar.left() + shift);
        bar.setWidth(rest);
    }
}

int QvChart::ColumnAt(int x) const
{
    int edge = -m_nScrollX;
    for (int i = 0; i < m_colWidths.size(); ++i) {
        edge += m_colWidths[i];
        if (edge > x)
            return i;
    }
    return -1;
}

void QvChart::mousePressEvent(QMouseEvent* event)
{
    if (m_nKind != KindTreeList)
        return QAbstractScrollArea::mousePressEvent(event);
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::LeftButton)
        OnLeftDown(pos.x(), pos.y());
    else if (event->button() == Qt::RightButton)
        OnRightDown(pos.x(), pos.y());
}

void QvChart::OnLeftDown(int x, int y)
{
    setFocus(Qt::MouseFocusReason);
    m_bColumnDrag = false;
    m_nColumnDragStart = 0;
    m_nColumnDragMin = 0;
    int edge = -m_nScrollX;
    for (const int width : m_colWidths) {
        edge += width;
        if (std::abs(x - edge) <= BorderReach) {
            m_bColumnDrag = true;
            m_nColumnDragStart = edge;
            m_nColumnDragMin = -width;
            break;
        }
    }
    m_bRowDrag = false;
    m_nRowDragStart = 0;
    m_nRowDragMin = 0;
    edge = m_nHeaderHeight - m_nScrollY;
    for (const int height : m_rowHeights) {
        edge += height;
        if (std::abs(y - edge) <= BorderReach) {
            m_bRowDrag = true;
            m_nRowDragStart = edge;
            m_nRowDragMin = -height;
            break;
        }
    }
    if (m_bColumnDrag || m_bRowDrag || x >= m_nTotalWidth - m_nScrollX || y <= m_nHeaderHeight - m_nScrollY)
        return;
    bool hit = false;
    QvTree* row = m_body.HitTest(x, y, hit);
    if (!hit)
        return;
    m_pSelected = row;
    if (ColumnAt(x) == 1 && std::abs(x - row->m_nBoxX) <= m_nBoxHit)
        ToggleRow(row);
    Redraw();
}

void QvChart::ToggleRow(QvTree* row)
{
    QvTree::SetSubtreeVisible(row, !row->m_bExpanded);
    row->ToggleExpanded();
    m_nLayoutCount = 0;
    m_pLastNode = nullptr;
    RelayoutRows(0, 0);
}

void QvChart::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (m_nKind != KindTreeList || event->button() != Qt::LeftButton)
        return QAbstractScrollArea::mouseDoubleClickEvent(event);
    const QPoint pos = event->position().toPoint();
    if (pos.y() <= m_nHeaderHeight - m_nScrollY)
        return;
    bool hit = false;
    QvTree* row = m_body.HitTest(pos.x(), pos.y(), hit);
    if (hit) {
        ToggleRow(row);
        Redraw();
    }
}

void QvChart::OnRightDown(int x, int y)
{
    if (y <= m_nHeaderHeight - m_nScrollY)
        return;
    bool hit = false;
    QvTree* row = m_body.HitTest(x, y, hit);
    if (!hit)
        return;
    m_pSelected = row;
    const int column = std::max(ColumnAt(x), 0);
    Redraw();
    PressColumnButton(column);
}

void QvChart::PressColumnButton(int column)
{
    if (column >= m_colButtons.size() || m_colButtons[column] <= 0 || !m_findControl)
        return;
    auto* button = qobject_cast<QAbstractButton*>(m_findControl(ControlIdBase + m_colButtons[column]));
    if (button && button->isEnabled())
        button->click();
}

void QvChart::mouseMoveEvent(QMouseEvent* event)
{
    if (m_nKind != KindTreeList)
        return QAbstractScrollArea::mouseMoveEvent(event);
    const QPoint pos = event->position().toPoint();
    viewport()->setCursor(CursorAt(pos.x(), pos.y()));
    m_nDragX = std::max(pos.x(), m_nColumnDragStart + m_nColumnDragMin);
    m_nDragY = std::max(pos.y(), m_nRowDragStart + m_nRowDragMin);
    Redraw();
}

Qt::CursorShape QvChart::CursorAt(int x, int y) const
{
    Qt::CursorShape shape = viewport()->cursor().shape();
    bool onColumn = false;
    int edge = -m_nScrollX;
    for (const int width : m_colWidths) {
        edge += width;
        onColumn = onColumn || std::abs(x - edge) <= BorderReach;
    }
    if (onColumn)
        shape = Qt::SizeHorCursor;
    else if (!m_bColumnDrag)
        shape = Qt::ArrowCursor;
    if (y > m_nHeaderHeight - m_nScrollY && x <= m_nTotalWidth) {
        bool onRow = false;
        edge = m_nHeaderHeight - m_nScrollY;
        for (const int height : m_rowHeights) {
            edge += height;
            onRow = onRow || std::abs(y - edge) <= BorderReach;
        }
        if (onRow)
            shape = Qt::SizeVerCursor;
        else if (!m_bRowDrag)
            shape = Qt::ArrowCursor;
    }
    return shape;
}

void QvChart::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::LeftButton && !viewport()->rect().contains(pos)
        && rect().contains(viewport()->mapTo(this, pos))) {
        ShowMessage(ChartTexts::NonClientRelease);
        // A drag let go over a scroll bar ends there; left running it would
        // follow the mouse until the next click.
        if (m_nKind == KindTreeList)
            OnLeftUp(pos.x(), pos.y());
        return;
    }
    if (m_nKind != KindTreeList || event->button() != Qt::LeftButton)
        return QAbstractScrollArea::mouseReleaseEvent(event);
    OnLeftUp(pos.x(), pos.y());
}

void QvChart::OnLeftUp(int x, int y)
{
    if (m_bColumnDrag) {
        const int end = std::max(x, m_nColumnDragStart + m_nColumnDragMin);
        m_pLastNode = nullptr;
        // The header lies in content coordinates; the dragged border was
        // found on the scrolled view.
        ShiftColumnEdges(&m_header, m_nColumnDragStart + m_nScrollX, end - m_nColumnDragStart);
    }
    if (m_bRowDrag) {
        const int end = std::max(y, m_nRowDragStart + m_nRowDragMin);
        m_nLayoutCount = 0;
        m_pLastNode = nullptr;
        RelayoutRows(m_nRowDragStart, end - m_nRowDragStart);
    }
    m_bColumnDrag = false;
    m_bRowDrag = false;
    m_nColumnDragStart = m_nColumnDragMin = 0;
    m_nRowDragStart = m_nRowDragMin = 0;
    m_nDragX = m_nDragY = 0;
    Redraw();
}

void QvChart::ShiftColumnEdges(QvTree* node, int edge, int delta)
{
    m_pLastNode = node;
    if (node->m_nLeft == edge && node->m_nRight == edge) {
        if (delta <= 0) {
            node->m_nLeft += delta;
            node->m_nRight += delta;
        } else {
            node->m_nWidth += delta;
            node->m_nRight += delta;
            if (node->m_pNext && node->m_pNext->m_nWidth <= 0) {
                node->m_nWidth -= delta;
                node->m_nRight -= delta;
            } else {
                ShiftColumnEdgesOf(&m_header, edge, delta, node);
            }
        }
    } else if (node->m_nLeft < edge && edge <= node->m_nRight) {
        node->m_nWidth += delta;
        node->m_nRight += delta;
    } else if (node->m_nLeft >= edge) {
        node->m_nLeft += delta;
        node->m_nRight += delta;
    }
    for (int i = 0; i < node->ChildCount(); ++i)
        ShiftColumnEdges(node->Child(i), edge, delta);
}

void QvChart::ShiftColumnEdgesOf(QvTree* node, int edge, int delta, const QvTree* grown)
{
    if (node == grown || node->m_nBottom > grown->m_nBottom)
        return;
    if (node->m_nRight - delta == edge || node->m_nLeft - delta == edge) {
        if (node->m_nBottom == grown->m_nBottom) {
            node->m_nWidth -= delta;
            node->m_nRight -= delta;
        } else if (grown->IsWithin(node)) {
            if (node->m_nLeft >= grown->m_nLeft && grown->m_nRight < node->m_nRight) {
                node->m_nWidth += delta;
                node->m_nLeft -= delta;
            }
        } else if (node->m_nRight >= grown->m_nLeft) {
            node->m_nWidth -= delta;
            node->m_nRight -= delta;
        }
    }
    for (int i = 0; i < node->ChildCount(); ++i)
        ShiftColumnEdgesOf(node->Child(i), edge, delta, grown);
}

void QvChart::RelayoutRows(int edge, int delta)
{
    QvTree::WalkPreOrder(&m_body, [&](QvTree* node) {
        RelayoutRow(node, edge, delta);
        return true;
    });
}

void QvChart::RelayoutRow(QvTree* node, int edge, int delta)
{
    ++m_nLayoutCount;
    if (node->m_pParent) {
        if (!node->m_bVisible || !node->m_pParent->m_bExpanded) {
            node->m_nHeight = 0;
            node->m_bVisible = false;
        } else if (m_nLayoutCount > 1) {
            if (node->m_nTop < edge && node->m_nBottom == edge) {
                node->m_nHeight += delta;
                node->m_nSavedHeight = node->m_nHeight;
            } else if (node->m_nHeight == 0 && node->m_nTop == edge && delta > 0) {
                node->m_nHeight += delta;
                node->m_nSavedHeight = node->m_nHeight;
                if (m_pLastNode && m_pLastNode != &m_body) {
                    m_pLastNode->m_nHeight -= delta;
                    m_pLastNode->m_nSavedHeight = m_pLastNode->m_nHeight;
                }
            }
        }
    }
    m_pLastNode = node;
}

void QvChart::wheelEvent(QWheelEvent* event)
{
    const int delta = event->angleDelta().y();
    if (m_nKind != KindTreeList || viewport()->height() >= m_nHeaderHeight + m_nBodyHeight) {
        event->ignore();
        return;
    }
    event->accept();
    if (delta == 0)
        return;
    QScrollBar* bar = verticalScrollBar();
    bar->setValue(bar->value() + (delta < 0 ? WheelStep : -WheelStep));
    Redraw();
}

void QvChart::scrollContentsBy(int, int)
{
    m_nScrollX = horizontalScrollBar()->value();
    m_nScrollY = verticalScrollBar()->value();
    Redraw();
}

void QvChart::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    if (m_nKind != KindTreeList)
        return;
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
    m_nScrollX = m_nScrollY = 0;
    UpdateScrollBars();
    Redraw();
}

void QvChart::RequestScrollBarUpdate()
{
    // Showing or hiding a bar resizes the client area, which must not happen
    // inside a repaint.
    if (m_bScrollBarsPending)
        return;
    m_bScrollBarsPending = true;
    QTimer::singleShot(0, this, [this] {
        m_bScrollBarsPending = false;
        UpdateScrollBars();
    });
}

void QvChart::UpdateScrollBars()
{
    const QSize client = viewport()->size();
    const auto apply = [](QScrollBar* bar, int content, int page) {
        if (page < content) {
            bar->setPageStep(page);
            bar->setRange(0, content - page + 1);
        } else {
            bar->setRange(0, 0);
        }
        return page < content ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff;
    };
    const Qt::ScrollBarPolicy vertical =
        apply(verticalScrollBar(), m_nHeaderHeight + m_nBodyHeight, client.height());
    const Qt::ScrollBarPolicy horizontal = apply(horizontalScrollBar(), m_nTotalWidth, client.width());
    if (verticalScrollBarPolicy() != vertical)
        setVerticalScrollBarPolicy(vertical);
    if (horizontalScrollBarPolicy() != horizontal)
        setHorizontalScrollBarPolicy(horizontal);
}
