#pragma once
// The modal boxes and the file-open dialog. Handlers reach them only through this interface,
// so that every handler runs headless in a test with a scripted implementation.
#include <QString>
#include <QStringList>

namespace rt {

struct FileChoice {
  int result = 0;  // 1 a file was chosen, 0 cancelled, -1 error
  QString path;    // full path of the chosen file
  QString name;    // its bare file name
};

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // An information box with OK.
  virtual void notice(const QString& title, const QString& text) = 0;
  // A failure box (stop sign) with OK.
  virtual void failure(const QString& title, const QString& text) = 0;
  // A question with Yes and No; `default_yes` preselects Yes, else No. True for Yes.
  virtual bool question(const QString& title, const QString& text, bool default_yes) = 0;
  // `filter` in the runtime's form: "description,pattern" pairs joined by commas, for example
  // "DB Files (*.DB),*.DB". Patterns match without regard to case.
  virtual FileChoice open_file(const QString& title, const QString& default_extension,
                               const QString& filter) = 0;
};

// The service in use. Programs install the Qt implementation at start-up; tests a script.
Dialogs& dialogs();
void set_dialogs(Dialogs* d);

// "DB Files (*.DB),*.DB" -> {"DB Files (*.[dD][bB])"}: Qt's name filters are case-sensitive.
QStringList qt_name_filters(const QString& runtime_filter);

}  // namespace rt
