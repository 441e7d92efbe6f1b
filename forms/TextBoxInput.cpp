#include "TextBoxInput.h"

#include "WindowStyles.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>

namespace {

// Removes the end of a text just put in at position that goes beyond
// maxLength characters.
void TrimInsertion(QTextDocument* document, int maxLength, int position, int added)
{
    const int end = qMin(position + added, document->characterCount() - 1);
    const int length = document->characterCount() - 1 + document->blockCount() - 1;
    if (length <= maxLength || end <= position)
        return;
    QTextCursor cursor(document);
    cursor.setPosition(position);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    const QString inserted = cursor.selectedText();
    const qsizetype breaks = inserted.count(QChar::ParagraphSeparator);
    qsizetype room = maxLength - (length - inserted.size() - breaks);
    qsizetype kept = 0;
    for (; kept < inserted.size(); ++kept) {
        room -= inserted[kept] == QChar::ParagraphSeparator ? 2 : 1;
        if (room < 0)
            break;
    }
    cursor.setPosition(position + int(kept));
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
}

} // namespace

CTextBoxValidator::CTextBoxValidator(int style, int maxLength, QLineEdit* edit)
    : QValidator(edit)
    , m_nStyle(style)
    , m_nMaxLength(maxLength)
    , m_pEdit(edit)
    , m_strBefore(edit->text())
{
    QObject::connect(edit, &QLineEdit::textChanged, this, [this](const QString& text) { m_strBefore = text; });
}

QValidator::State CTextBoxValidator::validate(QString& input, int& pos) const
{
    if (m_nStyle & WindowStyle::EditUpperCase)
        input = input.toUpper();
    else if (m_nStyle & WindowStyle::EditLowerCase)
        input = input.toLower();
    pos = qMin(pos, int(input.size()));
    if (m_nStyle & WindowStyle::EditNumber) {
        for (const QChar c : input) {
            if (c < u'0' || c > u'9')
                return Invalid;
        }
    }
    // setText clears the box's modified flag before it validates; the
    // user's typing, pasting and dropping have set it by then.
    if (m_nMaxLength > 0 && input.size() > m_nMaxLength && m_pEdit->isModified() && !FitTyped(input, pos))
        return Invalid;
    return Acceptable;
}

bool CTextBoxValidator::FitTyped(QString& input, int& pos) const
{
    // The text behind the cursor is as it was; what lies between the part
    // both texts begin with and the cursor went in now.
    const int limit = qMin(pos, int(m_strBefore.size()));
    int start = 0;
    while (start < limit && input[start] == m_strBefore[start])
        ++start;
    const int typed = pos - start;
    const int room = qMax(0, m_nMaxLength - (int(input.size()) - typed));
    if (typed <= room)
        return true;
    input.remove(start + room, typed - room);
    pos = start + room;
    return input != m_strBefore;
}

void LimitTyping(QPlainTextEdit* edit, int maxLength)
{
    QTextDocument* document = edit->document();
    QObject::connect(document, &QTextDocument::contentsChange, edit,
                     [document, maxLength](int position, int, int added) {
                         // The user's typing, pasting and dropping go on the
                         // undo stack; setPlainText empties it.
                         if (document->isUndoAvailable())
                             TrimInsertion(document, maxLength, position, added);
                     });
}
