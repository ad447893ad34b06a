#include "output_db.h"

#include <cstdio>

namespace kovara::mkdata {

OutputDatabase::OutputDatabase(const std::string& path) : path_(path), tempPath_(path + ".tmp")
{
    std::remove(tempPath_.c_str());
    OpenDatabase(tempPath_, db_);
    ExecSQL(db_, "BEGIN TRANSACTION");
}

OutputDatabase::~OutputDatabase()
{
    if (db_) {
        sqlite3_close(db_);
        std::remove(tempPath_.c_str());
    }
}

void OutputDatabase::Finish()
{
    ExecSQL(db_, "COMMIT TRANSACTION");
    CloseDatabase(db_);
    if (std::rename(tempPath_.c_str(), path_.c_str()) != 0)
        throw Exception(Format("Unable to write %s", path_));
}

} // namespace kovara::mkdata
