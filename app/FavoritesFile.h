#pragma once

#include <QString>

#include <vector>

// The favorites file: one favorite a line, "address TAB name TAB password", lines ended by
// CR LF, text in Windows-1252 so that a file from a Windows installation loads and saves
// back byte for byte.
struct Favorite
{
    QString address;
    QString name;
    QString password;
};

class CFavoritesFile
{
public:
    explicit CFavoritesFile(QString path) : m_path(std::move(path)) {}

    // favorites.dat in the application's data folder.
    static QString DefaultPath();
    const QString& Path() const { return m_path; }

    // The favorites in file order; empty when the file cannot be read.
    std::vector<Favorite> Load() const;
    // Rewrites the file; false with a reason when it cannot be written.
    bool Save(const std::vector<Favorite>& favorites, QString* error = nullptr) const;

    enum class AddResult
    {
        Added,
        AlreadyThere, // a line with exactly this address text exists
        Failed,
    };
    // Appends "address TAB name TAB" unless a line starts with the same address.
    AddResult Add(const QString& address, const QString& name, QString* error = nullptr) const;

    // Tabs become blanks; blanks at both ends go.
    static QString CleanField(const QString& text);

private:
    QString m_path;
};
