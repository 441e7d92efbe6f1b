#pragma once

#include <QObject>
#include <QPointer>
#include <QSize>
#include <QString>

#include <functional>
#include <list>

class QPainter;
class QScrollBar;
class QWidget;

// Keeps the controls of a dialog in place while the dialog is resized or
// scrolled. Every control sits in a panel anchored to edges of its parent
// panel, keeping its distances to them; two controls can be joined into a
// split container whose bar between them the user drags; a size grip can be
// drawn in the bottom-right corner.
//
// Use: Hook the dialog first (giving the lookup from control ids to
// widgets), then SetAnchor / CreateSplitContainer / SetPanelAnchor /
// SetShowSplitterGrip / SetShowResizeGrip, and last InvokeOnResized. The
// resizer must not outlive the dialog's controls; a member of the dialog's
// class is right. Controls are looked up on every layout, so a control that
// is gone is skipped.
class CWndResizer : public QObject
{
    Q_OBJECT

public:
    // Anchor flags.
    static constexpr unsigned ANCHOR_LEFT = 0x1;
    static constexpr unsigned ANCHOR_TOP = 0x2;
    static constexpr unsigned ANCHOR_RIGHT = 0x4;
    static constexpr unsigned ANCHOR_BOTTOM = 0x8;
    static constexpr unsigned ANCHOR_HORIZONTALLY_CENTERED = 0x10;
    static constexpr unsigned ANCHOR_VERTICALLY_CENTERED = 0x20;
    // With both left and right: the left edge gives way to the size limits.
    static constexpr unsigned ANCHOR_PRIORITY_RIGHT = 0x40;
    // With both top and bottom: the top edge gives way.
    static constexpr unsigned ANCHOR_PRIORITY_BOTTOM = 0x80;
    static constexpr unsigned ANCHOR_ALL = 0xF;

    // Split orientations: panes side by side (the bar is vertical), or one
    // above the other.
    static constexpr int SPLIT_CONTAINER_H = 1;
    static constexpr int SPLIT_CONTAINER_V = 2;

    // Edges in the hooked window's coordinates; right and bottom are
    // exclusive.
    struct CRect
    {
        int left = 0, top = 0, right = 0, bottom = 0;
        int Width() const { return right - left; }
        int Height() const { return bottom - top; }
        bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
        bool Intersects(const CRect& other) const;
        bool operator==(const CRect&) const = default;
    };

    class CPanel
    {
    public:
        CPanel() = default;
        explicit CPanel(const CRect& rect) : m_rect(rect) {}
        virtual ~CPanel();
        CPanel(const CPanel&) = delete;
        CPanel& operator=(const CPanel&) = delete;

        // Lays the children out in this panel's rectangle.
        virtual void OnResized();
        // Moves the panel here from its former parent (false when that
        // refuses), taking its margins from the two rectangles.
        virtual bool AddChild(CPanel* panel);
        virtual bool RemoveChild(CPanel* panel);
        // Adds top when no vertical flag is given, left when no horizontal.
        virtual bool SetAnchor(unsigned anchor);
        virtual bool SetMinSize(const QSize& size);
        virtual bool SetMaxSize(const QSize& size);
        virtual QString ToString() const;
        virtual QString GetTypeName() const;
        virtual QWidget* GetHookedWnd() const;

        CRect m_rect;
        unsigned m_nAnchor = ANCHOR_LEFT | ANCHOR_TOP;
        QString m_strName;
        CPanel* m_pParent = nullptr;
        std::list<CPanel*> m_children; // owned
        int m_nLeftOffset = 0, m_nTopOffset = 0, m_nRightOffset = 0, m_nBottomOffset = 0;
        QSize m_minSize{10, 10};
        QSize m_maxSize{100000, 100000};
    };

    class CRootPanel : public CPanel
    {
    public:
        QString GetTypeName() const override;
        QWidget* GetHookedWnd() const override;
        QPointer<QWidget> m_pHookWnd;
    };

    class CUIPanel : public CPanel
    {
    public:
        CUIPanel(const CRect& rect, int ctrlId) : CPanel(rect), m_nCtrlId(ctrlId) {}
        QString GetTypeName() const override;
        int m_nCtrlId;
    };

    class CVisualPanel : public CPanel
    {
    public:
        using CPanel::CPanel;
        // Repaints where the panel was drawn and where it now lies.
        void OnResized() override;
        QString GetTypeName() const override;
        virtual void Draw(QPainter& dc) = 0;
        bool m_bVisible = false;
        CRect m_rcPrev;
    };

    // The size grip of the bottom-right corner.
    class CGripperPanel : public CVisualPanel
    {
    public:
        using CVisualPanel::CVisualPanel;
        QString GetTypeName() const override;
        void Draw(QPainter& dc) override;
    };

    // The dotted grip in the middle of a splitter bar.
    class CSplitterGripperPanel : public CVisualPanel
    {
    public:
        CSplitterGripperPanel(const CRect& rect, int orientation) : CVisualPanel(rect), m_nOrientation(orientation) {}
        QString GetTypeName() const override;
        void Draw(QPainter& dc) override;
        int m_nOrientation;
    };

    // The bar between the two panes of a split container.
    class CSpitterPanel : public CPanel
    {
    public:
        CSpitterPanel(const CRect& rect, int orientation);
        QString GetTypeName() const override;
        CSplitterGripperPanel* m_pGrippePanel = nullptr;
        int m_nOrientation;
    };

    // One pane of a split container, wrapping the panel it was made from.
    class CSplitPanel : public CPanel
    {
    public:
        explicit CSplitPanel(CPanel* panel);
        bool AddChild(CPanel* panel) override;
        bool RemoveChild(CPanel* panel) override;
        bool SetAnchor(unsigned anchor) override;
        QString GetTypeName() const override;
        CPanel* m_pOriginalPanel;
    };

    class CSplitContainer : public CPanel
    {
    public:
        CSplitContainer(CSplitPanel* first, CSplitPanel* second, int orientation);
        void OnResized() override;
        bool AddChild(CPanel* panel) override;
        bool RemoveChild(CPanel* panel) override;
        QString GetTypeName() const override;
        int m_nOrientation;
        CSplitPanel* m_pPanel1;
        CSplitPanel* m_pPanel2;
        int m_nSplitterSize = 0;
        double m_nRatio = 0.5;
        CSpitterPanel* m_pSplitter = nullptr;
    };

    // Finds the control of an id in the hooked window (null when none).
    using ControlLookup = std::function<QWidget*(int ctrlId)>;
    // The area the layout covers, in the hooked window's coordinates.
    using AreaSource = std::function<QRect()>;

    CWndResizer();
    ~CWndResizer() override;

    bool Hook(QWidget* dialog, ControlLookup lookup);
    // Lays everything out anew; true.
    bool InvokeOnResized();
    bool SetAnchor(int ctrlId, unsigned anchor);
    void SetPanelAnchor(const QString& name, unsigned anchor);
    bool CreateSplitContainer(const QString& name, int firstCtrlId, int secondCtrlId);
    bool SetShowSplitterGrip(const QString& name, bool show);
    void SetShowResizeGrip(bool show);
    CPanel* FindPanelByName(const QString& name);
    // The panel of a control (for a control in a split container, its pane),
    // made when missing; none when the window has no such control.
    CPanel* FindOrCreateUIPanel(int ctrlId);

    // A window that scrolls its controls itself gives, before Hook, the
    // whole scrolled area moved by the scroll position (without one, the
    // window's rectangle is the area), and the bars whose every move lays the
    // controls out again.
    void SetLayoutAreaSource(AreaSource source);
    void WatchScrollBar(QScrollBar* bar);

    CRootPanel& Root() { return m_root; }
    QWidget* GetHookedWnd() const { return m_pHookedWnd; }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    CRect LayoutArea() const;
    void OnSize();
    void MoveControls();
    void ApplySizeLimits();
    void Paint(QEvent* e);
    void DrawVisuals(QPainter& dc, CPanel* panel);
    bool OnMouseMove(const QPoint& pt, Qt::MouseButtons buttons);
    bool OnButtonDown(const QPoint& pt);
    bool OnButtonUp(const QPoint& pt);
    void MoveSplitter(const QPoint& pt);
    void UpdateGrabOffset(const QPoint& pt);
    void Unhook();
    CSpitterPanel* FindSplitterAt(CPanel* panel, const QPoint& pt);
    CRect ControlRect(QWidget* control) const;

    QPointer<QWidget> m_pHookedWnd;
    CRootPanel m_root;
    ControlLookup m_lookup;
    AreaSource m_areaSource;
    CSpitterPanel* m_pSplitterPanel = nullptr;
    bool m_bDragging = false;
    int m_nGrabOffset = 0;
};
