#include "BoardFixture.h"

#include "ChartTexts.h"

namespace BoardFixture {

namespace {

void BuildNode(const Column& column, QvTree& parent)
{
    QvTree templ;
    templ.m_nWidth = column.width;
    templ.m_nHeight = column.height;
    templ.m_nNumber = column.button >= 1 ? column.button : parent.m_nNumber;
    templ.m_item.m_nKind = std::max(column.kind, parent.m_item.m_nKind);
    templ.SetText(column.title);
    QvTree* node = parent.AddChild(templ);
    for (const Column& child : column.children)
        BuildNode(child, *node);
}

} // namespace

void BuildHeader(QvChart& board, const std::vector<Column>& columns)
{
    board.Header().m_strKey = ChartTexts::HeaderRootKey;
    for (const Column& column : columns)
        BuildNode(column, board.Header());
    board.CollectLeafColumns(&board.Header());
}

void BuildStandardHeader(QvChart& board)
{
    BuildHeader(board, {{QStringLiteral("序号"), 40, 30, 0, 0, {}},
                        {QStringLiteral("名称"), 200, 30, 0, 0, {}},
                        {QStringLiteral("备注"), 80, 30, 0, 7, {}},
                        {QStringLiteral("时段"), 1439, 30, 1, 0, {}}});
}

void PrepareBody(QvChart& board)
{
    board.SetKind(QvChart::KindTreeList);
    board.ClearTree();
    board.AdoptBody();
}

QvTree* AddRow(QvChart& board, const QString& parentKey, const QString& key, const QString& text, int height,
               const QStringList& items, const QString& colour)
{
    QvTree* parent = board.FindNode(parentKey);
    if (!parent)
        parent = &board.Body();
    QvTree templ;
    templ.m_strKey = key;
    templ.SetText(text);
    templ.m_nHeight = height;
    templ.m_nWidth = height;
    templ.m_item.m_strText3 = colour;
    QvTree* row = parent->AddChild(templ);
    for (const QString& item : items)
        row->AddItem(item);
    return row;
}

} // namespace BoardFixture
