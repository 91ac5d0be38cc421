#pragma once
// The few Windows file functions the programs call by name, with their Windows meaning.
// A file whose owner has no write permission counts as read-only (the Windows attribute), so
// the rules hold for root too.
#include <QString>

namespace rt {

// CopyFileA with "fail if exists" false: copies the whole file over an existing target.
// Fails, touching nothing, when the source is missing, source and target are the same file, the
// target is read-only or its folder is missing. The target is replaced whole or not at all.
bool copy_file(const QString& from, const QString& to);

// DeleteFileA: fails on a missing or read-only file.
bool delete_file(const QString& path);

// Clears the attributes of a file and deletes it, as a program does with a scratch file of its
// own; true when no file is left.
bool remove_file(const QString& path);

// SetFileAttributesA: 0 (or FILE_ATTRIBUTE_NORMAL, 128) clears read-only; 1 sets it.
// Returns nonzero on success.
unsigned long set_file_attributes(const QString& path, unsigned long attributes);

bool file_exists(const QString& path);
bool is_read_only(const QString& path);

// Whether two paths name the same existing file.
bool same_file(const QString& a, const QString& b);

// Whether two regular files hold the same bytes; false when either is none or cannot be read.
bool same_contents(const QString& a, const QString& b);

// Whether a process other than this one has the file open (as far as /proc lets this user
// see): Windows refuses to delete such a file, and replacing it here would send that program's
// later writes to a file nobody sees again.
bool open_by_another_process(const QString& path);

// The folder of the running program, with a trailing '/'.
QString program_folder();

}  // namespace rt
