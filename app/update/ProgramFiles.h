#pragma once

#include <QString>

// Checks and markers for the program files an update puts in place.

// True when the file is a whole ELF executable for this machine (see
// updater/ProgramImage.h): what the service or the database hands over must be
// a program before anything is replaced by it. A download whose reply gave no
// length and was cut off is caught here too, as its image is not whole.
bool IsProgramFile(const QString& path);
bool IsProgramImage(const QByteArray& bytes);

// Makes the file executable by everyone, writable by its owner.
bool MakeExecutable(const QString& path);

// The version last handed to the updater and the digest of the program file
// handed over with it, kept in the program folder. When the source keeps
// offering a version whose program, once installed, still reports an older
// version, every start would download and restart again. The marker stops
// that loop, yet lets the offer stand when the user declined it in `up` (the
// running program is then not the one handed over).
class UpdateMarker
{
public:
    explicit UpdateMarker(const QString& programFolder);

    // False when `version` was handed over before and the running program
    // is the very file handed over with it.
    bool MayInstall(const QString& version, const QString& runningProgram) const;
    void Note(const QString& version, const QString& handedOverProgram) const;

private:
    QString m_strPath;
};
