#pragma once
// The upgrade chain: the steps in calling order, on `sqlca` as the caller connected it.
#include <QString>
#include <vector>

#include "kestrel/upgrade/step_context.h"

namespace upgrade {

using Step = Outcome (*)();

// The version the chain brings a database up to, f_ver10's last stamp: the newest schema this
// program knows.
inline constexpr char kLastVersion[] = "16.10";

// True when the version text, read as the steps read it, is above kLastVersion: the schema of
// a later release. A text that is no number is not.
bool above_last_version(const QString& version);

// f_ver, f_ver2, ... in calling order.
const std::vector<Step>& chain_steps();

// Runs the steps in order. A step that fails, or asks to end or restart the program, stops
// the chain and its outcome is returned (the caller ends or restarts); otherwise done.
// `steps_run`, when given, receives how many steps were called, the stopping one included.
Outcome run_chain(int* steps_run = nullptr);

}  // namespace upgrade
