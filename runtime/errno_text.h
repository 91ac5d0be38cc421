#pragma once
// Why a system call failed, for a message the user reads: in Chinese like the programs' other
// messages, whatever the machine's locale, with the system's own text where we have none.
#include <QString>

namespace rt {

QString errno_text(int error_number);

}  // namespace rt
