#pragma once

#include "text/ColorRectText.h"
#include "xml/XmlNode.h"

#include <QList>
#include <QRect>
#include <QSize>
#include <QString>

// The window settings of a form description's head, as read from the
// attributes of "head" (missing ones read as empty or 0).
struct CFormHead
{
    QString title;
    int style = 0;          // 1 maximised; 2 no maximise box, no sizing frame
    QString pos;            // "x1,y1,x2,y2"; "0" keeps the window's place
    QString drawMethod;     // "1" runs the animation
    QString scroll;         // "height[,width]" of the scrollable area
    int bg = 0;             // non-zero: button-face background
    int threadId = 0;       // control that timer 1 clicks
    int timeSplit = 0;      // period of timer 1 in milliseconds
    int parentBtn = 0;      // opener's control clicked on a requested close
    int inId = 0;           // control that receives the opener's input text
    bool inIdSwitch = false; // a child element in_id with a non-zero number
    QString popup;
    QString type;

    static CFormHead Read(const CXmlNode& head);

    bool HasTimer() const { return threadId > 0 && timeSplit > 0; }
    // The rectangle of "pos"; false for "0" and, after the message
    // "矩形数据格式错误", for a text that is not four numbers.
    bool ReadPos(RectLTRB& rect) const;
    // The scrollable height and, when given, width.
    QList<int> ScrollSizes() const;
};

// Where a form of that rectangle opens: width x2-x1 and height y2-y1,
// centred in the available screen area (325 pixels at the right kept for
// the main window) and shifted by x1, y1.
QRect CentredFormRect(const RectLTRB& pos, const QSize& screen);
