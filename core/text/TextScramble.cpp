#include "text/TextScramble.h"

namespace {

// direction +1 scrambles, -1 unscrambles. The position term (3 * key * i) mod 7
// keeps its sign as in C arithmetic; it is accumulated already reduced, which
// gives the same remainders without overflowing on long texts or large keys.
QString ShiftText(const QString& text, int key, int direction)
{
    const int step = (3 * (key % 7)) % 7;
    const int lengthTerm = static_cast<int>(text.size() % 20);
    QString result(text.size(), Qt::Uninitialized);
    int positionTerm = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const int unit = text[i].unicode() + direction * (positionTerm - lengthTerm);
        result[i] = QChar(static_cast<char16_t>(unit & 0xFFFF));
        positionTerm = (positionTerm + step) % 7;
    }
    return result;
}

} // namespace

QString ScrambleText(const QString& text, int key)
{
    return ShiftText(text, key, 1);
}

QString UnscrambleText(const QString& text, int key)
{
    return ShiftText(text, key, -1);
}
