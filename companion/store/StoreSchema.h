#pragma once

// The store's schema, versioned with PRAGMA user_version. Each migration takes the
// database one version up inside a transaction; a database newer than this code is refused
// rather than guessed at.

#include "platform/base/Error.h"

namespace companion {

class SqliteDatabase;

inline constexpr int storeSchemaVersion = 8;

base::Result<void> migrateStoreSchema(SqliteDatabase&);

} // namespace companion
