#pragma once

#include <QString>
#include <QtGlobal>

class CLiteHTMLTag;

// Receives what the reader finds. Each operation but the last may set stop
// to end the reading; the defaults clear it.
class ILiteHTMLReaderEvents
{
public:
    virtual ~ILiteHTMLReaderEvents() = default;

    virtual void OnBeginParse(quintptr userValue, bool& stop);
    virtual void OnStartTag(const CLiteHTMLTag& tag, quintptr userValue, bool& stop);
    virtual void OnEndTag(const CLiteHTMLTag& tag, quintptr userValue, bool& stop);
    virtual void OnCharacters(const QString& text, quintptr userValue, bool& stop);
    virtual void OnComment(const QString& comment, quintptr userValue, bool& stop);
    virtual void OnEndParse(quintptr userValue, bool stopped);
};

// A tolerant event reader of HTML text: what it cannot read as a tag or a
// comment is text. Character references in text are resolved; the content
// of a script element is text up to its end tag.
class CLiteHTMLReader
{
public:
    enum EventMask : unsigned
    {
        notifyStartStop = 1,
        notifyTagStart = 2,
        notifyTagEnd = 4,
        notifyCharacters = 8,
        notifyComment = 16,
    };

    virtual ~CLiteHTMLReader() = default;

    // The handler is not owned.
    void SetEventHandler(ILiteHTMLReaderEvents* handler);

    // Reads the text; gives the number of characters consumed.
    qsizetype Read(const QString& text);

    bool IsEventEnabled(unsigned bits) const;

protected:
    virtual qsizetype ParseDocument();
    virtual bool ParseComment(QString& comment);
    virtual bool ParseTag(CLiteHTMLTag& tag, bool& opening, bool& closing);
    virtual void PrepareCharacters(QString& text);

private:
    // Hands the accumulated text of a run to the handler; false when asked to stop.
    bool DeliverCharacters(QString& accumulated, qsizetype runBegin, qsizetype runEnd);

    bool m_bResolveEntities = true;
    quintptr m_userValue = 0;
    QString m_strText;
    qsizetype m_nPos = 0;
    unsigned m_eventMask = notifyStartStop | notifyTagStart | notifyTagEnd | notifyCharacters
        | notifyComment;
    bool m_bInScript = false;
    ILiteHTMLReaderEvents* m_pEventHandler = nullptr;
};
