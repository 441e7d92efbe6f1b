#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// A temporary folder for one test, removed with the object. path() ends in "/".
class TempFolder
{
public:
    TempFolder();

    QString path() const;
    QString file(const QString& name) const;

    void writeBytes(const QString& name, const QByteArray& bytes) const;
    QByteArray readBytes(const QString& name) const;

private:
    QTemporaryDir m_dir;
};
