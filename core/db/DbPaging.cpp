#include "db/DbPaging.h"

#include "db/DbConnectText.h"

#include <QRegularExpression>
#include <QStringList>

#include <algorithm>

namespace
{
// The items of an order text, split at commas outside parentheses and quotes.
QStringList OrderItems(const QString& orderText)
{
    QStringList items;
    int depth = 0;
    QChar quote;
    qsizetype start = 0;
    for (qsizetype i = 0; i < orderText.size(); ++i) {
        const QChar c = orderText.at(i);
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == u'\'' || c == u'"' || c == u'[') {
            quote = c == u'[' ? QChar(u']') : c;
        } else if (c == u'(') {
            ++depth;
        } else if (c == u')') {
            depth = std::max(0, depth - 1);
        } else if (c == u',' && depth == 0) {
            items.append(orderText.mid(start, i - start));
            start = i + 1;
        }
    }
    items.append(orderText.mid(start));
    return items;
}

QString ReverseItem(const QString& item)
{
    static const QRegularExpression direction(QStringLiteral("\\s(ASC|DESC)\\s*$"),
                                              QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = direction.match(item);
    if (!match.hasMatch()) {
        if (item.trimmed().isEmpty())
            return item;
        qsizetype end = item.size();
        while (item.at(end - 1).isSpace())
            --end;
        return item.left(end) + QStringLiteral(" DESC") + item.mid(end);
    }
    const bool ascending = match.captured(1).compare(QStringLiteral("ASC"), Qt::CaseInsensitive) == 0;
    return item.left(match.capturedStart(1)) + (ascending ? QStringLiteral("DESC") : QStringLiteral("ASC"));
}
} // namespace

DbPage DbPageOf(int total, int pageSize, int pageNumber)
{
    DbPage page;
    const int size = std::max(1, pageSize);
    page.pageCount = total / size + (total % size > 0 ? 1 : 0);
    page.page = std::clamp(pageNumber, 1, std::max(1, page.pageCount));
    const qint64 end = qint64(size) * page.page;
    page.rows = end > total ? int(total - end + size) : size;
    page.outer = int(std::min<qint64>(end, total));
    return page;
}

QString DbPageSource(const QString& selectText, const QString& fromText)
{
    return u'(' + selectText + u' ' + fromText + QStringLiteral(") AS TABLE_A");
}

QString DbPageCountQuery(const QString& source)
{
    return QStringLiteral("SELECT count(1) as qv_counts FROM ") + source;
}

QString ReverseOrderText(const QString& orderText)
{
    QStringList items = OrderItems(orderText);
    for (QString& item : items)
        item = ReverseItem(item);
    return items.join(u',');
}

QString DbPageQuery(int kind, const QString& source, const QString& orderText, const DbPage& page)
{
    // Built by concatenation: the source and order texts may hold "%".
    if (kind == kDbSqlServer) {
        const QString inner = QStringLiteral("( SELECT Top ") + QString::number(page.rows)
            + QStringLiteral(" * FROM (SELECT Top ") + QString::number(page.outer)
            + QStringLiteral(" * FROM ") + source + QStringLiteral(" ORDER By ") + orderText
            + QStringLiteral(" ) DERIVEDTBL Order By ") + ReverseOrderText(orderText)
            + QStringLiteral(" ) DERIVEDTBL");
        return QStringLiteral("SELECT * FROM ") + inner + QStringLiteral(" Order By ") + orderText;
    }
    QString sql = QStringLiteral("SELECT * FROM ") + source;
    if (!orderText.trimmed().isEmpty())
        sql += QStringLiteral(" ORDER BY ") + orderText;
    return sql + QStringLiteral(" LIMIT ") + QString::number(page.rows) + QStringLiteral(" OFFSET ")
        + QString::number(qint64(page.outer) - page.rows);
}
