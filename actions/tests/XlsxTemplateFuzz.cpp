#include "XlsxSheet.h"
#include "XlsxTemplate.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

// Any bytes, as a template (a zip) and as a worksheet part: both are
// refused or filled without reading or writing out of bounds, and a sheet
// that could be read still reads after cells were written into it.
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
    return 0;
}
