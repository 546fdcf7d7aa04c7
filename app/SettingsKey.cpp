#include "app/SettingsKey.h"

#include <QSettings>
#include <QStringList>
#include <QVariant>

#include <array>
#include <limits>
#include <memory>

namespace {

// "Software\A\B" -> organisation "A", application "B"; the prefix "Software\" is implied.
std::pair<QString, QString> StoreNames(std::uint32_t root, const QString& subkey)
{
    QStringList parts = subkey.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    if (!parts.isEmpty() &&
        parts.front().compare(QLatin1String("Software"), Qt::CaseInsensitive) == 0)
        parts.removeFirst();
    if (root == CSettingsKey::kClassesRoot)
        parts.prepend(QStringLiteral("Classes"));
    else if (root == CSettingsKey::kUsers)
        parts.prepend(QStringLiteral("Users"));
    if (parts.isEmpty())
        return {QStringLiteral("Farsighter"), QString()};
    const QString organization = parts.takeFirst();
    return {organization, parts.join(QLatin1Char('/'))};
}

bool IsStringValue(const QVariant& value)
{
    return value.typeId() == QMetaType::QString;
}

} // namespace

bool CSettingsKey::SetRoot(std::uint32_t root)
{
    if (root < kClassesRoot || root > kUsers)
        return false;
    m_root = root;
    return true;
}

bool CSettingsKey::OpenKey(const QString& subkey, bool create)
{
    const QString previous = m_subkey;
    m_subkey = subkey;
    const auto settings = Open();
    if (create && !settings->isWritable()) {
        m_subkey = previous;
        return false;
    }
    return settings->status() == QSettings::NoError;
}

std::unique_ptr<QSettings> CSettingsKey::Open() const
{
    const auto [organization, application] = StoreNames(m_root, m_subkey);
    const auto scope = m_root == kLocalMachine ? QSettings::SystemScope : QSettings::UserScope;
    return std::make_unique<QSettings>(QSettings::NativeFormat, scope, organization, application);
}

QString CSettingsKey::GetString(const QString& name, const QString& defaultValue) const
{
    const QVariant value = Open()->value(name);
    if (!IsStringValue(value))
        return defaultValue;
    return value.toString().left(kMaxStringLength);
}

int CSettingsKey::GetInt(const QString& name, int defaultValue) const
{
    const QVariant value = Open()->value(name);
    bool ok = false;
    qlonglong number = 0;
    if (IsStringValue(value))
        number = value.toString().trimmed().toLongLong(&ok, 10);
    else if (value.typeId() == QMetaType::Int || value.typeId() == QMetaType::UInt ||
             value.typeId() == QMetaType::LongLong)
        number = value.toLongLong(&ok);
    if (!ok || number < std::numeric_limits<int>::min() || number > std::numeric_limits<int>::max())
        return defaultValue;
    return static_cast<int>(number);
}

QByteArray CSettingsKey::GetBinary(const QString& name) const
{
    const QVariant value = Open()->value(name);
    return value.typeId() == QMetaType::QByteArray ? value.toByteArray() : QByteArray();
}

std::optional<QRect> CSettingsKey::GetRect(const QString& name) const
{
    return DecodeRect(GetBinary(name));
}

bool CSettingsKey::SetString(const QString& name, const QString& text)
{
    if (text.size() > kMaxStringLength)
        return false;
    const auto settings = Open();
    settings->setValue(name, text);
    settings->sync();
    return settings->status() == QSettings::NoError;
}

bool CSettingsKey::SetInt(const QString& name, int value)
{
    const auto settings = Open();
    settings->setValue(name, value);
    settings->sync();
    return settings->status() == QSettings::NoError;
}

bool CSettingsKey::SetBinary(const QString& name, const QByteArray& bytes)
{
    const auto settings = Open();
    settings->setValue(name, bytes);
    settings->sync();
    return settings->status() == QSettings::NoError;
}

bool CSettingsKey::SetRect(const QString& name, const QRect& rect)
{
    return SetBinary(name, EncodeRect(rect));
}

int CSettingsKey::ValueType(const QString& name) const
{
    const QVariant value = Open()->value(name);
    if (!value.isValid())
        return kTypeNone;
    if (value.typeId() == QMetaType::QByteArray)
        return kTypeBinary;
    if (IsStringValue(value)) {
        // A text store keeps numbers as text; a value that reads as a number is one.
        bool ok = false;
        value.toString().toInt(&ok, 10);
        return ok ? kTypeNumber : kTypeString;
    }
    return value.canConvert<int>() ? kTypeNumber : kTypeString;
}

bool CSettingsKey::ValueExists(const QString& name) const
{
    return Open()->contains(name);
}

QByteArray CSettingsKey::EncodeRect(const QRect& rect)
{
    const std::array<qint32, 4> edges = {rect.x(), rect.y(), rect.x() + rect.width(),
                                         rect.y() + rect.height()};
    QByteArray bytes;
    bytes.reserve(16);
    for (const qint32 edge : edges) {
        const auto word = static_cast<quint32>(edge);
        for (int shift = 0; shift < 32; shift += 8)
            bytes.append(static_cast<char>((word >> shift) & 0xFF));
    }
    return bytes;
}

std::optional<QRect> CSettingsKey::DecodeRect(const QByteArray& bytes)
{
    if (bytes.size() != 16)
        return std::nullopt;
    std::array<qint64, 4> edges{};
    for (int i = 0; i < 4; ++i) {
        quint32 word = 0;
        for (int b = 0; b < 4; ++b)
            word |= quint32{static_cast<unsigned char>(bytes[i * 4 + b])} << (8 * b);
        edges[static_cast<std::size_t>(i)] = static_cast<qint32>(word);
    }
    // Widths and heights that do not fit an int cannot be a window.
    const qint64 width = edges[2] - edges[0];
    const qint64 height = edges[3] - edges[1];
    if (width > std::numeric_limits<int>::max() || height > std::numeric_limits<int>::max() ||
        width < std::numeric_limits<int>::min() || height < std::numeric_limits<int>::min())
        return std::nullopt;
    return QRect(static_cast<int>(edges[0]), static_cast<int>(edges[1]), static_cast<int>(width),
                 static_cast<int>(height));
}
