#include "sockerrors.h"

#include "printers.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <utility>

using namespace morlu;

namespace {

TEST(SockErrors, NamesAndTextsOfCodes)
{
    const std::pair<int, const char*> rows[] = {
        {10004, "Error #10004 (WSAEINTR)"},      {10035, "Error #10035 (WSAEWOULDBLOCK)"},
        {10054, "Error #10054 (WSAECONNRESET)"}, {10061, "Error #10061 (WSAECONNREFUSED)"},
        {10071, "Error #10071 (WSAEREMOTE)"},    {10093, "Error #10093 (WSANOTINITIALISED)"},
        {10101, "Error #10101 (WSAEDISCON)"},    {11001, "Error #11001 (WSAHOST_NOT_FOUND)"},
        {11004, "Error #11004 (WSANO_DATA)"},    {10034, "Error #10034 (UNKNOWN ERROR)"},
        {10072, "Error #10072 (UNKNOWN ERROR)"}, {11005, "Error #11005 (UNKNOWN ERROR)"},
        {0, "Error #0 (UNKNOWN ERROR)"},
    };
    for (const auto& [code, text] : rows)
        EXPECT_EQ(sockerrors::text(code), text);
    for (int code = 10035; code <= 10071; ++code)
        EXPECT_NE(sockerrors::name(code), "UNKNOWN ERROR") << code;
}

TEST(SockErrors, LocalErrorsMapToSocketErrorNumbers)
{
    const std::pair<int, int> rows[] = {
        {ECONNREFUSED, 10061}, {ECONNRESET, 10054}, {EPIPE, 10054},    {ETIMEDOUT, 10060}, {EHOSTUNREACH, 10065},
        {ENETUNREACH, 10051},  {EADDRINUSE, 10048}, {ENOTCONN, 10057}, {EAGAIN, 10035},    {ENOENT, ENOENT},
    };
    for (const auto& [err, code] : rows)
        EXPECT_EQ(sockerrors::fromErrno(err), code) << err;
}

} // namespace
