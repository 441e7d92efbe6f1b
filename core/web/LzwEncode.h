#pragma once

#include <QByteArray>

// Encodes a form description into the stored form that LzwDecode reads:
// the output length, the code width (at most 25) and the codes. The dictionary
// is emptied at the same point as the decoder empties it. Used by the tool
// that makes the demo database and by tests.
QByteArray LzwEncode(const QByteArray& input, int width);
