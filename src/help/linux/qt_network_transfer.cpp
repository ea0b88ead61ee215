#include "help/linux/qt_network_transfer.h"

#include <malloc.h>

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QHostAddress>
#include <QNetworkAccessManager>
#include <QNetworkProxyFactory>
#include <QNetworkReply>
#include <QSslConfiguration>
#include <QThread>
#include <QTimer>
#include <QUrl>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <utility>

namespace melodane::on_linux {

namespace {

QString Environment(const char* name, const char* upper_case_name) {
  const QString value = qEnvironmentVariable(name);
  return value.isEmpty() ? qEnvironmentVariable(upper_case_name) : value;
}

// As curl reads no_proxy: names apart by commas or blanks, each covering itself and the
// names under it, or "*" for all.
bool ReachedDirectly(const QString& host, const QString& no_proxy) {
  if (host == u"localhost" || QHostAddress(host).isLoopback()) return true;
  for (QString name :
       QString(no_proxy).replace(u' ', u',').toLower().split(u',', Qt::SkipEmptyParts)) {
    if (name == u"*") return true;
    if (name.startsWith(u'.')) name.remove(0, 1);
    if (host == name || host.endsWith(u'.' + name)) return true;
  }
  return false;
}

// Asked again at each redirect, for the host it leads to. Not Qt's system configuration:
// on Debian that is libproxy, whose GNOME and KDE plugins start a shell to read the
// desktop's settings.
class EnvironmentProxy final : public QNetworkProxyFactory {
 public:
  EnvironmentProxy(QString https_proxy, QString no_proxy)
      : https_proxy_(std::move(https_proxy)), no_proxy_(std::move(no_proxy)) {}

  QList<QNetworkProxy> queryProxy(const QNetworkProxyQuery& query) override {
    // A kind of proxy Qt cannot use stopped the fetch before it began.
    return {HttpsProxyFor(query.peerHostName(), https_proxy_, no_proxy_)
                .value_or(QNetworkProxy(QNetworkProxy::NoProxy))};
  }

 private:
  QString https_proxy_, no_proxy_;
};

QSslConfiguration TlsSettings() {
  QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
  // The tests' own authority comes this way.
  const char* file = std::getenv("SSL_CERT_FILE");
  std::error_code error;
  if (file && *file && std::filesystem::is_regular_file(file, error)) {
    // Qt finds the system's authorities by itself only while the list is left alone.
    tls.setCaCertificates(QSslConfiguration::systemCaCertificates() +
                          QSslCertificate::fromPath(QString::fromLocal8Bit(file)));
  }
  return tls;
}

// On the worker thread, in an event loop of its own.
std::string FetchHere(const QUrl& address, const QDeadlineTimer& deadline,
                      QNetworkProxyFactory* proxies) {
  QNetworkAccessManager manager;
  manager.setProxyFactory(proxies);
  QNetworkRequest request(address);
  // From an https address this follows https only.
  request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                       QNetworkRequest::NoLessSafeRedirectPolicy);
  request.setMaximumRedirectsAllowed(VersionTransfer::kMostRedirects);
  request.setSslConfiguration(TlsSettings());
  // Not the user's languages: nothing about the user goes with the request.
  request.setRawHeader("Accept-Language", "*");

  QEventLoop loop;
  std::string body;
  bool too_big = false;
  const auto stop_over_limit = [&](qint64 bytes) {
    if (bytes <= static_cast<qint64>(VersionTransfer::kMostBodyBytes)) return;
    too_big = true;
    loop.quit();
  };
  const std::unique_ptr<QNetworkReply> reply(manager.get(request));
  QObject::connect(reply.get(), &QNetworkReply::metaDataChanged, [&] {
    // A redirect's own length says nothing of the answer's.
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status < 300 || status > 399) {
      stop_over_limit(reply->header(QNetworkRequest::ContentLengthHeader).toLongLong());
    }
  });
  QObject::connect(reply.get(), &QNetworkReply::readyRead, [&] {
    const QByteArray more = reply->readAll();
    body.append(more.constData(), static_cast<std::size_t>(more.size()));
    stop_over_limit(static_cast<qint64>(body.size()));
  });
  QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
  // The limit is the whole fetch: a server that drips its answer still runs out of time.
  QTimer::singleShot(static_cast<int>(deadline.remainingTime()), Qt::PreciseTimer, &loop,
                     &QEventLoop::quit);
  loop.exec();

  if (too_big || !reply->isFinished() || reply->error() != QNetworkReply::NoError) return {};
  const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
  if (status < 200 || status > 299) return {};
  return body;
}

}  // namespace

std::optional<QNetworkProxy> HttpsProxyFor(const QString& host, const QString& https_proxy,
                                           const QString& no_proxy) {
  if (https_proxy.isEmpty()) return QNetworkProxy(QNetworkProxy::NoProxy);
  const QUrl named(https_proxy.contains(u"://") ? https_proxy
                                                : QStringLiteral("http://") + https_proxy);
  QNetworkProxy::ProxyType type = QNetworkProxy::HttpProxy;
  if (named.scheme() == u"socks5" || named.scheme() == u"socks5h") {
    type = QNetworkProxy::Socks5Proxy;
  } else if (named.scheme() != u"http" || named.host().isEmpty()) {
    return std::nullopt;
  }
  if (ReachedDirectly(host.toLower(), no_proxy)) return QNetworkProxy(QNetworkProxy::NoProxy);
  return QNetworkProxy(type, named.host(), static_cast<quint16>(named.port(1080)),
                       named.userName(QUrl::FullyDecoded), named.password(QUrl::FullyDecoded));
}

std::string QtNetworkTransfer::Fetch(const std::string& address, std::chrono::seconds limit) {
  const QDeadlineTimer deadline(limit, Qt::PreciseTimer);
  const QUrl url(QString::fromStdString(address), QUrl::StrictMode);
  if (limit.count() <= 0 || !url.isValid() || url.scheme() != u"https") return {};
  const QString https_proxy = Environment("https_proxy", "HTTPS_PROXY");
  const QString no_proxy = Environment("no_proxy", "NO_PROXY");
  if (!HttpsProxyFor(url.host(), https_proxy, no_proxy)) return {};

  // The caller waits on a thread of the fetch's own: an event loop run on the caller's
  // thread would let the window's handlers run in the middle of the one that asked.
  std::string body;
  const std::unique_ptr<QThread> worker(QThread::create(
      [&] { body = FetchHere(url, deadline, new EnvironmentProxy(https_proxy, no_proxy)); }));
  worker->start();
  worker->wait();
  // Its threads leave what they freed in malloc's arenas of theirs; the program then idles
  // for hours.
  malloc_trim(0);
  return body;
}

std::string_view QtNetworkTransfer::ProxyAdvice() const {
  return "Please note that if you get the Internet connection through a proxy server, set it "
         "in the https_proxy environment variable of your desktop session.";
}

}  // namespace melodane::on_linux
