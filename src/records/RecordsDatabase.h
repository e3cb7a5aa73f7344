#pragma once

// The records in a database: SQLite in the data folder on every PC, or a PostgreSQL server that a
// production floor's stations or a service team share. One schema for both, versioned and migrated
// forward when the database is opened.
//
// What is kept here so far: the fixed radio ID codes handed out, so that no code goes to two devices,
// whichever station or process hands it out and whenever one of them is killed.

#include <QString>

class QSqlQuery;

#include <cstdint>
#include <optional>
#include <set>
#include <vector>

namespace zal {

class RecordsDatabase {
public:
    // The database to use: ZAL_RECORDS in the environment, else [Records] Database in the settings
    // file, else records.sqlite in the data folder. A PostgreSQL server is named as
    // postgresql://user@host[:port]/dbname (a host starting with "/" is a Unix socket folder); its
    // password comes from ~/.pgpass or PGPASSWORD, never from the settings.
    static QString Location(const QString& dataFolder, const QString& settingsFile);

    // Opens the database (creating an SQLite file on first use) and migrates its schema forward.
    explicit RecordsDatabase(QString location);
    ~RecordsDatabase();
    RecordsDatabase(const RecordsDatabase&) = delete;
    RecordsDatabase& operator=(const RecordsDatabase&) = delete;

    bool isOpen() const { return error_.isEmpty(); }
    // Why the database cannot be used; empty when it can.
    QString error() const { return error_; }
    QString location() const { return location_; }
    bool postgres() const { return postgres_; }
    int schemaVersion();
    static int CurrentSchemaVersion();

    // Reserves the next block of fixed codes from first on (six for the older products, nine for the
    // extended repeaters) in one committed transaction, skipping every block that shares a code with
    // one reserved before, by any station. Nothing when the codes have run out or the database cannot
    // be reached (error() says which).
    std::optional<std::vector<std::uint16_t>> ReserveCodeBlock(std::uint16_t first, bool plus,
                                                               const QString& station, const QString& unit);
    // Gives a block back: only for a device known never to have received any of it.
    bool ReleaseCodes(const std::vector<std::uint16_t>& block);
    // Records what became of a block: "written", or "failed" (it stays used; the device may hold part).
    bool SetCodesState(const std::vector<std::uint16_t>& block, const QString& state, const QString& serial);
    // Codes handed out elsewhere (an earlier CSV log) count as used; how many were new.
    int ImportUsedCodes(const std::set<std::uint16_t>& codes, const QString& source);
    // Every code reserved, with its state.
    std::vector<std::pair<std::uint16_t, QString>> Codes();
    // For the support bundle: the back end, the schema version and how many codes are in each state;
    // never a password or the records themselves.
    QString Summary();

private:
    bool connect();
    bool migrate();
    // Starts a transaction that writes.
    bool begin(QSqlQuery& q) const;

    QString location_;
    QString error_;
    bool postgres_ = false;
    QString connection_;
};

} // namespace zal
