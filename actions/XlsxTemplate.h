#pragma once

#include "XlsxSheet.h"
#include "XlsxStyles.h"
#include "ZipArchive.h"

#include <QByteArray>
#include <QString>

// A new workbook made from a spreadsheet template (.xltx or .xlsx, an
// Office Open XML zip): cells are written into its worksheet named
// "sheet1" (in any letter case), the number formats of its number cells go
// into the workbook's styles (a template without a styles part that can
// take them gets texts only), the content type of a template becomes that
// of a workbook, and every other part is kept as it is.
class CXlsxTemplate
{
public:
    enum class Problem {
        None,
        NotAWorkbook, // no zip, a damaged zip, or no workbook in it
        NoSheet1,
        BadSheet,     // the sheet part is missing or damaged
        WriteFailed,
    };

    bool Open(const QByteArray& bytes);
    // row and column from 1.
    void SetCell(int row, int column, const QString& text);
    bool Save(QByteArray& workbook);

    // The extension of the workbook: ".xlsm" for a template with macros.
    QString WorkbookExtension() const;

    Problem GetProblem() const { return m_problem; }
    // What was wrong, for the log.
    const QString& Detail() const { return m_strDetail; }

private:
    bool Fail(Problem problem, const QString& detail);
    // The part of the sheet, and of the styles when the workbook has them.
    bool FindSheet1(QString& sheetPart, QString& stylesPart);
    bool ReadPart(const QString& name, QByteArray& bytes);

    CZipArchive m_zip;
    CXlsxSheet m_sheet;
    QString m_strSheetPart;
    CXlsxStyles m_styles;
    QString m_strStylesPart; // empty without styles that can take number formats
    QByteArray m_contentTypes;
    Problem m_problem = Problem::None;
    QString m_strDetail;
};
