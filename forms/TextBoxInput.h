#pragma once

#include <QString>
#include <QValidator>

class QLineEdit;
class QPlainTextEdit;

// What the text boxes take from the user. The edit-style bits shape the
// typed text (digits only, upper or lower case); "maxlen" limits only what
// the user types, pastes or drops into a box, as an edit control's text
// limit does: the initial value and every text the program puts in (values
// of actions, texts from the database, a picker's result) stay whole. A
// typed or pasted text goes in as far as there is room; a text already
// longer than the limit can lose characters but gains none.

// The validator of a one-line box (a text box or a browse box).
class CTextBoxValidator : public QValidator
{
public:
    // maxLength 0: no limit.
    CTextBoxValidator(int style, int maxLength, QLineEdit* edit);

    State validate(QString& input, int& pos) const override;

private:
    // Cuts what the user has just put in before the cursor to the room the
    // limit leaves; false when nothing of it is left to change the text.
    bool FitTyped(QString& input, int& pos) const;

    int m_nStyle;
    int m_nMaxLength;
    QLineEdit* m_pEdit;
    // The text before the change being validated.
    QString m_strBefore;
};

// The limit of a multi-line box; a line break counts two characters, as in
// a text with CR LF.
void LimitTyping(QPlainTextEdit* edit, int maxLength);
