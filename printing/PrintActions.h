#pragma once

#include "xml/XmlNode.h"

#include <QString>

class CFormPrinter;
class CPrintFrame;
class IPrintSource;
class QWidget;

// The printing work behind a form's print keywords: print offsets and printer
// choices per button in cfg.ini, and starting a print job or its preview.
// Sections are "B" + menu uid + "_" + a button id (a popup form's menu uid
// is empty: "B_5").
namespace PrintActions
{
// "print_pos_get": the offsets stored in the section; "0" for a missing one.
void PrintPosGet(const QString& section, QString& left, QString& top);
// "print_pos_setup": stores the offsets in the section.
void PrintPosSetup(const QString& section, const QString& left, const QString& top);

// Makes the printer stored for the section the application's printer, when
// its name and paper size are stored.
void SelectStoredPrinter(const QString& section);

// "print_setup" of button buttonId: shows the printer set-up starting from
// the printer stored for the button, then stores the choice for each of
// the ";"-separated print buttons of targetIds. Gives the button's section,
// which becomes the form's print section.
QString PrintSetup(const QString& menuUid, int buttonId, const QString& targetIds, QWidget* parent = nullptr);

// "print" of button buttonId: the element's print_para describes the pages.
// Selects the printer stored for the button, hands the element to the form
// printer, and opens a print frame that prints at once or, with preview,
// shows the pages maximised under the title "打印预览" and the document
// name. Gives the frame, which deletes itself when the job is over.
CPrintFrame* Print(CFormPrinter& printer, IPrintSource& source, const CXmlNode& printElement,
                   const QString& menuUid, int buttonId, bool preview);
} // namespace PrintActions
