#include "TempFolder.h"

#include <QFile>
#include <stdexcept>

TempFolder::TempFolder()
{
    if (!m_dir.isValid())
        throw std::runtime_error("cannot create a temporary folder");
}

QString TempFolder::path() const
{
    return m_dir.path() + "/";
}

QString TempFolder::file(const QString& name) const
{
    return path() + name;
}

void TempFolder::writeBytes(const QString& name, const QByteArray& bytes) const
{
    QFile f(file(name));
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write a test file");
}

QByteArray TempFolder::readBytes(const QString& name) const
{
    QFile f(file(name));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}
