#include "data/StaffNames.h"

#include "data/Database.h"
#include "data/RowCountCache.h"
#include "data/StaffStore.h"
#include "data/TableRows.h"

#include <QHash>

#include <memory>
#include <optional>
#include <vector>

namespace paysum {

namespace {

// The codes and names of one file as they were read, the names one after another.
struct HeldNames {
    quint64 opening = 0;
    std::optional<FileStamp> stamp;
    QStringList codes;
    QString names;              // ASCII letters in lower case, as SQLite's lower() has them
    std::vector<int> nameEnds;  // where each name ends in `names`, in code order
};

using Names = std::shared_ptr<const HeldNames>;

// The names held for each connection that Connection() opened, by connection name.
QHash<QString, Names>& Held() {
    static QHash<QString, Names> held;
    return held;
}

void LowerAscii(QString* text) {
    for (QChar& c : *text) {
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + (u'a' - u'A'));
    }
}

DbResult ReadNames(const QSqlDatabase& db, HeldNames* held) {
    return ForEachQueryRow(db, QStringLiteral("SELECT ID, NAME FROM S_STAFF ORDER BY ID"), {},
                           [held](QStringList&& row) {
                               held->codes.append(std::move(row[0]));
                               QString name = std::move(row[1]);
                               LowerAscii(&name);
                               held->names += name;
                               held->nameEnds.push_back(static_cast<int>(held->names.size()));
                           });
}

// The names of the file as `db` sees it now: those held while the file is unchanged, else read
// again (and held, outside a transaction, which a rollback could undo).
DbResult NamesNow(const QSqlDatabase& db, Names* names) {
    const RowCountCache* cache = RowCountCacheOf(db);
    const std::optional<FileStamp> stamp = StampNow(db);
    const bool hold = cache && cache->Opening() != 0 && stamp && !InTransaction(db);
    if (hold) {
        const Names found = Held().value(db.connectionName());
        if (found && found->opening == cache->Opening() && found->stamp == stamp) {
            *names = found;
            return std::nullopt;
        }
    }
    Held().remove(db.connectionName());
    auto read = std::make_shared<HeldNames>();
    if (DbResult error = ReadNames(db, read.get()))
        return error;
    if (hold) {
        read->opening = cache->Opening();
        read->stamp = stamp;
        Held().insert(db.connectionName(), read);
    }
    *names = std::move(read);
    return std::nullopt;
}

}  // namespace

void HoldStaffNames(const QSqlDatabase& db) {
    Names held;
    (void)NamesNow(db, &held);
}

DbResult CodesWhoseNamesHold(const QSqlDatabase& db, const QString& text, QStringList* codes) {
    codes->clear();
    Names held;
    if (DbResult error = NamesNow(db, &held))
        return error;
    QString needle = text;
    LowerAscii(&needle);
    if (needle.isEmpty()) {
        *codes = held->codes;
        return std::nullopt;
    }
    const std::vector<int>& ends = held->nameEnds;
    const QStringView names(held->names);
    // Each place the text's first character is found (a scan SIMD does fast) is a name holding
    // the text when the rest follows within the same name; after a name is taken the search
    // goes on from the next one.
    std::size_t row = 0;
    qsizetype from = 0;
    while (row < ends.size()) {
        const qsizetype at = names.indexOf(needle.front(), from);
        if (at < 0)
            break;
        while (ends[row] <= at)
            ++row;
        from = at + 1;
        if (at + needle.size() > ends[row] || !names.sliced(at).startsWith(needle))
            continue;
        codes->append(held->codes[static_cast<qsizetype>(row)]);
        from = ends[row];
        ++row;
    }
    return std::nullopt;
}

std::function<DbResult(QStringList*)> OrderValuesFromMemory(const QString& databasePath,
                                                            const QString& table,
                                                            const QString& where,
                                                            const QVariantList& parameters,
                                                            const QString& orderColumn) {
    if (table != QStringLiteral("S_STAFF") || where != NameHoldsCondition() ||
        orderColumn.compare(QStringLiteral("ID"), Qt::CaseInsensitive) != 0 ||
        parameters.size() != 1)
        return {};
    const QString text = parameters[0].toString();
    return [databasePath, text](QStringList* codes) {
        return CodesWhoseNamesHold(Connection(databasePath), text, codes);
    };
}

}  // namespace paysum
