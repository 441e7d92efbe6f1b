#pragma once

#include <QString>
#include <cstdint>

// The version information of a module. On this platform the only module with
// a version is the running program, whose version the build sets.
class CModuleVersion
{
public:
    virtual ~CModuleVersion() = default;

    // An empty name means the running program; another name gives false
    // unless it is the running program's path.
    bool LoadVersionInfo(const QString& moduleName);

    uint32_t m_dwSignature = 0;
    uint32_t m_dwFileVersionMS = 0; // major << 16 | minor
    uint32_t m_dwFileVersionLS = 0; // build << 16 | revision
    uint32_t m_dwProductVersionMS = 0;
    uint32_t m_dwProductVersionLS = 0;
    uint16_t m_wLanguage = 0;
    uint16_t m_wCodePage = 1252;
};

// "%d.%d.%d.%d" of the module's file version, "0.0.0.0" when it has none.
QString GetFileVersionText(const QString& moduleName);
