#include "BCMenu.h"

#include <QList>

namespace {

// Sub-menus made by any BCMenu, for the ownership checks.
QList<const QMenu*>& Registry()
{
    static QList<const QMenu*> menus;
    return menus;
}

} // namespace

BCMenu::~BCMenu()
{
    for (const auto& sub : m_SubMenus)
        Registry().removeAll(sub->m_pMenu);
}

bool BCMenu::IsRegisteredMenu(const QMenu* menu)
{
    return menu && Registry().contains(menu);
}

bool BCMenu::IsRegisteredMenu(const BCMenu& menu)
{
    return IsRegisteredMenu(menu.m_pMenu);
}
