// SPDX-License-Identifier: GPL-3.0-or-later
#include <QUrl>
#include <QWebEngineView>

#include "webcomponent.h"

namespace kavelin {
namespace {

class WebEngineComponent : public WebComponent {
 public:
  explicit WebEngineComponent(QObject* parent) : WebComponent(parent), view_(new QWebEngineView) {
    connect(view_, &QWebEngineView::loadStarted, this, [this] { busy_ = true; });
    connect(view_, &QWebEngineView::loadFinished, this, [this](bool) {
      busy_ = false;
      emit NavigateComplete(LocationURL());
      emit DownloadComplete();
    });
  }
  ~WebEngineComponent() override {
    // The view belongs to the window once placed; delete it if it never was.
    if (view_ && !view_->parent()) delete view_;
  }

  QWidget* widget() override { return view_; }

  // An address as a person types it ("example.com") becomes a full URL here.
  void Navigate(const QString& address) override {
    busy_ = true;
    view_->load(QUrl::fromUserInput(address));
  }
  void GoBack() override { view_->back(); }
  void GoForward() override { view_->forward(); }
  void GoHome() override { Navigate(kHomePage); }
  void GoSearch() override { Navigate(kSearchPage); }
  void Refresh() override { view_->reload(); }
  void Stop() override {
    view_->stop();
    busy_ = false;
  }

  bool Busy() const override { return busy_; }
  QString LocationName() const override {
    const QString title = view_->title();
    return title.isEmpty() ? LocationURL() : title;
  }
  QString LocationURL() const override { return view_->url().toString(); }

 private:
  QWebEngineView* view_;
  bool busy_ = false;
};

}  // namespace

WebComponent* createWebEngineComponent(QObject* parent) { return new WebEngineComponent(parent); }

}  // namespace kavelin
