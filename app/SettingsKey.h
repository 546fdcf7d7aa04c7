#pragma once

#include <QByteArray>
#include <QRect>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>

class QSettings;

// The program's settings store: typed values under one key, each read falling back to a
// default. A key path such as "Software\Farsighter RTCW" names the same place on every
// platform: that registry key under the chosen root on Windows, and the settings file
// "Farsighter RTCW.conf" in the user's configuration folder elsewhere ("Software\A\B"
// becomes "A/B.conf").
//
// Numbers are 32-bit, rectangles 16 bytes (left, top, right, bottom as little-endian
// 32-bit integers; right and bottom exclusive), binary values byte arrays. A value of the
// wrong type, size or range reads as the default, so a damaged file never takes effect.
class CSettingsKey
{
public:
    // The roots, with the platform's numbers. Only the current user's root is used by the
    // program; the local machine maps to the system-wide store, the two others to the
    // user's store under a prefix of their own.
    static constexpr std::uint32_t kClassesRoot = 0x80000000;
    static constexpr std::uint32_t kCurrentUser = 0x80000001;
    static constexpr std::uint32_t kLocalMachine = 0x80000002;
    static constexpr std::uint32_t kUsers = 0x80000003;

    // Strings longer than this are not stored; reads cut at it.
    static constexpr int kMaxStringLength = 32767;

    // Registry value types, for ValueType.
    static constexpr int kTypeNone = 0;
    static constexpr int kTypeString = 1;
    static constexpr int kTypeBinary = 3;
    static constexpr int kTypeNumber = 4;

    CSettingsKey() = default;

    // Accepts only the four roots above; any other leaves the root as it was.
    bool SetRoot(std::uint32_t root);
    std::uint32_t Root() const { return m_root; }
    // Selects the key; with create, makes sure it can be written. An empty path selects
    // the root itself.
    bool OpenKey(const QString& subkey, bool create = true);
    const QString& SubKey() const { return m_subkey; }

    QString GetString(const QString& name, const QString& defaultValue = {}) const;
    int GetInt(const QString& name, int defaultValue) const;
    std::optional<QRect> GetRect(const QString& name) const;
    // Empty when missing or not binary.
    QByteArray GetBinary(const QString& name) const;

    bool SetString(const QString& name, const QString& text);
    bool SetInt(const QString& name, int value);
    bool SetRect(const QString& name, const QRect& rect);
    bool SetBinary(const QString& name, const QByteArray& bytes);

    int ValueType(const QString& name) const;
    bool ValueExists(const QString& name) const;

    // Rectangle encodings, exposed for the grids' layout values and for tests.
    static QByteArray EncodeRect(const QRect& rect);
    static std::optional<QRect> DecodeRect(const QByteArray& bytes);

private:
    std::unique_ptr<QSettings> Open() const;

    std::uint32_t m_root = kCurrentUser;
    QString m_subkey;
};
