#include "web/ModuleVersion.h"

#include "text/ModuleFolder.h"

#include <QFileInfo>
#include <QStringList>

namespace {

constexpr uint32_t kFixedInfoSignature = 0xFEEF04BD;
const QString kNoVersion = QStringLiteral("0.0.0.0");

bool IsRunningProgram(const QString& moduleName)
{
    if (moduleName.isEmpty())
        return true;
    const QString canonical = QFileInfo(moduleName).canonicalFilePath();
    return !canonical.isEmpty() && canonical == QFileInfo(GetModulePath()).canonicalFilePath();
}

} // namespace

bool CModuleVersion::LoadVersionInfo(const QString& moduleName)
{
    *this = CModuleVersion();
    if (!IsRunningProgram(moduleName))
        return false;
    const QStringList parts = QStringLiteral(TEMBRA_VERSION_TEXT).split(u'.');
    if (parts.size() != 4)
        return false;
    uint32_t numbers[4];
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        numbers[i] = parts[i].toUShort(&ok);
        if (!ok)
            return false;
    }
    m_dwFileVersionMS = numbers[0] << 16 | numbers[1];
    m_dwFileVersionLS = numbers[2] << 16 | numbers[3];
    m_dwProductVersionMS = m_dwFileVersionMS;
    m_dwProductVersionLS = m_dwFileVersionLS;
    m_dwSignature = kFixedInfoSignature;
    return true;
}

QString GetFileVersionText(const QString& moduleName)
{
    CModuleVersion version;
    if (!version.LoadVersionInfo(moduleName))
        return kNoVersion;
    return QStringLiteral("%1.%2.%3.%4")
        .arg(version.m_dwFileVersionMS >> 16)
        .arg(version.m_dwFileVersionMS & 0xFFFF)
        .arg(version.m_dwFileVersionLS >> 16)
        .arg(version.m_dwFileVersionLS & 0xFFFF);
}
