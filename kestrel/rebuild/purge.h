#pragma once
// The purge by keep options: five groups of delete statements on sqlca, each group decided by
// one check box of w_main. Statement texts name their host values in braces ({ldt_1},
// {ls_month}, {ldt_money}); they are sent bound, never pasted in.
#include <QString>
#include <vector>

#include "kestrel/rebuild/start_window.h"

namespace rebuild {

struct PurgeGroup {
  int check_box;           // cbx_<n>
  bool runs_when_checked;  // the keep boxes run their group when cleared
  std::vector<const char*> statements;
};

const std::vector<PurgeGroup>& purge_groups();

// "… < {ldt_1} )" -> "… < ? )" and the names in order of appearance.
struct BoundText {
  QString sql;
  std::vector<QString> names;
};
BoundText bind_markers(const QString& text);

// Runs the groups in order, advancing hpb_1 after each, whether it ran or not. The caller has
// refused unreadable date and amount options (keep_options_readable). False, at once, when a
// statement failed other than on a table or column the database does not have; the caller
// then rolls back. Neither commits nor rolls back itself.
bool run_purge_groups(StartWindow& w_main);

}  // namespace rebuild
