#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QPair>
#include <QString>

// The styles part of a workbook (styleSheet), with cell formats added for
// number cells: each is a copy of a cell format the template already has,
// with a number format of its own. Everything the template holds stays as
// it was, byte for byte; the added number formats and cell formats follow
// the template's own, and the counts are brought up to date.
class CXlsxStyles
{
public:
    // False, with Error(), for a part that is no styleSheet with cell
    // formats (nothing can be added to it then).
    bool Load(const QByteArray& xml);
    // The index of the cell format that is cell format style (its "s"
    // attribute; empty or one the part does not have: the first) showing
    // numbers with formatCode; made once for each pair.
    QString NumberStyle(const QString& style, const QString& formatCode);
    // The part with what was added; the part as loaded when nothing was.
    QByteArray Save() const;
    bool Changed() const { return !m_added.isEmpty(); }

    const QString& Error() const { return m_strError; }

private:
    struct Span
    {
        qsizetype begin = 0;
        qsizetype end = 0;
    };
    // An element: its whole text, its start tag (both from the same begin),
    // and whether it is written as an empty element.
    struct Element
    {
        Span whole;
        qsizetype startTagEnd = 0;
        bool empty = false;
    };

    bool Fail(const QString& what);
    // The element whose start tag ends there.
    Element ElementAt(qsizetype startTagEnd) const;
    int FormatId(const QString& formatCode);
    QString StartTag(const Element& element) const;
    QString NumberFormatsText() const;
    QString CellFormatsText() const;

    QString m_text;
    QString m_strPrefix;      // the prefix of the styleSheet's elements
    qsizetype m_rootStartTagEnd = 0;
    bool m_bHasNumFmts = false;
    Element m_numFmts;
    int m_nNumFmtCount = 0;   // its numFmt children
    Element m_cellXfs;
    QList<Element> m_xfs;     // the cell formats of cellXfs, in order
    QMap<QString, int> m_formatIds; // format code -> its numFmtId
    int m_nLastFormatId = 163;      // the highest custom numFmtId there is
    QList<QPair<int, QString>> m_addedFormats;           // numFmtId, code
    QList<QPair<int, int>> m_added;                      // base xf, numFmtId
    QMap<QPair<int, int>, int> m_addedIndex;             // -> new xf index
    QString m_strError;
};
