#pragma once

#include <QString>

class MapPrintSource;

// A delivery note as a print description: heading, number and customer, a QR
// code of the number, a Code 128 of the order digits, a detail table of 10
// rows a page (control 5), and below it the total, the money in boxes, a rule
// and the acceptance marks. The print button is 9, the record key control 1.
QString DeliveryNoteXml();

// The form's values for it: 23 detail rows, so three pages.
void FillDeliveryNote(MapPrintSource& source);
