#include "app/SettingsKey.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <gtest/gtest.h>

namespace {

CSettingsKey OpenKey(const QString& subkey)
{
    CSettingsKey key;
    EXPECT_TRUE(key.SetRoot(CSettingsKey::kCurrentUser));
    EXPECT_TRUE(key.OpenKey(subkey, true));
    return key;
}

TEST(SettingsKeyTest, ValuesRoundTripWithTheirTypes)
{
    CSettingsKey key = OpenKey(QStringLiteral("Software\\Farsighter Round Trip"));
    EXPECT_FALSE(key.SetRoot(0x80000004));
    EXPECT_EQ(key.Root(), CSettingsKey::kCurrentUser);

    EXPECT_EQ(key.GetInt(QStringLiteral("Speed"), 1), 1);
    EXPECT_EQ(key.ValueType(QStringLiteral("Speed")), CSettingsKey::kTypeNone);
    EXPECT_TRUE(key.SetInt(QStringLiteral("Speed"), -1));
    EXPECT_EQ(key.GetInt(QStringLiteral("Speed"), 1), -1);
    EXPECT_EQ(key.ValueType(QStringLiteral("Speed")), CSettingsKey::kTypeNumber);

    // A path or history far past the old 255-character limit is kept.
    const QString longPath = QStringLiteral("/games/") + QString(300, QLatin1Char('w'));
    EXPECT_TRUE(key.SetString(QStringLiteral("RTCW"), longPath));
    EXPECT_EQ(key.GetString(QStringLiteral("RTCW")), longPath);
    EXPECT_FALSE(key.SetString(QStringLiteral("RTCW"),
                               QString(CSettingsKey::kMaxStringLength + 1, QLatin1Char('x'))));
    EXPECT_EQ(key.GetString(QStringLiteral("RTCW")), longPath);
    EXPECT_EQ(key.ValueType(QStringLiteral("RTCW")), CSettingsKey::kTypeString);

    const QRect rect(-20, 10, 800, 600);
    EXPECT_TRUE(key.SetRect(QStringLiteral("LastPos"), rect));
    EXPECT_EQ(key.GetRect(QStringLiteral("LastPos")), rect);
    EXPECT_EQ(key.ValueType(QStringLiteral("LastPos")), CSettingsKey::kTypeBinary);
    // Left, top, right, bottom as little-endian words.
    EXPECT_EQ(CSettingsKey::EncodeRect(rect).toHex(),
              QByteArray("ecffffff0a0000000c03000062020000"));
}

TEST(SettingsKeyTest, DamagedValuesReadAsTheirDefaults)
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    ASSERT_TRUE(QDir().mkpath(folder));
    QFile file(QDir(folder).filePath(QStringLiteral("Farsighter Damaged.conf")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[General]\n"
               "Speed=fast\n"
               "Version=99999999999\n"
               "Password=@ByteArray(\\0\\x1)\n"
               "LastPos=@ByteArray(short)\n"
               "SplitPos=@Rect(1 2 3 4)\n"
               "LastView=\n"
               "Lattix_Server=not binary\n"
               "garbage line without equals\n");
    file.close();

    const CSettingsKey key = OpenKey(QStringLiteral("Software\\Farsighter Damaged"));
    EXPECT_EQ(key.GetInt(QStringLiteral("Speed"), 1), 1);
    EXPECT_EQ(key.GetInt(QStringLiteral("Version"), 60), 60);
    EXPECT_EQ(key.GetInt(QStringLiteral("SplitPos"), 0), 0);
    EXPECT_EQ(key.GetInt(QStringLiteral("LastView"), 0), 0);
    EXPECT_EQ(key.GetString(QStringLiteral("Password"), QStringLiteral("none")),
              QStringLiteral("none"));
    EXPECT_FALSE(key.GetRect(QStringLiteral("LastPos")).has_value());
    EXPECT_TRUE(key.GetBinary(QStringLiteral("Lattix_Server")).isEmpty());
    // Edges whose difference does not fit an int are no rectangle.
    QByteArray wide = CSettingsKey::EncodeRect(QRect(0, 0, 10, 10));
    wide.replace(0, 4, QByteArray::fromHex("00000080")); // left = INT_MIN, right = 10
    EXPECT_FALSE(CSettingsKey::DecodeRect(wide).has_value());
}

} // namespace
