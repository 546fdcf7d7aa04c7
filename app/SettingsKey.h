#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QRect>
#include <QString>
#include <QVariant>

#include <cstdint>
#include <optional>

class CIniText;

// The program's settings store: typed values under one key, each read falling back to a
// default. A key path such as "Software\Farsighter RTCW" names the settings file
// "Farsighter RTCW.conf" in the user's configuration folder, where QSettings keeps its
// native settings ("Software\A\B" becomes "A/B.conf"); the file is in QSettings' INI
// form (IniText.h).
//
// Numbers are 32-bit, rectangles 16 bytes (left, top, right, bottom as little-endian
// 32-bit integers; right and bottom exclusive), binary values byte arrays. A value of the
// wrong type, size or range reads as the default, so a damaged file never takes effect.
//
// Every Set rewrites the file whole, or leaves it as it was and returns false (a full disk).
// A file or folder without write permission is read but never written: IsWritable says so,
// and every Set then returns false.
class CSettingsKey
{
    Q_DECLARE_TR_FUNCTIONS(CSettingsKey)

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

    CSettingsKey() { FindFile(); }

    // Accepts only the four roots above; any other leaves the root as it was.
    bool SetRoot(std::uint32_t root);
    std::uint32_t Root() const { return m_root; }
    // Selects the key, which can then be read; with create, true only when it can also be
    // written. An empty path selects the root itself.
    bool OpenKey(const QString& subkey, bool create = true);
    const QString& SubKey() const { return m_subkey; }
    // The settings file of the key.
    const QString& FilePath() const { return m_path; }
    // Whether changes can be saved: the file and its folder are not read-only.
    bool IsWritable() const;
    // Why the first Set that failed did; empty while none has.
    const QString& WriteError() const { return m_writeError; }

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
    CIniText Read() const;
    bool Write(const CIniText& text);
    QVariant Value(const QString& name) const;
    void FindFile();

    std::uint32_t m_root = kCurrentUser;
    QString m_subkey;
    QString m_path;
    QString m_writeError;
};
