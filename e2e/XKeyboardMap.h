#pragma once

#include <QHash>
#include <QList>
#include <QString>

// The keyboard map of a display, with the characters a session is about to
// type bound to spare key codes first. Left to itself, xdotool binds a
// character the map lacks to a spare key for its key press only and unbinds
// it right after; a busy program that fetches the map after the unbinding
// reads a key without a character, and the character is lost. Bound here
// before the keys go, the map does not change while they are read.
class XKeyboardMap
{
public:
    explicit XKeyboardMap(const QString& display);
    ~XKeyboardMap();
    XKeyboardMap(const XKeyboardMap&) = delete;
    XKeyboardMap& operator=(const XKeyboardMap&) = delete;

    // Binds each character of the text the map lacks; false when the
    // display cannot be reached or has too few spare keys for the text
    // (xdotool then binds the rest for the moment, as it does by itself).
    bool Bind(const QString& text);

private:
    struct XDisplayConnection;
    XDisplayConnection* m_display = nullptr;
    int m_nSymbolsPerCode = 0;
    // Key codes the map had no symbol for, handed out in turn, and the
    // symbol bound to each so far.
    QList<int> m_spareCodes;
    QHash<int, unsigned long> m_boundSymbols;
    qsizetype m_nNextSpare = 0;
};
