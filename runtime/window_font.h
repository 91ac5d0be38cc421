#pragma once
#include <QFont>

namespace rt {

// A font of the windows' definitions: the Windows face through the substitutions, the size in
// points at the 96 dots per inch the layout units assume, so text keeps its size beside the
// controls whatever the screen reports.
QFont window_font(const QString& windows_face, int points, int weight = 400);

}  // namespace rt
