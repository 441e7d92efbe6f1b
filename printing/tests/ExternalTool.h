#pragma once

#include <QString>
#include <QStringList>

// The command-line readers the tests check printed output with: zbarimg for
// bar codes, pdftotext and pdftoppm for PDF files.

// True when the program is on the PATH.
bool HaveTool(const QString& program);

// Runs the program and gives its standard output as UTF-8 text; ok is false
// when it cannot start, times out or exits non-zero.
QString RunTool(const QString& program, const QStringList& arguments, bool* ok = nullptr);

// The data of the bar codes zbarimg finds in an image file, one entry per symbol.
QStringList DecodeSymbols(const QString& imagePath);

// Skips the running test when a reader is missing.
#define SKIP_WITHOUT_TOOL(program) \
    if (!HaveTool(program)) \
        GTEST_SKIP() << program << " is not installed";
