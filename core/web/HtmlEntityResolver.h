#pragma once

#include <QChar>
#include <QString>

// Character references of HTML pages: "&#65;", "&#x41;" and the named ones of
// the Latin-1 set plus quot, amp, apos, lt and gt.
class CLiteHTMLEntityResolver
{
public:
    // Reads the reference that starts at text[pos] ("&", after optional white
    // space). Gives the characters consumed up to and including ";", with the
    // character in ch, or 0 when no known reference is there.
    static qsizetype ResolveEntity(const QString& text, qsizetype pos, QChar& ch);
};
