#include "HostFacts.h"

#include <QHostAddress>
#include <QHostInfo>
#include <QNetworkInterface>

namespace {
// The code of "no adapter", as the adapter enumeration reported it.
constexpr int kNoAdapter = 0x23;
} // namespace

bool GetHostNameAndIp(QString& hostName, QString& ip)
{
    const QString name = QHostInfo::localHostName();
    if (name.isEmpty())
        return true;
    // The interfaces' own addresses: a name lookup may only find loopback.
    for (const QNetworkInterface& adapter : QNetworkInterface::allInterfaces()) {
        if (adapter.flags().testFlag(QNetworkInterface::IsLoopBack)
            || !adapter.flags().testFlag(QNetworkInterface::IsUp))
            continue;
        for (const QNetworkAddressEntry& entry : adapter.addressEntries()) {
            if (entry.ip().protocol() == QAbstractSocket::IPv4Protocol) {
                hostName = name;
                ip = entry.ip().toString();
                return true;
            }
        }
    }
    hostName = name;
    ip = QHostAddress(QHostAddress::LocalHost).toString();
    return true;
}

int GetMacAddress(QString& mac)
{
    for (const QNetworkInterface& adapter : QNetworkInterface::allInterfaces()) {
        if (adapter.flags().testFlag(QNetworkInterface::IsLoopBack))
            continue;
        const QString address = adapter.hardwareAddress();
        if (address.size() == 17) {
            mac = address.toUpper().replace(u':', u'-');
            return 0;
        }
    }
    return kNoAdapter;
}
