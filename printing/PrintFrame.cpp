#include "PrintFrame.h"

#include "AppPrinter.h"
#include "FormPrinter.h"
#include "PrintTexts.h"
#include "text/MessageSink.h"

#include <QCloseEvent>
#include <QPainter>
#include <QPrintPreviewWidget>
#include <QScreen>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

CPrintFrame::CPrintFrame(CFormPrinter* form, bool direct, QWidget* parent)
    : QMainWindow(parent)
    , m_pForm(form)
    , m_bDirect(direct)
{
    setAttribute(Qt::WA_DeleteOnClose);
    OnCreateClient();
}

CPrintFrame::~CPrintFrame() = default;

void CPrintFrame::OnCreateClient()
{
    m_pView = new CPrintView(this);
    m_pView->m_bDirect = m_bDirect;
    setCentralWidget(m_pView);
}

void CPrintFrame::closeEvent(QCloseEvent* event)
{
    m_pView->OnEndPrintPreview();
    QMainWindow::closeEvent(event);
}

CPrintView::CPrintView(CPrintFrame* frame)
    : QWidget(frame)
    , m_frame(frame)
{
    CAppPrinter::Instance().ApplyTo(m_printer);
}

void CPrintView::PrintNow()
{
    m_frame->showMinimized();
    m_bCloseAfterPrint = true;
    if (!OnPreparePrinting())
        return;
    QPainter painter;
    if (!painter.begin(&m_printer)) {
        if (m_frame->m_pForm)
            m_frame->m_pForm->OnPrintCancelled();
        ShowMessage(PrintTexts::PrinterNotReady);
        CloseFrame();
        return;
    }
    const int pages = OnBeginPrinting();
    // A page range chosen in the printer dialog, else every page.
    const int first = m_printer.fromPage() > 0 ? std::max(1, m_printer.fromPage()) : 1;
    const int last = m_printer.toPage() > 0 ? std::min(pages, m_printer.toPage()) : pages;
    for (int page = first; page <= last; ++page) {
        if (page > first)
            m_printer.newPage();
        OnPrint(painter, page);
    }
    painter.end();
    OnEndPrinting(false);
    if (m_bCloseAfterPrint)
        CloseFrame();
}

void CPrintView::Preview()
{
    // The whole screen also where no window manager maximises windows.
    if (const QScreen* screen = m_frame->screen())
        m_frame->setGeometry(screen->availableGeometry());
    m_frame->showMaximized();
    m_bCloseAfterPrint = false;
    m_bPreviewOpen = true;

    auto* toolBar = m_frame->addToolBar(PrintTexts::PreviewTitle);
    toolBar->setMovable(false);
    m_preview = new QPrintPreviewWidget(&m_printer, this);
    m_preview->setZoomMode(QPrintPreviewWidget::FitInView);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_preview);
    toolBar->addAction(PrintTexts::PreviewPrint, this, &CPrintView::PrintFromPreview);
    toolBar->addAction(PrintTexts::PreviewZoomIn, m_preview, [this] { m_preview->zoomIn(); });
    toolBar->addAction(PrintTexts::PreviewZoomOut, m_preview, [this] { m_preview->zoomOut(); });
    toolBar->addAction(PrintTexts::PreviewClose, m_frame, &QWidget::close);
    connect(m_preview, &QPrintPreviewWidget::paintRequested, this, &CPrintView::RenderPreview);
    m_preview->updatePreview();
}

bool CPrintView::OnPreparePrinting()
{
    if (m_bDirect || CAppPrinter::Instance().AskPrinter(m_printer, m_frame))
        return true;
    if (m_frame->m_pForm)
        m_frame->m_pForm->OnPrintCancelled();
    CloseFrame();
    return false;
}

int CPrintView::OnBeginPrinting()
{
    return m_frame->m_pForm ? m_frame->m_pForm->OnPrintBegin() : 0;
}

void CPrintView::OnPrint(QPainter& painter, int page)
{
    if (m_frame->m_pForm)
        m_frame->m_pForm->OnPrintPage(painter, m_printer, page);
}

void CPrintView::OnEndPrinting(bool preview)
{
    if (!m_frame->m_pForm)
        return;
    const QStringList errors = m_frame->m_pForm->TakeErrors();
    m_frame->m_pForm->OnPrintEnd(preview);
    if (!errors.isEmpty())
        ShowMessage(errors.join(u'\n'));
}

// The preview draws the pages again whenever it needs them.
void CPrintView::RenderPreview(QPrinter* printer)
{
    QPainter painter(printer);
    const int pages = OnBeginPrinting();
    for (int page = 1; page <= pages; ++page) {
        if (page > 1)
            printer->newPage();
        OnPrint(painter, page);
    }
}

void CPrintView::PrintFromPreview()
{
    m_bPreviewOpen = false;
    m_bCloseAfterPrint = true;
    PrintNow();
}

void CPrintView::OnEndPrintPreview()
{
    if (!m_bPreviewOpen)
        return;
    m_bPreviewOpen = false;
    OnEndPrinting(true);
}

// Closing from inside a step of the job would delete the frame under it.
void CPrintView::CloseFrame()
{
    QTimer::singleShot(0, m_frame, &QWidget::close);
}
