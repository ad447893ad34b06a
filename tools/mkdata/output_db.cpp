#include "output_db.h"

#include <cstdio>

namespace kovara::mkdata {

using namespace kovara::core;

OutputDatabase::OutputDatabase(const std::string& path) : path_(path), tempPath_(path + ".tmp")
{
    std::remove(tempPath_.c_str());
    openDatabase(tempPath_, db_);
    execSQL(db_, "BEGIN TRANSACTION");
}

OutputDatabase::~OutputDatabase()
{
    if (db_) {
        sqlite3_close(db_);
        std::remove(tempPath_.c_str());
    }
}

void OutputDatabase::finish()
{
    execSQL(db_, "COMMIT TRANSACTION");
    // Building an index leaves free pages behind; the shipped file holds none.
    execSQL(db_, "VACUUM");
    closeDatabase(db_);
    if (std::rename(tempPath_.c_str(), path_.c_str()) != 0)
        throw Exception(format("Unable to write %s", path_));
}

} // namespace kovara::mkdata
