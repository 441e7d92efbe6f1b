#pragma once

#include <QSize>
#include <QString>

#include <memory>
#include <vector>

#include "ColorRef.h"

class QMenu;

// One owner-drawn menu item.
struct BCMenuData
{
    QString m_strText;
};

// The drop-down menu an owner-drawn button carries. Nothing in this program
// fills one: the button keeps it so that its menu handlers can ask whether a
// menu is one of ours, and fall back to the default handling when not (which
// is always, as the registry stays empty).
class BCMenu
{
public:
    BCMenu() = default;
    ~BCMenu();
    BCMenu(const BCMenu&) = delete;
    BCMenu& operator=(const BCMenu&) = delete;

    // True when the menu is a sub-menu some BCMenu made.
    static bool IsRegisteredMenu(const QMenu* menu);
    static bool IsRegisteredMenu(const BCMenu& menu);

    // The menu this object holds; none until a menu is loaded into it.
    QMenu* GetMenu() const { return m_pMenu; }
    QSize GetIconSize() const { return m_iconSize; }
    COLORREF GetBitmapBackground() const { return m_bitmapBackground; }
    int GetItemCount() const { return int(m_MenuItems.size()); }

private:
    QMenu* m_pMenu = nullptr;
    std::vector<std::unique_ptr<BCMenuData>> m_MenuItems;
    std::vector<std::unique_ptr<BCMenu>> m_SubMenus;
    QSize m_iconSize{16, 16};
    COLORREF m_bitmapBackground = MakeColorRef(192, 192, 192);
};
