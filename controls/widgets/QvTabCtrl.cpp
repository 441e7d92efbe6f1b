#include "QvTabCtrl.h"

#include <QPainter>
#include <QStyleOptionTabWidgetFrame>
#include <QTabBar>

CQvTabCtrl::CQvTabCtrl(QWidget* parent) : QWidget(parent), m_tabs(new QTabBar(this))
{
    m_tabs->setDrawBase(false);
    m_tabs->setExpanding(false);
    m_tabs->move(0, 0);
    setFocusPolicy(Qt::TabFocus);
    setFocusProxy(m_tabs);
    connect(m_tabs, &QTabBar::currentChanged, this, &CQvTabCtrl::OnSelChange);
}

void CQvTabCtrl::AddPage(QWidget* page, const QString& name, unsigned id)
{
    m_pages.append(page);
    m_names.append(name);
    m_ids.append(id);
}

void CQvTabCtrl::SetPageCreator(PageCreator creator)
{
    m_creator = std::move(creator);
}

void CQvTabCtrl::CreatePages()
{
    const QSignalBlocker quiet(m_tabs);
    for (int i = 0; i < m_pages.size(); ++i) {
        QWidget* page = m_pages.at(i);
        if (page) {
            page->setParent(this, Qt::Widget);
            if (m_creator)
                m_creator(page, i);
        }
        m_tabs->addTab(m_names.at(i));
    }
    m_tabs->resize(m_tabs->sizeHint());
    m_nCurrentPage = m_pages.isEmpty() ? -1 : 0;
    m_tabs->setCurrentIndex(m_nCurrentPage);
    for (int i = 0; i < m_pages.size(); ++i)
        if (m_pages.at(i))
            m_pages.at(i)->setVisible(i == 0);
    LayoutPages();
}

QWidget* CQvTabCtrl::GetPage(int index) const
{
    return index >= 0 && index < m_pages.size() ? m_pages.at(index).data() : nullptr;
}

int CQvTabCtrl::GetCurSel() const
{
    return m_tabs->currentIndex();
}

void CQvTabCtrl::SetCurSel(int index)
{
    m_tabs->setCurrentIndex(index);
}

QRect CQvTabCtrl::PageArea() const
{
    // Just inside the frame below the tab row.
    const QRect client = rect();
    const QRect tab = m_tabs->count() ? m_tabs->tabRect(0).translated(m_tabs->pos()) : QRect(0, 0, 0, 0);
    const int top = tab.bottom() + 1;
    return QRect(tab.left() + 1, top + 1, client.width() - tab.left() - 2, client.height() - top - 2);
}

void CQvTabCtrl::LayoutPages()
{
    m_tabs->resize(qMin(m_tabs->sizeHint().width(), width()), m_tabs->sizeHint().height());
    const QRect area = PageArea();
    const int selected = m_tabs->currentIndex();
    for (int i = 0; i < m_pages.size(); ++i) {
        QWidget* page = m_pages.at(i);
        if (!page)
            continue;
        page->setGeometry(area);
        page->raise();
        page->setVisible(i == selected);
    }
    update();
}

void CQvTabCtrl::OnSelChange(int index)
{
    if (index == m_nCurrentPage)
        return;
    if (QWidget* old = GetPage(m_nCurrentPage))
        old->hide();
    m_nCurrentPage = index;
    if (QWidget* page = GetPage(index))
        page->show();
}

void CQvTabCtrl::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    LayoutPages();
}

void CQvTabCtrl::paintEvent(QPaintEvent*)
{
    QPainter dc(this);
    QStyleOptionTabWidgetFrame frame;
    frame.initFrom(this);
    const int top = m_tabs->count() ? m_tabs->geometry().bottom() + 1 : 0;
    frame.rect = QRect(0, top, width(), height() - top);
    frame.tabBarSize = m_tabs->size();
    frame.tabBarRect = m_tabs->geometry();
    frame.shape = QTabBar::RoundedNorth;
    style()->drawPrimitive(QStyle::PE_FrameTabWidget, &frame, &dc, this);
}
