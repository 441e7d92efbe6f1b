#pragma once

#include <QByteArray>
#include <QString>

// Code page 936 (simplified Chinese) is the encoding of files written for other
// programs, of command output and of cfg.ini files without a byte-order mark.
// Reading accepts all of GB18030 (a superset); writing produces code page 936,
// with characters it cannot hold written as "?".

QString FromCp936(const QByteArray& bytes);
QByteArray ToCp936(const QString& text);
