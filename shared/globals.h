#pragma once
// The global variables of kestrel and plover, with their initial values.
#include <QString>

extern QString gs_apppath;  // program folder with its trailing '/'
extern QString gs_inifile;  // gs_apppath + "user.ini"
extern int gi_connect_time;
extern const QString gs_fd_id;
extern const int gi_database_type;
extern const int gi_soft;
extern const int gi_sr;
extern const int gi_tables;

// Sets gs_apppath to the folder of the running program.
void f_get_current_path();

// The application objects' common start-up (create and open, up to opening the main window):
// installs the dialogs and database services, finds the program folder, derives gs_inifile.
// `app_name` is "main" for kestrel and "database_reg" for plover.
void app_startup(const QString& app_name);

// Tests run the start-up on a folder of their own.
void set_program_folder(const QString& folder);
