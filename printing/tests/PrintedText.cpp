#include "PrintedText.h"

#include "ExternalTool.h"
#include "FormPrinter.h"

#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTextDocumentFragment>

namespace
{

constexpr double UnitsPerPoint = 254.0 / 72.0;

} // namespace

QList<QList<PrintedWord>> ReadPdfWords(const QString& pdfPath)
{
    const QString html = RunTool(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdfPath, QStringLiteral("-")});
    QList<QList<PrintedWord>> pages;
    static const QRegularExpression tag(QStringLiteral(
        R"re(<page |<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
    for (auto it = tag.globalMatch(html); it.hasNext();) {
        const auto match = it.next();
        if (match.captured(0).startsWith(u"<page")) {
            pages.append(QList<PrintedWord>());
            continue;
        }
        if (pages.isEmpty())
            continue;
        pages.last().append({QTextDocumentFragment::fromHtml(match.captured(5)).toPlainText(),
                             match.captured(1).toDouble() * UnitsPerPoint, match.captured(2).toDouble() * UnitsPerPoint,
                             match.captured(3).toDouble() * UnitsPerPoint, match.captured(4).toDouble() * UnitsPerPoint});
    }
    return pages;
}

QString PageText(const QList<PrintedWord>& words)
{
    QStringList texts;
    for (const PrintedWord& word : words)
        texts << word.text;
    return texts.join(u' ');
}

const PrintedWord* FindWord(const QList<PrintedWord>& words, const QString& text)
{
    for (const PrintedWord& word : words) {
        if (word.text == text)
            return &word;
    }
    return nullptr;
}

void PrintToPdf(CFormPrinter& printer, const QString& pdfPath)
{
    QPdfWriter writer(pdfPath);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setResolution(600);
    QPainter painter(&writer);
    const int pages = printer.OnPrintBegin();
    for (int page = 1; page <= pages; ++page) {
        if (page > 1)
            writer.newPage();
        printer.OnPrintPage(painter, writer, page);
    }
    painter.end();
    printer.OnPrintEnd(false);
}
