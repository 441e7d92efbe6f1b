#pragma once

#include <QByteArray>
#include <QString>

// Percent-coding of texts for URLs and the byte conversions of web replies.

// Every UTF-8 byte of the text, letters and digits included, as "%" and two
// lower-case hexadecimal digits ("a b" gives "%61%20%62").
QString UrlEncode(const QString& text);

// Each "%" followed by two hexadecimal digits becomes the byte they give;
// everything else ("+" and a "%" without two digits included) stays as it is.
// The bytes are read as UTF-8.
QString HexDecodeUtf8(const QString& text);

// The UTF-8 bytes of the text; their count is the array's size.
QByteArray WideToUtf8(const QString& text);

QString Utf8ToString(const QByteArray& bytes);

// Reads code page 936 bytes into the text, replacing what it held.
void Gb2312ToString(const QByteArray& bytes, QString& text);
