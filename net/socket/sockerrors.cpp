#include "sockerrors.h"

#include <array>
#include <cerrno>
#include <utility>

namespace morlu::sockerrors {

namespace {

struct Entry {
    int code;
    const char* name;
};

// Every named code; the consecutive block 10035 to 10071 is listed in full.
constexpr std::array kNames = {
    Entry{10004, "WSAEINTR"},           Entry{10009, "WSAEBADF"},        Entry{10013, "WSAEACCES"},
    Entry{10014, "WSAEFAULT"},          Entry{10022, "WSAEINVAL"},       Entry{10024, "WSAEMFILE"},
    Entry{10035, "WSAEWOULDBLOCK"},     Entry{10036, "WSAEINPROGRESS"},  Entry{10037, "WSAEALREADY"},
    Entry{10038, "WSAENOTSOCK"},        Entry{10039, "WSAEDESTADDRREQ"}, Entry{10040, "WSAEMSGSIZE"},
    Entry{10041, "WSAEPROTOTYPE"},      Entry{10042, "WSAENOPROTOOPT"},  Entry{10043, "WSAEPROTONOSUPPORT"},
    Entry{10044, "WSAESOCKTNOSUPPORT"}, Entry{10045, "WSAEOPNOTSUPP"},   Entry{10046, "WSAEPFNOSUPPORT"},
    Entry{10047, "WSAEAFNOSUPPORT"},    Entry{10048, "WSAEADDRINUSE"},   Entry{10049, "WSAEADDRNOTAVAIL"},
    Entry{10050, "WSAENETDOWN"},        Entry{10051, "WSAENETUNREACH"},  Entry{10052, "WSAENETRESET"},
    Entry{10053, "WSAECONNABORTED"},    Entry{10054, "WSAECONNRESET"},   Entry{10055, "WSAENOBUFS"},
    Entry{10056, "WSAEISCONN"},         Entry{10057, "WSAENOTCONN"},     Entry{10058, "WSAESHUTDOWN"},
    Entry{10059, "WSAETOOMANYREFS"},    Entry{10060, "WSAETIMEDOUT"},    Entry{10061, "WSAECONNREFUSED"},
    Entry{10062, "WSAELOOP"},           Entry{10063, "WSAENAMETOOLONG"}, Entry{10064, "WSAEHOSTDOWN"},
    Entry{10065, "WSAEHOSTUNREACH"},    Entry{10066, "WSAENOTEMPTY"},    Entry{10067, "WSAEPROCLIM"},
    Entry{10068, "WSAEUSERS"},          Entry{10069, "WSAEDQUOT"},       Entry{10070, "WSAESTALE"},
    Entry{10071, "WSAEREMOTE"},         Entry{10091, "WSASYSNOTREADY"},  Entry{10092, "WSAVERNOTSUPPORTED"},
    Entry{10093, "WSANOTINITIALISED"},  Entry{10101, "WSAEDISCON"},      Entry{11001, "WSAHOST_NOT_FOUND"},
    Entry{11002, "WSATRY_AGAIN"},       Entry{11003, "WSANO_RECOVERY"},  Entry{11004, "WSANO_DATA"},
};

// Local errno values and the socket error numbers they stand for.
const std::pair<int, int> kErrnoCodes[] = {
    {EINTR, 10004},        {EBADF, 10009},           {EACCES, 10013},          {EPERM, 10013},
    {EFAULT, 10014},       {EINVAL, 10022},          {EMFILE, 10024},          {ENFILE, 10024},
    {EAGAIN, 10035},       {EWOULDBLOCK, 10035},     {EINPROGRESS, 10036},     {EALREADY, 10037},
    {ENOTSOCK, 10038},     {EDESTADDRREQ, 10039},    {EMSGSIZE, 10040},        {EPROTOTYPE, 10041},
    {ENOPROTOOPT, 10042},  {EPROTONOSUPPORT, 10043}, {ESOCKTNOSUPPORT, 10044}, {EOPNOTSUPP, 10045},
    {EPFNOSUPPORT, 10046}, {EAFNOSUPPORT, 10047},    {EADDRINUSE, 10048},      {EADDRNOTAVAIL, 10049},
    {ENETDOWN, 10050},     {ENETUNREACH, 10051},     {ENETRESET, 10052},       {ECONNABORTED, 10053},
    {ECONNRESET, 10054},   {EPIPE, 10054},           {ENOBUFS, 10055},         {ENOMEM, 10055},
    {EISCONN, 10056},      {ENOTCONN, 10057},        {ESHUTDOWN, 10058},       {ETOOMANYREFS, 10059},
    {ETIMEDOUT, 10060},    {ECONNREFUSED, 10061},    {ELOOP, 10062},           {ENAMETOOLONG, 10063},
    {EHOSTDOWN, 10064},    {EHOSTUNREACH, 10065},    {ENOTEMPTY, 10066},       {EUSERS, 10068},
    {EDQUOT, 10069},       {ESTALE, 10070},          {EREMOTE, 10071},
};

} // namespace

int fromErrno(int err)
{
    for (const auto& [local, code] : kErrnoCodes) {
        if (local == err)
            return code;
    }
    return err;
}

QString name(int code)
{
    for (const Entry& entry : kNames) {
        if (entry.code == code)
            return QString::fromLatin1(entry.name);
    }
    return QStringLiteral("UNKNOWN ERROR");
}

QString text(int code)
{
    return QStringLiteral("Error #%1 (%2)").arg(code).arg(name(code));
}

int codeOf(const QString& reportText)
{
    static const QLatin1String prefix("Error #");
    if (!reportText.startsWith(prefix))
        return 0;
    const qsizetype end = reportText.indexOf(QLatin1Char(' '), prefix.size());
    bool ok = false;
    const int code = reportText.mid(prefix.size(), end < 0 ? -1 : end - prefix.size()).toInt(&ok);
    return ok ? code : 0;
}

QString reason(int code)
{
    switch (code) {
    case 10061:
        return QStringLiteral("connection refused");
    case 10060:
        return QStringLiteral("no answer (timed out)");
    case 10065:
        return QStringLiteral("host unreachable");
    case 10064:
        return QStringLiteral("host is down");
    case 10051:
        return QStringLiteral("network unreachable");
    case 10050:
        return QStringLiteral("network is down");
    case 10049:
        return QStringLiteral("address not available");
    case 11001:
        return QStringLiteral("host not found");
    default:
        return text(code);
    }
}

} // namespace morlu::sockerrors
