// The fixed radio ID codes in the records: reserved a block at a time in one committed transaction,
// never handed out twice by any station, and what became of each block once it went to a device.

#include "RecordsConnection.h"
#include "RecordsDatabase.h"
#include "RecordsSql.h"

#include "radio/FixedCodes.h"

#include <QCoreApplication>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

#include <algorithm>
#include <optional>
#include <set>

namespace zal {
using namespace records_sql;

Result<std::vector<std::uint16_t>> RecordsDatabase::ReserveCodeBlock(std::uint16_t first, bool plus,
                                                                     const QString& station,
                                                                     const QString& unit) {
    if (!writable())
        return failure();
    Call call(*this);
    if (!call)
        return failure();
    QSqlDatabase db = call.db();
    QSqlQuery q(db);
    // Another station may take the same block between our look and our insert: the unique code then
    // refuses the insert, and the next free block is looked for again.
    QString lastFailure;
    for (int attempt = 0; attempt < 20; ++attempt) {
        if (!begin(q))
            return fail(q);
        // The first free run of a block's length from first on, found by the database on its index, going
        // on where the last search from this first code ended; only a block that would run past FFFE,
        // where the codes wrap, needs the whole list.
        std::optional<std::vector<std::uint16_t>> block;
        const int length = plus ? kPlusFixedCodeCount : kFixedCodeCount;
        int start = first;
        q.prepare(
            QStringLiteral("SELECT next_code FROM code_cursors WHERE first_code = :first AND plus = :plus"));
        q.bindValue(QStringLiteral(":first"), first);
        q.bindValue(QStringLiteral(":plus"), plus ? 1 : 0);
        if (q.exec() && q.next() && q.value(QStringLiteral("next_code")).toInt() > first &&
            q.value(QStringLiteral("next_code")).toInt() <= 0xFFFE)
            start = q.value(QStringLiteral("next_code")).toInt();
        int candidate = -1;
        // The server takes its lock on the codes when it prepares the statement already.
        bool looked = q.prepare(
            QStringLiteral("SELECT COUNT(*) AS taken FROM fixed_codes WHERE code BETWEEN :start AND :last"));
        q.bindValue(QStringLiteral(":start"), start);
        q.bindValue(QStringLiteral(":last"), start + length - 1);
        if (!looked || !q.exec()) {
            // A lock that was not given in time, a statement cut off: the server's own reason, before
            // the transaction it aborted hides it.
            const Failure why = fail(q);
            q.exec(QStringLiteral("ROLLBACK"));
            return why;
        }
        if (q.next() && q.value(QStringLiteral("taken")).toInt() == 0) {
            candidate = start;
        } else {
            q.prepare(
                QStringLiteral("SELECT code FROM (SELECT code, LEAD(code) OVER (ORDER BY code) AS following "
                               "FROM fixed_codes WHERE code >= :start) runs WHERE following IS NULL OR "
                               "following - code > :length ORDER BY code LIMIT 1"));
            q.bindValue(QStringLiteral(":start"), start);
            q.bindValue(QStringLiteral(":length"), length);
            if (q.exec() && q.next())
                candidate = q.value(QStringLiteral("code")).toInt() + 1;
        }
        if (candidate >= 0 && candidate + length - 1 <= 0xFFFE &&
            IsValidFirstFixedCode(static_cast<std::uint16_t>(candidate), plus))
            block = FixedCodeBlock(static_cast<std::uint16_t>(candidate), plus);

        std::set<std::uint16_t> used;
        if (!block && !q.exec(QStringLiteral("SELECT code FROM fixed_codes"))) {
            const Failure why = fail(q);
            q.exec(QStringLiteral("ROLLBACK"));
            return why;
        }
        while (!block && q.next())
            used.insert(static_cast<std::uint16_t>(q.value(0).toInt()));
        std::uint16_t next = first;
        for (int tries = 0; tries <= 0xFFFF && !block; ++tries, ++next) {
            if (!IsValidFirstFixedCode(next, plus))
                continue;
            std::vector<std::uint16_t> candidate = FixedCodeBlock(next, plus);
            if (std::none_of(candidate.begin(), candidate.end(),
                             [&used](std::uint16_t c) { return used.count(c) > 0; }))
                block = std::move(candidate);
        }
        if (!block) {
            q.exec(QStringLiteral("ROLLBACK"));
            return fail(
                RecordsProblem::Exhausted,
                QCoreApplication::translate("Records", "kein freier Block von %1 festen Codes nach %2")
                    .arg(length)
                    .arg(QStringLiteral("%1").arg(first, 4, 16, QChar(u'0')).toUpper()));
        }
        Row reserved{{"code", 0},
                     {"block_first", block->front()},
                     {"state", QStringLiteral("reserved")},
                     {"station", Text(station)},
                     {"unit", Text(unit)},
                     {"serial", QStringLiteral("")},
                     {"reserved_at", Now()}};
        bool ok = q.prepare(InsertInto("fixed_codes", reserved));
        for (const std::uint16_t code : *block) {
            reserved.front().second = code;
            Bind(q, reserved);
            ok = ok && q.exec();
        }
        if (ok && block->back() > block->front()) { // not wrapped: the next search goes on after it
            ok = Insert(q, "code_cursors",
                        {{"first_code", first}, {"plus", plus ? 1 : 0}, {"next_code", block->back() + 1}},
                        "ON CONFLICT (first_code, plus) DO UPDATE SET next_code = excluded.next_code");
        }
        if (ok) {
            // A reservation counts only once it lasts: one the standby did not confirm is kept by the
            // server (its codes are never given out again there) but never goes into a device.
            const Result<> done = committed(q, [&q] { return q.exec(QStringLiteral("COMMIT")); });
            if (done)
                return std::move(*block);
            if (done.problem() == RecordsProblem::Unconfirmed)
                return fail(
                    RecordsProblem::Unconfirmed,
                    QCoreApplication::translate("Records", "die Reservierung der Codes %1 gilt nicht: %2")
                        .arg(CodeList(*block), done.error()));
        }
        const Failure why = ok ? failure() : fail(q);
        lastFailure = q.lastError().text();
        q.exec(QStringLiteral("ROLLBACK"));
        // Only another station's insert of the same code is worth a new look.
        if (why.problem != RecordsProblem::Conflict)
            return why;
    }
    return fail(RecordsProblem::Conflict,
                QCoreApplication::translate("Records",
                                            "es konnte kein freier Block fester Codes reserviert werden: %1")
                    .arg(lastFailure));
}

Result<> RecordsDatabase::ReleaseCodes(const std::vector<std::uint16_t>& block) {
    if (block.empty())
        return {};
    if (!writable())
        return failure();
    Call call(*this);
    if (!call)
        return failure();
    QSqlQuery q(call.db());
    // The codes and the cursor together: a cursor moved back over codes still taken costs a search, a
    // code freed behind a cursor that stayed would never be found again.
    if (!begin(q))
        return fail(q);
    bool ok = q.prepare(QStringLiteral("DELETE FROM fixed_codes WHERE code = :code AND state = 'reserved'"));
    for (const std::uint16_t code : block) {
        q.bindValue(QStringLiteral(":code"), code);
        ok = ok && q.exec();
    }
    // The searches that went past it look here again.
    ok = ok && q.prepare(QStringLiteral("UPDATE code_cursors SET next_code = :first WHERE first_code <= "
                                        ":first AND next_code > :first"));
    q.bindValue(QStringLiteral(":first"), block.front());
    ok = ok && q.exec();
    return end(q, ok);
}

Result<> RecordsDatabase::SetCodesState(const std::vector<std::uint16_t>& block, const QString& state,
                                        const QString& serial, const QString& product) {
    if (!writable())
        return failure();
    Call call(*this);
    if (!call)
        return failure();
    QSqlQuery q(call.db());
    // A block's codes have one fate: all of them, or none.
    if (!begin(q))
        return fail(q);
    bool ok = q.prepare(QStringLiteral(
        "UPDATE fixed_codes SET state = :state, serial = :serial, product = :product WHERE code = :code"));
    for (const std::uint16_t code : block) {
        q.bindValue(QStringLiteral(":state"), Text(state));
        q.bindValue(QStringLiteral(":serial"), Text(serial));
        q.bindValue(QStringLiteral(":product"), Text(product));
        q.bindValue(QStringLiteral(":code"), code);
        ok = ok && q.exec();
    }
    return end(q, ok);
}

Result<QString> RecordsDatabase::ReplicationRisk() {
    if (!postgres_)
        return QString();
    Call call(*this);
    if (!call)
        return failure();
    QSqlQuery q(call.db());
    // What a role without monitoring rights may see of pg_stat_replication is its rows, and that is
    // enough: whether there are standbys at all.
    if (!q.exec(QStringLiteral("SELECT current_setting('synchronous_standby_names') AS standby_names, "
                               "(SELECT count(*) FROM pg_stat_replication) AS streaming")) ||
        !q.next())
        return fail(q);
    const QString names = q.value(QStringLiteral("standby_names")).toString().trimmed();
    const int streaming = q.value(QStringLiteral("streaming")).toInt();
    // A server alone (a promoted standby whose old primary is gone) loses nothing to a failover.
    if (!names.isEmpty() || streaming == 0)
        return QString();
    return QCoreApplication::translate("Records",
                                       "der Server hat %n Standby(s), aber seine Commits warten auf "
                                       "keinen (synchronous_standby_names ist leer): ein Failover kann "
                                       "vergebene Codes verlieren, die dann ein zweites Gerät bekommt",
                                       nullptr, streaming);
}

Result<int> RecordsDatabase::ImportUsedCodes(const std::set<std::uint16_t>& codes, const QString& source) {
    if (codes.empty())
        return 0;
    if (!writable())
        return failure();
    Call call(*this);
    if (!call)
        return failure();
    QSqlQuery q(call.db());
    if (!begin(q))
        return fail(q);
    int added = 0;
    Row imported{{"code", 0},
                 {"block_first", 0},
                 {"state", QStringLiteral("imported")},
                 {"station", Text(source)},
                 {"unit", QStringLiteral("")},
                 {"serial", QStringLiteral("")},
                 {"reserved_at", Now()}};
    bool ok = q.prepare(InsertInto("fixed_codes", imported, "ON CONFLICT (code) DO NOTHING"));
    for (const std::uint16_t code : codes) {
        imported[0].second = code; // a code imported alone is its own block
        imported[1].second = code;
        Bind(q, imported);
        ok = ok && q.exec();
        if (ok)
            added += q.numRowsAffected() > 0;
    }
    // All of them or none: a log taken in half would count its codes twice when taken in again.
    if (const Result<> ended = end(q, ok); !ended)
        return ended.failure();
    return added;
}

Result<int> RecordsDatabase::ReconcileCodes(const std::map<std::uint16_t, LoggedCode>& logged) {
    if (logged.empty())
        return 0;
    if (!writable())
        return failure();
    Call call(*this);
    if (!call)
        return failure();
    QSqlQuery q(call.db());
    if (!begin(q))
        return fail(q);
    // Only codes still reserved can be behind: few, where a long log names tens of thousands.
    std::vector<std::uint16_t> reserved;
    if (!q.exec(QStringLiteral("SELECT code FROM fixed_codes WHERE state = 'reserved'"))) {
        const Failure why = fail(q);
        q.exec(QStringLiteral("ROLLBACK"));
        return why;
    }
    while (q.next()) {
        if (logged.count(static_cast<std::uint16_t>(q.value(0).toInt())) > 0)
            reserved.push_back(static_cast<std::uint16_t>(q.value(0).toInt()));
    }
    int brought = 0;
    bool ok = q.prepare(QStringLiteral("UPDATE fixed_codes SET state = :state, serial = :serial, "
                                       "product = :product WHERE code = :code AND state = 'reserved'"));
    for (const std::uint16_t code : reserved) {
        const LoggedCode& what = logged.at(code);
        q.bindValue(QStringLiteral(":state"), Text(what.state));
        q.bindValue(QStringLiteral(":serial"), Text(what.serial));
        q.bindValue(QStringLiteral(":product"), Text(what.product));
        q.bindValue(QStringLiteral(":code"), code);
        ok = ok && q.exec();
        if (ok)
            brought += q.numRowsAffected() > 0;
    }
    if (const Result<> ended = end(q, ok); !ended)
        return ended.failure();
    return brought;
}

Result<std::vector<std::pair<std::uint16_t, QString>>> RecordsDatabase::Codes() {
    std::vector<std::pair<std::uint16_t, QString>> codes;
    Call call(*this);
    if (!call)
        return failure();
    QSqlQuery q(call.db());
    if (!q.exec(QStringLiteral("SELECT code, state FROM fixed_codes ORDER BY code")))
        return fail(q);
    const int code = q.record().indexOf(QStringLiteral("code")),
              state = q.record().indexOf(QStringLiteral("state"));
    while (q.next())
        codes.emplace_back(static_cast<std::uint16_t>(q.value(code).toInt()), q.value(state).toString());
    return codes;
}

} // namespace zal
