#pragma once
// The SQLite access layer every store uses. All engine results pass through
// checkResult (0, 100 and 101 pass; anything else raises SqliteError). Text goes
// in and out as bytes, unconverted; empty text and NULL are the same thing.
#include "core/base/exception.h"

#include <sqlite3.h>
#include <string>

namespace kovara::core {

// Raised for every failing engine call. code() is the engine's result code
// (0 when the error was made without one). The message ends with the engine's
// own words ("SQLite Error %d - %s" or "SQLite Error %d"); for a fault of the
// file itself (locked, read-only, full disk, damaged, not a database, cannot
// be opened) it first says which file and what the reader can do about it.
class SqliteError : public Exception {
public:
    explicit SqliteError(const std::string& message, int code = 0) : Exception(message), code_(code) {}
    int code() const { return code_; }

private:
    int code_;
};

// How long a connection made through Database waits for another
// connection's lock before a read or write gives up with "database is locked".
constexpr int kBusyTimeoutMs = 3000;

// The reader's text for a fault of the database file at fileName with the
// engine's (primary) result code: which file, and what to do. Empty for codes
// that are not about the file (a faulty statement, a constraint) and for an
// empty fileName (a database in memory).
std::string databaseFileProblem(int resultCode, const std::string& fileName);

// Returns the code unchanged when it is SQLITE_OK, SQLITE_ROW or SQLITE_DONE;
// otherwise raises through raiseSQLiteError. db may be null.
int checkResult(int resultCode, sqlite3* db);

// Always raises SqliteError: "SQLite Error %d - %s" with the connection's current
// error text, or "SQLite Error %d" when db is null; for a fault of the file,
// databaseFileProblem for the connection's file (or fileName when given, for
// a connection that failed to open) comes first, the engine's words follow in
// brackets on a line of their own.
[[noreturn]] void raiseSQLiteError(int resultCode, sqlite3* db, const std::string& fileName = std::string());

// Runs every statement of sql in turn, stepping each once. Does nothing when
// db is null. Each statement is finalized even when its step failed; the
// finalize error, if any, is the one that reaches the caller.
void execSQL(sqlite3* db, const std::string& sql);

// Binds text to the 1-based parameter (the engine keeps its own copy). Empty
// text leaves the parameter NULL. Returns the engine's code for checkResult.
int bindText(sqlite3_stmt* stmt, int index, const std::string& text);

// The 0-based column as bytes; NULL gives empty text. Zero bytes inside the
// value are kept.
std::string columnText(sqlite3_stmt* stmt, int column);

// Helpers for code that keeps a bare handle (the data tools, tests); the
// stores own theirs through Database (core/db/database.h).
//
// Opens (creating when missing) the file into db, which the caller then owns;
// raises SqliteError on failure, in which case db is closed again and left null.
void openDatabase(const std::string& fileName, sqlite3*& db);

// Closes db when it is open and sets it to null; does nothing when it is null.
// Raises SqliteError when the engine refuses, leaving db open and unchanged.
void closeDatabase(sqlite3*& db);

// True when the connection holds a table of that name. The name is
// program-made, never user input.
bool tableExists(sqlite3* db, const std::string& tableName);

// Short-lived RAII wrapper around sqlite3_stmt. Owned by the operation that
// prepared it and never kept past it. finalize() checks the engine's result;
// the destructor only finalizes a statement that an exception left behind.
//
// Typical use, which finalizes on every path and lets a failing finalize's
// error replace the step's:
//
//     Statement st(db, sql);
//     if (!st) throw Exception("... Unable to assign statement ...");
//     st.run([&] { if (st.step() == SQLITE_ROW) value = st.columnInt(0); });
class Statement {
public:
    // Prepares sql (through checkResult). A statement text that holds only
    // blanks or comments yields no statement; test with operator bool.
    Statement(sqlite3* db, const std::string& sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    explicit operator bool() const { return stmt_ != nullptr; }
    sqlite3_stmt* handle() const { return stmt_; }
    sqlite3* db() const { return db_; }

    // Steps once; returns SQLITE_ROW or SQLITE_DONE, raises otherwise.
    int step();

    void bindText(int index, const std::string& text);
    void bindInt(int index, int value);
    void bindInt64(int index, sqlite3_int64 value);
    void bindBlob(int index, const void* data, int size);

    std::string columnText(int column) const;
    int columnInt(int column) const;
    sqlite3_int64 columnInt64(int column) const;

    // Finalizes now and checks the result.
    void finalize();

    // Runs body; then finalizes, on success and on failure. When body raised
    // and the finalize fails too, the finalize's error is the one raised.
    template <typename Body>
    void run(Body&& body)
    {
        try {
            body();
        } catch (...) {
            finalize(); // a failing finalize raises its own error instead
            throw;
        }
        finalize();
    }

private:
    sqlite3* db_;
    sqlite3_stmt* stmt_ = nullptr;
};

// Single-row query: prepares sql, raises Exception(noStatementMessage) when
// no statement comes back, steps once and calls readRow(st) when a row came
// back. Returns whether there was a row. Finalizes on every path.
template <typename ReadRow>
bool queryRow(sqlite3* db, const std::string& sql, const std::string& noStatementMessage, ReadRow&& readRow)
{
    Statement st(db, sql);
    if (!st)
        throw Exception(noStatementMessage);
    bool found = false;
    st.run([&] {
        if (st.step() == SQLITE_ROW) {
            found = true;
            readRow(st);
        }
    });
    return found;
}

// Row loop: as QueryRow, calling readRow(st) for every row. Returns the number
// of rows read.
template <typename ReadRow>
int queryRows(sqlite3* db, const std::string& sql, const std::string& noStatementMessage, ReadRow&& readRow)
{
    Statement st(db, sql);
    if (!st)
        throw Exception(noStatementMessage);
    int rows = 0;
    st.run([&] {
        while (st.step() == SQLITE_ROW) {
            ++rows;
            readRow(st);
        }
    });
    return rows;
}

} // namespace kovara::core
