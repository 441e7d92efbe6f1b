#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class CFormPrinter;
class QPrinter;

// A word pdftotext found on a page, its box in tenths of a millimetre.
struct PrintedWord
{
    QString text;
    double left, top, right, bottom;
};

// Every page of a PDF file, in order, as its words.
QList<QList<PrintedWord>> ReadPdfWords(const QString& pdfPath);

// The page's words in reading order, joined by blanks.
QString PageText(const QList<PrintedWord>& words);

// The first word equal to text, or null.
const PrintedWord* FindWord(const QList<PrintedWord>& words, const QString& text);

// Prints every page of the form into an A4 PDF file at 600 dpi.
void PrintToPdf(CFormPrinter& printer, const QString& pdfPath);
