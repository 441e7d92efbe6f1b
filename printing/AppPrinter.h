#pragma once

#include <QString>

#include <functional>

class QPrinter;
class QWidget;

// The application's printer: the one every print job, the printer set-up and
// the preview start from, kept as the three texts the print settings store
// (printer name, paper size and orientation numbers as Windows printers
// numbered them: paper 9 is A4, orientation 1 portrait and 2 landscape).
class CAppPrinter
{
public:
    static CAppPrinter& Instance();

    // Whether a printer of that name is installed; the default asks the
    // print system. Returns the previous lookup; an empty one restores it.
    using PrinterLookup = std::function<bool(const QString& name)>;
    PrinterLookup SetPrinterLookup(PrinterLookup lookup);
    // The printer dialog (choice of printer, paper, pages); true when the
    // user accepted. Returns the previous one; an empty one restores it.
    using PrinterDialog = std::function<bool(QPrinter& printer, QWidget* parent)>;
    PrinterDialog SetPrinterDialog(PrinterDialog dialog);

    // The set-up dialog; the user's choice becomes the application's printer.
    void ShowPrintSetup(QWidget* parent = nullptr);
    // false when there is no printer at all (none chosen, no default);
    // the outputs are then left alone.
    bool GetPrinterSettings(QString& name, QString& paperSize, QString& orientation) const;
    // Makes the named printer the application's printer with that paper and
    // orientation (leading digits; anything else 0, which keeps the
    // printer's own). A name that no printer has changes nothing.
    void SelectPrinterByName(const QString& name, const QString& paperSize, const QString& orientation);

    // Sets a job's printer up as chosen.
    void ApplyTo(QPrinter& printer) const;
    // Print jobs write this PDF file instead of printing (empty: print).
    void SetOutputFile(const QString& path);
    // Asks the user through the printer dialog.
    bool AskPrinter(QPrinter& printer, QWidget* parent) const;

private:
    CAppPrinter();

    PrinterLookup m_lookup;
    PrinterDialog m_dialog;
    QString m_name;
    int m_paperSize = 0;
    int m_orientation = 0;
    QString m_outputFile;
};
