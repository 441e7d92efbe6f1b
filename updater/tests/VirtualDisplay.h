#pragma once

#include "ProcessHelpers.h"

#include <memory>
#include <string>

namespace testhelp {

// An X server of its own (Xvfb) on a free display number, for tests that run a
// program's real windows and answer them with xdotool.
class VirtualDisplay
{
public:
    // The tools that are not installed, by name, empty when all are.
    static std::string MissingTools();

    // Starts the server; Name() stays empty when it does not come up in time.
    VirtualDisplay();
    ~VirtualDisplay();
    VirtualDisplay(const VirtualDisplay&) = delete;
    VirtualDisplay& operator=(const VirtualDisplay&) = delete;

    // The display's name for DISPLAY, such as ":5".
    const std::string& Name() const { return m_name; }

    // The id of a shown window with the title `title` once there is one, or empty
    // after the wait limit.
    std::string FindWindow(const std::string& title) const;
    // Gives `window` the keyboard focus and types `keys` (xdotool key names).
    bool SendKeys(const std::string& window, const std::string& keys) const;

private:
    std::string RunTool(const std::string& arguments, bool& succeeded) const;

    std::unique_ptr<ChildProcess> m_server;
    std::string m_name;
};

} // namespace testhelp
