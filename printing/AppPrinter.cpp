#include "AppPrinter.h"

#include "text/TextSplit.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace
{

constexpr int Portrait = 1;
constexpr int Landscape = 2;

bool InstalledPrinter(const QString& name)
{
    return !QPrinterInfo::printerInfo(name).isNull();
}

bool ShowPrintDialog(QPrinter& printer, QWidget* parent)
{
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace

CAppPrinter& CAppPrinter::Instance()
{
    static CAppPrinter printer;
    return printer;
}

CAppPrinter::CAppPrinter()
    : m_lookup(InstalledPrinter)
    , m_dialog(ShowPrintDialog)
{
}

CAppPrinter::PrinterLookup CAppPrinter::SetPrinterLookup(PrinterLookup lookup)
{
    PrinterLookup previous = std::move(m_lookup);
    m_lookup = lookup ? std::move(lookup) : PrinterLookup(InstalledPrinter);
    return previous;
}

CAppPrinter::PrinterDialog CAppPrinter::SetPrinterDialog(PrinterDialog dialog)
{
    PrinterDialog previous = std::move(m_dialog);
    m_dialog = dialog ? std::move(dialog) : PrinterDialog(ShowPrintDialog);
    return previous;
}

bool CAppPrinter::AskPrinter(QPrinter& printer, QWidget* parent) const
{
    return m_dialog(printer, parent);
}

void CAppPrinter::ShowPrintSetup(QWidget* parent)
{
    QPrinter printer(QPrinter::HighResolution);
    ApplyTo(printer);
    if (!AskPrinter(printer, parent))
        return;
    if (!printer.printerName().isEmpty())
        m_name = printer.printerName();
    m_paperSize = printer.pageLayout().pageSize().windowsId();
    m_orientation = printer.pageLayout().orientation() == QPageLayout::Landscape ? Landscape : Portrait;
}

bool CAppPrinter::GetPrinterSettings(QString& name, QString& paperSize, QString& orientation) const
{
    if (m_name.isEmpty()) {
        const QPrinterInfo fallback = QPrinterInfo::defaultPrinter();
        if (fallback.isNull())
            return false;
        name = fallback.printerName();
        paperSize = QString::number(fallback.defaultPageSize().windowsId());
        orientation = QString::number(Portrait);
        return true;
    }
    name = m_name;
    paperSize = QString::number(m_paperSize);
    orientation = QString::number(m_orientation);
    return true;
}

void CAppPrinter::SelectPrinterByName(const QString& name, const QString& paperSize, const QString& orientation)
{
    if (name.isEmpty() || !m_lookup(name))
        return;
    m_name = name;
    m_paperSize = TextToInt(paperSize);
    m_orientation = TextToInt(orientation);
}

void CAppPrinter::ApplyTo(QPrinter& printer) const
{
    if (!m_outputFile.isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(m_outputFile);
    } else if (!m_name.isEmpty()) {
        printer.setPrinterName(m_name);
    }
    const QPageSize::PageSizeId paper = QPageSize::id(m_paperSize);
    if (m_paperSize > 0 && paper != QPageSize::Custom)
        printer.setPageSize(QPageSize(paper));
    if (m_orientation == Portrait || m_orientation == Landscape)
        printer.setPageOrientation(m_orientation == Landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
}

void CAppPrinter::SetOutputFile(const QString& path)
{
    m_outputFile = path;
}
