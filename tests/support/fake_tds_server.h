#pragma once
// A listener on 127.0.0.1 (a port of its own) that plays a SQL Server just far enough to read
// a client's pre-login and LOGIN7 packets and record what the login carries. Then it closes the
// connection, so that the client's connect fails after its login was seen; or, when it accepts
// logins, acknowledges the login and answers every later request with an empty "done" until
// the client goes.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <atomic>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace test {

struct TdsLogin {
  QString host_name, user, password, app_name, server_name, database;
};

class FakeTdsServer {
 public:
  // Listening once constructed; port() is 0 when it could not listen.
  explicit FakeTdsServer(bool accept_logins = false);
  ~FakeTdsServer();
  FakeTdsServer(const FakeTdsServer&) = delete;
  FakeTdsServer& operator=(const FakeTdsServer&) = delete;

  int port() const { return port_; }
  int connections() const { return connections_; }  // accepted, whatever they sent
  std::vector<TdsLogin> logins() const;
  // The one login seen, as user, password, database and application name; else how many.
  QStringList sole_login() const;

 private:
  void serve();
  void answer(int fd);

  bool accept_logins_;
  int listener_ = -1;
  int port_ = 0;
  std::atomic<int> connections_{0};
  std::atomic<bool> stopping_{false};
  mutable std::mutex mutex_;
  std::vector<TdsLogin> logins_;
  std::thread thread_;
};

// While it lives FreeTDS reads no configuration file, the machine's or the user's, and no
// environment variable that would change where or how it logs in; this process's children
// inherit that.
class IsolatedFreeTds {
 public:
  IsolatedFreeTds();
  ~IsolatedFreeTds();
  IsolatedFreeTds(const IsolatedFreeTds&) = delete;
  IsolatedFreeTds& operator=(const IsolatedFreeTds&) = delete;

 private:
  std::vector<std::pair<QByteArray, std::optional<QByteArray>>> saved_;
};

}  // namespace test
