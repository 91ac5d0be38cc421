#pragma once
#include <QString>

class QWidget;

namespace rt {

// Gives a window its title. The window system shows the program's name in place of an empty
// title; a window whose title is empty is to show none, so it gets a blank one instead.
void set_window_title(QWidget* window, const QString& title);

}  // namespace rt
