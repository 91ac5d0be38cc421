#pragma once
// The schema a database has after the whole upgrade chain, from the base schema at 4.00:
// table -> columns in order, each "name type".
#include <QString>
#include <QStringList>
#include <map>

namespace test {

// Builds "velmo41" in gs_apppath, upgrades it and reads its tables; sqlca ends disconnected.
std::map<QString, QStringList> upgraded_template_schema();

}  // namespace test
