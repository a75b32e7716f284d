#pragma once

#include <span>
#include <string_view>

namespace paysum {

// The two database files of the program.
enum class DatabaseFile { Main, Branch };

// Every column holds text except a pay run's number.
enum class ColumnType { Text, Integer };

struct ColumnDef {
    const char* name;
    int width;  // characters
    ColumnType type = ColumnType::Text;
};

// The first version of the main database held only the tables of version 1; a database or a
// backup from then lacks the later tables and is brought up to date when it is opened or restored.
inline constexpr int kSchemaVersion = 2;

struct TableDef {
    const char* name;
    DatabaseFile file;
    std::span<const ColumnDef> columns;
    const char* key;               // the column that no two rows share, or nullptr
    int version = 1;               // the schema version that added the table
    const char* lookup = nullptr;  // a column rows are looked up by, kept in an index
};

// The tables of both files: names, columns in ordinal order and their widths. Everything that
// needs a column's width (the entry boxes, the entry rules, the record set) takes it from here.
namespace schema {

inline constexpr ColumnDef kBaseColumns[] = {
    {"BRNO", 3},    // transfer branch number, the three digits after 004
    {"CNAME", 50},  // company name
    {"CUSTNO", 3},  // customer code given by the branch
    {"UNINO", 8},   // unified business number
    {"SIGN1", 50},  // sign-off line 1, first half
    {"SIGN2", 50},  // sign-off line 1, second half
    {"SIGN3", 50},  // sign-off line 2
};

inline constexpr ColumnDef kStaffColumns[] = {
    {"ID", 5}, {"ACTNO", 12}, {"PAYSUM", 12}, {"NAME", 30}, {"AT", 8},
};

inline constexpr ColumnDef kItemColumns[] = {
    {"ID", 5}, {"ACTNO", 12}, {"PAYSUM", 12}, {"NAME", 30}, {"AT", 8}, {"MARK", 50},
};

inline constexpr ColumnDef kDayColumns[] = {{"LDATE", 6}, {"TDATE", 6}};

inline constexpr ColumnDef kPresetColumns[] = {
    {"NO1", 50}, {"NO2", 50}, {"NO3", 50}, {"NO4", 50}, {"NO5", 50},
    {"NO6", 50}, {"NO7", 50}, {"NO8", 50}, {"NO9", 50}, {"NO10", 50},
};

inline constexpr ColumnDef kBankColumns[] = {{"BKBRNO", 7}, {"BNAME", 10}, {"FNAME", 60}};

// The batch file written for the current batch: its path, size in bytes, SHA-256 in hexadecimal,
// the count and total of its header record, and when it was written.
inline constexpr ColumnDef kFileColumns[] = {{"FNAME", 4096}, {"FSIZE", 20},  {"FSHA256", 64},
                                             {"FCOUNT", 10},  {"FTOTAL", 20}, {"FTIME", 19}};

// An archived pay run: its number, when it was archived, its dates, the company record as it
// stood, its count and total, and the batch file written for it.
inline constexpr ColumnDef kRunColumns[] = {
    {"RUN", 10, ColumnType::Integer},
    {"ARCHIVED", 19},
    {"LDATE", 6},
    {"TDATE", 6},
    {"BRNO", 3},
    {"CNAME", 50},
    {"CUSTNO", 3},
    {"UNINO", 8},
    {"SIGN1", 50},
    {"SIGN2", 50},
    {"SIGN3", 50},
    {"COUNT", 10},
    {"TOTAL", 20},
    // the batch file written for the run, as S_FILE holds it
    {"FNAME", 4096},
    {"FSIZE", 20},
    {"FSHA256", 64},
    {"FCOUNT", 10},
    {"FTOTAL", 20},
    {"FTIME", 19},
};

// The transfers of an archived pay run, in the order they were entered.
inline constexpr ColumnDef kRunItemColumns[] = {
    {"RUN", 10, ColumnType::Integer},
    {"ID", 5},
    {"ACTNO", 12},
    {"PAYSUM", 12},
    {"NAME", 30},
    {"AT", 8},
    {"MARK", 50},
};

inline constexpr TableDef kTables[] = {
    {"S_BASE", DatabaseFile::Main, kBaseColumns, nullptr},
    {"S_STAFF", DatabaseFile::Main, kStaffColumns, "ID"},
    {"S_ITEM", DatabaseFile::Main, kItemColumns, "ID"},
    {"S_DAY", DatabaseFile::Main, kDayColumns, nullptr},
    {"NNOO", DatabaseFile::Main, kPresetColumns, nullptr},
    {"S_FILE", DatabaseFile::Main, kFileColumns, nullptr, 2},
    {"H_RUN", DatabaseFile::Main, kRunColumns, "RUN", 2},
    {"H_ITEM", DatabaseFile::Main, kRunItemColumns, nullptr, 2, "RUN"},
    {"RTBANK", DatabaseFile::Branch, kBankColumns, "BKBRNO"},
};

// Reached only for a table or column the schema does not have; not a constant expression, so a
// misspelt name in ColumnWidth() fails to compile.
inline int UnknownColumn() {
    return -1;
}

}  // namespace schema

// The place of a column in its table's rows, from 0, or -1 when the table has no such column.
constexpr int OrdinalOf(const TableDef& table, std::string_view column) {
    for (std::size_t i = 0; i < table.columns.size(); ++i) {
        if (column == table.columns[i].name)
            return static_cast<int>(i);
    }
    return -1;
}

// The table of that name as the schema spells it, found when compiling.
consteval const TableDef& TableNamed(std::string_view table) {
    for (const TableDef& def : schema::kTables) {
        if (table == def.name)
            return def;
    }
    schema::UnknownColumn();
    return schema::kTables[0];
}

// The place of a column in its table's rows, found when compiling: an unknown table or column
// fails to compile.
consteval int ColumnIndex(std::string_view table, std::string_view column) {
    const int at = OrdinalOf(TableNamed(table), column);
    return at < 0 ? schema::UnknownColumn() : at;
}

// The width in characters of a column named as the schema spells it, worked out when compiling:
// an unknown table or column fails to compile.
consteval int ColumnWidth(std::string_view table, std::string_view column) {
    return TableNamed(table).columns[static_cast<std::size_t>(ColumnIndex(table, column))].width;
}

}  // namespace paysum
