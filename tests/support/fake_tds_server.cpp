#include "tests/support/fake_tds_server.h"

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QByteArray>
#include <cstdint>

namespace test {

namespace {

constexpr unsigned char kPrelogin = 0x12, kLogin7 = 0x10, kReply = 0x04, kEndOfMessage = 0x01;

bool read_exactly(int fd, char* out, size_t n) {
  while (n > 0) {
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, 5000) <= 0) return false;
    const ssize_t got = read(fd, out, n);
    if (got <= 0) return false;
    out += got;
    n -= static_cast<size_t>(got);
  }
  return true;
}

// One message: the packets up to the one marked last. Its type, or -1.
int read_message(int fd, QByteArray& body) {
  body.clear();
  for (;;) {
    unsigned char head[8];
    if (!read_exactly(fd, reinterpret_cast<char*>(head), sizeof head)) return -1;
    const size_t length = (size_t{head[2]} << 8) | head[3];
    if (length < sizeof head) return -1;
    QByteArray part(static_cast<qsizetype>(length - sizeof head), '\0');
    if (!read_exactly(fd, part.data(), part.size())) return -1;
    body += part;
    if (head[1] & kEndOfMessage) return head[0];
  }
}

uint16_t u16(const QByteArray& b, qsizetype at) {
  return at + 2 <= b.size() ? static_cast<uint16_t>(static_cast<unsigned char>(b[at]) |
                                                    static_cast<unsigned char>(b[at + 1]) << 8)
                            : 0;
}

// A string of LOGIN7: its offset and length (in UTF-16 code units) stand at `field`.
QString login_string(const QByteArray& b, qsizetype field, bool password = false) {
  const qsizetype offset = u16(b, field), units = u16(b, field + 2);
  if (offset + units * 2 > b.size()) return QStringLiteral("<out of range>");
  QByteArray bytes = b.mid(offset, units * 2);
  if (password)
    for (char& c : bytes) {
      const auto x = static_cast<unsigned char>(static_cast<unsigned char>(c) ^ 0xA5);
      c = static_cast<char>(static_cast<unsigned char>((x << 4) | (x >> 4)));
    }
  return QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.constData()), units);
}

// A reply message of one packet.
QByteArray reply(const QByteArray& tokens) {
  QByteArray out;
  const auto length = static_cast<uint16_t>(8 + tokens.size());
  out.append(static_cast<char>(kReply)).append(static_cast<char>(kEndOfMessage));
  out.append(static_cast<char>(length >> 8)).append(static_cast<char>(length & 0xFF));
  out.append("\0\0\x01\0", 4).append(tokens);
  return out;
}

// The pre-login reply: version 10.0, and encryption not supported, so the login that follows
// goes in the clear.
const QByteArray& prelogin_reply() {
  static const QByteArray out =
      reply(QByteArray("\0\0\x0B\0\x06"      // VERSION at 11, 6 bytes
                       "\x01\0\x11\0\x01"    // ENCRYPTION at 17, 1 byte
                       "\xFF\x0A\0\0\0\0\0"  // the list's end, the version
                       "\x02",               // not supported
                       18));
  return out;
}

// DONE with no count, in TDS 7.1's form.
const QByteArray kDone("\xFD\0\0\0\0\0\0\0\0", 9);

// LOGINACK for TDS 7.1, program "fake", then DONE.
const QByteArray& login_reply() {
  static const QByteArray out = [] {
    QByteArray ack("\x01\x71\0\0\x01\x04", 6);  // interface, TDS 7.1, name length
    for (char c : QByteArrayLiteral("fake")) ack.append(c).append('\0');
    ack.append("\x01\0\0\0", 4);  // program version
    QByteArray token("\xAD", 1);
    token.append(static_cast<char>(ack.size() & 0xFF)).append(static_cast<char>(ack.size() >> 8));
    return reply(token + ack + kDone);
  }();
  return out;
}

bool send(int fd, const QByteArray& bytes) {
  return write(fd, bytes.constData(), static_cast<size_t>(bytes.size())) == bytes.size();
}

}  // namespace

FakeTdsServer::FakeTdsServer(bool accept_logins) : accept_logins_(accept_logins) {
  listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t len = sizeof addr;
  if (listener_ < 0 || bind(listener_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
      listen(listener_, 8) != 0 ||
      getsockname(listener_, reinterpret_cast<sockaddr*>(&addr), &len) != 0)
    return;
  port_ = ntohs(addr.sin_port);
  thread_ = std::thread([this] { serve(); });
}

FakeTdsServer::~FakeTdsServer() {
  stopping_ = true;
  if (thread_.joinable()) thread_.join();
  if (listener_ >= 0) close(listener_);
}

std::vector<TdsLogin> FakeTdsServer::logins() const {
  std::lock_guard lock(mutex_);
  return logins_;
}

QStringList FakeTdsServer::sole_login() const {
  std::lock_guard lock(mutex_);
  if (logins_.size() != 1) return {QStringLiteral("%1 logins").arg(logins_.size())};
  const TdsLogin& l = logins_[0];
  return {l.user, l.password, l.database, l.app_name};
}

void FakeTdsServer::serve() {
  while (!stopping_) {
    pollfd p{listener_, POLLIN, 0};
    if (poll(&p, 1, 50) <= 0) continue;
    const int fd = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) continue;
    ++connections_;
    answer(fd);
    close(fd);
  }
}

void FakeTdsServer::answer(int fd) {
  QByteArray body;
  int type = read_message(fd, body);
  if (type == kPrelogin) {
    if (!send(fd, prelogin_reply())) return;
    type = read_message(fd, body);
  }
  if (type != kLogin7) return;
  // The offsets of LOGIN7's variable part, each an offset and a length.
  TdsLogin login{login_string(body, 36), login_string(body, 40), login_string(body, 44, true),
                 login_string(body, 48), login_string(body, 52), login_string(body, 68)};
  {
    std::lock_guard lock(mutex_);
    logins_.push_back(std::move(login));
  }
  if (!accept_logins_ || !send(fd, login_reply())) return;
  while (read_message(fd, body) >= 0)
    if (!send(fd, reply(kDone))) return;
}

IsolatedFreeTds::IsolatedFreeTds() {
  for (const char* name : {"FREETDSCONF", "FREETDS", "SYBASE", "TDSVER", "TDSHOST", "TDSPORT",
                           "TDSQUERY", "DSQUERY", "TDSDUMP", "TDSDUMPCONFIG"}) {
    saved_.push_back({name, qEnvironmentVariableIsSet(name)
                                ? std::optional<QByteArray>(qgetenv(name))
                                : std::nullopt});
    qunsetenv(name);
  }
  qputenv("FREETDSCONF", "/dev/null");
}

IsolatedFreeTds::~IsolatedFreeTds() {
  for (const auto& [name, value] : saved_)
    if (value)
      qputenv(name.constData(), *value);
    else
      qunsetenv(name.constData());
}

}  // namespace test
