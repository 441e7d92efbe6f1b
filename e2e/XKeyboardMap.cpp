#include "XKeyboardMap.h"

#include <QSet>

#include <X11/Xlib.h>

#include <vector>

struct XKeyboardMap::XDisplayConnection
{
    Display* display;
};

namespace {

// The key symbol of a character: Latin-1 as it is, the rest in the Unicode
// range of key symbols.
KeySym SymbolOf(char32_t character)
{
    return character < 0x100 ? KeySym(character) : KeySym(0x01000000 + character);
}

} // namespace

XKeyboardMap::XKeyboardMap(const QString& display)
{
    Display* connection = XOpenDisplay(display.toLocal8Bit().constData());
    if (!connection)
        return;
    m_display = new XDisplayConnection{connection};
    int minCode = 0, maxCode = 0;
    XDisplayKeycodes(connection, &minCode, &maxCode);
    KeySym* symbols = XGetKeyboardMapping(connection, KeyCode(minCode), maxCode - minCode + 1, &m_nSymbolsPerCode);
    if (!symbols)
        return;
    for (int code = minCode; code <= maxCode; ++code) {
        bool spare = true;
        for (int level = 0; level < m_nSymbolsPerCode; ++level)
            spare = spare && symbols[(code - minCode) * m_nSymbolsPerCode + level] == NoSymbol;
        if (spare)
            m_spareCodes << code;
    }
    XFree(symbols);
}

XKeyboardMap::~XKeyboardMap()
{
    if (m_display)
        XCloseDisplay(m_display->display);
    delete m_display;
}

bool XKeyboardMap::Bind(const QString& text)
{
    if (!m_display || m_nSymbolsPerCode == 0)
        return false;
    Display* connection = m_display->display;
    QSet<KeySym> needed;
    for (const char32_t character : text.toUcs4()) {
        if (character >= 0x80)
            needed.insert(SymbolOf(character));
    }
    // Xlib's own copy of the map does not follow our changes (this client
    // reads no events): the spare keys are known from what was bound here.
    QList<KeySym> missing;
    const QList<unsigned long> bound = m_boundSymbols.values();
    for (const KeySym symbol : needed) {
        const int code = XKeysymToKeycode(connection, symbol);
        const bool inTheFirstMap = code != 0 && !m_spareCodes.contains(code);
        if (!inTheFirstMap && !bound.contains(symbol))
            missing << symbol;
    }
    QList<int> free;
    for (const int code : m_spareCodes) {
        if (!needed.contains(m_boundSymbols.value(code, NoSymbol)))
            free << code;
    }
    if (missing.size() > free.size())
        return false;
    for (const KeySym symbol : missing) {
        // Handed out in turn, so that the characters of the texts typed
        // lately keep their keys.
        int code;
        do {
            code = m_spareCodes[m_nNextSpare];
            m_nNextSpare = (m_nNextSpare + 1) % m_spareCodes.size();
        } while (!free.contains(code));
        free.removeOne(code);
        // Every level the same symbol, so that no modifier is needed.
        std::vector<KeySym> levels(size_t(m_nSymbolsPerCode), symbol);
        XChangeKeyboardMapping(connection, code, m_nSymbolsPerCode, levels.data(), 1);
        m_boundSymbols.insert(code, symbol);
    }
    XSync(connection, False);
    return true;
}
