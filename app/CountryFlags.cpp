#include "app/CountryFlags.h"

#include <QDir>
#include <QImage>
#include <QPainter>

#include <string>

namespace {

constexpr int kLetters = 26;
constexpr int kCodes = kLetters * kLetters;

// The code of value 1..kCodes: AA, AB, ... ZZ.
std::string CodeOf(int value)
{
    return {static_cast<char>('A' + (value - 1) / kLetters),
            static_cast<char>('A' + (value - 1) % kLetters)};
}

std::string Codes()
{
    std::string text; // value 0: no country, an empty text
    for (int value = 1; value <= kCodes; ++value)
        text += '\n' + CodeOf(value);
    return text;
}

// One image per value, the flag where the folder has one, else transparent.
QImage Strip(const QString& folder, int& flags)
{
    QImage strip((kCodes + 1) * CCountryFlags::kFlagWidth, CCountryFlags::kFlagHeight,
                 QImage::Format_ARGB32_Premultiplied);
    strip.fill(Qt::transparent);
    QPainter painter(&strip);
    const QDir dir(folder);
    for (const QString& file : dir.entryList({QStringLiteral("??.png")}, QDir::Files)) {
        const int value = CCountryFlags::ValueOf(file.left(2).toStdString());
        QImage flag;
        if (value == 0 || !flag.load(dir.filePath(file)))
            continue;
        painter.drawImage(QRect(value * CCountryFlags::kFlagWidth, 0, CCountryFlags::kFlagWidth,
                                CCountryFlags::kFlagHeight),
                          flag);
        ++flags;
    }
    return strip;
}

} // namespace

CCountryFlags::CCountryFlags(const QString& folder)
    : m_enum(Codes(), Strip(folder, m_flags), kFlagWidth)
{
}

int CCountryFlags::ValueOf(std::string_view code)
{
    const auto letter = [](char c) {
        return c >= 'a' && c <= 'z' ? c - 'a' : c >= 'A' && c <= 'Z' ? c - 'A' : -1;
    };
    if (code.size() != 2 || letter(code[0]) < 0 || letter(code[1]) < 0)
        return 0;
    return 1 + letter(code[0]) * kLetters + letter(code[1]);
}
