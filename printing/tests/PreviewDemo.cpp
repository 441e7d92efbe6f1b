// The delivery note in the print preview, to look at: build/printing/tests/printing_preview_demo
#include "DeliveryNote.h"
#include "FormPrinter.h"
#include "MapPrintSource.h"
#include "PrintActions.h"
#include "xml/XmlDocument.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    MapPrintSource source;
    FillDeliveryNote(source);
    CXmlDocument doc;
    if (!doc.LoadXml(DeliveryNoteXml()))
        return 1;
    CFormPrinter printer(source);
    PrintActions::Print(printer, source, *doc.GetRoot(), QStringLiteral("37"), 9, true);
    return app.exec();
}
