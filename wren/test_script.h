#pragma once
// Scripted runs of the real program, for its end-to-end tests and benchmark. Only when the
// environment variable WREN_TEST_SCRIPT names a script file: its commands then drive the menus
// and dialogs one after another, message boxes are answered without being shown, and every box,
// status text and requested fact goes to standard output, one line each ("kind|field|field").
// Without the variable the program is unchanged.
//
//   wait picture | wait nopicture      a frame is there / is gone
//   wait status <text>                 the status bar text contains <text>
//   wait ms <n>
//   menu <item>                        triggers mnuCopy, mnuFormat, mnuSelect ...
//   dialog list <combo>                the items of a combo box of the open dialog
//   dialog choose <combo> <item>       selects the item with that text
//   dialog ok | dialog cancel          the dialog's OK (its default button) or Cancel
//   print state                        state|<capture window
//   title>|<width>x<height>|<rate>|<picture> print frames                       frames|<shown>|<ms
//   since start>|<process CPU ms>|<thread CPU ms>
//
// A command that cannot be done in 10 s, or that is not understood, ends the program with
// status 99.
namespace wren {

// Call after the program installed its dialogs service.
void start_test_script();

}  // namespace wren
