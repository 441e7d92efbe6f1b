#include "XlsxSheet.h"
#include "XlsxStyles.h"
#include "XlsxTemplate.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

// Any bytes, as a template (a zip), as a worksheet part and as a styles
// part: each is refused or filled without reading or writing out of
// bounds, and a sheet or styles part that could be read still reads after
// cells or number formats were written into it.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    CXlsxTemplate workbook;
    if (workbook.Open(bytes)) {
        workbook.SetCell(2, 1, QStringLiteral("文字"));
        workbook.SetCell(2, 2, QStringLiteral("12.5"));
        workbook.SetCell(3, 1, QString());
        QByteArray saved;
        workbook.Save(saved);
    }

    CXlsxSheet sheet;
    if (sheet.Load(bytes)) {
        sheet.SetCell(1, 1, QStringLiteral("a<&>\"b"));
        sheet.SetCell(2, 3, QStringLiteral("-7"));
        sheet.SetCell(CXlsxSheet::MaxRow, CXlsxSheet::MaxColumn, QStringLiteral("end"));
        CXlsxSheet again;
        if (!again.Load(sheet.Save()))
            std::abort();
    }

    CXlsxStyles styles;
    if (styles.Load(bytes)) {
        styles.NumberStyle(QStringLiteral("1"), QStringLiteral("0.00"));
        styles.NumberStyle(QString(), QStringLiteral("#,##0.000"));
        CXlsxSheet numbers;
        if (numbers.Load("<worksheet><sheetData/></worksheet>")) {
            numbers.SetCell(1, 1, QStringLiteral("-1,234.5"));
            numbers.Save(&styles);
        }
        CXlsxStyles again;
        if (!again.Load(styles.Save()))
            std::abort();
    }
    return 0;
}
