#include "web/HtmlReader.h"

#include "web/HtmlEntityResolver.h"
#include "web/HtmlTag.h"

void ILiteHTMLReaderEvents::OnBeginParse(quintptr, bool& stop)
{
    stop = false;
}

void ILiteHTMLReaderEvents::OnStartTag(const CLiteHTMLTag&, quintptr, bool& stop)
{
    stop = false;
}

void ILiteHTMLReaderEvents::OnEndTag(const CLiteHTMLTag&, quintptr, bool& stop)
{
    stop = false;
}

void ILiteHTMLReaderEvents::OnCharacters(const QString&, quintptr, bool& stop)
{
    stop = false;
}

void ILiteHTMLReaderEvents::OnComment(const QString&, quintptr, bool& stop)
{
    stop = false;
}

void ILiteHTMLReaderEvents::OnEndParse(quintptr, bool)
{
}

void CLiteHTMLReader::SetEventHandler(ILiteHTMLReaderEvents* handler)
{
    m_pEventHandler = handler;
}

qsizetype CLiteHTMLReader::Read(const QString& text)
{
    if (text.isEmpty())
        return 0;
    m_strText = text;
    m_nPos = 0;
    m_bInScript = false;
    const qsizetype consumed = ParseDocument();
    m_strText.clear();
    return consumed;
}

bool CLiteHTMLReader::IsEventEnabled(unsigned bits) const
{
    return m_pEventHandler && (m_eventMask & bits) == bits;
}

bool CLiteHTMLReader::DeliverCharacters(QString& accumulated, qsizetype runBegin, qsizetype runEnd)
{
    bool stop = false;
    if (runEnd > runBegin || !accumulated.isEmpty()) {
        accumulated += QStringView(m_strText).mid(runBegin, runEnd - runBegin);
        PrepareCharacters(accumulated);
        if (!accumulated.isEmpty() && IsEventEnabled(notifyCharacters))
            m_pEventHandler->OnCharacters(accumulated, m_userValue, stop);
        accumulated.clear();
    }
    return !stop;
}

qsizetype CLiteHTMLReader::ParseDocument()
{
    if (m_strText.isEmpty())
        return 0;
    bool stop = false;
    if (IsEventEnabled(notifyStartStop))
        m_pEventHandler->OnBeginParse(m_userValue, stop);

    const qsizetype length = m_strText.size();
    while (m_nPos < length && m_strText.at(m_nPos).isSpace())
        ++m_nPos;
    qsizetype runBegin = m_nPos;
    QString accumulated;
    while (!stop && m_nPos < length) {
        const QChar c = m_strText.at(m_nPos);
        if (c == u'&' && m_bResolveEntities) {
            QChar resolved;
            const qsizetype consumed = CLiteHTMLEntityResolver::ResolveEntity(m_strText, m_nPos, resolved);
            if (consumed > 0) {
                accumulated += QStringView(m_strText).mid(runBegin, m_nPos - runBegin);
                accumulated += resolved;
                m_nPos += consumed;
                runBegin = m_nPos;
                continue;
            }
        } else if (c == u'<') {
            const qsizetype markupBegin = m_nPos;
            QString comment;
            CLiteHTMLTag tag;
            bool opening = false;
            bool closing = false;
            const bool isComment = ParseComment(comment);
            if (isComment || ParseTag(tag, opening, closing)) {
                if (!DeliverCharacters(accumulated, runBegin, markupBegin)) {
                    stop = true;
                    break;
                }
                runBegin = m_nPos;
                if (isComment) {
                    if (IsEventEnabled(notifyComment))
                        m_pEventHandler->OnComment(comment, m_userValue, stop);
                    continue;
                }
                const bool isScript = tag.m_strTagName.compare(QLatin1String("script"), Qt::CaseInsensitive) == 0;
                if (isScript && opening && !tag.m_bIsEmpty && !m_bInScript)
                    m_bInScript = true;
                else if (isScript && closing && m_bInScript)
                    m_bInScript = false;
                if (opening && IsEventEnabled(notifyTagStart))
                    m_pEventHandler->OnStartTag(tag, m_userValue, stop);
                if (!stop && closing && IsEventEnabled(notifyTagEnd))
                    m_pEventHandler->OnEndTag(tag, m_userValue, stop);
                continue;
            }
        }
        ++m_nPos;
    }
    if (!stop && !DeliverCharacters(accumulated, runBegin, m_nPos))
        stop = true;
    if (IsEventEnabled(notifyStartStop))
        m_pEventHandler->OnEndParse(m_userValue, stop);
    return m_nPos;
}

bool CLiteHTMLReader::ParseComment(QString& comment)
{
    static const QLatin1String kOpen("<!--");
    if (!QStringView(m_strText).mid(m_nPos).startsWith(kOpen))
        return false;
    const qsizetype contentBegin = m_nPos + kOpen.size();
    const qsizetype dashes = m_strText.indexOf(QLatin1String("--"), contentBegin);
    if (dashes < 0) {
        comment = m_strText.mid(contentBegin);
        m_nPos = m_strText.size();
        return true;
    }
    qsizetype p = dashes + 2;
    while (p < m_strText.size() && m_strText.at(p).isSpace())
        ++p;
    if (p >= m_strText.size() || m_strText.at(p) != u'>')
        return false;
    comment = m_strText.mid(contentBegin, dashes - contentBegin);
    m_nPos = p + 1;
    return true;
}

bool CLiteHTMLReader::ParseTag(CLiteHTMLTag& tag, bool& opening, bool& closing)
{
    const qsizetype consumed = tag.ParseFromText(m_strText, m_nPos, opening, closing, m_bInScript);
    m_nPos += consumed;
    return consumed > 0;
}

void CLiteHTMLReader::PrepareCharacters(QString&)
{
}
