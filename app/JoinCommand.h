#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// What joining a server starts: the game's executable with a command text that connects
// it to the server, with or without a password. Widget-free, so that every rule is
// testable on its own; the main window asks the questions and starts the process.

// Which password a join uses, from the password field (trimmed) and the favorite's.
enum class JoinPasswordChoice
{
    Typed,    // the field's text (possibly empty)
    Favorite, // the field is empty: the favorite's own password, kept for joining without typing
    Ask,      // both set and different: "Ambiguous passwords! Use the favorite one (%s)?"
};
JoinPasswordChoice ChooseJoinPassword(const QString& typed, const QString& favorite);

// The dot that stands for each character of a hidden password.
inline constexpr char16_t kPasswordDot = u'\u25CF';

// The question asked for JoinPasswordChoice::Ask. It names the favorite's password only
// when revealed (the password field's text is shown); else one dot a character.
QString AmbiguousPasswordQuestion(const QString& favorite, bool revealed);

// " connect ADDRESS", or " connect \"ADDRESS\"; password \"PASSWORD\"" with a password.
QString JoinCommandText(const QString& address, const QString& password);

// The command text as the game's argument list (separated at blanks, double quotes
// grouping and removed), so that the game started without a shell sees the same words.
QStringList JoinArguments(const QString& commandText);

// A text that could smuggle a further command into the game's command line: a double
// quote, a semicolon, a plus sign (which starts a new command on the game's command line),
// or any control character such as a line break. The message names
// what was refused; nothing when the text is safe.
std::optional<QString> UnsafeJoinText(const QString& what, const QString& text);
