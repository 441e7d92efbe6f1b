#include "BusinessTexts.h"

#include "text/NumberText.h"

#include <QDate>
#include <QStringList>

namespace
{
const QStringList& ProductNames()
{
    static const QStringList names = {
        QStringLiteral("六角螺栓M8"), QStringLiteral("平垫圈12mm"), QStringLiteral("不锈钢合页"),
        QStringLiteral("Bolt M10x40"), QStringLiteral("PVC管DN25"),  QStringLiteral("铜球阀1/2寸"),
        QStringLiteral("办公椅-黑色"), QStringLiteral("A4复印纸"),   QStringLiteral("LED灯管T8"),
        QStringLiteral("Cable 3x2.5"), QStringLiteral("密封圈O型"),  QStringLiteral("轴承6204ZZ"),
    };
    return names;
}

const QStringList& ClerkNames()
{
    static const QStringList names = {
        QStringLiteral("Wang Fang"), QStringLiteral("Li Na"),     QStringLiteral("Zhang Wei"),
        QStringLiteral("张伟(销售)"), QStringLiteral("Liu Yang"), QStringLiteral("李娜-仓库"),
        QStringLiteral("Chen Jing"), QStringLiteral("Yang Min"),
    };
    return names;
}

// A text of its own, as a value read from a query is, not one shared with the list.
QString Copy(const QString& text)
{
    return QString(text.constData(), text.size());
}

QString Amount(double value)
{
    return FormatThousands(QString::number(value, 'f', 2));
}
} // namespace

QString BusinessText(int row, int column)
{
    switch (column) {
    case 0:
        return QStringLiteral("SO%1").arg(100000 + row % 900000);
    case 1:
        return Copy(ProductNames()[row % ProductNames().size()]);
    case 2:
        return QString::number(10 + row % 990) + QStringLiteral(".00");
    case 3:
        return Amount(10 + (row % 50000) / 7.0);
    case 4:
        return Amount(10 + (row * 37 % 9999999) / 100.0);
    case 5:
        return QDate(2024, 1, 1).addDays(row % 730).toString(QStringLiteral("yyyy-MM-dd"));
    case 6:
        return QStringLiteral("WH-%1").arg(10 + row % 90);
    default:
        return Copy(ClerkNames()[row % ClerkNames().size()]);
    }
}
