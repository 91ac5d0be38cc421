#pragma once

// Appends sqlca's last error to kv_log.txt in the program folder: 0 when the last statement
// did not fail (status not below 0), -1 when it did (whether or not the line could be written).
int show_sql_error();
