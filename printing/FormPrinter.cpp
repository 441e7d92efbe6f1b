#include "FormPrinter.h"

#include "Code128.h"
#include "PrintPainter.h"
#include "PrintSource.h"
#include "PrintTexts.h"
#include "QrBitmap.h"
#include "text/ColorRectText.h"
#include "text/IniFile.h"
#include "text/NumberText.h"
#include "text/TextSplit.h"

#include <QPainter>

#include <cmath>

namespace
{

// Cells of money and split items are centred (DT_CENTER | DT_VCENTER).
constexpr int CellFormat = 5;

int AttributeInt(const CXmlNode& node, const QString& name)
{
    return TextToInt(node.GetAttribute(name));
}

} // namespace

CFormPrinter::CFormPrinter(IPrintSource& source, QObject* parent)
    : QObject(parent)
    , m_source(source)
{
}

CFormPrinter::~CFormPrinter() = default;

int CFormPrinter::OnPrintBegin()
{
    m_errors.clear();
    int pages = 1;
    const CXmlNode para = m_printElement.GetChild(QStringLiteral("print_para"));
    const CXmlNodes children = para.GetChildren();
    for (int i = 0; i < children.GetCount(); ++i) {
        const CXmlNode child = children.GetItem(i);
        if (child.GetName() != u"table_print")
            continue;
        const int perPage = AttributeInt(child.GetChild(QStringLiteral("col_info_print")),
                                         QStringLiteral("count_in_page"));
        if (perPage <= 0)
            continue;
        const int rows = m_source.TableRowCount(AttributeInt(child, QStringLiteral("value")));
        pages = std::max(1, rows / perPage + (rows % perPage ? 1 : 0));
        break;
    }
    m_nPrintPageCount = pages;
    return pages;
}

void CFormPrinter::OnPrintPage(QPainter& painter, const QPaintDevice& device, int page)
{
    m_strPrintFontSize = PrintTexts::DefaultFontSize;
    m_strPrintFontFace = PrintTexts::DefaultFontFace;
    PrintPainter printPainter(painter, device);
    PrintDescription(printPainter, page);
}

void CFormPrinter::OnPrintEnd(bool preview)
{
    if (preview || m_arrPrintValues.isEmpty())
        return;
    m_arrPrintValues.removeFirst();
    if (m_arrPrintValues.isEmpty())
        return;
    const CXmlNode para = m_printElement.GetChild(QStringLiteral("print_para"));
    m_source.SetControlTextById(AttributeInt(para, QStringLiteral("uid_id")), m_arrPrintValues.first());
    m_source.PostClick(AttributeInt(para, QStringLiteral("print_btn")));
}

void CFormPrinter::OnPrintCancelled()
{
    m_arrPrintValues.clear();
}

QStringList CFormPrinter::TakeErrors()
{
    QStringList errors;
    errors.swap(m_errors);
    return errors;
}

void CFormPrinter::AddError(const QString& text)
{
    if (!m_errors.contains(text))
        m_errors << text;
}

void CFormPrinter::PrintDescription(PrintPainter& painter, int page)
{
    const QString posLeft = ReadIniString(PrintTexts::IniFile, m_strPrintSection, PrintTexts::KeyPosLeft);
    const QString posTop = ReadIniString(PrintTexts::IniFile, m_strPrintSection, PrintTexts::KeyPosTop);

    const CXmlNode para = m_printElement.GetChild(QStringLiteral("print_para"));
    const QString fontDefault = para.GetAttribute(QStringLiteral("font_default"));
    const QString imagePos = para.GetAttribute(QStringLiteral("img_pos"));
    const QString background = para.GetAttribute(QStringLiteral("bg_img"));
    QString left = para.GetAttribute(QStringLiteral("left"), QStringLiteral("0"));
    QString top = para.GetAttribute(QStringLiteral("top"), QStringLiteral("0"));
    // Offsets typed in on the form: only when both name a control.
    if (left.startsWith(u"0:") && top.startsWith(u"0:")) {
        left = m_source.ControlText(TextToInt(QStringView(left).mid(2)));
        top = m_source.ControlText(TextToInt(QStringView(top).mid(2)));
    }
    painter.offsetX = TextToInt(left) + TextToInt(posLeft);
    painter.offsetY = TextToInt(top) + TextToInt(posTop);

    if (!background.isEmpty()) {
        // The picture's rectangle is given as the page's raw metric
        // coordinates, y negative downwards.
        const RectLTRB r = ParseRectText(imagePos);
        DrawImageFile(painter, PrintPainter::PlainRect(r.left, -r.top, r.right, -r.bottom), background);
    }

    QStringList fontParts;
    SplitString(fontDefault, QStringLiteral(","), fontParts);
    if (fontParts.size() == 2) {
        m_strPrintFontSize = fontParts[0];
        m_strPrintFontFace = fontParts[1];
    }

    int tableShift = 0;
    int tableTop = 0;
    const CXmlNodes children = para.GetChildren();
    for (int i = 0; i < children.GetCount(); ++i) {
        const CXmlNode child = children.GetItem(i);
        if (child.GetName() == u"table_print") {
            tableTop = ParseRectText(child.GetAttribute(QStringLiteral("pos"))).top;
            tableShift = PrintTable(child, painter, page);
        } else {
            PrintItem(child, painter, tableTop, tableShift);
        }
    }
}

void CFormPrinter::PrintItem(const CXmlNode& item, PrintPainter& painter, int tableTop, int tableShift)
{
    MakePrintFont(item.GetAttribute(QStringLiteral("font")), painter);
    const int control = AttributeInt(item, QStringLiteral("wnd"));
    const QString source = m_source.ControlText(control);
    RectLTRB r = ParseRectText(item.GetAttribute(QStringLiteral("pos")));
    // Items below a table move up by the rows the table left empty.
    if (r.top > tableTop) {
        r.top -= tableShift;
        r.bottom -= tableShift;
    }
    const QString kind = item.GetAttribute(QStringLiteral("wnd_type"));
    const QString value = item.GetAttribute(QStringLiteral("value"));
    const QString ahead = item.GetAttribute(QStringLiteral("value_ahead"));
    const int splitSize = AttributeInt(item, QStringLiteral("split_size"));
    const int format = AttributeInt(item, QStringLiteral("format"));
    const QRect rect = painter.RectAt(r.left, r.top, r.right - r.left, r.bottom - r.top);
    const QString composed = value.isEmpty() ? ahead + source : value;

    if (kind.isEmpty()) {
        if (r.right >= r.left)
            painter.DrawTextFit(composed, rect, format);
    } else if (kind == u"line") {
        const int width = value.isEmpty() ? 1 : TextToInt(value);
        const QPoint from(r.left + painter.offsetX, r.top + painter.offsetY);
        const QPoint to(r.right + painter.offsetX, r.bottom + painter.offsetY);
        painter.DrawScaledLine(from.x(), from.y(), to.x(), to.y(), PrintPainter::GeometricPen(width));
    } else if (kind == u"checked") {
        if (m_source.IsChecked(control))
            painter.DrawTextFit(composed, rect, format);
    } else if (kind == u"CNY") {
        QString money = source;
        FormatTwoDecimals(money);
        money.remove(u'.');
        DrawCells(painter, ahead + money, rect.left() + rect.width(), rect.top(), rect.top() + rect.height(),
                  splitSize);
    } else if (kind == u"thousandth") {
        painter.DrawTextFit(ahead + FormatThousands(source), rect, format);
    } else if (kind == u"split") {
        DrawCells(painter, ahead + source, rect.left() + rect.width(), rect.top(), rect.top() + rect.height(),
                  splitSize);
    } else if (kind == u"qr") {
        DrawQrCode(painter, rect, source);
    } else if (kind == u"128a" || kind == u"128b" || kind == u"128c" || kind == u"128e") {
        DrawCode128(painter, rect, source, kind);
    }
}

// One character a cell, the last one in the rightmost cell.
void CFormPrinter::DrawCells(PrintPainter& painter, const QString& text, int right, int top, int bottom,
                             int cellWidth)
{
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const int cellRight = right - static_cast<int>(n - 1 - i) * cellWidth;
        painter.DrawTextFit(text.mid(i, 1), PrintPainter::PlainRect(cellRight - cellWidth, top, cellRight, bottom),
                            CellFormat);
    }
}

void CFormPrinter::MakePrintFont(const QString& spec, PrintPainter& painter)
{
    QString size = m_strPrintFontSize;
    QString face = m_strPrintFontFace;
    QString width;
    QStringList parts;
    if (!spec.isEmpty()) {
        SplitString(spec, QStringLiteral(","), parts);
        if (!parts.isEmpty() && TextToInt(parts[0]) != 0)
            size = parts[0];
        if (parts.size() >= 2)
            face = parts[1];
        if (parts.size() >= 3)
            width = parts[2];
    }
    if (parts.size() >= 3)
        painter.SetFontExact(TextToInt(size), TextToInt(width), face);
    else
        painter.SetFont(static_cast<int>(std::lround(TextToInt(size) * -600.0 / 72)), face);
}

void CFormPrinter::DrawCode128(PrintPainter& painter, const QRect& rect, const QString& text, const QString& kind)
{
    QString error;
    const QString pattern = BuildCode128Pattern(text, kind, &error);
    if (!error.isEmpty())
        AddError(error);
    if (!pattern.isEmpty())
        painter.DrawBars(pattern, rect);
}

// The symbol goes from the encoder's modules straight onto the page, one
// module a square of the stretched picture, unsmoothed.
void CFormPrinter::DrawQrCode(PrintPainter& painter, const QRect& rect, const QString& text)
{
    if (text.isEmpty())
        return;
    m_qrImage = MakeQrBitmap(text);
    if (m_qrImage.isNull())
        return;
    QPainter& p = painter.Painter();
    p.save();
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    p.drawImage(rect, m_qrImage);
    p.restore();
}

void CFormPrinter::DrawImageFile(PrintPainter& painter, const QRect& rect, const QString& path)
{
    if (path != m_strPrintBgPath) {
        m_imgPrintBg = QImage(path);
        m_strPrintBgPath = path;
    }
    if (m_imgPrintBg.isNull() || rect.width() <= 0 || rect.height() <= 0)
        return;
    // Fit keeping the picture's proportions, centred on the spare side.
    QRect target = rect;
    const double pictureRatio = double(m_imgPrintBg.height()) / m_imgPrintBg.width();
    const double rectRatio = double(rect.height()) / rect.width();
    if (rectRatio > pictureRatio) {
        const int height = static_cast<int>(rect.width() * pictureRatio);
        target = QRect(rect.left(), rect.top() + (rect.height() - height) / 2, rect.width(), height);
    } else {
        const int width = static_cast<int>(rect.height() / pictureRatio);
        target = QRect(rect.left() + (rect.width() - width) / 2, rect.top(), width, rect.height());
    }
    QPainter& p = painter.Painter();
    p.save();
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
    p.drawImage(target, m_imgPrintBg);
    p.restore();
}
