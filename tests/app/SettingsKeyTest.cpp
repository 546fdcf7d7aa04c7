#include "WindowFixture.h"

#include "app/SettingsKey.h"

#include <QDir>
#include <QFile>
#include <QPoint>
#include <QSettings>
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
    WriteAll(QDir(folder).filePath(QStringLiteral("Farsighter Damaged.conf")),
             "[General]\n"
             "Speed=fast\n"
             "Version=99999999999\n"
             "Password=@ByteArray(\\0\\x1)\n"
             "LastPos=@ByteArray(short)\n"
             "SplitPos=@Rect(1 2 3 4)\n"
             "LastView=\n"
             "Lattix_Server=not binary\n"
             "garbage line without equals\n");

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

TEST(SettingsKeyTest, QSettingsAndTheProgramReadEachOthersFiles)
{
    const QStringList strings = {QString(), QStringLiteral(" blanks at both ends "),
                                 QStringLiteral("a,b;c=d \"q\" \\ @x"),
                                 QStringLiteral("@at\nline\ttab\r\x01\x7f"),
                                 QStringLiteral("Caf\u00e9 \u540d \U0001F600 %/[General]")};
    const QList<QByteArray> bytes = {QByteArray(),
                                     QByteArray("\0\x01"
                                                "1\xff"
                                                "f\x7f,)",
                                                8),
                                     CSettingsKey::EncodeRect(QRect(-20, 10, 800, 600))};
    const QString name = QStringLiteral("Farsighter Both Ways");
    CSettingsKey key = OpenKey(QStringLiteral("Software\\") + name);
    for (int i = 0; i < strings.size(); ++i) {
        ASSERT_TRUE(key.SetString(QStringLiteral("s%1").arg(i), strings[i]));
        ASSERT_TRUE(key.SetInt(QStringLiteral("n%1").arg(i), (i - 2) * 1000000));
    }
    for (int i = 0; i < bytes.size(); ++i)
        ASSERT_TRUE(key.SetBinary(QStringLiteral("b%1").arg(i), bytes[i]));
    {
        QSettings qt(QSettings::NativeFormat, QSettings::UserScope, name);
        ASSERT_EQ(qt.fileName(), key.FilePath());
        for (int i = 0; i < strings.size(); ++i) {
            EXPECT_EQ(qt.value(QStringLiteral("s%1").arg(i)), QVariant(strings[i])) << i;
            EXPECT_EQ(qt.value(QStringLiteral("n%1").arg(i)).toInt(), (i - 2) * 1000000);
        }
        for (int i = 0; i < bytes.size(); ++i)
            EXPECT_EQ(qt.value(QStringLiteral("b%1").arg(i)), QVariant(bytes[i])) << i;
        // What QSettings writes, the program reads; values it does not know stay as they are.
        qt.clear();
        for (int i = 0; i < strings.size(); ++i)
            qt.setValue(QStringLiteral("s%1").arg(i), strings[i]);
        for (int i = 0; i < bytes.size(); ++i)
            qt.setValue(QStringLiteral("b%1").arg(i), bytes[i]);
        qt.setValue(QStringLiteral("Other/point"), QPoint(3, 4));
        qt.setValue(QStringLiteral("list"), QStringList{"x", "y"});
    }
    for (int i = 0; i < strings.size(); ++i)
        EXPECT_EQ(key.GetString(QStringLiteral("s%1").arg(i), QStringLiteral("default")),
                  strings[i])
            << i;
    for (int i = 0; i < bytes.size(); ++i)
        EXPECT_EQ(key.GetBinary(QStringLiteral("b%1").arg(i)), bytes[i]) << i;
    EXPECT_EQ(key.GetString(QStringLiteral("list"), QStringLiteral("not text")), "not text");
    ASSERT_TRUE(key.SetInt(QStringLiteral("n0"), 7));
    QSettings qt(QSettings::NativeFormat, QSettings::UserScope, name);
    EXPECT_EQ(qt.value(QStringLiteral("Other/point")), QVariant(QPoint(3, 4)));
    EXPECT_EQ(qt.value(QStringLiteral("list")), QVariant(QStringList{"x", "y"}));
    EXPECT_EQ(qt.value(QStringLiteral("n0")).toInt(), 7);
}

} // namespace
