// SPDX-License-Identifier: GPL-3.0-or-later
// The web-browser component as the browser window uses it: navigation, the busy
// state, the page's title and address, and two notifications.
#pragma once

#include <QObject>
#include <QString>

class QWidget;

namespace kavelin {

class WebComponent : public QObject {
  Q_OBJECT

 public:
  using QObject::QObject;
  ~WebComponent() override = default;

  // The widget that shows the page.
  virtual QWidget* widget() = 0;

  virtual void Navigate(const QString& address) = 0;
  virtual void GoBack() = 0;
  virtual void GoForward() = 0;
  virtual void GoHome() = 0;
  virtual void GoSearch() = 0;
  virtual void Refresh() = 0;
  virtual void Stop() = 0;

  virtual bool Busy() const = 0;
  virtual QString LocationName() const = 0;  // the page title
  virtual QString LocationURL() const = 0;

 signals:
  void DownloadComplete();
  void NavigateComplete(const QString& url);
};

// The component on Qt WebEngine, with our home page and a search page.
WebComponent* createWebEngineComponent(QObject* parent);

// The product's home page, compiled into the program.
inline const QString kHomePage = QStringLiteral("qrc:/home/index.html");
inline const QString kSearchPage = QStringLiteral("https://duckduckgo.com/");

}  // namespace kavelin
