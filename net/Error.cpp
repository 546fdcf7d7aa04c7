#include "net/Error.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <utility>

namespace {

struct SockErrEntry
{
    int code;
    std::string_view text;
};

// Searched from the first entry to the last; the first equal code wins.
constexpr std::array<SockErrEntry, 59> kSockErrTable{{
    {0, "No error"},
    {10004, "Interrupted system call"},
    {10009, "Bad file number"},
    {10013, "Permission denied"},
    {10014, "Bad address"},
    {10022, "Invalid argument"},
    {10024, "Too many open sockets"},
    {10035, "Operation would block"},
    {10036, "Operation now in progress"},
    {10037, "Operation already in progress"},
    {10038, "Socket operation on non-socket"},
    {10039, "Destination address required"},
    {10040, "Message too long"},
    {10041, "Protocol wrong type for socket"},
    {10042, "Bad protocol option"},
    {10043, "Protocol not supported"},
    {10044, "Socket type not supported"},
    {10045, "Operation not supported on socket"},
    {10046, "Protocol family not supported"},
    {10047, "Address family not supported"},
    {10048, "Address already in use"},
    {10049, "Can't assign requested address"},
    {10050, "Network is down"},
    {10051, "Network is unreachable"},
    {10052, "Net connection reset"},
    {10053, "Software caused connection abort"},
    {10054, "Connection reset by peer"},
    {10055, "No buffer space available"},
    {10056, "Socket is already connected"},
    {10057, "Socket is not connected"},
    {10058, "Can't send after socket shutdown"},
    {10059, "Too many references, can't splice"},
    {10060, "Connection timed out"},
    {10061, "Connection refused"},
    {10062, "Too many levels of symbolic links"},
    {10063, "File name too long"},
    {10064, "Host is down"},
    {10065, "No route to host"},
    {10066, "Directory not empty"},
    {10067, "Too many processes"},
    {10068, "Too many users"},
    {10069, "Disc quota exceeded"},
    {10070, "Stale NFS file handle"},
    {10071, "Too many levels of remote in path"},
    {10091, "Network subsystem is unavailable"},
    {10092, "Winsock version not supported"},
    {10093, "Winsock not yet initialized"},
    {11001, "Host not found"},
    {11002, "Non-authoritative host not found"},
    {11003, "Non-recoverable errors"},
    {11004, "Valid name, no data record of requested type"},
    {10101, "Graceful disconnect in progress"},
    {10107, "System call failure"},
    {8, "Insufficient memory available"},
    {995, "Overlapped operation aborted"},
    {996, "Overlapped I/O object not signalled"},
    {997, "Overlapped I/O will complete later"},
    {87, "One or more parameters are invalid"},
    {6, "Event object handle not valid"},
}};

struct ErrnoMapping
{
    int errnoValue;
    int code;
};

constexpr std::array<ErrnoMapping, 44> kErrnoMap{{
    {EINTR, 10004},           {EBADF, 10009},
    {EACCES, 10013},          {EPERM, 10013},
    {EFAULT, 10014},          {EINVAL, 10022},
    {EMFILE, 10024},          {EWOULDBLOCK, 10035},
    {EINPROGRESS, 10036},     {EALREADY, 10037},
    {ENOTSOCK, 10038},        {EDESTADDRREQ, 10039},
    {EMSGSIZE, 10040},        {EPROTOTYPE, 10041},
    {ENOPROTOOPT, 10042},     {EPROTONOSUPPORT, 10043},
    {ESOCKTNOSUPPORT, 10044}, {EOPNOTSUPP, 10045},
    {EPFNOSUPPORT, 10046},    {EAFNOSUPPORT, 10047},
    {EADDRINUSE, 10048},      {EADDRNOTAVAIL, 10049},
    {ENETDOWN, 10050},        {ENETUNREACH, 10051},
    {ENETRESET, 10052},       {ECONNABORTED, 10053},
    {ECONNRESET, 10054},      {ENOBUFS, 10055},
    {EISCONN, 10056},         {ENOTCONN, 10057},
    {ESHUTDOWN, 10058},       {ETOOMANYREFS, 10059},
    {ETIMEDOUT, 10060},       {ECONNREFUSED, 10061},
    {ELOOP, 10062},           {ENAMETOOLONG, 10063},
    {EHOSTDOWN, 10064},       {EHOSTUNREACH, 10065},
    {ENOTEMPTY, 10066},       {EUSERS, 10068},
    {EDQUOT, 10069},          {ESTALE, 10070},
    {EREMOTE, 10071},         {ENOMEM, 8},
}};

std::string SockErrMessage(int code)
{
    std::string message = "Socket Error ";
    message.append(std::to_string(code)).append(" : ").append(SockErrText(code));
    return message;
}

} // namespace

CError::CError(std::string message, const char* sourceFile, int line)
    : m_message(std::move(message))
{
    if (sourceFile != nullptr) {
        std::string_view file(sourceFile);
        const auto slash = file.find_last_of("\\/");
        if (slash != std::string_view::npos)
            file.remove_prefix(slash + 1);
        m_message.append(" in Datei ").append(file);
    }
    if (line > 0)
        m_message.append(", ").append(std::to_string(line));
}

CError::CError(std::string message, int errorNumber)
    : m_message(std::move(message)), m_errorNumber(errorNumber)
{
}

bool CError::GetErrorMessage(char* buffer, std::size_t size) const
{
    if (m_message.empty() || buffer == nullptr || size == 0)
        return false;
    const std::size_t count = std::min(size - 1, m_message.size());
    std::memcpy(buffer, m_message.data(), count);
    buffer[count] = '\0';
    return true;
}

CSockErr::CSockErr(int winsockCode) : CError(SockErrMessage(winsockCode), winsockCode) {}

CSockErr::CSockErr() : CSockErr(LastSockErr()) {}

void ThrowIfError(int code)
{
    if (code != 0)
        throw CSockErr(code);
}

std::string_view SockErrText(int code)
{
    for (const auto& entry : kSockErrTable)
        if (entry.code == code)
            return entry.text;
    return "Unknown error";
}

std::size_t SockErrTableSize()
{
    return kSockErrTable.size();
}

int SockErrFromErrno(int errnoValue)
{
    if (errnoValue == 0)
        return 0;
    for (const auto& mapping : kErrnoMap)
        if (mapping.errnoValue == errnoValue)
            return mapping.code;
    return errnoValue;
}

int LastSockErr()
{
    return SockErrFromErrno(errno);
}
