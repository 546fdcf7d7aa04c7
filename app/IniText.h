#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <vector>

// The text of a settings file, in the INI form that QSettings reads and writes: the keys
// without a group under "[General]", the others under "[group]", one "key=value" a line.
// The program reads and writes the file itself, so that a save is checked to the last byte
// (see WholeFile.h), and stays readable by QSettings and by earlier versions of the program.
//
// A value keeps the text it was read as: one the program does not set is written back as it
// was. A value that is set is written as QSettings writes it: a number as decimal text, a
// string escaped and quoted where its text needs it, a byte array as "@ByteArray(...)".
// Comments and the order of groups are not kept, as QSettings does not keep them either.
class CIniText
{
public:
    // Reads what QSettings reads from the same text; lines that are no "key=value" are
    // ignored, and a key that comes twice keeps its last value.
    static CIniText Parse(QByteArrayView text);
    QByteArray ToBytes() const;

    bool Contains(const QString& key) const;
    // As QSettings reads it: a QString, a QByteArray for "@ByteArray(...)", a list (of
    // strings, or of values); an invalid QVariant for a missing key and for values of other
    // kinds.
    QVariant Value(const QString& key) const;
    QStringList Keys() const;

    void SetString(const QString& key, const QString& text);
    void SetNumber(const QString& key, qint64 number);
    void SetBytes(const QString& key, const QByteArray& bytes);

private:
    struct Entry
    {
        QString key;    // "name", or "group/name"
        QByteArray raw; // the value's text in the file
    };
    void Put(const QString& key, QByteArray raw);

    std::vector<Entry> m_entries;
};
