#include "WidgetImages.h"

#include <QString>
#include <QtGlobal>

// The resource file lives in a static library: its registration must be
// asked for, or the linker may leave it out.
static void RegisterWidgetResources()
{
    Q_INIT_RESOURCE(widgets);
}

QImage LoadWidgetImage(int id)
{
    static const bool registered = (RegisterWidgetResources(), true);
    Q_UNUSED(registered);
    if (id >= IDB_MENU_COLOUR_FIRST && id <= IDB_MENU_COLOUR_LAST)
        return QImage(QStringLiteral(":/widgets/images/menu_colour_%1.png")
                          .arg(id - IDB_MENU_COLOUR_FIRST + 1, 2, 10, QLatin1Char('0')));
    const char* name = nullptr;
    switch (id) {
    case IDB_PAGE_LAST:
        name = "page_last";
        break;
    case IDB_PAGE_FIRST:
        name = "page_first";
        break;
    case IDB_PAGE_PREVIOUS:
        name = "page_previous";
        break;
    case IDB_PAGE_NEXT:
        name = "page_next";
        break;
    case IDI_BROWSE:
        name = "browse";
        break;
    default:
        return {};
    }
    return QImage(QStringLiteral(":/widgets/images/%1.png").arg(QLatin1String(name)));
}
