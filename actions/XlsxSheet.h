#pragma once

#include <QByteArray>
#include <QMap>
#include <QPair>
#include <QString>

class CXlsxStyles;

// One worksheet part of an Office Open XML workbook, with cell values written
// into it. Everything outside the written cells stays as it was, byte for
// byte: other cells, row and column formats, merged cells, page set-up. A
// written cell keeps the style of the cell it replaces. A text that is a
// plain decimal number (XlsxNumber) becomes a number cell whose number
// format shows it as it stood ("-12.50" is -12.5 shown "0.00"), when the
// workbook's styles are given to hold that format; every other text is
// written as an inline string, exactly as given; an empty text clears the
// cell's value and keeps its style.
class CXlsxSheet
{
public:
    // False, with Error(), for a part that is no well-formed worksheet.
    bool Load(const QByteArray& xml);
    // row and column from 1; the last text given for a cell counts.
    void SetCell(int row, int column, const QString& text);
    // styles gets the number formats of the number cells; without it every
    // text stays a text.
    QByteArray Save(CXlsxStyles* styles = nullptr) const;

    const QString& Error() const { return m_strError; }

    // "A1"-style reference of a cell, and back (false for anything else).
    static QString CellName(int row, int column);
    static bool ParseCellName(QStringView name, int& row, int& column);
    // The XML text of a cell's string: a character XML cannot hold, and a
    // carriage return (which XML reading turns into a line feed), as the
    // workbook escape _xHHHH_; the underscore of a literal _xHHHH_ escaped in
    // turn (either case of the x), so that a spreadsheet program shows it as
    // it stands.
    static QString CellXmlText(const QString& text);

    static constexpr int MaxRow = 1048576;
    static constexpr int MaxColumn = 16384;

private:
    struct Span
    {
        qsizetype begin = 0;
        qsizetype end = 0;
    };
    struct Cell
    {
        Span span;
        QString style; // its "s" attribute
    };
    struct Row
    {
        Span span;
        QList<QPair<QString, QString>> attributes; // qualified name, value
        QMap<int, Cell> cells;
    };

    bool ReadSheetData(class QXmlStreamReader& reader);
    bool Fail(const QString& what);
    QString Tag(const QString& localName) const;
    QString WrittenCell(int row, int column, const QString& text, const QString& style, CXlsxStyles* styles) const;
    QString WrittenRow(int number, const Row* row, const QMap<int, QString>& cells, CXlsxStyles* styles) const;
    QString Dimension() const;

    QString m_text;
    QString m_strPrefix;       // the prefix of the worksheet's elements, "" for none
    Span m_sheetData;
    QString m_sheetDataOpen;   // its start tag, always as an open (not empty) tag
    bool m_bHasDimension = false;
    Span m_dimension;
    QList<QPair<QString, QString>> m_dimensionAttributes;
    QMap<int, Row> m_rows;
    QMap<int, QMap<int, QString>> m_written; // row -> column -> text
    QString m_strError;
};
