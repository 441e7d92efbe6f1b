#include "PrintActions.h"

#include "AppPrinter.h"
#include "FormPrinter.h"
#include "PrintFrame.h"
#include "PrintSource.h"
#include "PrintTexts.h"
#include "text/IniFile.h"
#include "text/MessageSink.h"
#include "text/TextSplit.h"

namespace
{

// Printer names from 30 characters on were cut short by the printers of old.
constexpr int LongPrinterName = 30;

QString ButtonSection(const QString& menuUid, int buttonId)
{
    return PrintTexts::PrintSection(menuUid, QString::number(buttonId));
}

QString Read(const QString& section, const QString& key)
{
    return ReadIniString(PrintTexts::IniFile, section, key);
}

void Write(const QString& section, const QString& key, const QString& value)
{
    WriteIniString(PrintTexts::IniFile, section, key, value);
}

} // namespace

void PrintActions::PrintPosGet(const QString& section, QString& left, QString& top)
{
    left = Read(section, PrintTexts::KeyPosLeft);
    top = Read(section, PrintTexts::KeyPosTop);
    if (left.isEmpty())
        left = QStringLiteral("0");
    if (top.isEmpty())
        top = QStringLiteral("0");
}

void PrintActions::PrintPosSetup(const QString& section, const QString& left, const QString& top)
{
    Write(section, PrintTexts::KeyPosLeft, left);
    Write(section, PrintTexts::KeyPosTop, top);
}

void PrintActions::SelectStoredPrinter(const QString& section)
{
    const QString name = Read(section, PrintTexts::KeyPrinterName);
    const QString size = Read(section, PrintTexts::KeyPaperSize);
    if (!name.isEmpty() && !size.isEmpty())
        CAppPrinter::Instance().SelectPrinterByName(name, size, Read(section, PrintTexts::KeyOrientation));
}

QString PrintActions::PrintSetup(const QString& menuUid, int buttonId, const QString& targetIds, QWidget* parent)
{
    CAppPrinter& app = CAppPrinter::Instance();
    const QString section = ButtonSection(menuUid, buttonId);
    SelectStoredPrinter(section);
    QString name, size, orientation;
    if (app.GetPrinterSettings(name, size, orientation))
        app.SelectPrinterByName(name, size, orientation);

    app.ShowPrintSetup(parent);

    if (!app.GetPrinterSettings(name, size, orientation))
        return section;
    if (name.size() >= LongPrinterName)
        ShowMessage(PrintTexts::PrinterNameTooLong, PrintTexts::PrinterSetupCaption);
    QStringList targets;
    SplitString(targetIds, QStringLiteral(";"), targets);
    for (const QString& target : targets) {
        if (target.trimmed().isEmpty())
            continue;
        const QString targetSection = ButtonSection(menuUid, TextToInt(target));
        Write(targetSection, PrintTexts::KeyPrinterName, name);
        Write(targetSection, PrintTexts::KeyPaperSize, size);
        Write(targetSection, PrintTexts::KeyOrientation, orientation);
    }
    return section;
}

CPrintFrame* PrintActions::Print(CFormPrinter& printer, IPrintSource& source, const CXmlNode& printElement,
                                 const QString& menuUid, int buttonId, bool preview)
{
    const QString section = ButtonSection(menuUid, buttonId);
    SelectStoredPrinter(section);
    printer.m_printElement = printElement;
    // The offsets stored for this button place its pages.
    printer.m_strPrintSection = section;

    const CXmlNode para = printElement.GetChild(QStringLiteral("print_para"));
    const QString nameId = para.GetAttribute(QStringLiteral("name_id"));
    const QString document = nameId.isEmpty() ? PrintTexts::DefaultDocumentName : source.ControlText(TextToInt(nameId));
    const int isDirect = TextToInt(para.GetAttribute(QStringLiteral("is_direct"), QStringLiteral("0")));
    bool direct = isDirect == 1;
    if (isDirect != 0 && isDirect != 1) {
        const QString flag = source.ControlText(isDirect);
        direct = !flag.isEmpty() && flag != u"0";
    }

    auto* frame = new CPrintFrame(&printer, direct);
    if (preview) {
        frame->setWindowTitle(PrintTexts::PreviewTitle + document);
        frame->View()->Preview();
    } else {
        frame->setWindowTitle(document);
        frame->View()->PrintNow();
    }
    return frame;
}
