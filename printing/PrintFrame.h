#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QPrinter>
#include <QWidget>

class CFormPrinter;
class CPrintView;
class QPrintPreviewWidget;

// The window of one print job of a form: minimised while it prints, or
// maximised with the preview of the pages. It closes and deletes itself when
// the job is over, and leaves every other window as it was.
class CPrintFrame : public QMainWindow
{
    Q_OBJECT

public:
    // form draws the pages; direct prints without the printer dialog.
    CPrintFrame(CFormPrinter* form, bool direct, QWidget* parent = nullptr);
    ~CPrintFrame() override;

    CPrintView* View() const { return m_pView; }

    QPointer<CFormPrinter> m_pForm;
    bool m_bDirect = false;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void OnCreateClient();

    CPrintView* m_pView = nullptr;
};

// The printing steps of the job, each handed to the form: the page count,
// every page, the end. Printing goes to the application's printer.
class CPrintView : public QWidget
{
    Q_OBJECT

public:
    explicit CPrintView(CPrintFrame* frame);

    // Prints every page (after the printer dialog unless direct), then
    // closes the frame.
    void PrintNow();
    // Shows the pages; printing from there prints, and closing the preview
    // or printing ends the job.
    void Preview();

    QPrinter& Printer() { return m_printer; }
    QPrintPreviewWidget* PreviewWidget() const { return m_preview; }

    bool m_bCloseAfterPrint = true;
    bool m_bDirect = false;

    // Called by the frame as it closes: a preview still open ends its job.
    void OnEndPrintPreview();

private:
    bool OnPreparePrinting();
    int OnBeginPrinting();
    void OnPrint(QPainter& painter, int page);
    void OnEndPrinting(bool preview);
    void RenderPreview(QPrinter* printer);
    void PrintFromPreview();
    void CloseFrame();

    CPrintFrame* m_frame;
    QPrinter m_printer{QPrinter::HighResolution};
    QPrintPreviewWidget* m_preview = nullptr;
    bool m_bPreviewOpen = false;
};
