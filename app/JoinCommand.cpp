#include "app/JoinCommand.h"

#include <QCoreApplication>

JoinPasswordChoice ChooseJoinPassword(const QString& typed, const QString& favorite)
{
    if (typed.isEmpty())
        return favorite.isEmpty() ? JoinPasswordChoice::Typed : JoinPasswordChoice::Favorite;
    if (!favorite.isEmpty() && typed != favorite)
        return JoinPasswordChoice::Ask;
    return JoinPasswordChoice::Typed;
}

QString AmbiguousPasswordQuestion(const QString& favorite, bool revealed)
{
    // Hidden, the favorite's password shows as one dot a character, as the field shows it.
    const QString shown =
        revealed ? favorite : QString(favorite.toUcs4().size(), QChar(kPasswordDot));
    return QCoreApplication::translate("JoinCommand",
                                       "Ambiguous passwords! Use the favorite one (%1)?")
        .arg(shown);
}

QString JoinCommandText(const QString& address, const QString& password)
{
    if (password.isEmpty())
        return QStringLiteral(" connect %1").arg(address);
    return QStringLiteral(" connect \"%1\"; password \"%2\"").arg(address, password);
}

QStringList JoinArguments(const QString& commandText)
{
    QStringList arguments;
    QString word;
    bool inWord = false;
    bool quoted = false;
    for (const QChar c : commandText) {
        if (c == QLatin1Char('"')) {
            quoted = !quoted;
            inWord = true;
        } else if (!quoted && (c == QLatin1Char(' ') || c == QLatin1Char('\t'))) {
            if (inWord)
                arguments.append(word);
            word.clear();
            inWord = false;
        } else {
            word.append(c);
            inWord = true;
        }
    }
    if (inWord)
        arguments.append(word);
    return arguments;
}

std::optional<QString> UnsafeJoinText(const QString& what, const QString& text)
{
    for (const QChar c : text) {
        if (c == QLatin1Char('"') || c == QLatin1Char(';') || c == QLatin1Char('+') ||
            c.category() == QChar::Other_Control)
            return QCoreApplication::translate(
                       "JoinCommand", "The %1 holds a double quote, a semicolon, a plus sign or a "
                                      "line break, which the game would read as a further command. "
                                      "Remove it and join again.")
                .arg(what);
    }
    return std::nullopt;
}
