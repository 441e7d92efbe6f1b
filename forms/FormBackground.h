#pragma once

#include "text/ColorRectText.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QList>
#include <QString>

#include <optional>

class CXmlNode;
class QPainter;
class QSize;

// The background items of a form's head (head/bg/*): images, lines,
// rectangles, rounded rectangles, arrows and texts in client pixels. They are
// read once when the form opens, where a missing or malformed position has
// its message (once per form) and becomes the zero rectangle; every repaint
// then only draws.
class CFormBackground
{
public:
    // Reads the items of head/bg (none without them); images are loaded here.
    void Load(const CXmlNode& head);
    bool IsEmpty() const { return m_items.isEmpty(); }
    // Draws every item in document order over the client area.
    void Paint(QPainter& painter, const QSize& client) const;

private:
    struct Item
    {
        QString type;
        RectLTRB pos;
        int style = 0;
        int width = 0;
        QColor color;
        QString text;
        std::optional<QFont> font; // from the item's "font"; texts keep the last one
        QImage image;
    };

    // malformed is set when the item's position is not four numbers.
    static Item ReadItem(const CXmlNode& element, bool& malformed);
    static QImage LoadImage(const QString& source);
    static QFont FontOf(const QString& spec);

    void PaintImage(QPainter& painter, const Item& item, const QSize& client) const;
    void PaintLine(QPainter& painter, const Item& item, const QSize& client) const;
    void PaintArrow(QPainter& painter, const Item& item) const;
    void PaintText(QPainter& painter, const Item& item, const QSize& client, QFont& font) const;

    QList<Item> m_items;
};
