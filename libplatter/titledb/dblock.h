// dblock.h - db_lock's exclusion: a critical section between this process's
// threads and a named mutex, derived from the database's full path, between
// processes. The owning thread may take it again (it nests).
#ifndef LIBPLATTER_TITLEDB_DBLOCK_H
#define LIBPLATTER_TITLEDB_DBLOCK_H

#include <string>

namespace titledb {

// The database's file name; relative names resolve against the working
// directory each time the database is taken.
extern const char kDatabaseFileName[];

// The name of the mutex that guards the database file at `path` between
// processes: the same for every spelling of the same file.
std::string databaseLockName(const std::string &path);

// The name of the shared memory beside that mutex that counts the writes
// made to the file at `path` by every process.
std::string databaseChangesName(const std::string &path);

// Called by a writer, with the database held, once it has touched the file
// (appended, cut back, replaced): moves the count on so that every other
// process reads the file again at its next db_lock. Returns the new count
// in *count; false when this process has no shared count (nothing moves).
bool noteDatabaseChanged(uint32_t *count);

// Takes the database for the calling thread; false when another process
// keeps it past the time-out.
bool lockDatabase();
// Gives back one level; false (and nothing changes) when the calling thread
// does not hold the database.
bool unlockDatabase();

// Holds the database for the length of one library call, so that a call
// made without db_lock around it is still safe.
class DatabaseHold {
public:
    DatabaseHold() : held_(lockDatabase()) {}
    ~DatabaseHold()
    {
        if (held_)
            unlockDatabase();
    }
    DatabaseHold(const DatabaseHold &) = delete;
    DatabaseHold &operator=(const DatabaseHold &) = delete;
    bool held() const { return held_; }

private:
    bool held_;
};

} // namespace titledb

#endif
