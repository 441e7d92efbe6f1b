#pragma once

#include <QByteArray>

// The encoder of stored forms, for tests only: the program never encodes.
// It empties its dictionary at the same point as the decoder does.
QByteArray LzwEncodeForTest(const QByteArray& input, int width);
