#pragma once
#include <QFont>

namespace rt {

// A font of the windows' definitions: the Windows face through the substitutions, the size in
// points at the 96 dots per inch the layout units assume, so text keeps its size beside the
// controls whatever the screen reports. At the sizes the face carries bitmaps for, those are
// drawn, crisp and black, as on Windows.
QFont window_font(const QString& windows_face, int points, int weight = 400);

}  // namespace rt
