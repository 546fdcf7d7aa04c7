#include "app/SettingsKey.h"

#include "app/IniText.h"
#include "app/WholeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStringList>
#include <QVariant>

#include <array>
#include <limits>

namespace {

// More than any settings file of the program holds; a larger file is not one.
constexpr qint64 kMaxFileSize = 4 * 1024 * 1024;

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
    FindFile();
    return true;
}

bool CSettingsKey::OpenKey(const QString& subkey, bool create)
{
    m_subkey = subkey;
    FindFile();
    return !create || IsWritable();
}

void CSettingsKey::FindFile()
{
    // QSettings knows where its native settings of a scope live, including the folders
    // that QSettings::setPath chose.
    const auto [organization, application] = StoreNames(m_root, m_subkey);
    const auto scope = m_root == kLocalMachine ? QSettings::SystemScope : QSettings::UserScope;
    m_path = QSettings(QSettings::NativeFormat, scope, organization, application).fileName();
}

bool CSettingsKey::IsWritable() const
{
    // Write permission by the mode bits as well as for this user, so that a folder made
    // read-only is respected even by a user whom the system would let write.
    const auto writable = [](const QFileInfo& info) {
        return info.isWritable() &&
               (info.permissions() & (QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther));
    };
    const QFileInfo file(m_path);
    QString folder = file.absolutePath();
    if (file.exists())
        return file.isFile() && writable(file) && writable(QFileInfo(folder));
    // A missing folder is made by the first save, in the nearest folder that exists.
    while (!QFileInfo::exists(folder)) {
        const QString parent = QFileInfo(folder).absolutePath();
        if (parent == folder)
            return false;
        folder = parent;
    }
    return writable(QFileInfo(folder));
}

CIniText CSettingsKey::Read() const
{
    // Only a regular file of a settings file's size: never a FIFO, which would block.
    const QFileInfo info(m_path);
    QFile file(m_path);
    if (!info.isFile() || info.size() > kMaxFileSize || !file.open(QIODevice::ReadOnly))
        return {};
    return CIniText::Parse(file.read(kMaxFileSize));
}

bool CSettingsKey::Write(const CIniText& text)
{
    QString error;
    if (!IsWritable())
        error = tr("%1 is read-only").arg(QDir::toNativeSeparators(m_path));
    else if (WriteWholeFile(m_path, text.ToBytes(), &error))
        return true;
    if (m_writeError.isEmpty())
        m_writeError = error;
    return false;
}

QVariant CSettingsKey::Value(const QString& name) const
{
    return Read().Value(name);
}

QString CSettingsKey::GetString(const QString& name, const QString& defaultValue) const
{
    const QVariant value = Value(name);
    if (!IsStringValue(value))
        return defaultValue;
    return value.toString().left(kMaxStringLength);
}

int CSettingsKey::GetInt(const QString& name, int defaultValue) const
{
    const QVariant value = Value(name);
    bool ok = false;
    qlonglong number = 0;
    if (IsStringValue(value))
        number = value.toString().trimmed().toLongLong(&ok, 10);
    if (!ok || number < std::numeric_limits<int>::min() || number > std::numeric_limits<int>::max())
        return defaultValue;
    return static_cast<int>(number);
}

QByteArray CSettingsKey::GetBinary(const QString& name) const
{
    const QVariant value = Value(name);
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
    CIniText ini = Read();
    ini.SetString(name, text);
    return Write(ini);
}

bool CSettingsKey::SetInt(const QString& name, int value)
{
    CIniText ini = Read();
    ini.SetNumber(name, value);
    return Write(ini);
}

bool CSettingsKey::SetBinary(const QString& name, const QByteArray& bytes)
{
    CIniText ini = Read();
    ini.SetBytes(name, bytes);
    return Write(ini);
}

bool CSettingsKey::SetRect(const QString& name, const QRect& rect)
{
    return SetBinary(name, EncodeRect(rect));
}

int CSettingsKey::ValueType(const QString& name) const
{
    const QVariant value = Value(name);
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
    return kTypeString;
}

bool CSettingsKey::ValueExists(const QString& name) const
{
    return Read().Contains(name);
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
