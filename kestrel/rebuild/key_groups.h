#pragma once
// Which key the import's row check reads for table number n, if any.

namespace rebuild {

enum class KeyGroup {
  none,        // no row is removed
  number,      // the first column's number as decimal text
  text,        // the first column's text
  emp_id_text  // the text of "emp_id", the rows sorted by it
};

KeyGroup key_group(int n);

}  // namespace rebuild
