#pragma once
// The texts SQL Server takes for a date-time under its default settings (us_english, date
// format mdy), brought to the form the embedded server stores, 'YYYY-MM-DD HH:MM:SS.fff':
//
//   2024-03-05 10:00[:00[.123]]   2024/3/5   20240305 [10:00]   2024-03-05T10:00:00[.1]
//   03/05/2024  3-5-2024          Mar  5 2024 10:00AM   March 5, 2024   5 Mar 2024 10:00 PM
//
// A date alone is midnight, a blank text 1900-01-01. Not taken (SQL Server takes some of them,
// but the programs never give them): two-digit years, '.' between the parts of a date, a time
// without a date, ':mmm' milliseconds, a fraction finer than milliseconds, a time zone.
#include <string>
#include <string_view>

namespace db {

// True with `canonical` set when SQL Server would convert the text.
bool sqlserver_datetime(std::string_view text, std::string& canonical);

}  // namespace db
