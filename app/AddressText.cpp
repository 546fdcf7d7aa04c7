#include "app/AddressText.h"

#include <QRegularExpression>

bool IsHostShaped(const QString& host)
{
    static const QRegularExpression shape(
        QStringLiteral("^[A-Za-z0-9](?:[A-Za-z0-9-]{0,62})(?:\\.[A-Za-z0-9-]{1,63})*\\.?$"));
    return host.size() <= 253 && shape.match(host).hasMatch();
}

std::optional<CSockAddr> ParseAddressText(const QString& rawText, int defaultPort)
{
    const QString text = rawText.trimmed();
    qsizetype split = text.indexOf(QLatin1Char('['));
    if (split < 0)
        split = text.indexOf(QLatin1Char(':'));
    const QString host = split < 0 ? text : text.left(split);
    QString portText = split < 0 ? QString() : text.mid(split + 1);
    if (text.indexOf(QLatin1Char('[')) >= 0 && portText.endsWith(QLatin1Char(']')))
        portText.chop(1);
    if (!IsHostShaped(host))
        return std::nullopt;
    int port = defaultPort;
    if (split >= 0) {
        bool ok = false;
        port = portText.toInt(&ok, 10);
        if (!ok || port < 0 || port > 65535)
            return std::nullopt;
    }
    CSockAddr address;
    address.Parse(host.toStdString());
    if (!address.IsValid())
        return std::nullopt;
    return CSockAddr(address.GetAddressNetworkOrder(), static_cast<std::uint16_t>(port));
}
