#pragma once

#include <QString>

// Facts of this computer that the login log and the update request carry.

// The host name and its first IPv4 address. True when the name could be
// asked for; both outputs stay as they were when the name or its address
// cannot be found.
bool GetHostNameAndIp(QString& hostName, QString& ip);

// "%02X-%02X-%02X-%02X-%02X-%02X" of the first network adapter that has a
// hardware address (loopback left out). 0 on success; a non-zero code, with
// the output untouched, when there is none.
int GetMacAddress(QString& mac);
