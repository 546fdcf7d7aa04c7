#pragma once

#include <cstddef>
#include <exception>
#include <string>
#include <string_view>

// An error with a ready-made message text. Thrown by value, caught by reference.
class CError : public std::exception
{
public:
    // message, then " in Datei <file name>" when a source file is given (the part after
    // the last path separator) and ", <line>" when line > 0.
    explicit CError(std::string message, const char* sourceFile = nullptr, int line = -1);

    const char* what() const noexcept override { return m_message.c_str(); }
    const std::string& Message() const { return m_message; }
    int ErrorNumber() const { return m_errorNumber; }

    // Copies at most size - 1 bytes of the message and a terminating zero into buffer.
    // False (buffer untouched) when the message is empty or there is no room at all.
    bool GetErrorMessage(char* buffer, std::size_t size) const;

protected:
    CError(std::string message, int errorNumber);

private:
    std::string m_message;
    int m_errorNumber = 0;
};

// A socket error: the message is "Socket Error <code> : <text>" with the text of the
// socket error table, or "Unknown error" for a code that the table does not hold.
class CSockErr : public CError
{
public:
    explicit CSockErr(int winsockCode);
    // The code of the calling thread's last socket error (errno, mapped).
    CSockErr();
};

// Throws CSockErr(code) unless code is 0.
void ThrowIfError(int code);

// The text that the socket error table gives for code, or "Unknown error".
std::string_view SockErrText(int code);

// Number of entries of the socket error table.
std::size_t SockErrTableSize();

// The socket error code for a POSIX errno value: the Winsock number where one exists
// (EMSGSIZE -> 10040, ...); any other value is returned unchanged.
int SockErrFromErrno(int errnoValue);

// SockErrFromErrno(errno).
int LastSockErr();
