#pragma once

#include "xml/XmlNode.h"

#include <QImage>
#include <QObject>
#include <QRect>
#include <QString>
#include <QStringList>

class IPrintSource;
class PrintPainter;
class QPaintDevice;
class QPainter;

// A form printed as a filled-in paper form. The "print" action element
// (m_printElement) holds the description in its print_para child; the values
// come from the form's controls through the print source at the moment each
// page is drawn. A print job calls OnPrintBegin, then OnPrintPage for every
// page, then OnPrintEnd (or OnPrintCancelled when the user gave up before it
// began).
class CFormPrinter : public QObject
{
    Q_OBJECT

public:
    explicit CFormPrinter(IPrintSource& source, QObject* parent = nullptr);
    ~CFormPrinter() override;

    // The page count of the job: from the first printed table that gives
    // rows per page, else 1. A table without rows still prints one page
    // with its headers.
    int OnPrintBegin();
    // Draws page (from 1) onto the painter, which is active on device.
    void OnPrintPage(QPainter& painter, const QPaintDevice& device, int page);
    // The batch step after a printed job: the record just printed leaves
    // the list, and the next one, if any, is loaded and printed by clicking
    // the print button. Nothing happens after a preview.
    void OnPrintEnd(bool preview);
    // A job the user cancelled leaves no batch behind.
    void OnPrintCancelled();
    // The texts of the items that could not be printed in this job (bar
    // codes of characters their set cannot hold), each once; the list is
    // emptied.
    QStringList TakeErrors();

    void PrintDescription(PrintPainter& painter, int page);
    void MakePrintFont(const QString& spec, PrintPainter& painter);
    void DrawCode128(PrintPainter& painter, const QRect& rect, const QString& text, const QString& kind);
    void DrawQrCode(PrintPainter& painter, const QRect& rect, const QString& text);
    void DrawImageFile(PrintPainter& painter, const QRect& rect, const QString& path);
    // Draws the table part of page and gives back the height the page did
    // not use: the rows it lacks times the row height.
    int PrintTable(const CXmlNode& table, PrintPainter& painter, int page);

    CXmlNode m_printElement;
    QString m_strPrintSection;
    QString m_strPrintFontSize;
    QString m_strPrintFontFace;
    int m_nPrintPageCount = 1;
    QStringList m_arrPrintValues;

private:
    void PrintItem(const CXmlNode& item, PrintPainter& painter, int tableTop, int tableShift);
    void DrawCells(PrintPainter& painter, const QString& text, int right, int top, int bottom, int cellWidth);
    void AddError(const QString& text);

    IPrintSource& m_source;
    QImage m_imgPrintBg;
    QString m_strPrintBgPath;
    QImage m_qrImage;
    QStringList m_errors;
};
