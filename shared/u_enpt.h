#pragma once
#include <QString>

// Passwords pass through here before they are written to user.ini and after they are read;
// both directions hand the text back unchanged.
class u_enpt {
 public:
  QString f_enpt(const QString& fs_data) const { return fs_data; }
  QString f_out(const QString& fs_data) const { return fs_data; }

 private:
  QString is_key = QStringLiteral("HQPWNZKRTEMVBXLCA");
};
