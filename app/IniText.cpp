#include "app/IniText.h"

#include <QStringDecoder>

#include <algorithm>

// The rules below are QSettings' own for its INI files, so that both read the same values
// from the same text.

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

bool IsHexDigit(uint ch)
{
    return (ch >= '0' && ch <= '9') || (ch >= 'a' && ch <= 'f') || (ch >= 'A' && ch <= 'F');
}

bool IsSpace(char ch)
{
    return ch == ' ' || ch == '\t' || ch == '\n' || ch == '\r';
}

bool IsSpecial(char ch)
{
    return ch == '\n' || ch == '\r' || ch == '"' || ch == ';' || ch == '=' || ch == '\\';
}

// '/' is written as '\', letters, digits, '_', '-' and '.' as they are, everything else as
// %XX or %UXXXX.
void EscapeKey(const QString& key, QByteArray& out)
{
    for (const QChar qch : key) {
        const uint ch = qch.unicode();
        if (ch == '/') {
            out += '\\';
        } else if ((ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') ||
                   (ch >= '0' && ch <= '9') || ch == '_' || ch == '-' || ch == '.') {
            out += static_cast<char>(ch);
        } else if (ch <= 0xFF) {
            out += '%';
            out += kHexDigits[ch / 16];
            out += kHexDigits[ch % 16];
        } else {
            out += "%U";
            for (int shift = 12; shift >= 0; shift -= 4)
                out += kHexDigits[(ch >> shift) & 0xF];
        }
    }
}

QString UnescapeKey(QByteArrayView key)
{
    const QString decoded = QString::fromUtf8(key);
    QString out;
    const qsizetype size = decoded.size();
    qsizetype i = 0;
    while (i < size) {
        const char16_t ch = decoded.at(i).unicode();
        if (ch == '\\') {
            out += QLatin1Char('/');
            ++i;
            continue;
        }
        if (ch != '%' || i == size - 1) {
            out += QChar(ch);
            ++i;
            continue;
        }
        int digits = 2;
        qsizetype first = i + 1;
        if (decoded.at(i + 1) == QLatin1Char('U')) {
            ++first;
            digits = 4;
        }
        bool ok = false;
        const ushort code = first + digits > size
                                ? 0
                                : QStringView(decoded).sliced(first, digits).toUShort(&ok, 16);
        if (!ok) {
            out += QLatin1Char('%');
            ++i;
            continue;
        }
        out += QChar(code);
        i = first + digits;
    }
    return out;
}

// A value's text: control characters, quotes and backslashes escaped, a digit after a
// numeric escape escaped too, and quotes around text with ';', ',' or '=' or blanks at an
// end. Other text is UTF-8, except in "@ByteArray(...)", where bytes from 0x7F are escaped.
QByteArray EscapeValue(const QString& text)
{
    QByteArray out;
    bool needsQuotes = false;
    bool escapeNextIfDigit = false;
    const bool utf8 = !(text.startsWith(QLatin1String("@ByteArray(")) ||
                        text.startsWith(QLatin1String("@Variant(")) ||
                        text.startsWith(QLatin1String("@DateTime(")));
    const auto hexEscape = [&](uint ch) {
        out += "\\x" + QByteArray::number(ch, 16);
        escapeNextIfDigit = true;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const uint ch = text.at(i).unicode();
        if (ch == ';' || ch == ',' || ch == '=')
            needsQuotes = true;
        if (escapeNextIfDigit && IsHexDigit(ch)) {
            hexEscape(ch);
            continue;
        }
        escapeNextIfDigit = false;
        switch (ch) {
        case '\0':
            out += "\\0";
            escapeNextIfDigit = true;
            break;
        case '\a':
            out += "\\a";
            break;
        case '\b':
            out += "\\b";
            break;
        case '\f':
            out += "\\f";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\v':
            out += "\\v";
            break;
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        default:
            if (ch <= 0x1F || (ch >= 0x7F && !utf8)) {
                hexEscape(ch);
            } else if (utf8 && text.at(i).isHighSurrogate() && i + 1 < text.size() &&
                       text.at(i + 1).isLowSurrogate()) {
                out += QStringView(text).sliced(i, 2).toUtf8();
                ++i;
            } else if (utf8) {
                out += QStringView(text).sliced(i, 1).toUtf8();
            } else {
                out += static_cast<char>(ch);
            }
        }
    }
    if (needsQuotes || (!out.isEmpty() && (out.front() == ' ' || out.back() == ' ')))
        out = '"' + out + '"';
    return out;
}

void ChopTrailingBlanks(QString& text, qsizetype limit)
{
    while (text.size() > limit &&
           (text.back() == QLatin1Char(' ') || text.back() == QLatin1Char('\t')))
        text.chop(1);
}

// The text of a value: quotes, escapes and line continuations resolved, blanks around an
// unquoted part dropped. True when unquoted commas made it a list, which is then in list.
bool UnescapeValue(QByteArrayView str, QString& text, QStringList& list)
{
    static constexpr char kEscapes[][2] = {{'a', '\a'}, {'b', '\b'},  {'f', '\f'}, {'n', '\n'},
                                           {'r', '\r'}, {'t', '\t'},  {'v', '\v'}, {'"', '"'},
                                           {'?', '?'},  {'\'', '\''}, {'\\', '\\'}};
    enum class State
    {
        SkipBlanks,
        Normal,
        Hex,
        Octal,
        End
    };
    const qsizetype n = str.size();
    QStringDecoder fromUtf8(QStringDecoder::Utf8); // one decoder across the parts, as QSettings
    bool isList = false;
    bool inQuotes = false;
    bool quoted = false;
    qsizetype i = 0;
    qsizetype chopLimit = 0;
    char16_t escaped = 0;
    State state = State::SkipBlanks;
    while (state != State::End) {
        switch (state) {
        case State::SkipBlanks:
            while (i < n && (str[i] == ' ' || str[i] == '\t'))
                ++i;
            state = State::Normal;
            break;
        case State::Normal: {
            chopLimit = text.size();
            State next = State::Normal;
            bool leave = false;
            while (i < n && !leave) {
                const char ch = str[i];
                if (ch == '\\') {
                    ++i;
                    if (i >= n) {
                        next = State::End;
                        leave = true;
                        break;
                    }
                    const char code = str[i++];
                    const auto* simple = std::find_if(std::begin(kEscapes), std::end(kEscapes),
                                                      [&](const char* e) { return e[0] == code; });
                    if (simple != std::end(kEscapes)) {
                        text += QLatin1Char((*simple)[1]);
                        leave = true; // chopLimit starts again after the escape
                        break;
                    }
                    if (code == 'x') {
                        escaped = 0;
                        if (i >= n) {
                            next = State::End;
                            leave = true;
                            break;
                        }
                        if (IsHexDigit(static_cast<unsigned char>(str[i]))) {
                            next = State::Hex;
                            leave = true;
                            break;
                        }
                    } else if (code >= '0' && code <= '7') {
                        escaped = static_cast<char16_t>(code - '0');
                        next = State::Octal;
                        leave = true;
                        break;
                    } else if ((code == '\n' || code == '\r') && i < n) {
                        const char after = str[i];
                        if ((after == '\n' || after == '\r') && after != code)
                            ++i;
                    }
                    chopLimit = text.size();
                } else if (ch == '"') {
                    ++i;
                    quoted = true;
                    inQuotes = !inQuotes;
                    if (!inQuotes) {
                        next = State::SkipBlanks;
                        leave = true;
                    }
                } else if (ch == ',' && !inQuotes) {
                    if (!quoted)
                        ChopTrailingBlanks(text, chopLimit);
                    if (!isList) {
                        isList = true;
                        list.clear();
                    }
                    list.append(text);
                    text.clear();
                    quoted = false;
                    ++i;
                    next = State::SkipBlanks;
                    leave = true;
                } else {
                    qsizetype j = i + 1;
                    while (j < n && str[j] != '\\' && str[j] != '"' && str[j] != ',')
                        ++j;
                    text += fromUtf8(str.sliced(i, j - i));
                    i = j;
                }
            }
            if (!leave) {
                if (!quoted)
                    ChopTrailingBlanks(text, chopLimit);
                next = State::End;
            }
            state = next;
            break;
        }
        case State::Hex:
        case State::Octal: {
            const bool hex = state == State::Hex;
            if (i >= n) {
                text += QChar(escaped);
                state = State::End;
                break;
            }
            char ch = str[i];
            if (hex && ch >= 'a')
                ch = static_cast<char>(ch - ('a' - 'A'));
            if (hex && ((ch >= '0' && ch <= '9') || (ch >= 'A' && ch <= 'F'))) {
                escaped =
                    static_cast<char16_t>((escaped << 4) + (ch <= '9' ? ch - '0' : ch - 'A' + 10));
                ++i;
            } else if (!hex && ch >= '0' && ch <= '7') {
                escaped = static_cast<char16_t>((escaped << 3) + (ch - '0'));
                ++i;
            } else {
                text += QChar(escaped);
                state = State::Normal;
            }
            break;
        }
        case State::End:
            break;
        }
    }
    if (isList)
        list.append(text);
    return isList;
}

QVariant StringToVariant(const QString& text)
{
    if (text.startsWith(QLatin1Char('@'))) {
        if (text.endsWith(QLatin1Char(')'))) {
            if (text.startsWith(QLatin1String("@ByteArray(")))
                return QStringView(text).sliced(11).chopped(1).toLatin1();
            if (text.startsWith(QLatin1String("@String(")))
                return QStringView(text).sliced(8).chopped(1).toString();
            for (const char* other :
                 {"@Variant(", "@DateTime(", "@Rect(", "@Size(", "@Point(", "@Invalid("})
                if (text.startsWith(QLatin1String(other)))
                    return {};
        }
        if (text.startsWith(QLatin1String("@@")))
            return text.sliced(1);
    }
    return text;
}

// One line of the file: its start and length (without the line end, a comment after the
// value, and blank lines before it), and where its first '=' outside quotes is. A quoted
// part, and a backslash before a line end, carry the line on. False at the end.
bool ReadLine(QByteArrayView data, qsizetype& pos, qsizetype& start, qsizetype& length,
              qsizetype& equals)
{
    const qsizetype size = data.size();
    bool inQuotes = false;
    equals = -1;
    start = pos;
    while (start < size && IsSpace(data[start]))
        ++start;
    qsizetype i = start;
    while (i < size) {
        char ch = data[i];
        while (!IsSpecial(ch)) {
            if (++i == size)
                goto done;
            ch = data[i];
        }
        ++i;
        if (ch == '=') {
            if (!inQuotes && equals == -1)
                equals = i - 1;
        } else if (ch == '\n' || ch == '\r') {
            if (i == start + 1) {
                ++start;
            } else if (!inQuotes) {
                --i;
                goto done;
            }
        } else if (ch == '\\') {
            if (i < size) {
                const char next = data[i++];
                if (i < size) {
                    const char after = data[i];
                    if ((next == '\n' && after == '\r') || (next == '\r' && after == '\n'))
                        ++i;
                }
            }
        } else if (ch == '"') {
            inQuotes = !inQuotes;
        } else { // ';'
            if (i == start + 1) {
                while (i < size && data[i] != '\n' && data[i] != '\r')
                    ++i;
                while (i < size && IsSpace(data[i]))
                    ++i;
                start = i;
            } else if (!inQuotes) {
                --i;
                goto done;
            }
        }
    }
done:
    pos = i;
    length = i - start;
    return length > 0;
}

} // namespace

CIniText CIniText::Parse(QByteArrayView text)
{
    if (text.startsWith("\xef\xbb\xbf"))
        text = text.sliced(3);
    CIniText ini;
    QString group; // "" or "name/"
    qsizetype pos = 0;
    qsizetype start = 0;
    qsizetype length = 0;
    qsizetype equals = 0;
    while (ReadLine(text, pos, start, length, equals)) {
        const QByteArrayView line = text.sliced(start, length);
        if (line.startsWith('[')) {
            const qsizetype close = line.indexOf(']');
            const QByteArray name =
                (close < 0 ? line.sliced(1) : line.sliced(1, close - 1)).toByteArray().trimmed();
            if (name.compare("general", Qt::CaseInsensitive) == 0) {
                group.clear();
            } else {
                group = name.compare("%general", Qt::CaseInsensitive) == 0
                            ? QString::fromLatin1(name.mid(1))
                            : UnescapeKey(name);
                group += QLatin1Char('/');
            }
            continue;
        }
        if (equals < 0)
            continue;
        const QString key = group + UnescapeKey(text.sliced(start, equals - start).trimmed());
        ini.Put(key, text.sliced(equals + 1, start + length - equals - 1).toByteArray());
    }
    return ini;
}

QByteArray CIniText::ToBytes() const
{
    // Groups in the order they first appear, the keys without a group first.
    std::vector<QString> groups;
    for (const Entry& entry : m_entries) {
        const qsizetype slash = entry.key.indexOf(QLatin1Char('/'));
        const QString group = slash < 0 ? QString() : entry.key.left(slash);
        if (std::find(groups.begin(), groups.end(), group) == groups.end())
            groups.push_back(group);
    }
    std::stable_partition(groups.begin(), groups.end(),
                          [](const QString& g) { return g.isEmpty(); });

    QByteArray out;
    for (const QString& group : groups) {
        if (!out.isEmpty())
            out += '\n';
        QByteArray name;
        EscapeKey(group, name);
        if (name.isEmpty())
            out += "[General]\n";
        else if (name.compare("general", Qt::CaseInsensitive) == 0)
            out += "[%General]\n";
        else
            out += '[' + name + "]\n";
        for (const Entry& entry : m_entries) {
            const qsizetype slash = entry.key.indexOf(QLatin1Char('/'));
            if ((slash < 0 ? QString() : entry.key.left(slash)) != group)
                continue;
            EscapeKey(entry.key.mid(slash + 1), out);
            out += '=' + entry.raw + '\n';
        }
    }
    return out;
}

bool CIniText::Contains(const QString& key) const
{
    return std::any_of(m_entries.begin(), m_entries.end(),
                       [&](const Entry& entry) { return entry.key == key; });
}

QVariant CIniText::Value(const QString& key) const
{
    const auto entry = std::find_if(m_entries.begin(), m_entries.end(),
                                    [&](const Entry& e) { return e.key == key; });
    if (entry == m_entries.end())
        return {};
    QString text;
    QStringList list;
    if (!UnescapeValue(entry->raw, text, list))
        return StringToVariant(text);
    // A list of strings when every item reads as one, else a list of values.
    QVariantList items;
    bool strings = true;
    for (const QString& item : list) {
        items.append(StringToVariant(item));
        strings = strings && items.back().typeId() == QMetaType::QString;
    }
    if (!strings)
        return items;
    QStringList texts;
    for (const QVariant& item : items)
        texts.append(item.toString());
    return texts;
}

QStringList CIniText::Keys() const
{
    QStringList keys;
    for (const Entry& entry : m_entries)
        keys.append(entry.key);
    return keys;
}

void CIniText::SetString(const QString& key, const QString& text)
{
    QString written = text;
    if (text.contains(QChar::Null))
        written = QStringLiteral("@String(") + text + QLatin1Char(')');
    else if (text.startsWith(QLatin1Char('@')))
        written.prepend(QLatin1Char('@'));
    Put(key, EscapeValue(written));
}

void CIniText::SetNumber(const QString& key, qint64 number)
{
    Put(key, EscapeValue(QString::number(number)));
}

void CIniText::SetBytes(const QString& key, const QByteArray& bytes)
{
    Put(key, EscapeValue(QStringLiteral("@ByteArray(") + QLatin1String(bytes) + QLatin1Char(')')));
}

void CIniText::Put(const QString& key, QByteArray raw)
{
    const auto entry = std::find_if(m_entries.begin(), m_entries.end(),
                                    [&](const Entry& e) { return e.key == key; });
    if (entry != m_entries.end())
        entry->raw = std::move(raw);
    else
        m_entries.push_back({key, std::move(raw)});
}
