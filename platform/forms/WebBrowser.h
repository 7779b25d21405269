#pragma once
// An embedded web view: shows a page fetched over HTTP, or its own error page when the page
// cannot be had.

#include <QTextBrowser>
#include <QUrl>

class QNetworkAccessManager;
class QNetworkReply;

class TWebBrowser : public QTextBrowser {
 public:
  explicit TWebBrowser(QWidget* parent = nullptr);
  ~TWebBrowser() override;

  void Navigate(const QString& address);
  // The address asked for last, and whether its page (or the error page) has arrived.
  const QUrl& LocationURL() const { return location_; }
  bool Busy() const { return reply_ != nullptr; }
  bool ShowsErrorPage() const { return errorPage_; }

 private:
  void finished(QNetworkReply* reply);
  void showError(const QString& reason);

  QNetworkAccessManager* network_;
  QNetworkReply* reply_ = nullptr;
  QUrl location_;
  bool errorPage_ = false;
};
