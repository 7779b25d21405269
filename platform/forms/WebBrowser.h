#pragma once
// An embedded web view: shows a page fetched over HTTP, or its own error page when the page
// cannot be had.

#include <QTextBrowser>
#include <QUrl>

#include <functional>

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
  // True once the page asked for could not be had: the view shows the error page, or whatever
  // OnNavigateError put in its place.
  bool ShowsErrorPage() const { return errorPage_; }

  // Told when the page cannot be had, before the error page is shown; setting `cancel` keeps the
  // error page away, so that the owner can show a page of its own.
  std::function<void(bool& cancel)> OnNavigateError;

 private:
  void finished(QNetworkReply* reply);
  void showError(const QString& reason);

  QNetworkAccessManager* network_;
  QNetworkReply* reply_ = nullptr;
  QUrl location_;
  bool errorPage_ = false;
};
