#pragma once
#include <QString>

// The wait window's first message for the text its opener passed: the keywords "connect" and
// "loaddata" (in any letter case) have their own; any other text is followed by ",请稍候……".
QString w_wait_message(const QString& s_inf);
