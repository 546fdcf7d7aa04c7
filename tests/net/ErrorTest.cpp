#include "net/Error.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

TEST(ErrorTest, SocketErrorsFromTheTableAndPlainErrorsWithFileAndLine)
{
    EXPECT_STREQ(CSockErr(10060).what(), "Socket Error 10060 : Connection timed out");
    EXPECT_STREQ(CSockErr(1).what(), "Socket Error 1 : Unknown error");
    EXPECT_STREQ(CSockErr(0).what(), "Socket Error 0 : No error");
    EXPECT_STREQ(CSockErr(11004).what(),
                 "Socket Error 11004 : Valid name, no data record of requested type");
    EXPECT_STREQ(CSockErr(6).what(), "Socket Error 6 : Event object handle not valid");
    EXPECT_EQ(CSockErr(10048).ErrorNumber(), 10048);
    EXPECT_EQ(SockErrTableSize(), 59u);

    EXPECT_EQ(SockErrFromErrno(0), 0);
    EXPECT_EQ(SockErrFromErrno(EMSGSIZE), 10040);
    EXPECT_EQ(SockErrFromErrno(ETIMEDOUT), 10060);
    EXPECT_EQ(SockErrFromErrno(ECONNREFUSED), 10061);
    EXPECT_EQ(SockErrFromErrno(EADDRINUSE), 10048);
    EXPECT_EQ(SockErrFromErrno(EAGAIN), 10035);
    EXPECT_EQ(SockErrFromErrno(ENOMEM), 8);
    EXPECT_EQ(SockErrFromErrno(ENOENT), ENOENT); // no counterpart: the number stays
    errno = ECONNREFUSED;
    EXPECT_STREQ(CSockErr().what(), "Socket Error 10061 : Connection refused");

    EXPECT_NO_THROW(ThrowIfError(0));
    try {
        ThrowIfError(10054);
        FAIL() << "no exception";
    } catch (const CError& error) { // caught through the base class
        EXPECT_EQ(error.ErrorNumber(), 10054);
        EXPECT_EQ(error.Message(), "Socket Error 10054 : Connection reset by peer");
    }

    const CError plain("CSockUDP::Receive: CSockAddr Größenkonflikt!");
    EXPECT_EQ(plain.Message(), "CSockUDP::Receive: CSockAddr Größenkonflikt!");
    EXPECT_EQ(plain.ErrorNumber(), 0);
    EXPECT_EQ(CError("F", "C:\\src\\net\\Sock.cpp", 42).Message(), "F in Datei Sock.cpp, 42");
    EXPECT_EQ(CError("F", "/src/net/Sock.cpp").Message(), "F in Datei Sock.cpp");
    EXPECT_EQ(CError("F", nullptr, 0).Message(), "F");

    const CError error("abcdef");
    char buffer[8];
    std::memset(buffer, 'x', sizeof buffer);
    ASSERT_TRUE(error.GetErrorMessage(buffer, 4));
    EXPECT_STREQ(buffer, "abc");
    EXPECT_EQ(buffer[4], 'x'); // nothing written past size
    ASSERT_TRUE(error.GetErrorMessage(buffer, sizeof buffer));
    EXPECT_STREQ(buffer, "abcdef");
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_FALSE(error.GetErrorMessage(buffer, 0));
    EXPECT_EQ(buffer[0], 'x');
    EXPECT_FALSE(CError("").GetErrorMessage(buffer, sizeof buffer));
}
