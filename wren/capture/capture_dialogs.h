#pragma once
// The dialogs a capture driver offers: format, source, display and compression. Each is modal
// over `parent`; OK applies the choice to the device, Cancel changes nothing.
#include <QString>

class QWidget;

namespace wren::capture {

class Device;

// False, with the device's reason, when applying the choice failed.
bool run_format_dialog(Device& device, QWidget* parent, QString* error);
bool run_source_dialog(Device& device, QWidget* parent, QString* error);
void run_display_dialog(Device& device, QWidget* parent);
void run_compression_dialog(QWidget* parent);

}  // namespace wren::capture
