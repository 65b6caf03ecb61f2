// handedblocks.h - the table of the record blocks db_read_entry handed out,
// so that db_free releases only those and never has to look at memory the
// caller's record does not point to.
#ifndef LIBPLATTER_TITLEDB_HANDEDBLOCKS_H
#define LIBPLATTER_TITLEDB_HANDEDBLOCKS_H

namespace titledb {

// Notes a block given to a caller; false when the table cannot grow (the
// caller must then release the block itself).
bool noteHandedBlock(void *block);
// Takes a block out of the table: true when it was there (and is now the
// caller's to release), false when the library never handed it out.
bool takeHandedBlock(void *block);

} // namespace titledb

#endif
