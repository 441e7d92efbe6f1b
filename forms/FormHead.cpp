#include "FormHead.h"

#include "text/TextSplit.h"

#include <algorithm>
#include <climits>

namespace {

// Width kept free at the right edge of the screen for the main window.
constexpr int MainWindowWidth = 325;

} // namespace

CFormHead CFormHead::Read(const CXmlNode& head)
{
    CFormHead h;
    h.title = head.GetAttribute(QStringLiteral("title"));
    h.style = head.GetAttributeInt(QStringLiteral("style"), 0);
    h.pos = head.GetAttribute(QStringLiteral("pos"));
    h.drawMethod = head.GetAttribute(QStringLiteral("draw_method"));
    h.scroll = head.GetAttribute(QStringLiteral("scroll"));
    h.bg = head.GetAttributeInt(QStringLiteral("bg"), 0);
    h.threadId = head.GetAttributeInt(QStringLiteral("thread_id"), 0);
    h.timeSplit = head.GetAttributeInt(QStringLiteral("time_split"), 0);
    h.parentBtn = head.GetAttributeInt(QStringLiteral("parent_btn"), 0);
    h.inId = head.GetAttributeInt(QStringLiteral("in_id"), 0);
    QString inIdText;
    CXmlNode(head.GetChild(QStringLiteral("in_id"))).GetText(inIdText);
    h.inIdSwitch = TextToInt(inIdText) != 0;
    h.popup = head.GetAttribute(QStringLiteral("popup"));
    h.type = head.GetAttribute(QStringLiteral("type"));
    return h;
}

bool CFormHead::ReadPos(RectLTRB& rect) const
{
    if (pos == u"0")
        return false;
    QStringList parts;
    SplitString(pos, QStringLiteral(","), parts);
    rect = ParseRectText(pos); // shows the message for a wrong count
    return parts.size() == 4;
}

QList<int> CFormHead::ScrollSizes() const
{
    QList<int> sizes;
    SplitToInts(scroll, QStringLiteral(","), sizes);
    return sizes;
}

QRect CentredFormRect(const RectLTRB& pos, const QSize& screen)
{
    // In 64 bits: the numbers come from the description and may be anything.
    const qint64 spareX = qint64(screen.width()) + pos.left - pos.right - MainWindowWidth;
    const qint64 dx = spareX > 0 ? spareX / 2 : 0;
    const qint64 dy = (qint64(pos.top) + screen.height() - pos.bottom) / 2;
    const auto clamp = [](qint64 v) { return int(std::clamp<qint64>(v, INT_MIN / 2, INT_MAX / 2)); };
    return QRect(clamp(pos.left + dx), clamp(pos.top + dy), clamp(qint64(pos.right) - pos.left),
                 clamp(qint64(pos.bottom) - pos.top));
}
