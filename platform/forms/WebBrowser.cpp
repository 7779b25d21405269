#include "platform/forms/WebBrowser.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTimer>

TWebBrowser::TWebBrowser(QWidget* parent) : QTextBrowser(parent), network_(new QNetworkAccessManager(this)) {
  setOpenLinks(false);
}

TWebBrowser::~TWebBrowser() {
  if (reply_) reply_->abort();
}

void TWebBrowser::Navigate(const QString& address) {
  if (reply_) {
    QNetworkReply* old = reply_;
    reply_ = nullptr;
    old->abort();
  }
  location_ = QUrl(address);
  errorPage_ = false;
  setHtml(QString());
  // Names under .invalid never exist; asking a resolver about them would only cost time.
  if (location_.host().endsWith(QStringLiteral(".invalid"), Qt::CaseInsensitive) || !location_.isValid()) {
    QTimer::singleShot(0, this, [this] { showError(QStringLiteral("无法连接到 %1").arg(location_.host())); });
    return;
  }
  reply_ = network_->get(QNetworkRequest(location_));
  QNetworkReply* reply = reply_;
  connect(reply, &QNetworkReply::finished, this, [this, reply] { finished(reply); });
}

void TWebBrowser::finished(QNetworkReply* reply) {
  reply->deleteLater();
  if (reply != reply_) return;
  reply_ = nullptr;
  if (reply->error() != QNetworkReply::NoError) {
    showError(reply->errorString());
    return;
  }
  const QByteArray body = reply->readAll();
  setHtml(QString::fromUtf8(body));
}

void TWebBrowser::showError(const QString& reason) {
  errorPage_ = true;
  bool cancel = false;
  if (OnNavigateError) OnNavigateError(cancel);
  if (cancel) return;
  setHtml(QStringLiteral("<h3>无法显示此网页</h3><p>%1</p><p>%2</p>")
              .arg(location_.toString().toHtmlEscaped(), reason.toHtmlEscaped()));
}
