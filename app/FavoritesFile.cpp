#include "app/FavoritesFile.h"

#include "app/WholeFile.h"
#include "format/Cp1252.h"
#include "query/Favorites.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <optional>
#include <string>

namespace {

QString Decode(const std::string& bytes)
{
    return QString::fromStdString(Cp1252ToUtf8(bytes, Cp1252Undefined::C1Control));
}

// Characters outside the code page become "?".
QByteArray Encode(const QString& text)
{
    if (const auto bytes = Utf8ToCp1252(text.toStdString()))
        return QByteArray::fromStdString(*bytes);
    QByteArray out;
    for (const uint codePoint : text.toUcs4()) {
        const QString one = QString::fromUcs4(reinterpret_cast<const char32_t*>(&codePoint), 1);
        const auto byte = Utf8ToCp1252(one.toStdString());
        out.append(byte ? QByteArray::fromStdString(*byte) : QByteArray("?"));
    }
    return out;
}

QByteArray Line(const QString& address, const QString& name, const QString& password)
{
    return Encode(address) + '\t' + Encode(name) + '\t' + Encode(password) + "\r\n";
}

// The file's bytes, or nothing when there is no file. Throws CFavoritesError.
std::optional<std::string> ReadBytes(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return std::nullopt;
    return ReadFavoritesFile(QFile::encodeName(path).toStdString(),
                             static_cast<std::size_t>(CFavoritesFile::kMaxFileSize));
}

} // namespace

QString CFavoritesFile::DefaultPath()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
        .filePath(QLatin1String(kFolder) + QStringLiteral("/favorites.dat"));
}

CFavoritesFile::Content CFavoritesFile::Load() const
{
    Content content;
    try {
        const auto bytes = ReadBytes(m_path);
        if (!bytes)
            return content;
        ForEachFavoriteLine(*bytes, [&](std::size_t number, std::string_view line, bool tooLong) {
            if (tooLong)
                throw CFavoritesError("line " + std::to_string(number) + " is longer than " +
                                      std::to_string(kMaxFavoriteLineBytes) + " bytes");
            if (content.favorites.size() == kMaxFavorites) {
                content.capped = true;
                return false;
            }
            const FavoriteLine fields = ParseFavoriteLine(line);
            content.favorites.push_back(
                {Decode(fields.address), Decode(fields.name), Decode(fields.password)});
            return true;
        });
    } catch (const CFavoritesError& error) {
        content.favorites.clear();
        content.problem = QString::fromLocal8Bit(error.what());
    }
    if (content.capped)
        content.problem = tr("it holds more than %1 favorites").arg(kMaxFavorites);
    return content;
}

bool CFavoritesFile::Save(const std::vector<Favorite>& favorites, QString* error) const
{
    QByteArray text;
    for (const Favorite& favorite : favorites)
        text += Line(favorite.address, favorite.name, favorite.password);
    return WriteWholeFile(m_path, text, error);
}

CFavoritesFile::AddResult CFavoritesFile::Add(const QString& address, const QString& name,
                                              QString* error) const
{
    std::string bytes;
    try {
        if (auto read = ReadBytes(m_path))
            bytes = std::move(*read);
    } catch (const CFavoritesError& failure) {
        if (error)
            *error = QString::fromLocal8Bit(failure.what());
        return AddResult::Failed;
    }
    bool there = false;
    std::size_t lines = 0;
    ForEachFavoriteLine(bytes, [&](std::size_t, std::string_view line, bool tooLong) {
        ++lines;
        there = !tooLong && Decode(ParseFavoriteLine(line).address) == address;
        return !there;
    });
    if (there)
        return AddResult::AlreadyThere;
    if (lines >= kMaxFavorites) {
        if (error)
            *error = tr("it holds %1 favorites already").arg(kMaxFavorites);
        return AddResult::Failed;
    }
    // A last line without its line end gets one, so the new favorite starts a line.
    QByteArray text = QByteArray::fromStdString(bytes);
    if (!text.isEmpty() && !text.endsWith('\n') && !text.endsWith('\r'))
        text += "\r\n";
    text += Line(address, CleanField(name), {});
    return WriteWholeFile(m_path, text, error) ? AddResult::Added : AddResult::Failed;
}

QString CFavoritesFile::CleanField(const QString& text)
{
    QString clean = text;
    for (const QChar blank : {QLatin1Char('\t'), QLatin1Char('\r'), QLatin1Char('\n')})
        clean.replace(blank, QLatin1Char(' '));
    return clean.trimmed();
}

QStringList CFavoritesFile::Notices(const FavoritesLoad& load, const QString& file)
{
    QStringList notices;
    if (load.skipped > 0) {
        QStringList numbers;
        for (const std::size_t line : load.skippedLines)
            numbers.append(QString::number(line));
        if (load.skipped > load.skippedLines.size())
            numbers.append(QStringLiteral("..."));
        const QString lines = numbers.join(QStringLiteral(", "));
        notices.append(load.skipped == 1
                           ? tr("The favorites file '%1' has %2 line that is not a server "
                                "address (line %3); skipped.")
                                 .arg(file)
                                 .arg(load.skipped)
                                 .arg(lines)
                           : tr("The favorites file '%1' has %2 lines that are not a server "
                                "address (line %3); skipped.")
                                 .arg(file)
                                 .arg(load.skipped)
                                 .arg(lines));
    }
    if (load.capped)
        notices.append(tr("The favorites file '%1' has more than %2 favorites; only the first %2 "
                          "are scanned.")
                           .arg(file)
                           .arg(kMaxFavorites));
    return notices;
}

CFavoritesFile::ScanLoad CFavoritesFile::LoadForScan(CServerMap& map) const
{
    const QString file = QDir::toNativeSeparators(m_path);
    const QFileInfo info(m_path);
    if (!info.exists() && !info.isSymLink()) {
        map.clear();
        return {};
    }
    try {
        const FavoritesLoad load =
            LoadFavoritesForScan(QFile::encodeName(m_path).toStdString(), map);
        return {true, Notices(load, file).join(QLatin1Char('\n'))};
    } catch (const CFavoritesError& error) {
        return {false, tr("Cannot read the favorites file %1: %2")
                           .arg(file, QString::fromLocal8Bit(error.what()))};
    }
}
