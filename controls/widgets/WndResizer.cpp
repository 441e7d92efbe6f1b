#include "WndResizer.h"

#include "ColorRef.h"
#include "WidgetTexts.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSizeGrip>
#include <QWidget>

#include <algorithm>
#include <functional>

namespace {

using CRect = CWndResizer::CRect;

// The grip of a splitter bar: its length along the bar and its squares.
constexpr int SplitterGripLength = 12;
constexpr int GripSquare = 2;
constexpr int GripStep = 4;

struct Axis
{
    unsigned start, end, centre, startGivesWay;
};
constexpr Axis Horizontal{CWndResizer::ANCHOR_LEFT, CWndResizer::ANCHOR_RIGHT,
                          CWndResizer::ANCHOR_HORIZONTALLY_CENTERED, CWndResizer::ANCHOR_PRIORITY_RIGHT};
constexpr Axis Vertical{CWndResizer::ANCHOR_TOP, CWndResizer::ANCHOR_BOTTOM,
                        CWndResizer::ANCHOR_VERTICALLY_CENTERED, CWndResizer::ANCHOR_PRIORITY_BOTTOM};

// Places one edge pair [childStart, childEnd) of a child inside its parent's
// [parentStart, parentEnd) by the child's anchors along one axis.
void LayoutAxis(const Axis& axis, unsigned anchor, int parentStart, int parentEnd, int marginStart, int marginEnd,
                int minSize, int maxSize, int& childStart, int& childEnd)
{
    const int size = childEnd - childStart;
    const int parentSize = parentEnd - parentStart;
    const auto limited = [&](int s) { return std::min(std::max(s, minSize), maxSize); };
    if (anchor & axis.centre) {
        const int fitted = limited(size);
        childStart = parentStart + (parentSize - fitted) / 2;
        childEnd = childStart + fitted;
    } else if ((anchor & axis.start) && (anchor & axis.end)) {
        childStart = parentStart + marginStart;
        childEnd = parentEnd - marginEnd;
        const int fitted = limited(childEnd - childStart);
        if (fitted != childEnd - childStart) {
            if (anchor & axis.startGivesWay)
                childStart = childEnd - fitted;
            else
                childEnd = childStart + fitted;
        }
    } else if (anchor & axis.end) {
        childEnd = parentEnd - marginEnd;
        childStart = childEnd - limited(size);
    } else {
        childStart = parentStart + marginStart;
        childEnd = childStart + limited(size);
    }
}

QRect ToQRect(const CRect& r)
{
    return QRect(r.left, r.top, r.Width(), r.Height());
}

CRect FromQRect(const QRect& r)
{
    return CRect{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

void ForEachPanel(CWndResizer::CPanel* panel, const std::function<void(CWndResizer::CPanel*)>& visit)
{
    visit(panel);
    for (CWndResizer::CPanel* child : panel->m_children)
        ForEachPanel(child, visit);
}

void RepaintArea(QWidget* window, const CRect& area)
{
    if (window && area.Width() > 0 && area.Height() > 0)
        window->update(ToQRect(area));
}

} // namespace

// ---- rectangles and panels --------------------------------------------------

bool CWndResizer::CRect::Intersects(const CRect& other) const
{
    return left < other.right && other.left < right && top < other.bottom && other.top < bottom;
}

CWndResizer::CPanel::~CPanel()
{
    for (CPanel* child : m_children)
        delete child;
}

void CWndResizer::CPanel::OnResized()
{
    for (CPanel* child : m_children) {
        CRect r = child->m_rect;
        LayoutAxis(Horizontal, child->m_nAnchor, m_rect.left, m_rect.right, child->m_nLeftOffset,
                   child->m_nRightOffset, child->m_minSize.width(), child->m_maxSize.width(), r.left, r.right);
        LayoutAxis(Vertical, child->m_nAnchor, m_rect.top, m_rect.bottom, child->m_nTopOffset,
                   child->m_nBottomOffset, child->m_minSize.height(), child->m_maxSize.height(), r.top, r.bottom);
        child->m_rect = r;
        child->OnResized();
    }
}

bool CWndResizer::CPanel::AddChild(CPanel* panel)
{
    if (panel->m_pParent && !panel->m_pParent->RemoveChild(panel))
        return false;
    panel->m_nLeftOffset = panel->m_rect.left - m_rect.left;
    panel->m_nTopOffset = panel->m_rect.top - m_rect.top;
    panel->m_nRightOffset = m_rect.right - panel->m_rect.right;
    panel->m_nBottomOffset = m_rect.bottom - panel->m_rect.bottom;
    panel->m_pParent = this;
    m_children.push_back(panel);
    return true;
}

bool CWndResizer::CPanel::RemoveChild(CPanel* panel)
{
    const auto found = std::find(m_children.begin(), m_children.end(), panel);
    if (found == m_children.end())
        return false;
    m_children.erase(found);
    panel->m_pParent = nullptr;
    return true;
}

bool CWndResizer::CPanel::SetAnchor(unsigned anchor)
{
    if (!(anchor & (ANCHOR_TOP | ANCHOR_BOTTOM | ANCHOR_VERTICALLY_CENTERED)))
        anchor |= ANCHOR_TOP;
    if (!(anchor & (ANCHOR_LEFT | ANCHOR_RIGHT | ANCHOR_HORIZONTALLY_CENTERED)))
        anchor |= ANCHOR_LEFT;
    m_nAnchor = anchor;
    return true;
}

bool CWndResizer::CPanel::SetMinSize(const QSize& size)
{
    if (size.width() > m_maxSize.width() || size.height() > m_maxSize.height())
        return false;
    m_minSize = size;
    return true;
}

bool CWndResizer::CPanel::SetMaxSize(const QSize& size)
{
    if (size.width() < m_minSize.width() || size.height() < m_minSize.height())
        return false;
    m_maxSize = size;
    return true;
}

QString CWndResizer::CPanel::ToString() const
{
    return QString::fromLatin1(WidgetTexts::PanelDescription)
        .arg(m_strName, GetTypeName())
        .arg(m_nAnchor)
        .arg(m_rect.Width())
        .arg(m_rect.Height())
        .arg(m_rect.left)
        .arg(m_rect.top)
        .arg(m_rect.right)
        .arg(m_rect.bottom)
        .arg(m_minSize.width())
        .arg(m_minSize.height())
        .arg(m_maxSize.width())
        .arg(m_maxSize.height())
        .arg(m_pParent ? m_pParent->m_strName : QString::fromLatin1(WidgetTexts::NoParent))
        .arg(m_children.size());
}

QString CWndResizer::CPanel::GetTypeName() const
{
    return QStringLiteral("CPanel");
}

QWidget* CWndResizer::CPanel::GetHookedWnd() const
{
    return m_pParent ? m_pParent->GetHookedWnd() : nullptr;
}

QString CWndResizer::CRootPanel::GetTypeName() const
{
    return QStringLiteral("CRootPanel");
}

QWidget* CWndResizer::CRootPanel::GetHookedWnd() const
{
    return m_pHookWnd;
}

QString CWndResizer::CUIPanel::GetTypeName() const
{
    return QStringLiteral("CUIPanel");
}

void CWndResizer::CVisualPanel::OnResized()
{
    CPanel::OnResized();
    QWidget* window = GetHookedWnd();
    RepaintArea(window, m_rcPrev);
    RepaintArea(window, m_rect);
    m_rcPrev = m_rect;
}

QString CWndResizer::CVisualPanel::GetTypeName() const
{
    return QStringLiteral("CVisualPanel");
}

QString CWndResizer::CGripperPanel::GetTypeName() const
{
    return QStringLiteral("CGripperPanel");
}

void CWndResizer::CGripperPanel::Draw(QPainter& dc)
{
    QWidget* window = GetHookedWnd();
    if (!window)
        return;
    QStyleOptionSizeGrip grip;
    grip.initFrom(window);
    grip.rect = ToQRect(m_rect);
    grip.corner = Qt::BottomRightCorner;
    window->style()->drawControl(QStyle::CE_SizeGrip, &grip, &dc, window);
}

QString CWndResizer::CSplitterGripperPanel::GetTypeName() const
{
    return QStringLiteral("CSplitterGripperPanel");
}

void CWndResizer::CSplitterGripperPanel::Draw(QPainter& dc)
{
    // Raised dots along the grip: lit squares one pixel off, shaded ones on
    // the line.
    const bool down = m_nOrientation == SPLIT_CONTAINER_H;
    const int end = down ? m_rect.bottom : m_rect.right;
    const auto squares = [&](int offset, const QColor& colour) {
        for (int along = (down ? m_rect.top : m_rect.left) + offset; along + GripSquare <= end; along += GripStep) {
            const QPoint at = down ? QPoint(m_rect.left + offset, along) : QPoint(along, m_rect.top + offset);
            dc.fillRect(QRect(at, QSize(GripSquare, GripSquare)), colour);
        }
    };
    squares(1, Qt::white);
    squares(0, GetSysColor(SysColor::BtnShadow));
}

CWndResizer::CSpitterPanel::CSpitterPanel(const CRect& rect, int orientation)
    : CPanel(rect), m_nOrientation(orientation)
{
    CRect grip;
    if (orientation == SPLIT_CONTAINER_H) {
        grip.left = grip.right = rect.left + rect.Width() / 2;
        grip.top = rect.top + (rect.Height() - SplitterGripLength) / 2;
        grip.bottom = grip.top + SplitterGripLength;
    } else {
        grip.top = grip.bottom = rect.top + rect.Height() / 2;
        grip.left = rect.left + (rect.Width() - SplitterGripLength) / 2;
        grip.right = grip.left + SplitterGripLength;
    }
    m_pGrippePanel = new CSplitterGripperPanel(grip, orientation);
    m_pGrippePanel->m_minSize = QSize(2, 2);
    m_pGrippePanel->m_nAnchor = ANCHOR_HORIZONTALLY_CENTERED | ANCHOR_VERTICALLY_CENTERED;
    CPanel::AddChild(m_pGrippePanel);
}

QString CWndResizer::CSpitterPanel::GetTypeName() const
{
    return QStringLiteral("CSpitterPanel");
}

CWndResizer::CSplitPanel::CSplitPanel(CPanel* panel) : CPanel(panel->m_rect), m_pOriginalPanel(panel)
{
    m_strName = panel->m_strName;
    m_minSize = panel->m_minSize;
    m_maxSize = panel->m_maxSize;
    panel->m_strName.clear();
    panel->m_nAnchor = ANCHOR_ALL;
    CPanel::AddChild(panel);
}

bool CWndResizer::CSplitPanel::AddChild(CPanel* panel)
{
    return m_pOriginalPanel->AddChild(panel);
}

bool CWndResizer::CSplitPanel::RemoveChild(CPanel* panel)
{
    return m_pOriginalPanel->RemoveChild(panel);
}

bool CWndResizer::CSplitPanel::SetAnchor(unsigned)
{
    return false;
}

QString CWndResizer::CSplitPanel::GetTypeName() const
{
    return QStringLiteral("CSplitPanel");
}

CWndResizer::CSplitContainer::CSplitContainer(CSplitPanel* first, CSplitPanel* second, int orientation)
    : m_nOrientation(orientation), m_pPanel1(first), m_pPanel2(second)
{
    const CRect& a = first->m_rect;
    const CRect& b = second->m_rect;
    m_rect = CRect{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                   std::max(a.bottom, b.bottom)};
    CRect bar = m_rect;
    if (orientation == SPLIT_CONTAINER_H) {
        bar.left = a.right;
        bar.right = b.left;
        m_nSplitterSize = bar.Width();
        first->m_nAnchor = ANCHOR_LEFT | ANCHOR_TOP | ANCHOR_BOTTOM;
        second->m_nAnchor = ANCHOR_TOP | ANCHOR_RIGHT | ANCHOR_BOTTOM;
        m_nRatio = m_rect.Width() ? double(a.Width()) / m_rect.Width() : 0.5;
    } else {
        bar.top = a.bottom;
        bar.bottom = b.top;
        m_nSplitterSize = bar.Height();
        first->m_nAnchor = ANCHOR_LEFT | ANCHOR_TOP | ANCHOR_RIGHT;
        second->m_nAnchor = ANCHOR_LEFT | ANCHOR_RIGHT | ANCHOR_BOTTOM;
        m_nRatio = m_rect.Height() ? double(a.Height()) / m_rect.Height() : 0.5;
    }
    m_pSplitter = new CSpitterPanel(bar, orientation);
    CPanel::AddChild(first);
    CPanel::AddChild(m_pSplitter);
    CPanel::AddChild(second);
}

void CWndResizer::CSplitContainer::OnResized()
{
    CPanel::OnResized();
    CRect& first = m_pPanel1->m_rect;
    CRect& second = m_pPanel2->m_rect;
    CRect& bar = m_pSplitter->m_rect;
    if (m_nOrientation == SPLIT_CONTAINER_H) {
        if (m_rect.Width() < m_minSize.width())
            return;
        first.right = first.left + int(m_nRatio * m_rect.Width());
        if (first.Width() < m_pPanel1->m_minSize.width())
            first.right = first.left + m_pPanel1->m_minSize.width();
        second.left = first.right + m_nSplitterSize;
        if (second.Width() < m_pPanel2->m_minSize.width()) {
            second.left = second.right - m_pPanel2->m_minSize.width();
            first.right = second.left - m_nSplitterSize;
        }
        bar = CRect{first.right, m_rect.top, second.left, m_rect.bottom};
    } else {
        if (m_rect.Height() < m_minSize.height())
            return;
        first.bottom = first.top + int(m_nRatio * m_rect.Height());
        if (first.Height() < m_pPanel1->m_minSize.height())
            first.bottom = first.top + m_pPanel1->m_minSize.height();
        second.top = first.bottom + m_nSplitterSize;
        if (second.Height() < m_pPanel2->m_minSize.height()) {
            second.top = second.bottom - m_pPanel2->m_minSize.height();
            first.bottom = second.top - m_nSplitterSize;
        }
        bar = CRect{m_rect.left, first.bottom, m_rect.right, second.top};
    }
    m_pPanel1->OnResized();
    m_pPanel2->OnResized();
    m_pSplitter->OnResized();
}

bool CWndResizer::CSplitContainer::AddChild(CPanel* panel)
{
    if (m_children.size() >= 3)
        return false;
    return CPanel::AddChild(panel);
}

bool CWndResizer::CSplitContainer::RemoveChild(CPanel*)
{
    return false;
}

QString CWndResizer::CSplitContainer::GetTypeName() const
{
    return QStringLiteral("CSplitContainer");
}

// ---- the resizer ------------------------------------------------------------

CWndResizer::CWndResizer()
{
    m_root.m_strName = QString::fromLatin1(WidgetTexts::RootPanelName);
}

CWndResizer::~CWndResizer()
{
    Unhook();
}

bool CWndResizer::Hook(QWidget* dialog, ControlLookup lookup)
{
    if (!dialog)
        return false;
    Unhook();
    m_pHookedWnd = dialog;
    m_lookup = std::move(lookup);
    m_root.m_pHookWnd = dialog;
    m_root.m_rect = LayoutArea();

    const int gripWidth = dialog->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, dialog);
    const CRect& area = m_root.m_rect;
    auto* grip = new CGripperPanel(CRect{area.right - gripWidth, area.bottom - gripWidth, area.right, area.bottom});
    grip->m_strName = QString::fromLatin1(WidgetTexts::ResizeGripName);
    grip->m_nAnchor = ANCHOR_RIGHT | ANCHOR_BOTTOM;
    m_root.AddChild(grip);

    dialog->installEventFilter(this);
    dialog->setMouseTracking(true);
    connect(dialog, &QObject::destroyed, this, &CWndResizer::Unhook);
    return true;
}

void CWndResizer::Unhook()
{
    if (m_pHookedWnd) {
        m_pHookedWnd->removeEventFilter(this);
        disconnect(m_pHookedWnd, nullptr, this, nullptr);
    }
    m_pHookedWnd = nullptr;
    m_root.m_pHookWnd = nullptr;
    m_pSplitterPanel = nullptr;
    m_bDragging = false;
    for (CPanel* child : m_root.m_children)
        delete child;
    m_root.m_children.clear();
}

void CWndResizer::SetLayoutAreaSource(AreaSource source)
{
    m_areaSource = std::move(source);
}

void CWndResizer::WatchScrollBar(QScrollBar* bar)
{
    if (bar)
        connect(bar, &QScrollBar::valueChanged, this, &CWndResizer::OnSize);
}

CWndResizer::CRect CWndResizer::LayoutArea() const
{
    if (!m_pHookedWnd)
        return {};
    return FromQRect(m_areaSource ? m_areaSource() : m_pHookedWnd->rect());
}

bool CWndResizer::InvokeOnResized()
{
    OnSize();
    return true;
}

void CWndResizer::OnSize()
{
    if (!m_pHookedWnd)
        return;
    CRect area = LayoutArea();
    area.right = area.left + std::clamp(area.Width(), m_root.m_minSize.width(), m_root.m_maxSize.width());
    area.bottom = area.top + std::clamp(area.Height(), m_root.m_minSize.height(), m_root.m_maxSize.height());
    m_root.m_rect = area;
    m_root.OnResized();
    MoveControls();
    ApplySizeLimits();
}

void CWndResizer::ApplySizeLimits()
{
    // The window's own frame keeps the dragged edge within the root's
    // limits, as far as the window allows them already.
    QWidget* window = m_pHookedWnd;
    if (!window || !window->isWindow())
        return;
    const QSize minimum = window->minimumSize().expandedTo(m_root.m_minSize);
    const QSize maximum = window->maximumSize().boundedTo(m_root.m_maxSize);
    if (minimum != window->minimumSize())
        window->setMinimumSize(minimum);
    if (maximum != window->maximumSize())
        window->setMaximumSize(maximum);
}

CWndResizer::CRect CWndResizer::ControlRect(QWidget* control) const
{
    QRect r = control->geometry();
    if (control->parentWidget() && control->parentWidget() != m_pHookedWnd)
        r.moveTopLeft(control->parentWidget()->mapTo(m_pHookedWnd, r.topLeft()));
    return FromQRect(r);
}

void CWndResizer::MoveControls()
{
    ForEachPanel(&m_root, [this](CPanel* panel) {
        auto* ui = dynamic_cast<CUIPanel*>(panel);
        QWidget* control = ui && m_lookup ? m_lookup(ui->m_nCtrlId) : nullptr;
        if (!control)
            return;
        QRect r = ToQRect(ui->m_rect);
        if (control->parentWidget() && control->parentWidget() != m_pHookedWnd)
            r.moveTopLeft(control->parentWidget()->mapFrom(m_pHookedWnd, r.topLeft()));
        control->setGeometry(r);
    });
    m_pHookedWnd->update();
}

bool CWndResizer::SetAnchor(int ctrlId, unsigned anchor)
{
    CPanel* panel = FindOrCreateUIPanel(ctrlId);
    return panel && panel->SetAnchor(anchor);
}

void CWndResizer::SetPanelAnchor(const QString& name, unsigned anchor)
{
    if (CPanel* panel = FindPanelByName(name))
        panel->SetAnchor(anchor);
}

CWndResizer::CPanel* CWndResizer::FindPanelByName(const QString& name)
{
    if (name.isEmpty())
        return nullptr;
    CPanel* found = nullptr;
    ForEachPanel(&m_root, [&](CPanel* panel) {
        if (!found && panel->m_strName.compare(name, Qt::CaseInsensitive) == 0)
            found = panel;
    });
    return found;
}

CWndResizer::CPanel* CWndResizer::FindOrCreateUIPanel(int ctrlId)
{
    QWidget* control = m_pHookedWnd && m_lookup ? m_lookup(ctrlId) : nullptr;
    if (!control)
        return nullptr;
    const QString name = QString::number(ctrlId);
    if (CPanel* panel = FindPanelByName(name))
        return panel;
    auto* panel = new CUIPanel(ControlRect(control), ctrlId);
    panel->m_strName = name;
    m_root.AddChild(panel);
    return panel;
}

bool CWndResizer::CreateSplitContainer(const QString& name, int firstCtrlId, int secondCtrlId)
{
    if (FindPanelByName(name))
        return false;
    CPanel* first = FindOrCreateUIPanel(firstCtrlId);
    CPanel* second = FindOrCreateUIPanel(secondCtrlId);
    if (!first || !second || first == second)
        return false;
    if (dynamic_cast<CSplitPanel*>(first) || dynamic_cast<CSplitPanel*>(second))
        return false;
    if (first->m_rect.Intersects(second->m_rect))
        return false;
    int orientation = 0;
    if (first->m_rect.right < second->m_rect.left)
        orientation = SPLIT_CONTAINER_H;
    else if (first->m_rect.bottom < second->m_rect.top)
        orientation = SPLIT_CONTAINER_V;
    else
        return false;
    if (!first->m_pParent->RemoveChild(first))
        return false;
    if (!second->m_pParent->RemoveChild(second)) {
        m_root.AddChild(first);
        return false;
    }
    auto* container = new CSplitContainer(new CSplitPanel(first), new CSplitPanel(second), orientation);
    container->m_strName = name;
    m_root.AddChild(container);
    return true;
}

bool CWndResizer::SetShowSplitterGrip(const QString& name, bool show)
{
    auto* container = dynamic_cast<CSplitContainer*>(FindPanelByName(name));
    if (!container)
        return false;
    container->m_pSplitter->m_pGrippePanel->m_bVisible = show;
    RepaintArea(m_pHookedWnd, container->m_pSplitter->m_rect);
    return true;
}

void CWndResizer::SetShowResizeGrip(bool show)
{
    auto* grip = dynamic_cast<CGripperPanel*>(FindPanelByName(QString::fromLatin1(WidgetTexts::ResizeGripName)));
    if (!grip || grip->m_bVisible == show)
        return;
    grip->m_bVisible = show;
    m_pHookedWnd->update();
}

// ---- events -------------------------------------------------------------------

bool CWndResizer::eventFilter(QObject* watched, QEvent* e)
{
    if (watched != m_pHookedWnd)
        return false;
    switch (e->type()) {
    case QEvent::Resize:
        OnSize();
        return false;
    case QEvent::Paint:
        Paint(e);
        return true;
    case QEvent::MouseMove: {
        const auto* mouse = static_cast<QMouseEvent*>(e);
        return OnMouseMove(mouse->position().toPoint(), mouse->buttons());
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        const auto* mouse = static_cast<QMouseEvent*>(e);
        return mouse->button() == Qt::LeftButton && OnButtonDown(mouse->position().toPoint());
    }
    case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(e);
        return mouse->button() == Qt::LeftButton && OnButtonUp(mouse->position().toPoint());
    }
    case QEvent::Leave:
        if (m_pSplitterPanel && !m_bDragging) {
            m_pSplitterPanel = nullptr;
            m_pHookedWnd->unsetCursor();
        }
        return false;
    default:
        return false;
    }
}

void CWndResizer::Paint(QEvent* e)
{
    // The window paints itself first; the grips go on top.
    static_cast<QObject*>(m_pHookedWnd.data())->event(e);
    QPainter dc(m_pHookedWnd);
    DrawVisuals(dc, &m_root);
}

void CWndResizer::DrawVisuals(QPainter& dc, CPanel* panel)
{
    if (auto* visual = dynamic_cast<CVisualPanel*>(panel); visual && visual->m_bVisible)
        visual->Draw(dc);
    for (CPanel* child : panel->m_children)
        DrawVisuals(dc, child);
}

CWndResizer::CSpitterPanel* CWndResizer::FindSplitterAt(CPanel* panel, const QPoint& pt)
{
    if (auto* splitter = dynamic_cast<CSpitterPanel*>(panel); splitter && splitter->m_rect.Contains(pt.x(), pt.y()))
        return splitter;
    for (CPanel* child : panel->m_children)
        if (CSpitterPanel* found = FindSplitterAt(child, pt))
            return found;
    return nullptr;
}

bool CWndResizer::OnMouseMove(const QPoint& pt, Qt::MouseButtons buttons)
{
    if (m_bDragging && (buttons & Qt::LeftButton)) {
        MoveSplitter(pt);
        return true;
    }
    if (m_pSplitterPanel && !m_pSplitterPanel->m_rect.Contains(pt.x(), pt.y())) {
        m_pSplitterPanel = nullptr;
        m_pHookedWnd->unsetCursor();
    }
    if (!m_pSplitterPanel) {
        m_pSplitterPanel = FindSplitterAt(&m_root, pt);
        if (m_pSplitterPanel)
            m_pHookedWnd->setCursor(m_pSplitterPanel->m_nOrientation == SPLIT_CONTAINER_H ? Qt::SizeHorCursor
                                                                                         : Qt::SizeVerCursor);
    }
    return false;
}

bool CWndResizer::OnButtonDown(const QPoint& pt)
{
    if (!m_pSplitterPanel)
        m_pSplitterPanel = FindSplitterAt(&m_root, pt);
    if (!m_pSplitterPanel)
        return false;
    m_bDragging = true;
    UpdateGrabOffset(pt);
    return true;
}

bool CWndResizer::OnButtonUp(const QPoint& pt)
{
    if (!m_bDragging)
        return false;
    m_bDragging = false;
    OnMouseMove(pt, Qt::NoButton);
    return true;
}

void CWndResizer::UpdateGrabOffset(const QPoint& pt)
{
    const CRect& bar = m_pSplitterPanel->m_rect;
    if (m_pSplitterPanel->m_nOrientation == SPLIT_CONTAINER_H)
        m_nGrabOffset = std::clamp(pt.x() - bar.left, 0, bar.Width());
    else
        m_nGrabOffset = std::clamp(pt.y() - bar.top, 0, bar.Height());
}

void CWndResizer::MoveSplitter(const QPoint& pt)
{
    auto* container = dynamic_cast<CSplitContainer*>(m_pSplitterPanel->m_pParent);
    if (!container)
        return;
    CRect& first = container->m_pPanel1->m_rect;
    CRect& second = container->m_pPanel2->m_rect;
    if (container->m_nOrientation == SPLIT_CONTAINER_H) {
        const int position = pt.x() - m_nGrabOffset;
        first.right = position;
        second.left = position + container->m_nSplitterSize;
        if (container->m_rect.Width() > 0)
            container->m_nRatio = double(first.Width()) / container->m_rect.Width();
        container->OnResized();
        if (container->m_rect.Width() > 0)
            container->m_nRatio = double(first.Width()) / container->m_rect.Width();
    } else {
        const int position = pt.y() - m_nGrabOffset;
        first.bottom = position;
        second.top = position + container->m_nSplitterSize;
        if (container->m_rect.Height() > 0)
            container->m_nRatio = double(first.Height()) / container->m_rect.Height();
        container->OnResized();
        if (container->m_rect.Height() > 0)
            container->m_nRatio = double(first.Height()) / container->m_rect.Height();
    }
    UpdateGrabOffset(pt);
    MoveControls();
}
