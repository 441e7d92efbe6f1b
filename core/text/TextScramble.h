#pragma once

#include <QString>

// The reversible, length-preserving character shift under which connection
// texts and user passwords are stored. Works on UTF-16 code units; every
// result unit wraps modulo 65536. Every caller passes key 1.
QString ScrambleText(const QString& text, int key);
QString UnscrambleText(const QString& text, int key);
