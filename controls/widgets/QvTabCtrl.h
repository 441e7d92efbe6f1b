#pragma once

#include <QList>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>

class QTabBar;

// The tab control of form "panel" elements: a row of tabs over a display
// area, each tab showing one page window (a form window of its own). Only
// the page of the selected tab is visible; pages fill the area below the
// tab row and follow the control's size. Selecting a tab by mouse or by
// keyboard switches the page.
//
// Use: AddPage for every page (the control does not own the page objects;
// they become its child windows), then CreatePages once.
class CQvTabCtrl : public QWidget
{
    Q_OBJECT

public:
    // Runs once per page inside CreatePages, after the page has become a
    // child window of the tab control and before its tab is made: the form
    // builder builds the page's controls and starts the page here.
    using PageCreator = std::function<void(QWidget* page, int index)>;

    explicit CQvTabCtrl(QWidget* parent = nullptr);

    void AddPage(QWidget* page, const QString& name, unsigned id);
    void SetPageCreator(PageCreator creator);
    void CreatePages();
    void LayoutPages();

    int GetPageCount() const { return int(m_pages.size()); }
    QWidget* GetPage(int index) const;
    QString GetPageName(int index) const { return m_names.value(index); }
    unsigned GetPageId(int index) const { return m_ids.value(index); }
    // The page shown (−1 before CreatePages) and the selected tab.
    int GetCurrentPage() const { return m_nCurrentPage; }
    int GetCurSel() const;
    void SetCurSel(int index);
    QTabBar* GetTabBar() const { return m_tabs; }

protected:
    void resizeEvent(QResizeEvent* e) override;
    void paintEvent(QPaintEvent* e) override;

private:
    void OnSelChange(int index);
    QRect PageArea() const;

    int m_nCurrentPage = 0;
    QList<QPointer<QWidget>> m_pages;
    QList<QString> m_names;
    QList<unsigned> m_ids;
    QTabBar* m_tabs = nullptr;
    PageCreator m_creator;
};
