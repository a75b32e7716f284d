#pragma once

#include "data/DbError.h"

namespace paysum {

// Starts a new batch: deletes every transfer record (S_ITEM) and the batch dates (S_DAY) of the
// main database in one transaction, so that a failure leaves both as they were.
[[nodiscard]] DbResult ClearBatch();

}  // namespace paysum
