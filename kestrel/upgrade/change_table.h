#pragma once
// Most of a later upgrade step is a run of changes, each behind its presence probe, that all
// end the step the same way when they fail. Such a run is written as a table and applied here.
#include <span>

#include "kestrel/upgrade/step_context.h"

namespace upgrade {

struct Change {
  const char* probe;  // presence probe; null: no probe, the change always runs
  const char* table;  // set: `sql` is a clause list on this table; else one statement
  const char* sql;
  const char* failure;         // text of the failure path, for a failing clause too
  const char* then = nullptr;  // run untested after a successful change, before its commit
};

// Probes, changes and commits; false after a change took the failure path, which ends the step.
bool apply(StepContext& s, const Change& change);
bool apply(StepContext& s, std::span<const Change> changes);

// Untested statements, in order, without a commit.
void run_all(StepContext& s, std::span<const char* const> statements);

}  // namespace upgrade
