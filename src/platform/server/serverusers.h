#pragma once

#include <QList>
#include <QString>

namespace platform {

// The database server's own user accounts, managed through the three
// user-management calls of the server's client library (isc_add_user,
// isc_delete_user, isc_modify_user). The library is loaded at run time by
// its platform name on first need, so the program runs without it.
class ServerUsers {
public:
    enum class Operation { Add, Delete, Modify };

    struct Request {
        QString server;      // the server part of a location: "host" or "host/port"
        QString userName;    // the account
        QString password;    // the account's password (not sent for a deletion)
        QString dbaUserName; // the administrator making the change
        QString dbaPassword; // its password in plain
    };

    // Outcome of a call as the status vector tells it: failed when entry 0
    // is 1 and entry 1 is greater than 0; `code` is then entry 1, and
    // `codes` lists every error code the vector carries, in order.
    struct Result {
        bool failed = false;
        long code = 0;
        QList<long> codes;
        bool has(long c) const { return codes.contains(c); }
    };

    // Loads the client library and looks up the three calls; false when
    // that is not possible (`loadError()` says why).
    static bool load();
    static QString loadError();
    // The library's name without prefix or suffix ("fbclient", "gds32").
    static QString libraryName();
    // Another library name (a differently installed client); unloads the current one.
    static void setLibraryName(const QString& name);

    // Runs one call. The library must be loaded (see load()).
    static Result call(Operation operation, const Request& request);
};

// The part of a database location ("host/port:/folder") that names the
// server: "host/port". Empty for a local path ("/folder", "C:\folder").
QString serverOfLocation(const QString& location);

} // namespace platform
