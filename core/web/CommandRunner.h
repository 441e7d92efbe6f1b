#pragma once

#include <QString>

// Runs the command line with /bin/sh -c, its standard input closed, and gives
// everything it wrote to standard output and standard error, read as code
// page 936 in one piece. Waits until the command ends; an empty text when it
// cannot be started. The exit code is not looked at.
QString RunCommandCapture(const QString& command);
